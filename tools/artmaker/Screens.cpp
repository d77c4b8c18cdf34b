#include "Screens.h"

#include <cmath>
#include <string>

#include "GamePictures.h"
#include "Scene.h"

namespace {

constexpr int kMargin = 40;  // left and right margin of a content screen's text

// A content screen's title and body on the shared backdrop; the body's lower edge.
int page(Canvas& c, const std::string& title, const std::string& body, int top = 60) {
    drawBackdrop(c);
    Type heading(Type::Face::SerifBold, 28);
    heading.drawShadowed(c, title, kMargin, top, palette::kGold);
    c.fill(kMargin, top + 44, c.width() - 2 * kMargin, 2, shade(palette::kGold, 0.6));
    Type text(Type::Face::Sans, 15);
    return text.paragraph(c, body, kMargin, top + 64, c.width() - 2 * kMargin, palette::kCream);
}

void footer(Canvas& c, const std::string& hint) {
    Type small(Type::Face::Sans, 12);
    small.draw(c, hint, c.width() / 2, c.height() - 40, palette::kMuted, Type::Align::Centre);
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
              palette::kGold);
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
              palette::kCream);
    // Holes and gates: above and below the middle column, left of the middle row.
    c.fill(x + 2 * cell, y - 10, cell, 8, {240, 190, 40});
    c.fill(x + 2 * cell, y + 5 * cell + 2, cell, 8, {240, 190, 40});
    c.fill(x - 10, y + 2 * cell, 8, cell, {240, 190, 40});
    // A piece sliding right until it meets another.
    c.fill(x + cell + 3, y + 3 * cell + 3, cell - 5, cell - 5, {255, 176, 46});
    c.fill(x + 4 * cell + 3, y + 3 * cell + 3, cell - 5, cell - 5, {200, 130, 60});
    c.line({x + cell * 2.0, y + cell * 3.5}, {x + cell * 3.6, y + cell * 3.5}, 3, palette::kCream);
    c.polygon({{x + cell * 3.6, y + cell * 3.3},
               {x + cell * 3.95, y + cell * 3.5},
               {x + cell * 3.6, y + cell * 3.7}},
              palette::kCream);
}

}  // namespace

void makeMenu(Canvas& c) {
    drawBackdrop(c);
    c.fill(0, 0, 120, c.height(), kColumn);
    c.fill(119, 0, 1, c.height(), shade(palette::kGold, 0.5));
    drawLogo(c, 60, 8, 20, 17);
    Canvas big(520, 520, {0, 0, 0});
    drawBackdrop(big);
    c.copy(big, 0, 0, 520, 520, 120, 0);
    drawLogo(c, 380, 120, 60, 44);
    Type tagline(Type::Face::Serif, 18);
    tagline.draw(c, "The midsummer puzzle", 380, 380, palette::kCream, Type::Align::Centre);
}

void makeStartscreen1(Canvas& c) {
    drawBackdrop(c);
    c.glow(320, 200, 260, palette::kSun, 0.35);
    drawLogo(c, 320, 70, 70, 54);
    Type presents(Type::Face::Serif, 22);
    presents.draw(c, "presents", 320, 400, palette::kCream, Type::Align::Centre);
}

void makeStartscreen2(Canvas& c, const Canvas& puzzle) {
    drawBackdrop(c);
    Type title(Type::Face::SerifBold, 40);
    title.drawShadowed(c, "The Solrind Puzzle", 320, 34, palette::kGold, Type::Align::Centre);
    c.fill(166, 100, 308, 308, palette::kGold);
    drawScaled(c, puzzle, 170, 104, 300, 300);
    for (int i = 1; i < 5; ++i) {  // the cuts between the pieces
        c.fill(170 + i * 60, 104, 1, 300, {30, 30, 40});
        c.fill(170, 104 + i * 60, 300, 1, {30, 30, 40});
    }
    Type text(Type::Face::Sans, 17);
    text.draw(c, "24 pieces. One clock. Slide them home!", 320, 430, palette::kCream,
              Type::Align::Centre);
}

