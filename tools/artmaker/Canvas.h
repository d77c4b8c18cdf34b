// A picture being drawn by the art maker with cairo (shapes, gradients, scaling), Pango (text)
// and librsvg (SVG drawings and logos), saved as a 24-bit Windows BMP. Pictures with a colour
// key are drawn without blending into the key colour (see Type::drawSharp).
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "Drawings.h"

typedef struct _PangoLayout PangoLayout;

struct Colour {
    int r, g, b;
};

constexpr Colour kMagenta = {255, 0, 255};  // the transparent colour of keyed pictures

Colour mix(Colour a, Colour b, double t);  // t 0 gives a, 1 gives b
Colour shade(Colour c, double factor);     // darker below 1, lighter above
Colour times(Colour c, double factor);     // every channel times factor, at most 255

struct Point {
    double x, y;
};

class Canvas {
  public:
    Canvas(int width, int height, Colour fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int width() const { return w; }
    int height() const { return h; }
    cairo_t* cairo() const { return cr; }

    Colour get(int x, int y) const;
    void set(int x, int y, Colour c);  // ignores points outside
    void blend(int x, int y, Colour c, double alpha);

    void fill(int x, int y, int w, int h, Colour c);
    void verticalGradient(int x, int y, int w, int h, Colour top, Colour bottom);
    void disc(double cx, double cy, double r, Colour c, double alpha = 1);
    void ellipse(double cx, double cy, double rx, double ry, Colour c, double alpha = 1);
    void polygon(const std::vector<Point>& points, Colour c, double alpha = 1);
    void line(Point a, Point b, double width, Colour c, double alpha = 1);
    void roundedRect(int x, int y, int w, int h, double radius, Colour c, double alpha = 1);
    // A rounded rectangle shaded from top to bottom.
    void roundedGradient(int x, int y, int w, int h, double radius, Colour top, Colour bottom,
                         double alpha = 1);
    void frame(int x, int y, int w, int h, int thickness, Colour c);
    // A soft radial glow around (cx, cy) fading out at radius r.
    void glow(double cx, double cy, double r, Colour c, double strength);
    // Copies an area of another canvas.
    void copy(const Canvas& from, int sx, int sy, int w, int h, int dx, int dy);
    // Multiplies the area's colours by factor and mixes them towards tint.
    void tint(int x, int y, int w, int h, Colour tint, double amount, double factor = 1);
    // Draws a picture or drawing into the box, its shape kept.
    void draw(const Picture& picture, double x, double y, double w, double h);
    // Draws another canvas scaled into the rectangle (dx, dy, dw, dh).
    void drawScaled(const Canvas& from, double dx, double dy, double dw, double dh);

    std::string bmp() const;  // as a 24-bit BMP file's bytes; "" when SDL cannot make them
    std::string png() const;  // as an RGB PNG file's (the desktop's icon)

  private:
    void source(Colour c, double alpha);
    uint32_t* pixel(int x, int y) const;  // null outside

    int w, h;
    cairo_surface_t* surface;
    cairo_t* cr;
};

// One face of Debian's DejaVu fonts at one size, in pixels; characters it lacks come from
// whichever installed font has them (Japanese, Arabic...). Text is laid out by Pango: right to
// left where its script says so, wrapped at spaces or soft hyphens.
class Type {
  public:
    enum class Face { Sans, SansBold, Serif, SerifBold, Mono, MonoBold };
    enum class Align { Left, Centre, Right };

    Type(Face face, int size);
    ~Type();
    Type(const Type&) = delete;
    Type& operator=(const Type&) = delete;

    int width(const std::string& text) const;
    int lineHeight() const;
    // How many of the text's characters no installed font has (drawn as boxes).
    int missing(const std::string& text) const;
    // True for text whose first strong character is of a right-to-left script.
    bool rightToLeft(const std::string& text) const;
    // Draws UTF-8 text blended onto the canvas; y is the top of the line.
    void draw(Canvas& canvas, const std::string& text, int x, int y, Colour c,
              Align align = Align::Left, double alpha = 1) const;
    // The same with a soft dark shadow below right.
    void drawShadowed(Canvas& canvas, const std::string& text, int x, int y, Colour c,
                      Align align = Align::Left) const;
    // Draws without blending: a pixel is the colour or untouched (for keyed pictures), with an
    // outline of that many pixels around the glyphs.
    void drawSharp(Canvas& canvas, const std::string& text, int x, int y, Colour c,
                   int outline = 0) const;
    // The box of the pixels the text covers at least half, relative to where draw() puts the
    // line's top left corner; false for text without ink.
    bool inkBox(const std::string& text, int& left, int& top, int& right, int& bottom) const;
    // Wraps text into a column; a blank line in text starts a new paragraph, and a word wider
    // than the column is broken between its characters. A right-to-left paragraph keeps to the
    // column's other side. Lines that would reach below `bottom` are not drawn. Returns the y
    // below the last line, drawn or not.
    int paragraph(Canvas& canvas, const std::string& text, int x, int y, int width, Colour c,
                  Align align = Align::Left, int bottom = 1 << 30) const;

  private:
    PangoLayout* laidOut(const std::string& text, int width = -1) const;
    // The text's coverage, a byte a pixel, drawn at (margin, margin).
    std::vector<unsigned char> coverage(const std::string& text, int margin, int& w, int& h) const;

    PangoLayout* layout;
};

// A small fixed pseudo-random sequence, so that every run draws the same pictures.
class Dice {
  public:
    explicit Dice(unsigned seed) : state(seed) {}
    double next() {  // 0 to 1
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0;
    }
    double between(double low, double high) { return low + (high - low) * next(); }

  private:
    unsigned state;
};
