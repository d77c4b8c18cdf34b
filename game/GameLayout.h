// What the game and its pictures share, in one place for the game, the art maker and its
// checker: the files the game reads and writes, the pictures' sizes, and the areas where the
// game draws over its pictures. Moving an area here moves it everywhere.
#pragma once

namespace files {
constexpr const char* kPuzzle = "GFX/Game/Puzzle.bmp";
constexpr const char* kPuzzleHighlight = "GFX/Game/PuzzleHighlight.bmp";
constexpr const char* kButtons = "GFX/Menus/Buttons.bmp";
constexpr const char* kGlowCursor = "GFX/Game/GlowCursor.bmp";
constexpr const char* kGateBridges = "GFX/Game/GateBridges.bmp";
constexpr const char* kGameFont = "GFX/Menus/GameFont.bmp";
constexpr const char* kMenu = "GFX/Menus/Menu.bmp";
constexpr const char* kStartscreen1 = "GFX/Screens/Startscreen-01.bmp";
constexpr const char* kStartscreen2 = "GFX/Screens/Startscreen-02.bmp";
constexpr const char* kCreditscreen = "GFX/Screens/Creditscreen.bmp";
constexpr const char* kWelcome = "GFX/Backgrounds/Welcome.bmp";
constexpr const char* kRules = "GFX/Backgrounds/Rules.bmp";
constexpr const char* kPrizes1 = "GFX/Backgrounds/Prizes1.bmp";
constexpr const char* kPrizes2 = "GFX/Backgrounds/Prizes2.bmp";
constexpr const char* kPrizes3 = "GFX/Backgrounds/Prizes3.bmp";
constexpr const char* kSolrind = "GFX/Backgrounds/Solrind.bmp";
constexpr const char* kSolrind2 = "GFX/Backgrounds/Solrind2.bmp";
constexpr const char* kHighscore = "GFX/Backgrounds/Highscore.bmp";
constexpr const char* kGameBackground = "GFX/Backgrounds/GameBackground.bmp";
constexpr const char* kCongratulations1 = "GFX/Backgrounds/Congratulations1.bmp";
constexpr const char* kCongratulations2 = "GFX/Backgrounds/Congratulations2.bmp";
constexpr const char* kPrintHandOver = "Bin/tmp";
constexpr const char* kPrintProgram = "Bin/Printit.exe";
// The printed round's id, beside the hand-over file: a certificate in an event names it.
constexpr const char* kPrintRound = "Bin/round";

// The 21 pictures the game reads, with the size it needs and whether magenta is transparent in
// them: what the art maker draws and what its checker checks.
struct Picture {
    const char* path;  // under the game folder
    int width, height;
    bool keyed;  // magenta pixels are not drawn
};
constexpr Picture kPictures[] = {
    {kPuzzle, 440, 440, false},
    {kPuzzleHighlight, 440, 440, false},
    {kGlowCursor, 440, 88, true},
    {kGateBridges, 500, 90, false},
    {kGameFont, 494, 51, true},
    {kButtons, 360, 424, false},  // the eighth row: the print control
    {kMenu, 640, 520, false},
    {kStartscreen1, 640, 520, false},
    {kStartscreen2, 640, 520, false},
    {kCreditscreen, 640, 520, false},
    {kWelcome, 520, 520, false},
    {kRules, 520, 520, false},
    {kPrizes1, 520, 520, false},
    {kPrizes2, 520, 520, false},
    {kPrizes3, 520, 520, false},
    {kSolrind, 520, 520, false},
    {kSolrind2, 520, 520, false},
    {kHighscore, 520, 520, false},
    {kGameBackground, 520, 520, false},
    {kCongratulations1, 520, 520, false},
    {kCongratulations2, 520, 520, false},
};
constexpr int kPictureCount = sizeof kPictures / sizeof kPictures[0];
}  // namespace files

// Areas in a background picture's pixels (520 by 520); the backgrounds are shown at x
// kContentX of the 640 by 520 screen, right of the menu.
namespace layout {
struct Area {
    int x, y, w, h;
};
constexpr int kContentX = 120;
constexpr int kTableRows = 10;
// The clock, on the round's background: the game draws the time there over a plain panel.
constexpr Area kClock = {385, 492, 95, 17};
// The name field, on the record's background: the name from its left, the caret after it.
constexpr Area kNameField = {157, 317, 209, 17};
// The table on the highscore background: row i (from 0) shows its name and its time.
constexpr int kRowTop = 161, kRowPitch = 20;
constexpr Area tableName(int row) {
    return {120, kRowTop + kRowPitch * row, 209, 17};
}
constexpr Area tableTime(int row) {
    return {350, kRowTop + kRowPitch * row, 95, 17};
}
// The print control after a completed round, on the congratulations' backgrounds.
constexpr Area kPrintControl = {388, 12, 120, 53};

// Within the game's pictures: a puzzle tile (a board cell); the clock font's glyph cell; a
// menu button's picture (a row of three: normal, highlighted, pressed).
constexpr int kTile = 88;
constexpr int kGlyphW = 19, kGlyphH = 17;
constexpr int kButtonW = 120, kButtonH = 53;
// The glow cursor: its frames side by side, from the faintest.
constexpr int kGlowFrames = 5;
// The gates in GateBridges.bmp: each gate's first frame (closed), its five frames side by side
// towards open, and the centre where it stands on the screen.
struct Gate {
    Area first;
    int centreX, centreY;
};
constexpr int kGateFrames = 5;
constexpr Gate kGates[] = {
    {{0, 0, 90, 10}, 380, 35},     // top
    {{0, 10, 90, 10}, 380, 485},   // bottom
    {{450, 0, 10, 90}, 155, 260},  // left
};
}  // namespace layout
