#include "Scene.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

Colour colourOf(uint32_t rgb) {
    return {static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8 & 255),
            static_cast<int>(rgb & 255)};
}

// The middle square of a picture, scaled to side by side.
Canvas* squared(const Picture& photo, int side) {
    const double scale = side / std::min(photo.width(), photo.height());
    Canvas* square = new Canvas(side, side, {0, 0, 0});
    square->draw(photo, (side - photo.width() * scale) / 2, (side - photo.height() * scale) / 2,
                 photo.width() * scale, photo.height() * scale);
    return square;
}

uint32_t rgbOf(Colour c) {
    return static_cast<uint32_t>(c.r) << 16 | static_cast<uint32_t>(c.g) << 8 |
           static_cast<uint32_t>(c.b);
}

// The shared drawings in the brand's colours, parsed once per brand.
std::unique_ptr<Picture> sun, landscape;

}  // namespace

Palette palette;
BrandArt art;

bool setBrandArt(const Brand& brand) {
    art = BrandArt();
    art.brand = &brand;
    const auto colour = [&](const char* key) { return colourOf(brand.colour(key)); };
    palette = {colour("colours.background"),
               colour("colours.background_bottom"),
               times(colour("colours.background"), 1.5),
               colour("colours.glow"),
               colour("colours.accent"),
               colour("colours.text"),
               colour("colours.ink"),
               colour("colours.panel"),
               colour("colours.muted")};
    for (auto [drawing, made] :
         {std::pair{drawings::kSun, &sun}, {drawings::kLandscape, &landscape}}) {
        *made = std::make_unique<Picture>(drawings::painted(
            drawing, rgbOf(palette.sun), rgbOf(palette.gold), rgbOf(palette.deepBlue)));
        if (!(*made)->ok())  // said rather than drawn as nothing
            art.problems.push_back("the built-in drawings cannot be read: " + (*made)->why());
    }
    std::vector<std::string> keys = {"pictures.logo", "pictures.puzzle"};
    for (const char* pages : {"prizes", "sponsor_pages"})
        for (int page = 1; page <= (std::string(pages) == "prizes" ? 3 : 2); ++page)
            keys.push_back(std::string(pages) + "." + std::to_string(page) + ".picture");
    for (const std::string& key : keys) {
        const std::string& file = brand.picture(key);
        if (file.empty() || Brand::isDrawing(file))
            continue;
        std::string why;
        std::unique_ptr<Picture> picture = Picture::load(file, why);
        if (!picture) {
            art.problems.push_back(brand.where(key) + ": cannot read " + file + " (" + why + ")");
            continue;
        }
        if (key == "pictures.puzzle") {
            art.puzzle.reset(squared(*picture, 440));
        } else if (key == "pictures.logo") {
            art.logo = std::move(picture);
        } else {
            art.pictures[key] = std::move(picture);
        }
    }
    return art.problems.empty();
}

void checkFonts(const Type& type, const std::string& key, const std::string& text) {
    if (const int missing = type.missing(text))
        art.problems.push_back(art.brand->where(key) + ": no installed font has " +
                               std::to_string(missing) + " of its characters");
}

void releaseBrandArt() {
    art = BrandArt();
    sun.reset();
    landscape.reset();
}

void drawSun(Canvas& canvas, double cx, double cy, double r) {
    const double side = r * drawings::kSunBox;
    canvas.draw(*sun, cx - side / 2, cy - side / 2, side, side);
}

void drawEmblem(Canvas& canvas, double cx, double cy, double r) {
    if (!art.logo) {
        drawSun(canvas, cx, cy, r);
        return;
    }
    const double box = r * drawings::kSunBox;
    canvas.draw(*art.logo, cx - box / 2, cy - box / 2, box, box);
}

void drawLogo(Canvas& canvas, int cx, int top, double sunRadius, int textSize) {
    if (art.logo) {  // the sponsor's, as large as fits the sun's box, keeping its shape
        const double boxW = sunRadius * 5, boxH = sunRadius * 3.5 + textSize * 1.2;
        canvas.draw(*art.logo, cx - boxW / 2, top, boxW, boxH);
        return;
    }
    drawSun(canvas, cx, top + sunRadius * 1.7, sunRadius);
    Type word(Type::Face::SansBold, textSize);
    word.drawShadowed(canvas, "SOLRIND", cx, static_cast<int>(top + sunRadius * 3.5), palette.gold,
                      Type::Align::Centre);
}

void drawBackdrop(Canvas& canvas) {
    canvas.verticalGradient(0, 0, canvas.width(), canvas.height(), palette.night,
                            palette.nightBottom);
    canvas.glow(canvas.width() * 0.85, canvas.height() * 0.1, canvas.width() * 0.6, palette.sun,
                0.28);
    Dice dice(7);
    for (int i = 0; i < 60; ++i)
        canvas.blend(static_cast<int>(dice.between(0, canvas.width())),
                     static_cast<int>(dice.between(0, canvas.height() * 0.6)), {255, 255, 255},
                     dice.between(0.2, 0.7));
    canvas.frame(6, 6, canvas.width() - 12, canvas.height() - 12, 2, shade(palette.gold, 0.7));
}

void drawLandscape(Canvas& c) {
    c.draw(*landscape, 0, 0, c.width(), c.height());
}
