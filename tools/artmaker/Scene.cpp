#include "Scene.h"

#include <algorithm>
#include <cmath>

namespace {

const double kPi = 3.14159265358979;

void cloud(Canvas& c, double x, double y, double size, Colour colour) {
    c.ellipse(x, y, size * 1.6, size * 0.55, colour, 0.85);
    c.ellipse(x - size * 0.7, y - size * 0.15, size * 0.7, size * 0.45, colour, 0.85);
    c.ellipse(x + size * 0.5, y - size * 0.35, size * 0.8, size * 0.6, colour, 0.85);
}

void bird(Canvas& c, double x, double y, double span) {
    const Colour dark = {40, 30, 50};
    c.line({x - span, y - span * 0.4}, {x, y}, 1.6, dark);
    c.line({x, y}, {x + span, y - span * 0.45}, 1.6, dark);
}

void pine(Canvas& c, double x, double base, double height, Colour green) {
    c.fill(static_cast<int>(x - 2), static_cast<int>(base - height * 0.18), 4,
           static_cast<int>(height * 0.2), {70, 44, 26});
    for (int tier = 0; tier < 3; ++tier) {
        const double top = base - height + tier * height * 0.22;
        const double bottom = base - height * 0.15 - (2 - tier) * height * 0.12;
        const double half = height * (0.18 + 0.09 * tier);
        c.polygon({{x, top}, {x + half, bottom}, {x - half, bottom}},
                  shade(green, 0.85 + 0.1 * tier));
    }
}

// A Norwegian wooden house with a pitched roof carrying solar panels.
void house(Canvas& c, double x, double y, double w, double h, Colour wall, bool panels) {
    c.fill(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), static_cast<int>(h),
           wall);
    for (int plank = static_cast<int>(x) + 4; plank < x + w; plank += 5)
        c.fill(plank, static_cast<int>(y), 1, static_cast<int>(h), shade(wall, 0.82));
    const Colour roof = {54, 40, 44};
    c.polygon({{x - 8, y + 2}, {x + w / 2, y - h * 0.75}, {x + w + 8, y + 2}}, roof);
    if (panels)
        for (int i = 0; i < 3; ++i) {
            const double t0 = 0.18 + i * 0.22, t1 = t0 + 0.18;
            const Point a = {x + w / 2 - (w / 2 + 4) * t0 * 1.3,
                             y - h * 0.75 + h * 0.75 * t0 * 1.3};
            const Point b = {x + w / 2 - (w / 2 + 4) * t1 * 1.3,
                             y - h * 0.75 + h * 0.75 * t1 * 1.3};
            c.polygon({{a.x, a.y}, {a.x + 12, a.y - 2}, {b.x + 12, b.y - 2}, {b.x, b.y}},
                      {40, 70, 140});
            c.line({a.x + 6, a.y - 1}, {b.x + 6, b.y - 1}, 0.8, {150, 190, 240});
        }
    const Colour window = {255, 224, 140};
    c.fill(static_cast<int>(x + w * 0.18), static_cast<int>(y + h * 0.25),
           static_cast<int>(w * 0.2), static_cast<int>(h * 0.28), window);
    c.fill(static_cast<int>(x + w * 0.62), static_cast<int>(y + h * 0.25),
           static_cast<int>(w * 0.2), static_cast<int>(h * 0.28), window);
    c.frame(static_cast<int>(x + w * 0.18) - 1, static_cast<int>(y + h * 0.25) - 1,
            static_cast<int>(w * 0.2) + 2, static_cast<int>(h * 0.28) + 2, 1, {245, 245, 240});
    c.frame(static_cast<int>(x + w * 0.62) - 1, static_cast<int>(y + h * 0.25) - 1,
            static_cast<int>(w * 0.2) + 2, static_cast<int>(h * 0.28) + 2, 1, {245, 245, 240});
    c.fill(static_cast<int>(x + w * 0.42), static_cast<int>(y + h * 0.5),
           static_cast<int>(w * 0.16), static_cast<int>(h * 0.5), {90, 50, 36});
}

void sailboat(Canvas& c, double x, double y) {
    c.polygon({{x - 22, y}, {x + 24, y}, {x + 16, y + 9}, {x - 15, y + 9}}, {150, 40, 40});
    c.line({x, y}, {x, y - 44}, 1.8, {60, 40, 30});
    c.polygon({{x + 2, y - 42}, {x + 2, y - 4}, {x + 26, y - 6}}, {250, 246, 236});
    c.polygon({{x - 2, y - 36}, {x - 2, y - 6}, {x - 20, y - 6}}, {236, 220, 190});
    c.line({x - 20, y + 11}, {x + 22, y + 11}, 1.2, {255, 220, 160}, 0.5);
}

Colour colourOf(uint32_t rgb) {
    return {static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8 & 255),
            static_cast<int>(rgb & 255)};
}

