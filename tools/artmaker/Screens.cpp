#include "Screens.h"

#include <cmath>
#include <string>

#include "GameLayout.h"
#include "GamePictures.h"
#include "NameKeyboard.h"
#include "Scene.h"

namespace {

constexpr int kMargin = 40;  // left and right margin of a content screen's text
constexpr int kFooterY = 480;
constexpr int kKeyboardBelow = 496;  // the record screen's footer, below its keyboard
constexpr int kRulesBottom = 366;    // the rules' items end above the board's drawing
using Align = Type::Align;

const Brand& brand() {
    return *art.brand;
}

// A one-line text of the brand entry `key`, which must be at most maxWidth wide. Left
// aligned, it starts at x, or ends at x + maxWidth when it reads from the right.
void line(Canvas& c, const Type& type, const std::string& key, const std::string& text, int x,
          int y, int maxWidth, Colour colour, Align align = Align::Left, bool shadowed = false) {
    checkFonts(type, key, text);
    const int width = type.width(text);
    if (width > maxWidth)
        art.problems.push_back(brand().where(key) + ": " + std::to_string(width) +
                               " pixels wide, at most " + std::to_string(maxWidth) + " fit");
    if (align == Align::Left && type.rightToLeft(text))  // it starts at the column's right
        x += maxWidth, align = Align::Right;
    shadowed ? type.drawShadowed(c, text, x, y, colour, align)
             : type.draw(c, text, x, y, colour, align);
}
void line(Canvas& c, const Type& type, const std::string& key, int x, int y, int maxWidth,
          Colour colour, Align align = Align::Left, bool shadowed = false) {
    line(c, type, key, brand().text(key), x, y, maxWidth, colour, align, shadowed);
}

// A text of the brand entry `key` wrapped to a column from y down to bottom; the y below it.
int block(Canvas& c, const Type& type, const std::string& key, const std::string& text, int x,
          int y, int width, int bottom, Colour colour, Align align = Align::Left) {
    checkFonts(type, key, text);
    const int end = type.paragraph(c, text, x, y, width, colour, align, bottom);
    if (end > bottom) {
        const int h = type.lineHeight();
        art.problems.push_back(brand().where(key) + ": " + std::to_string((end - y + h - 1) / h) +
                               " lines, at most " + std::to_string((bottom - y) / h) + " fit");
    }
    return end;
}
int block(Canvas& c, const Type& type, const std::string& key, int x, int y, int width, int bottom,
          Colour colour, Align align = Align::Left) {
    return block(c, type, key, brand().text(key), x, y, width, bottom, colour, align);
}

// The brand's text with {page} replaced by the page's number.
std::string numbered(const std::string& key, int page) {
    std::string text = brand().text(key);
    const size_t at = text.find("{page}");
    return at == std::string::npos ? text : text.replace(at, 6, std::to_string(page));
}

// A content screen's title and body on the shared backdrop, the body down to bottom.
int page(Canvas& c, const std::string& key, int bottom, int top = 60) {
    drawBackdrop(c);
    Type heading(Type::Face::SerifBold, 28);
    line(c, heading, key + ".title", kMargin, top, c.width() - 2 * kMargin, palette.gold,
         Align::Left, true);
    c.fill(kMargin, top + 44, c.width() - 2 * kMargin, 2, shade(palette.gold, 0.6));
    Type text(Type::Face::Sans, 15);
    return block(c, text, key + ".text", kMargin, top + 64, c.width() - 2 * kMargin, bottom,
                 palette.cream);
}

// "1/3 ›" at the bottom right of a screen of several pages: a tap turns the page.
void pageMarker(Canvas& c, int page, int pages) {
    std::string text = brand().text("pages.marker");
    for (const auto& [field, value] :
         {std::pair<std::string, int>{"{page}", page}, {"{pages}", pages}})
        for (size_t at = text.find(field); at != std::string::npos; at = text.find(field))
            text.replace(at, field.size(), std::to_string(value));
    Type marker(Type::Face::SansBold, 15);
    line(c, marker, "pages.marker", text, c.width() - 18, kFooterY + 14, 120, palette.gold,
         Align::Right);
}

void footer(Canvas& c, const std::string& key, const std::string& text, int y = kFooterY) {
    Type small(Type::Face::Sans, 12);
    line(c, small, key, text, c.width() / 2, y, c.width() - 20, palette.muted, Align::Centre);
}

void solarPanel(Canvas& c, int x, int y, int w, int h) {
    c.fill(x, y, w, h, {180, 186, 200});
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 5; ++col) {
            const int cw = (w - 12) / 5, ch = (h - 8) / 3;
            c.verticalGradient(x + 2 + col * (cw + 2), y + 2 + row * (ch + 2), cw, ch,
                               {60, 100, 190}, {24, 44, 110});
        }
    c.line({x + w / 2.0, y + h + 0.0}, {x + w / 2.0, y + h + 30.0}, 4, {150, 156, 170});
}

