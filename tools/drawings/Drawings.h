// The drawings that the game's pictures, the printed certificate and the web pages share (the
// Solrind sun, the puzzle's landscape), and the pictures a brand names: drawn onto any cairo
// surface, an SVG by librsvg from its vectors (a PDF keeps them), other files from their
// pixels.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>

typedef struct _RsvgHandle RsvgHandle;

namespace drawings {

extern const char* const kSun;        // its disc of radius 100 in the middle of a 330 box
extern const char* const kLandscape;  // 440 by 440
constexpr double kSunBox = 3.3;       // the sun's box, a side, in radii of its disc

// A drawing painted in a brand's colours (0xRRGGBB): the sun's rays and rim in glow, its core
// and the sign's word in accent, the sign in sign. The SVG's text, with its stylesheet.
std::string painted(const char* drawing, uint32_t glow, uint32_t accent, uint32_t sign);

}  // namespace drawings

class Picture {
  public:
    // A drawing's SVG text; ok() says whether it could be read.
    explicit Picture(const std::string& svg);
    // A picture file a brand names (PNG, JPEG, GIF, BMP, WebP or SVG, checked as PictureFile
    // checks it); null, and why, when it cannot be read.
    static std::unique_ptr<Picture> load(const std::string& file, std::string& why);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool ok() const { return vectors || pixels; }
    const std::string& why() const { return problem; }  // why it could not be read
    double width() const { return w; }  // in pixels: an SVG's own size, else its view box's
    double height() const { return h; }
    // Draws it into the box, its shape kept and centred.
    void draw(cairo_t* cr, double x, double y, double boxW, double boxH) const;

  private:
    Picture() = default;

    RsvgHandle* vectors = nullptr;
    cairo_surface_t* pixels = nullptr;
    std::string problem;
    double w = 0, h = 0;
};