// The middle square of a picture, scaled to side by side.
Canvas* squared(const Canvas& photo, int side) {
    const int edge = std::min(photo.width(), photo.height());
    Canvas middle(edge, edge, {0, 0, 0});
    middle.copy(photo, (photo.width() - edge) / 2, (photo.height() - edge) / 2, edge, edge, 0, 0);
    Canvas* scaled = new Canvas(side, side, {0, 0, 0});
    drawScaled(*scaled, middle, 0, 0, side, side);
    return scaled;
}

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
    std::vector<std::string> keys = {"pictures.logo", "pictures.puzzle"};
    for (const char* pages : {"prizes", "sponsor_pages"})
        for (int page = 1; page <= (std::string(pages) == "prizes" ? 3 : 2); ++page)
            keys.push_back(std::string(pages) + "." + std::to_string(page) + ".picture");
    for (const std::string& key : keys) {
        const std::string& file = brand.picture(key);
        if (file.empty() || Brand::isDrawing(file))
            continue;
        std::string why;
        Canvas* picture = Canvas::load(file, why);
        if (!picture) {
            art.problems.push_back(brand.where(key) + ": cannot read " + file + " (" + why + ")");
            continue;
        }
        if (key == "pictures.puzzle") {
            art.puzzle = squared(*picture, 440);
            delete picture;
        } else if (key == "pictures.logo") {
            art.logo = picture;
        } else {
            art.pictures[key] = picture;
        }
    }
    return art.problems.empty();
}

void releaseBrandArt() {
    delete art.logo;
    delete art.puzzle;
    for (auto& [key, picture] : art.pictures)
        delete picture;
    art = BrandArt();
}

void drawSun(Canvas& canvas, double cx, double cy, double r) {
    for (int ray = 0; ray < 12; ++ray) {
        const double a = ray * kPi / 6, spread = kPi / 24;
        canvas.polygon(
            {{cx + r * 1.15 * std::cos(a - spread), cy + r * 1.15 * std::sin(a - spread)},
             {cx + r * 1.65 * std::cos(a), cy + r * 1.65 * std::sin(a)},
             {cx + r * 1.15 * std::cos(a + spread), cy + r * 1.15 * std::sin(a + spread)}},
            palette.sun);
    }
    for (int ring = 0; ring < 8; ++ring)
        canvas.disc(cx, cy, r * (1 - ring * 0.1), mix(palette.sun, palette.gold, ring / 7.0));
    canvas.disc(cx - r * 0.3, cy - r * 0.3, r * 0.25, {255, 246, 200}, 0.6);
}

void drawEmblem(Canvas& canvas, double cx, double cy, double r) {
    if (!art.logo) {
        drawSun(canvas, cx, cy, r);
        return;
    }
    const double box = r * 3.3;
    const double scale = std::min(box / art.logo->width(), box / art.logo->height());
    const int w = std::max(1, static_cast<int>(art.logo->width() * scale));
    const int h = std::max(1, static_cast<int>(art.logo->height() * scale));
    drawScaled(canvas, *art.logo, static_cast<int>(cx) - w / 2, static_cast<int>(cy) - h / 2, w, h);
}

