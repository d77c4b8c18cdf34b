// Every file the game reads or writes, relative to the game folder (the working directory).
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
}  // namespace files
