#include "GamePictures.h"

#include <algorithm>
#include <cmath>

#include "Scene.h"

namespace {

// Stripes of warning yellow and black, like a barrier, across a bridge of w by h.
void barrier(Canvas& c, int x, int y, int w, int h, bool horizontal) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const int along = horizontal ? i : j, across = horizontal ? j : i;
            const bool yellow = ((along + across) / 5) % 2 == 0;
            c.set(x + i, y + j, yellow ? Colour{240, 190, 40} : Colour{30, 28, 30});
        }
    if (horizontal) {
        c.fill(x, y, w, 1, {255, 235, 160});
        c.fill(x, y + h - 1, w, 1, {60, 40, 10});
    } else {
        c.fill(x, y, 1, h, {255, 235, 160});
        c.fill(x + w - 1, y, 1, h, {60, 40, 10});
    }
}

// One gate picture: the two halves of the barrier drawn back by `open` (0 closed, 4 open).
void gateFrame(Canvas& c, int x, int y, int w, int h, int open, bool horizontal) {
    c.fill(x, y, w, h, kPit);
    const int length = horizontal ? w : h;
    const int half = length / 2 * (4 - open) / 4;
    if (horizontal) {
        barrier(c, x, y, half, h, true);
        barrier(c, x + w - half, y, half, h, true);
        c.fill(x, y, 2, h, {120, 120, 130});  // the hinges
        c.fill(x + w - 2, y, 2, h, {120, 120, 130});
    } else {
        barrier(c, x, y, w, half, false);
        barrier(c, x, y + h - half, w, half, false);
        c.fill(x, y, w, 2, {120, 120, 130});
        c.fill(x, y + h - 2, w, 2, {120, 120, 130});
    }
    if (open == 4) {  // fully open: a red warning line along the pit
        if (horizontal)
            c.fill(x + 2, y + h / 2, w - 4, 1, {200, 40, 30});
        else
            c.fill(x + w / 2, y + 2, 1, h - 4, {200, 40, 30});
    }
}

// The characters of the font's picture that are drawn from the typeface.
const char* const kTypedGlyphs[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j",
                                    "k", "l", "m", "n", "o", "p", "q", "r", "s", "t",
                                    "u", "v", "w", "x", "y", "z", "0", "1", "2", "3",
                                    "4", "5", "6", "7", "8", "9", "ø", "æ", "å"};

// The largest bold size whose glyphs, with their one-pixel outline, fit a 19 by 17 cell; and
// the line top that puts every glyph's ink inside the cell on one common baseline.
void fitGlyphs(int& size, int& lineTop) {
    for (size = 20; size > 8; --size) {
        const Type type(Type::Face::SansBold, size);
        int highest = 1 << 20, lowest = -1, widest = 0;
        for (const char* text : kTypedGlyphs) {
            int left, top, right, bottom;
            if (!type.inkBox(text, left, top, right, bottom))
                continue;
            highest = std::min(highest, top);
            lowest = std::max(lowest, bottom);
            widest = std::max(widest, right - left + 1);
        }
        if (lowest - highest + 1 <= layout::kGlyphH - 2 && widest <= layout::kGlyphW - 3) {
            lineTop = 1 - highest;
            return;
        }
    }
    lineTop = 0;
}

// One glyph drawn sharp and outlined in its 19 by 17 cell, centred across, on the baseline.
void glyph(Canvas& font, const Type& type, int lineTop, const std::string& text, int cell,
           int row) {
    int left = 0, top = 0, right = 0, bottom = 0;
    type.inkBox(text, left, top, right, bottom);
    const int x = cell * layout::kGlyphW + (layout::kGlyphW - (right - left + 1)) / 2 - left;
    font.fill(cell * layout::kGlyphW, row * layout::kGlyphH, layout::kGlyphW, layout::kGlyphH,
              kMagenta);
    type.drawSharp(font, text, x, row * layout::kGlyphH + lineTop, palette.cream, 1);
}

