// The 21 pictures the game reads, with the size it needs and whether magenta is transparent in
// them: what the art maker draws and what its checker checks.
#pragma once

struct ArtFile {
    const char* path;  // under the game folder
    int width, height;
    bool keyed;  // magenta pixels are not drawn
};

constexpr ArtFile kArtFiles[] = {
    {"GFX/Game/Puzzle.bmp", 440, 440, false},
    {"GFX/Game/PuzzleHighlight.bmp", 440, 440, false},
    {"GFX/Game/GlowCursor.bmp", 440, 88, true},
    {"GFX/Game/GateBridges.bmp", 500, 90, false},
    {"GFX/Menus/GameFont.bmp", 494, 51, true},
    {"GFX/Menus/Buttons.bmp", 360, 424, false},  // the eighth row: the print control
    {"GFX/Menus/Menu.bmp", 640, 520, false},
    {"GFX/Screens/Startscreen-01.bmp", 640, 520, false},
    {"GFX/Screens/Startscreen-02.bmp", 640, 520, false},
    {"GFX/Screens/Creditscreen.bmp", 640, 520, false},
    {"GFX/Backgrounds/Welcome.bmp", 520, 520, false},
    {"GFX/Backgrounds/Rules.bmp", 520, 520, false},
    {"GFX/Backgrounds/Prizes1.bmp", 520, 520, false},
    {"GFX/Backgrounds/Prizes2.bmp", 520, 520, false},
    {"GFX/Backgrounds/Prizes3.bmp", 520, 520, false},
    {"GFX/Backgrounds/Solrind.bmp", 520, 520, false},
    {"GFX/Backgrounds/Solrind2.bmp", 520, 520, false},
    {"GFX/Backgrounds/Highscore.bmp", 520, 520, false},
    {"GFX/Backgrounds/GameBackground.bmp", 520, 520, false},
    {"GFX/Backgrounds/Congratulations1.bmp", 520, 520, false},
    {"GFX/Backgrounds/Congratulations2.bmp", 520, 520, false},
};
constexpr int kArtFileCount = sizeof kArtFiles / sizeof kArtFiles[0];