void powerBank(Canvas& c, int x, int y) {
    c.roundedRect(x, y, 70, 110, 12, {40, 44, 60});
    c.roundedRect(x + 6, y + 6, 58, 70, 8, {60, 100, 190});
    c.polygon({{x + 38.0, y + 16.0},
               {x + 24.0, y + 46.0},
               {x + 36.0, y + 46.0},
               {x + 30.0, y + 68.0},
               {x + 48.0, y + 36.0},
               {x + 36.0, y + 36.0}},
              palette.gold);
    for (int i = 0; i < 4; ++i)
        c.fill(x + 12 + i * 12, y + 88, 8, 6, i < 3 ? Colour{120, 220, 120} : Colour{70, 80, 90});
}

void sunHat(Canvas& c, int cx, int cy) {
    c.ellipse(cx, cy + 20, 80, 20, {230, 200, 130});
    c.ellipse(cx, cy, 44, 34, {240, 214, 150});
    c.fill(cx - 44, cy + 4, 88, 10, {200, 80, 50});
    drawSun(c, cx, cy - 6, 9);
}

// A small board: the corner, the three holes with their gates, and a slide.
void boardDiagram(Canvas& c, int x, int y, int cell) {
    const Colour line = {90, 104, 150};
    c.fill(x, y, 5 * cell, 5 * cell, {20, 28, 54});
    for (int i = 0; i <= 5; ++i) {
        c.fill(x + i * cell, y, 1, 5 * cell, line);
        c.fill(x, y + i * cell, 5 * cell, 1, line);
    }
    c.fill(x + 1, y + 1, cell - 1, cell - 1, {70, 90, 150});
    c.polygon({{x + cell * 0.35, y + cell * 0.3},
               {x + cell * 0.7, y + cell * 0.5},
               {x + cell * 0.35, y + cell * 0.7}},
              palette.cream);
    // Holes and gates: above and below the middle column, left of the middle row.
    c.fill(x + 2 * cell, y - 10, cell, 8, {240, 190, 40});
    c.fill(x + 2 * cell, y + 5 * cell + 2, cell, 8, {240, 190, 40});
    c.fill(x - 10, y + 2 * cell, 8, cell, {240, 190, 40});
    // A piece sliding right until it meets another.
    c.fill(x + cell + 3, y + 3 * cell + 3, cell - 5, cell - 5, {255, 176, 46});
    c.fill(x + 4 * cell + 3, y + 3 * cell + 3, cell - 5, cell - 5, {200, 130, 60});
    c.line({x + cell * 2.0, y + cell * 3.5}, {x + cell * 3.6, y + cell * 3.5}, 3, palette.cream);
    c.polygon({{x + cell * 3.6, y + cell * 3.3},
               {x + cell * 3.95, y + cell * 3.5},
               {x + cell * 3.6, y + cell * 3.7}},
              palette.cream);
}

// A page's picture below its text: a drawing of the art maker's, or a file scaled to fit the
// box (x, y, w, h) keeping its shape.
void pagePicture(Canvas& c, const std::string& key, int page) {
    const std::string& picture = brand().picture(key);
    const auto file = art.pictures.find(key);
    if (file != art.pictures.end()) {
        const Picture& p = *file->second;
        const double scale = std::min(440.0 / p.width(), 190.0 / p.height());
        const int w = static_cast<int>(p.width() * scale), h = static_cast<int>(p.height() * scale);
        c.draw(p, 260 - w / 2, 270 + (190 - h) / 2, w, h);
    } else if (picture == "solar panel") {
        page == 1 ? solarPanel(c, 150, 270, 220, 120) : solarPanel(c, 170, 320, 180, 90);
    } else if (picture == "power banks") {
        powerBank(c, 180, 260);
        powerBank(c, 280, 270);
    } else if (picture == "sun hat") {
        sunHat(c, 260, 320);
    } else if (picture == "logo") {
        drawLogo(c, 260, 290, 34, 30);
    }
}