void makeCreditscreen(Canvas& c) {
    drawBackdrop(c);
    drawLogo(c, 320, 40, 40, 34);
    Type heading(Type::Face::SerifBold, 30);
    heading.drawShadowed(c, "Thank you for playing!", 320, 250, palette::kGold,
                         Type::Align::Centre);
    Type text(Type::Face::Sans, 15);
    text.paragraph(c,
                   "The Solrind Puzzle\nGame and pictures: the Solrind puzzle team\n"
                   "Lettering: the DejaVu fonts\n\nSee you at the Solrind stand!",
                   80, 310, 480, palette::kCream, Type::Align::Centre);
}

void makeWelcome(Canvas& c) {
    const int bottom =
        page(c, "Welcome!",
             "Midsummer night over the fjord: the sun hardly sets, and the whole village "
             "is out to enjoy the light. But a gust of wind has blown our picture to "
             "pieces!\n\n"
             "Put the 24 pieces back where they belong, as fast as you can. The ten "
             "fastest players enter the highscore table, and everyone who completes the "
             "picture can print their time and claim a prize at the Solrind stand.");
    drawSun(c, 260, bottom + 70, 30);
    Type big(Type::Face::SansBold, 18);
    big.drawShadowed(c, "Press S or click Play to start", 260, bottom + 140, palette::kGold,
                     Type::Align::Centre);
    footer(c, "Rules: I     Prizes: R     Highscores: H     Quit: Q");
}

void makeRules(Canvas& c) {
    drawBackdrop(c);
    Type heading(Type::Face::SerifBold, 28);
    heading.drawShadowed(c, "How to play", kMargin, 34, palette::kGold);
    c.fill(kMargin, 78, c.width() - 2 * kMargin, 2, shade(palette::kGold, 0.6));
    const char* rules[5] = {
        "Click the corner at the top left to release the next piece. It enters the board "
        "moving right.",
        "Drag a piece in a direction: it slides in a straight line until something blocks it.",
        "Three holes lie just outside the board: above and below the middle column, and left "
        "of the middle row. Their gates open and close by themselves. A piece that slides into "
        "an open hole drops back into the queue.",
        "Hover over a piece to see a glow on the cell where it belongs.",
        "The clock runs until all 24 pieces are home. The ten fastest times enter the "
        "highscores."};
    Type number(Type::Face::SansBold, 14);
    Type text(Type::Face::Sans, 14);
    int y = 94;
    for (int i = 0; i < 5; ++i) {
        c.disc(kMargin + 9, y + 9, 10, shade(palette::kGold, 0.8));
        number.draw(c, std::to_string(i + 1), kMargin + 9, y + 1, palette::kInk,
                    Type::Align::Centre);
        y = text.paragraph(c, rules[i], kMargin + 28, y, c.width() - 2 * kMargin - 28,
                           palette::kCream) +
            8;
    }
    boardDiagram(c, 330, 372, 24);
    Type small(Type::Face::Sans, 12);
    small.paragraph(c,
                    "Keys: F welcome, I rules, R prizes, U sponsor, H highscores, S play, "
                    "Space next page, P print your time, Q or Esc quit.",
                    kMargin, 392, 250, palette::kMuted);
}

void makePrizes(Canvas& c, int number) {
    const char* titles[3] = {"First prize", "Second prize", "For every finisher"};
    const char* bodies[3] = {
        "The fastest player of the day wins a complete solar panel kit for the cabin, "
        "installed by Solrind: free power from the midnight sun.",
        "The second and third fastest each win a Solrind solar power bank that charges "
        "your phone anywhere on the mountain.",
        "Everyone who completes the puzzle can print their time with the P key and "
        "collect a Solrind sun hat at our stand, while stocks last."};
    page(c, titles[number - 1], bodies[number - 1]);
    if (number == 1)
        solarPanel(c, 150, 270, 220, 120);
    if (number == 2) {
        powerBank(c, 180, 260);
        powerBank(c, 280, 270);
    }
    if (number == 3)
        sunHat(c, 260, 320);
    footer(c, "Prizes " + std::to_string(number) + " of 3: press Space for the next page");
}

void makeSponsor(Canvas& c, int number) {
    if (number == 1) {
        page(c, "About Solrind",
             "Solrind brings the energy of the northern sun into homes, cabins and boats along "
             "the coast. Our panels are made for long summer days and short winter ones alike.\n\n"
             "Every panel we set up saves a little of the fjord we love.");
        drawLogo(c, 260, 290, 34, 30);
    } else {
        page(c, "Visit our stand",
             "Talk to our engineers about your roof, your cabin or your boat, see a working "
             "solar panel and collect your prize.\n\n"
             "Solrind, solar power since 1987\nsolrind.example");
        solarPanel(c, 170, 320, 180, 90);
    }
    footer(c, "Sponsor " + std::to_string(number) + " of 2: press Space for the other page");
}

