// The one game object: owns every asset from loading to release, runs the start screens, the
// menu loop with its sliding screens, the game round, the highscore flow and the print-out.
// It runs inside checked execution, so every error raised below it ends in one place.
#pragma once

#include <cstdint>

#include "gnExceptions.h"

class gnScreen;
class Audio;
class gnImage;
class RingQueue;
class BoardPiece;
class ImageBackground;
class GameInput;
class Gates;
class CountFont;
class EnterInputHandler;

class SolrindPGameShell : public gnCheckedExec {
  public:
    static constexpr uint32_t kFrameMs = 40;  // a frame lasts at least this long
    static constexpr int kPieceCount = 24;
    static constexpr int kGateCount = 3;

    SolrindPGameShell();
    ~SolrindPGameShell() override;  // releases nothing: release is freeData

    void userExec(int argc, char** argv) override;

    // Waits out the rest of the frame: returns no earlier than kFrameMs after the previous
    // call was entered.
    void waitFrame();

    // Every pointer owns its object between loading and release; all start null.
    gnScreen* screen = nullptr;
    Audio* audio = nullptr;
    gnImage* backgroundImage = nullptr;  // the screen now shown; null until the first
    gnImage* puzzleImage = nullptr;
    gnImage* highlightImage = nullptr;
    gnImage* buttonsImage = nullptr;
    gnImage* cursorImage = nullptr;  // colour-keyed
    gnImage* gateImage = nullptr;
    gnImage* fontImage = nullptr;  // colour-keyed
    RingQueue* queue = nullptr;
    BoardPiece* pieces[kPieceCount] = {};  // index = row * 5 + column - 1
    ImageBackground* background = nullptr;
    GameInput* gameInput = nullptr;
    Gates* gates[kGateCount] = {};  // top, bottom, left
    CountFont* countFont = nullptr;
    EnterInputHandler* enterHandler = nullptr;
    int currentScreen = -1;  // menu choice in force: button id, 99 after a completed game
    int page = 0;            // next page of a screen of several pages
    int glowFrame = 0;       // step of the glow cursor's pulse, 0 to 8
    int cursorCol = -1;      // cell the glow cursor last showed on; negative for none
    int cursorRow = -1;
    uint32_t nextFrameTicks = 0;  // ticks before which the next frame may not begin
    bool completed = false;       // the round's puzzle has been completed
};