// The glyph the game's font draws for a key's character, from the font picture: letters in
// the first row, digits in the second, the three extra letters at the end of the third.
bool fontCell(SDL_Keycode key, int& cell, int& row) {
    if (key >= SDLK_a && key <= SDLK_z)
        return cell = key - SDLK_a, row = 0, true;
    if (key >= SDLK_0 && key <= SDLK_9)
        return cell = key - SDLK_0, row = 1, true;
    const SDL_Keycode extras[] = {SDLK_BACKQUOTE, SDLK_QUOTE, SDLK_RIGHTBRACKET};
    for (int i = 0; i < 3; ++i)
        if (key == extras[i])
            return cell = 2 + i, row = 2, true;
    return false;
}

// The record screen's keyboard (NameKeyboard.h): a key face each, the letters in the game's
// own font, so that a key shows what it types into the name.
void nameKeyboard(Canvas& c) {
    Canvas font(494, 51, kMagenta);
    makeGameFont(font);
    Type symbol(Type::Face::SansBold, 16);
    Type ok(Type::Face::SansBold, 13);
    for (int row = 0; row < namekeys::kRows; ++row)
        for (int column = 0; column < namekeys::kColumns; ++column) {
            const gnRectangle a = namekeys::area(row, column);
            const int x = a.x - 120, y = a.y, w = static_cast<int>(a.w), h = static_cast<int>(a.h);
            const SDL_Keycode key = namekeys::kKeys[row][column];
            c.roundedRect(x, y, w, h, 5, shade(palette.gold, 0.55));
            c.roundedGradient(x + 1, y + 1, w - 2, h - 2, 4, times(palette.night, 2.4),
                              times(palette.night, 1.4));
            int cell = 0, fontRow = 0;
            if (fontCell(key, cell, fontRow)) {
                const int gx = x + (w - layout::kGlyphW) / 2, gy = y + (h - layout::kGlyphH) / 2;
                for (int j = 0; j < layout::kGlyphH; ++j)
                    for (int i = 0; i < layout::kGlyphW; ++i) {
                        const Colour p =
                            font.get(cell * layout::kGlyphW + i, fontRow * layout::kGlyphH + j);
                        if (p.r != kMagenta.r || p.g != kMagenta.g || p.b != kMagenta.b)
                            c.set(gx + i, gy + j, p);
                    }
            } else if (key == SDLK_RETURN) {
                line(c, ok, "record.ok", x + w / 2, y + 7, w - 4, palette.gold, Align::Centre);
            } else {
                const char* label = key == SDLK_BACKSPACE ? "\u232B"
                                    : key == SDLK_SPACE   ? "\u2423"
                                    : key == SDLK_LEFT    ? "\u2190"
                                                          : "\u2192";
                symbol.draw(c, label, x + w / 2, y + 4, palette.cream, Align::Centre);
            }
        }
}

}  // namespace

void makeMenu(Canvas& c) {
    drawBackdrop(c);
    c.fill(0, 0, 120, c.height(), palette.panel);
    c.fill(119, 0, 1, c.height(), shade(palette.gold, 0.5));
    drawLogo(c, 60, 8, 20, 17);
    Canvas big(520, 520, {0, 0, 0});
    drawBackdrop(big);
    c.copy(big, 0, 0, 520, 520, 120, 0);
    drawLogo(c, 380, 120, 60, 44);
    Type tagline(Type::Face::Serif, 18);
    line(c, tagline, "menu.tagline", 380, 380, 500, palette.cream, Align::Centre);
}

void makeStartscreen1(Canvas& c) {
    drawBackdrop(c);
    c.glow(320, 200, 260, palette.sun, 0.35);
    drawLogo(c, 320, 70, 70, 54);
    Type presents(Type::Face::Serif, 22);
    line(c, presents, "start.presents", 320, 400, 600, palette.cream, Align::Centre);
}