void makeHighscore(Canvas& c) {
    drawBackdrop(c);
    Type heading(Type::Face::SerifBold, 30);
    heading.drawShadowed(c, "Highscores", 260, 60, palette::kGold, Type::Align::Centre);
    Type label(Type::Face::SansBold, 12);
    label.draw(c, "NAME", 120, 138, palette::kMuted);
    label.draw(c, "TIME", 350, 138, palette::kMuted);
    Type rank(Type::Face::SansBold, 13);
    // The table draws row i at y 161 + 20 i: names from x 120, times from x 350 (picture
    // coordinates). The rows are plain, so the game's text stands out on them.
    for (int i = 0; i < 10; ++i) {
        const int y = 161 + 20 * i;
        c.fill(70, y - 2, 390, 21, i % 2 ? Colour{24, 34, 66} : Colour{32, 44, 82});
        rank.draw(c, std::to_string(i + 1) + ".", 110, y, i < 3 ? palette::kGold : palette::kMuted,
                  Type::Align::Right);
    }
    footer(c, "Can you beat them? Press S to play.");
}

void makeGameBackground(Canvas& c) {
    c.verticalGradient(0, 0, 520, 520, {18, 26, 52}, {28, 22, 48});
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
            c.verticalGradient(x, y, 88, 88, {30, 40, 74}, {22, 30, 58});
            c.frame(x, y, 88, 88, 1, {44, 56, 96});
        }
    drawReleaseButton(c, 40, 40, false);
    // The holes beyond the gates: above and below the middle column, left of the middle row.
    c.fill(215, 0, 90, 30, kPit);
    c.fill(215, 490, 90, 30, kPit);
    c.fill(0, 215, 30, 90, kPit);
    Type hint(Type::Face::Sans, 11);
    hint.draw(c, "Click the corner to release a piece", 44, 9, palette::kMuted);
    hint.draw(c, "Drag a piece to slide it", 44, 498, palette::kMuted);
    // The clock: drawn by the game at (385, 492), 95 by 17, over a plain panel.
    c.roundedRect(322, 490, 168, 22, 5, {10, 14, 30});
    Type label(Type::Face::SansBold, 11);
    label.draw(c, "TIME", 330, 494, palette::kGold);
    c.fill(385, 492, 95, 17, {10, 14, 30});
}

void makeCongratulations(Canvas& c, bool record) {
    drawBackdrop(c);
    c.glow(260, 140, 220, palette::kSun, 0.3);
    drawSun(c, 260, 120, 36);
    Type heading(Type::Face::SerifBold, 34);
    Type text(Type::Face::Sans, 16);
    if (record) {
        heading.drawShadowed(c, "A new record!", 260, 190, palette::kGold, Type::Align::Centre);
        text.paragraph(c, "Your time is one of the ten best. Type your name and press Enter.", 60,
                       250, 400, palette::kCream, Type::Align::Centre);
        // The name field: the game draws the name at (157, 317), 209 by 17, over this plain box.
        c.roundedRect(147, 309, 229, 33, 6, palette::kGold);
        c.roundedRect(149, 311, 225, 29, 5, {10, 14, 30});
        c.fill(157, 317, 209, 17, {10, 14, 30});
        Type small(Type::Face::Sans, 12);
        small.draw(c, "Up to 10 letters and digits. Backspace and the arrow keys edit.", 260, 360,
                   palette::kMuted, Type::Align::Centre);
    } else {
        heading.drawShadowed(c, "Puzzle complete!", 260, 190, palette::kGold, Type::Align::Centre);
        text.paragraph(c,
                       "Well done! Your time did not reach the top ten this time.\n\n"
                       "Press P to print your time and collect your prize at the Solrind stand, "
                       "or press S to try again.",
                       60, 250, 400, palette::kCream, Type::Align::Centre);
    }
    // While the name is typed every letter key types: only Enter and Esc do something else.
    footer(c, record ? "Enter or Esc: your name is done     Then P prints your time"
                     : "Highscores: H     Play again: S     Print your time: P");
}