void drawLogo(Canvas& canvas, int cx, int top, double sunRadius, int textSize) {
    if (art.logo) {  // the sponsor's, as large as fits the sun's box, keeping its shape
        const double boxW = sunRadius * 5, boxH = sunRadius * 3.5 + textSize * 1.2;
        const double scale = std::min(boxW / art.logo->width(), boxH / art.logo->height());
        const int w = std::max(1, static_cast<int>(art.logo->width() * scale));
        const int h = std::max(1, static_cast<int>(art.logo->height() * scale));
        drawScaled(canvas, *art.logo, cx - w / 2, top + static_cast<int>(boxH - h) / 2, w, h);
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
    // Sky: night blue above, sunset orange at the horizon, warmer towards the sun.
    c.verticalGradient(0, 0, 440, 250, {30, 38, 96}, {255, 150, 90});
    for (int y = 0; y < 250; ++y)
        for (int x = 0; x < 440; ++x) {
            const double warmth = std::max(0.0, 1 - std::hypot(x - 330.0, y - 150.0) / 330);
            c.blend(x, y, {255, 190, 110}, 0.55 * warmth * warmth);
        }
    Dice dice(1987);
    for (int i = 0; i < 70; ++i) {  // stars fade out towards the sun
        const double x = dice.between(0, 260), y = dice.between(0, 120);
        c.disc(x, y, dice.between(0.6, 1.4), {255, 255, 235}, 0.9 - y / 160);
    }
    c.disc(58, 40, 13, {250, 248, 230});  // the pale moon of the white night
    c.disc(64, 36, 11, mix({30, 38, 96}, {255, 150, 90}, 40 / 250.0));
    c.glow(330, 150, 120, {255, 230, 150}, 0.7);
    drawSun(c, 330, 150, 34);
    cloud(c, 150, 62, 22, {255, 200, 190});
    cloud(c, 405, 44, 18, {255, 214, 180});
    cloud(c, 232, 118, 16, {255, 180, 150});
    cloud(c, 108, 170, 14, {250, 170, 150});
    bird(c, 210, 40, 7);
    bird(c, 228, 52, 5);
    bird(c, 300, 78, 6);
    bird(c, 396, 110, 5);

    // Far mountains, then nearer ones with snow, framing the fjord.
    c.polygon({{0, 250},
               {0, 170},
               {40, 150},
               {95, 195},
               {150, 160},
               {205, 215},
               {250, 236},
               {440, 240},
               {440, 250}},
              {120, 100, 150});
    c.polygon({{0, 262}, {0, 196}, {30, 186}, {70, 214}, {120, 204}, {175, 250}, {200, 262}},
              {60, 70, 110});
    c.polygon({{30, 186}, {44, 194}, {38, 200}, {24, 192}}, {240, 240, 250});
    c.polygon({{440, 262}, {440, 178}, {410, 170}, {372, 204}, {340, 222}, {300, 250}, {280, 262}},
              {70, 66, 108});
    c.polygon({{410, 170}, {424, 176}, {416, 184}, {400, 180}}, {240, 236, 248});

    // The fjord, with the sun's glitter under it.
    c.verticalGradient(0, 250, 440, 90, {255, 160, 110}, {40, 80, 130});
    for (int y = 252; y < 340; y += 3)
        for (int k = 0; k < 4; ++k) {
            const double spread = (y - 250) * 0.45 + 8;
            const double x = 330 + dice.between(-spread, spread);
            c.line({x - 5, static_cast<double>(y)}, {x + 5, static_cast<double>(y)}, 1.2,
                   {255, 236, 170}, 0.75 - (y - 250) / 140.0);
        }
    sailboat(c, 150, 300);
    // A small islet with a flagpole, and a yellow kayak by the pier.
    c.ellipse(302, 306, 26, 7, {70, 96, 60});
    c.ellipse(298, 303, 14, 5, {96, 126, 70});
    c.line({306, 303}, {306, 276}, 1.5, {230, 230, 230});
    c.fill(307, 276, 14, 10, {200, 30, 40});
    c.fill(307, 280, 14, 2, {250, 250, 250});
    c.fill(311, 276, 2, 10, {250, 250, 250});
    c.fill(307, 280, 14, 1, {20, 40, 120});
    c.fill(311, 276, 1, 10, {20, 40, 120});
    c.polygon({{214, 318}, {252, 316}, {246, 322}, {220, 322}}, {250, 200, 40});
    c.line({226, 312}, {242, 324}, 1.4, {60, 40, 30});
    c.polygon({{360, 292}, {398, 292}, {392, 298}, {364, 298}}, {60, 60, 80});  // a rowing boat
    c.line({372, 292}, {366, 282}, 1.2, {60, 50, 40});

    // The shore: hills, the houses of the village, the pier, the trees and flowers.
    c.polygon(
        {{0, 440}, {0, 320}, {80, 306}, {170, 330}, {260, 322}, {340, 334}, {440, 318}, {440, 440}},
        {70, 130, 70});
    c.verticalGradient(0, 360, 440, 80, {60, 120, 60}, {36, 84, 44});
    c.polygon(
        {{0, 360}, {0, 320}, {80, 306}, {170, 330}, {260, 322}, {340, 334}, {440, 318}, {440, 360}},
        {84, 146, 76});
    house(c, 40, 352, 58, 36, {178, 40, 36}, true);
    house(c, 118, 360, 44, 30, {236, 196, 80}, false);
    house(c, 300, 362, 50, 32, {236, 232, 220}, true);
    // The red boathouse on the shore.
    c.fill(372, 316, 48, 26, {160, 36, 34});
    for (int plank = 374; plank < 420; plank += 4)
        c.fill(plank, 316, 1, 26, {128, 28, 28});
    c.polygon({{366, 318}, {396, 300}, {426, 318}}, {50, 40, 44});
    c.fill(386, 326, 20, 16, {60, 30, 26});
    c.fill(186, 328, 70, 5, {120, 84, 56});  // the pier
    for (int post = 190; post < 256; post += 12)
        c.fill(post, 330, 3, 12, {90, 60, 40});
    pine(c, 16, 340, 46, {30, 90, 50});
    pine(c, 176, 372, 52, {34, 96, 54});
    pine(c, 268, 356, 40, {28, 84, 46});
    pine(c, 404, 348, 58, {30, 88, 50});
    pine(c, 428, 376, 44, {26, 80, 44});
    const Colour flowers[4] = {{250, 220, 60}, {240, 90, 120}, {250, 250, 250}, {160, 120, 230}};
    for (int i = 0; i < 160; ++i) {
        const double x = dice.between(0, 440), y = dice.between(396, 438);
        c.disc(x, y, dice.between(1.2, 2.4), flowers[i % 4]);
    }
    // The sponsor's sign by the path.
    c.fill(214, 394, 4, 34, {90, 60, 40});
    c.fill(262, 394, 4, 34, {90, 60, 40});
    c.roundedRect(200, 376, 80, 28, 5, palette.deepBlue);
    drawSun(c, 214, 390, 5);
    Type sign(Type::Face::SansBold, 11);
    sign.draw(c, "SOLRIND", 227, 383, palette.gold);
    c.polygon({{268, 440}, {300, 400}, {318, 400}, {310, 440}}, {196, 170, 120});  // the path
}