void makeStartscreen2(Canvas& c, const Canvas& puzzle) {
    drawBackdrop(c);
    Type title(Type::Face::SerifBold, 40);
    line(c, title, "title", 320, 34, 620, palette.gold, Align::Centre, true);
    c.fill(166, 100, 308, 308, palette.gold);
    c.drawScaled(puzzle, 170, 104, 300, 300);
    for (int i = 1; i < 5; ++i) {  // the cuts between the pieces
        c.fill(170 + i * 60, 104, 1, 300, {30, 30, 40});
        c.fill(170, 104 + i * 60, 300, 1, {30, 30, 40});
    }
    Type text(Type::Face::Sans, 17);
    line(c, text, "start.invitation", 320, 430, 600, palette.cream, Align::Centre);
}

void makeCreditscreen(Canvas& c) {
    drawBackdrop(c);
    drawLogo(c, 320, 40, 40, 34);
    Type heading(Type::Face::SerifBold, 30);
    line(c, heading, "credits.title", 320, 250, 600, palette.gold, Align::Centre, true);
    Type text(Type::Face::Sans, 15);
    block(c, text, "credits.text", 80, 310, 480, 505, palette.cream, Align::Centre);
}

void makeWelcome(Canvas& c) {
    const int bottom = page(c, "welcome", 300);
    drawEmblem(c, 260, bottom + 70, 30);
    Type big(Type::Face::SansBold, 18);
    line(c, big, "welcome.call", 260, bottom + 140, 440, palette.gold, Align::Centre, true);
    footer(c, "welcome.hint", brand().text("welcome.hint"));
}

void makeRules(Canvas& c) {
    drawBackdrop(c);
    Type heading(Type::Face::SerifBold, 28);
    line(c, heading, "rules.title", kMargin, 34, c.width() - 2 * kMargin, palette.gold, Align::Left,
         true);
    c.fill(kMargin, 78, c.width() - 2 * kMargin, 2, shade(palette.gold, 0.6));
    Type number(Type::Face::SansBold, 14);
    Type text(Type::Face::Sans, 14);
    int y = 94;
    const std::vector<std::string>& items = brand().list("rules.items");
    for (size_t i = 0; i < items.size(); ++i) {
        // The number where the item starts: at the right of an item read from the right.
        const bool fromRight = text.rightToLeft(items[i]);
        const int disc = fromRight ? c.width() - kMargin - 9 : kMargin + 9;
        c.disc(disc, y + 9, 10, shade(palette.gold, 0.8));
        number.draw(c, std::to_string(i + 1), disc, y + 1, palette.ink, Align::Centre);
        y = block(c, text, "rules.items[" + std::to_string(i + 1) + "]", items[i],
                  fromRight ? kMargin : kMargin + 28, y, c.width() - 2 * kMargin - 28, kRulesBottom,
                  palette.cream) +
            8;
        if (y > kRulesBottom)
            break;  // the items after it have no room either: this one is the problem
    }
    boardDiagram(c, 330, 372, 24);
    Type small(Type::Face::Sans, 12);
    block(c, small, "rules.keys", kMargin, 392, 250, 505, palette.muted);
}

void makePrizes(Canvas& c, int number) {
    const std::string key = "prizes." + std::to_string(number);
    page(c, key, brand().picture(key + ".picture").empty() ? 460 : 255);
    pagePicture(c, key + ".picture", number);
    footer(c, "pages.prizes", numbered("pages.prizes", number));
    pageMarker(c, number, 3);
}

void makeSponsor(Canvas& c, int number) {
    const std::string key = "sponsor_pages." + std::to_string(number);
    page(c, key, brand().picture(key + ".picture").empty() ? 460 : 282);
    pagePicture(c, key + ".picture", number);
    footer(c, "pages.sponsor_pages", numbered("pages.sponsor_pages", number));
    pageMarker(c, number, 2);
}

void makeHighscore(Canvas& c) {
    drawBackdrop(c);
    Type heading(Type::Face::SerifBold, 30);
    line(c, heading, "highscores.title", 260, 60, 440, palette.gold, Align::Centre, true);
    Type label(Type::Face::SansBold, 12);
    // The labels stand over the start of the game's columns, whichever way they read.
    const std::string name = brand().text("highscores.name");
    line(c, label, "highscores.name", name, 120, 138, std::min(label.width(name), 220),
         palette.muted);
    line(c, label, "highscores.time", 350, 138, 110, palette.muted);
    Type rank(Type::Face::SansBold, 13);
    // The game draws row i's name and time in the layout's areas: the rows are plain, so the
    // game's text stands out on them.
    for (int i = 0; i < layout::kTableRows; ++i) {
        const int y = layout::tableName(i).y;
        c.fill(70, y - 2, 390, 21, i % 2 ? times(palette.panel, 1.6) : times(palette.panel, 2.1));
        rank.draw(c, std::to_string(i + 1) + ".", 110, y, i < 3 ? palette.gold : palette.muted,
                  Align::Right);
    }
    footer(c, "highscores.hint", brand().text("highscores.hint"));
}

