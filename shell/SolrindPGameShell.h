// The one game object: owns every asset from loading to release, runs the start screens, the
// menu loop with its sliding screens, the game round, the highscore flow and the print-out.
// It runs inside checked execution, so every error raised below it ends in one place.
#pragma once

#include <cstdint>

#include "gnExceptions.h"
#include "gnGeomUtil.h"

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

    // The board: 5 by 5 cells of 88 pixels at (160, 40); the corner (0, 0) takes no piece.
    static constexpr int32_t kBoardX = 160;
    static constexpr int32_t kBoardY = 40;
    static constexpr int32_t kCellSize = 88;
    static constexpr int32_t kBoardCells = 5;  // columns and rows
    static constexpr int32_t kSlideStep = 44;  // pixels a moving piece travels per frame

    SolrindPGameShell();
    ~SolrindPGameShell() override;  // releases nothing: release is freeData

    void userExec(int argc, char** argv) override;

    // Waits out the rest of the frame: returns no earlier than kFrameMs after the previous
    // call was entered.
    void waitFrame();

    // Board rules. x is a column and y a row.
    // No piece off the queue stands on (x, y); any cell, on the board or not.
    bool isPieceFree(int x, int y);
    // (x, y) is one of the three holes (and, with checkOpen, its gate is fully open).
    bool isInHole(int x, int y, bool checkOpen);
    // A board cell other than the corner, or a hole while its gate is fully open.
    bool isOnBoard(int x, int y);
    bool hasMovingPieces();
    // The board cell under a screen point, or (-1, -1) off the board.
    void posToIndex(const pt& p, int& x, int& y);
    // Sets the piece moving one cell in (dx, dy) if that cell is free and on the board.
    void checkMove(BoardPiece* piece, int dx, int dy);
    // The queue is empty and every piece stands on its home cell.
    bool hasCompleted();
    void eraseBoard();  // redraws the board area from the background
    void queuePiece(int index);
    // A new game: seeds rand(), queues and shuffles all pieces, puts the clock at 00|00.
    void initGame();
    // The release step: the next queued piece onto cell (1, 0), moving right, when the queue
    // holds one and (1, 0) is free.
    void releasePiece();
    // The slide step of a moving piece: half a cell a frame until blocked; from a hole cell
    // back into the queue.
    void slidePiece(int index);

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