// A button's face in its own 120 by 53 cell: normal (0), highlighted (1) or pressed (2).
void button(Canvas& c, int x, int y, const std::string& label, const char* key, int state) {
    const int w = layout::kButtonW, h = layout::kButtonH;
    const int inset = state == 2 ? 5 : 4;  // pressed: a little smaller, pushed in
    const int shift = state == 2 ? 1 : 0;
    const Colour night = palette.night;  // the faces in the brand's blue (or other) light
    const Colour top[3] = {times(night, 2.6), times(night, 4.2), times(night, 1.25)};
    const Colour bottom[3] = {times(night, 1.35), times(night, 2.25), times(night, 1.85)};
    const Colour border[3] = {shade(palette.gold, 0.6), palette.gold, shade(palette.gold, 0.45)};
    Canvas cell(w, h, palette.panel);
    if (state == 1)
        cell.glow(w / 2.0, h / 2.0, 70, palette.gold, 0.25);
    cell.roundedRect(inset - 1, inset - 1, w - 2 * inset + 2, h - 2 * inset + 2, 10, border[state]);
    cell.roundedGradient(inset, inset, w - 2 * inset, h - 2 * inset, 9, top[state], bottom[state]);
    Type text(Type::Face::SansBold, 13);
    text.drawShadowed(cell, label, 12 + shift, 18 + shift,
                      state == 1 ? Colour{255, 255, 255} : palette.cream);
    Type keyType(Type::Face::MonoBold, 11);
    const int kx = w - 29 + shift, ky = 16 + shift;
    cell.roundedRect(kx, ky, 18, 20, 4, {200, 190, 160});
    cell.roundedRect(kx + 1, ky + 1, 16, 16, 3, {250, 244, 226});
    keyType.draw(cell, key, kx + 9, ky + 2, palette.ink, Type::Align::Centre);
    c.copy(cell, 0, 0, w, h, x, y);
}

}  // namespace

void makePuzzle(Canvas& puzzle) {
    drawLandscape(puzzle);
}

void drawReleaseButton(Canvas& c, int x, int y, bool lit) {
    const int t = layout::kTile;
    c.fill(x, y, t, t, lit ? Colour{60, 52, 30} : times(palette.night, 1.3));
    c.frame(x, y, t, t, 2, lit ? palette.gold : times(palette.night, 3.4));
    if (lit)
        c.glow(x + t / 2.0, y + t / 2.0 - 6, 40, palette.gold, 0.5);
    c.disc(x + t / 2.0, y + 36, 22, lit ? palette.gold : times(palette.night, 4.5));
    c.polygon({{x + 36.0, y + 24.0}, {x + 56.0, y + 36.0}, {x + 36.0, y + 48.0}},
              lit ? palette.ink : Colour{230, 236, 250});
    Type small(Type::Face::SansBold, 10);
    small.draw(c, art.brand->text("board.release"), x + t / 2, y + 64,
               lit ? Colour{255, 250, 220} : palette.muted, Type::Align::Centre);
}

void makePuzzleHighlight(const Canvas& puzzle, Canvas& lit) {
    lit.copy(puzzle, 0, 0, puzzle.width(), puzzle.height(), 0, 0);
    lit.tint(0, 0, lit.width(), lit.height(), {255, 236, 170}, 0.07, 1.12);
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 5; ++col) {
            const int x = col * layout::kTile, y = row * layout::kTile;
            lit.frame(x, y, layout::kTile, layout::kTile, 3, palette.gold);
            lit.frame(x + 3, y + 3, layout::kTile - 6, layout::kTile - 6, 1, {255, 250, 220});
        }
    drawReleaseButton(lit, 0, 0, true);  // the corner highlight
}

