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
class MenuModule1;
class Sound;
class SolrindPHighscore;

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
    static constexpr int32_t kPieceStep = 44;  // pixels a moving piece travels per frame

    // Menu choices beyond the button ids.
    static constexpr int kChoiceNone = -1;
    static constexpr int kChoiceCompleted = 99;  // left by a completed round

    SolrindPGameShell();
    ~SolrindPGameShell() override;  // releases nothing: release is freeData

    // Loading, the two start screens, the menu loop, the credit screen, the release.
    void userExec(int argc, char** argv) override;
    // The menu loop: startMenu, then menu frames until the menu is done.
    void run();
    // The menu picture and buttons, and the welcome screen starting to slide in.
    void startMenu();
    // One frame of the menu: events, the chosen button, the slide, the monitor, the pause.
    void menuFrame();
    // Waits out the rest of the frame: returns no earlier than kFrameMs after the previous
    // call was entered.
    void waitFrame();

    // Loading and release.
    gnImage* loadImage(const char* file);       // bound to the screen; owned by the caller
    gnImage* loadKeyedImage(const char* file);  // magenta pixels are not drawn
    Sound* loadSound(const char* file);         // a clip for a sponsor's sounds; caller owns
    void loadData();
    void initCountFont();
    void initGates();
    void initGameInput();
    // Button id at slot id + shift, with the frames of row frameRow + shift.
    void initButton(MenuModule1* menu, gnImage* image, int id, int frameRow, int shift);
    // Makes button `to` a keyboard double (Esc) of button `from` (Q).
    void initQuitButtons(MenuModule1* menu, int from, int to);
    void setButtonsEnabled(bool on);  // the seven ordinary buttons; quit and print stay
    // Replaces the background picture in place (the position stays).
    void newBackground(const char* file);
    void showBackground();  // the picture from its slide position to the right edge
    void freeData();

    // The menu's screens.
    void handleMenu();         // acts on the chosen button
    void animateBackground();  // one step of the slide
    void endBackgroundAnim();  // starts the round or draws the table when a slide ends
    void reloadBackground(const char* file);  // a new screen, starting at the right edge
    void clearBackground();                   // the content area in black
    void showGame();
    void showSolrind();
    void showStory();
    void showRules();
    void showPrizes();
    void showHighscore();

    // The print-out of a completed round's time.
    void menuPrint();
    void controlledPrint(const char* name);  // the name is not used
    void printIt(const char* first, const char* second);
    // Replaces the file with the two lines, each ending in CR LF; false when it could not be
    // written (the old file then stays).
    bool saveParams(const char* file, const char* first, const char* second);
    // Starts the program without waiting for it; failures are ignored.
    void executeFile(const char* commandLine);

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

    // The game round.
    void game();                    // plays one round, then the highscore flow or back to the menu
    void gameFrame();               // one frame of the round
    void handleBoard();             // clicks, drags, slides, hover aids and the pieces' drawing
    void showCursor(int x, int y);  // one frame of the glow on cell (x, y)
    void showGates();
    void highlightCorner();

    // After a completed round: the name entry for a record, or the other congratulation.
    void checkHighscore();
    void displayHighscore(SolrindPHighscore* table);

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