void makeGameBackground(Canvas& c) {
    c.verticalGradient(0, 0, 520, 520, times(palette.night, 1.1), palette.nightBottom);
    // The frame around the board (40, 40) to (479, 479), 10 pixels wide: the gates' strips.
    c.fill(26, 26, 468, 468, {70, 58, 46});
    c.frame(26, 26, 468, 468, 2, {130, 110, 80});
    c.fill(30, 30, 460, 460, {96, 80, 60});
    for (int i = 0; i < 460; i += 7) {  // wood grain
        c.fill(30 + i, 30, 1, 10, {84, 70, 52});
        c.fill(30 + i, 480, 1, 10, {84, 70, 52});
        c.fill(30, 30 + i, 10, 1, {84, 70, 52});
        c.fill(480, 30 + i, 10, 1, {84, 70, 52});
    }
    // The board's cells.
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 5; ++col) {
            const int x = 40 + 88 * col, y = 40 + 88 * row;
            c.verticalGradient(x, y, 88, 88, times(palette.night, 1.3), times(palette.night, 1.0));
            c.frame(x, y, 88, 88, 1, times(palette.night, 1.7));
        }
    drawReleaseButton(c, 40, 40, false);
    // The holes beyond the gates: above and below the middle column, left of the middle row.
    c.fill(215, 0, 90, 30, kPit);
    c.fill(215, 490, 90, 30, kPit);
    c.fill(0, 215, 30, 90, kPit);
    Type hint(Type::Face::Sans, 11);
    line(c, hint, "board.corner", 44, 9, 466, palette.muted);
    line(c, hint, "board.drag", 44, 498, 466, palette.muted);
    // The clock: drawn by the game in its area over a plain panel, its label left of it.
    const layout::Area clock = layout::kClock;
    c.roundedRect(clock.x - 63, clock.y - 2, clock.w + 73, clock.h + 5, 5, palette.panel);
    Type label(Type::Face::SansBold, 11);
    line(c, label, "board.time", clock.x - 55, clock.y + 2, 52, palette.gold);
    c.fill(clock.x, clock.y, clock.w, clock.h, palette.panel);
}

void makeCongratulations(Canvas& c, bool record) {
    drawBackdrop(c);
    Type heading(Type::Face::SerifBold, record ? 30 : 34);
    Type text(Type::Face::Sans, record ? 15 : 16);
    // Both screens leave the top right free for the print control (layout::kPrintControl),
    // which the game shows there once the round is over.
    if (record) {
        c.glow(260, 60, 160, palette.sun, 0.3);
        drawEmblem(c, 260, 48, 26);
        line(c, heading, "record.title", 260, 88, 480, palette.gold, Align::Centre, true);
        block(c, text, "record.text", 60, 134, 400, 270, palette.cream, Align::Centre);
        Type small(Type::Face::Sans, 12);
        line(c, small, "record.help", 260, 284, 480, palette.muted, Align::Centre);
        // The name field: the game draws the name in its area over this plain box.
        const layout::Area field = layout::kNameField;
        c.roundedRect(field.x - 10, field.y - 8, field.w + 20, field.h + 16, 6, palette.gold);
        c.roundedRect(field.x - 8, field.y - 6, field.w + 16, field.h + 12, 5, palette.panel);
        c.fill(field.x, field.y, field.w, field.h, palette.panel);
        nameKeyboard(c);
    } else {
        c.glow(260, 140, 220, palette.sun, 0.3);
        drawEmblem(c, 260, 120, 36);
        line(c, heading, "complete.title", 260, 190, 480, palette.gold, Align::Centre, true);
        block(c, text, "complete.text", 60, 250, 400, 460, palette.cream, Align::Centre);
    }
    // While the name is typed every letter key types: only Enter and Esc do something else.
    const std::string key = record ? "record" : "complete";
    footer(c, key + ".hint", brand().text(key + ".hint"), record ? kKeyboardBelow : kFooterY);
}