void makeGlowCursor(Canvas& cursor) {
    cursor.fill(0, 0, cursor.width(), cursor.height(), kMagenta);
    const int t = layout::kTile;
    for (int f = 0; f < layout::kGlowFrames; ++f) {
        const int thickness = 3 + 2 * f;
        for (int j = 0; j < t; ++j)
            for (int i = 0; i < t; ++i) {
                const int edge = std::min(std::min(i, j), std::min(t - 1 - i, t - 1 - j));
                if (edge >= thickness)
                    continue;
                // Brightest on the inside of the ring, as if the cell glowed from within.
                const double inner = (edge + 1.0) / thickness;
                const Colour hot = mix(shade(palette.sun, 0.86), {255, 254, 230}, 0.15 * f);
                cursor.set(f * t + i, j, mix(shade(hot, 0.6), hot, inner));
            }
    }
}

void makeGateBridges(Canvas& gates) {
    gates.fill(0, 0, gates.width(), gates.height(), kPit);
    for (const layout::Gate& gate : layout::kGates) {
        const layout::Area a = gate.first;
        for (int f = 0; f < layout::kGateFrames; ++f)
            gateFrame(gates, a.x + a.w * f, a.y, a.w, a.h, f, a.w > a.h);  // lying: top, bottom
    }
}

void makeGameFont(Canvas& font) {
    font.fill(0, 0, font.width(), font.height(), kMagenta);
    int size = 0, lineTop = 0;
    fitGlyphs(size, lineTop);
    const Type type(Type::Face::SansBold, size);
    for (int k = 0; k < 26; ++k)
        glyph(font, type, lineTop, kTypedGlyphs[k], k, 0);
    for (int k = 0; k < 10; ++k)
        glyph(font, type, lineTop, kTypedGlyphs[26 + k], k, 1);
    // "{" the entry caret: a bar at the left of its cell, over the character after it.
    font.fill(0, 34, layout::kGlyphW, layout::kGlyphH, kMagenta);
    font.fill(0, 35, 4, 15, {20, 20, 30});
    font.fill(1, 36, 2, 13, {255, 214, 96});
    // "|" the clock's separator, drawn as a colon.
    font.fill(19, 34, layout::kGlyphW, layout::kGlyphH, kMagenta);
    for (int dot : {39, 45}) {
        font.fill(19 + 7, dot, 5, 5, {20, 20, 30});
        font.fill(19 + 8, dot + 1, 3, 3, {255, 238, 196});
    }
    // The three extra letters, in the order of their keys: }, ~ and 127.
    glyph(font, type, lineTop, "ø", 2, 2);
    glyph(font, type, lineTop, "æ", 3, 2);
    glyph(font, type, lineTop, "å", 4, 2);
}

void makeButtons(Canvas& buttons) {
    const char* keys[8] = {"F", "I", "R", "U", "H", "S", "Q", "P"};  // the game's own
    std::vector<std::string> labels = art.brand->list("menu.buttons");
    labels.push_back(art.brand->text("menu.print"));  // the print control, below the seven
    const Type text(Type::Face::SansBold, 13);
    for (int row = 0; row < 8; ++row) {
        const int width = text.width(row == 7 ? "\u2713 " + labels[row] : labels[row]);
        const int room = layout::kButtonW - 12 - 31;
        const std::string key =
            row < 7 ? "menu.buttons[" + std::to_string(row + 1) + "]" : std::string("menu.print");
        checkFonts(text, key, labels[row]);
        if (width > room)
            art.problems.push_back(art.brand->where(key) + ": " + std::to_string(width) +
                                   " pixels wide, at most " + std::to_string(room) + " fit");
        for (int state = 0; state < 3; ++state) {
            // The print control shows its pressed picture a moment after each print-out: a
            // tick says it printed.
            const bool printed = row == 7 && state == 2;
            button(buttons, state * layout::kButtonW, row * layout::kButtonH,
                   printed ? "\u2713 " + labels[row] : labels[row], keys[row], state);
        }
    }
}
