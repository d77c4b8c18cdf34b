// The one game object: owns every asset from loading to release, runs the start screens, the
// menu loop with its sliding screens, the game round, the highscore flow and the print-out.
// It runs inside checked execution, so every error raised below it ends in one place.
#pragma once

#include <cstdint>

#include "Board.h"
#include "Round.h"
#include "RoundFile.h"
#include "gnExceptions.h"
#include "gnGeomUtil.h"

class gnScreen;
class Audio;
class gnImage;
class RingQueue;
class ImageBackground;
class GameInput;
class Gates;
class CountFont;
class EnterInputHandler;
class MenuModule1;
class Sound;
class SolrindPHighscore;
class gnInputHandler;

class SolrindPGameShell : public gnCheckedExec {
  public:
    static constexpr uint32_t kFrameMs = 40;  // frames start this far apart: 25 a second
    static constexpr int kPieceCount = Board::kPieceCount;
    static constexpr int kGateCount = Board::kGateCount;

    // The menu's choices: the ten buttons by id, and two choices that are no button.
    enum Choice : int {
        kWelcome = 0,   // F
        kRules = 1,     // I
        kPrizes = 2,    // R: three pages
        kSponsor = 3,   // U: two pages
        kScores = 4,    // H
        kPlay = 5,      // S
        kQuit = 6,      // Q
        kQuitKey = 7,   // Esc, the keyboard double of Q
        kNextPage = 8,  // Space: the next page of the prize or sponsor screens
        kPrint = 9,     // P: on only after a completed round
        kButtonCount = 10,
        kChoiceNone = -1,
        kChoiceCompleted = 99,  // left by a completed round
    };

    SolrindPGameShell();
    ~SolrindPGameShell() override;  // releases nothing: release is freeData

    // Loading, the two start screens, the menu loop, the credit screen, the release.
    void userExec(int argc, char** argv) override;
    // The menu loop: startMenu, then menu frames until the menu is done.
    void run();
    // The menu picture and buttons, and the welcome screen starting to slide in.
    void startMenu();
    // One frame of the menu: events, a tap, the chosen button, the slide, the print control,
    // the monitor, the pause.
    void menuFrame();
    // Waits out the rest of the frame: frames start kFrameMs apart, a steady 25 a second while
    // a frame's work takes less; after a slower frame the next starts kFrameMs after this call,
    // without a burst to catch up.
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
    // The print control, a finger's P, in the content area after a completed round: its frames
    // are the eighth row of the buttons picture; a picture without it leaves P keys only.
    void initPrintButton();
    bool hasPrintControl();
    void setButtonsEnabled(bool on);  // the seven ordinary buttons; quit and print stay
    // Replaces the background picture in place (the position stays).
    void newBackground(const char* file);
    void showBackground();  // the picture from its slide position to the right edge
    void freeData();

    // The menu's screens.
    // A tap (press and release) on the content of a prize or sponsor page turns the page.
    void takeTap();
    void handleMenu();  // acts on the chosen button: resolveChoice, then enterScreen if new
    // The choice in force after the print key (printed, the screen stays) and the space key
    // (kept on the prize and sponsor screens, else ignored).
    int resolveChoice();
    // Starts the chosen screen (or quits, turns the page, switches the print key on).
    void enterScreen(int choice);
    void animateBackground();  // one step of the slide
    void showPrinted();        // the print control lit a moment after each print-out
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

    // The board's rules, kept by `board` (see Board for each).
    bool isPieceFree(int x, int y) { return board.isPieceFree(x, y); }
    bool isInHole(int x, int y, bool checkOpen) { return board.isInHole(x, y, checkOpen); }
    bool isOnBoard(int x, int y) { return board.isOnBoard(x, y); }
    bool hasMovingPieces() { return board.hasMovingPieces(); }
    void posToIndex(const pt& p, int& x, int& y) { Board::posToIndex(p, x, y); }
    void checkMove(BoardPiece* piece, int dx, int dy) { board.checkMove(piece, dx, dy); }
    bool hasCompleted() { return board.hasCompleted(); }
    void queuePiece(int index) { board.queuePiece(index); }
    void releasePiece() { board.releasePiece(); }
    void slidePiece(int index) { board.slidePiece(index); }
    void eraseBoard();  // redraws the board area from the background
    // A new game: seeds rand() from the clock, queues and shuffles all pieces, puts the game
    // clock at 00|00, and starts the round's record.
    void initGame();
    // Keeps the round's record in "Save/Rounds": every round played, completed or given up.
    void keepRound();

    // The game round.
    void game();                    // plays one round, then the highscore flow or back to the menu
    void gameFrame();               // one frame of the round
    void handleBoard();             // clicks, drags, slides, hover aids and the pieces' drawing
    void showCursor(int x, int y);  // one frame of the glow on cell (x, y)
    void showGates();
    void highlightCorner();

    // The kiosk (SOLRIND_KIOSK=1): a round or a name entry left alone SOLRIND_IDLE_SECONDS
    // (90 without it) ends as Esc ends it; a menu left alone shows the attract loop.
    // Also the rounds' limit (SOLRIND_ROUNDS_MB).
    void readKioskSettings();
    // No input for idleLimitMs, in a kiosk, and as long since aloneFrom (the start of the round,
    // of the name entry, or the return to the menu after a round: the pause before the entry
    // is no player's time, and a menu shows its screen a while before the attract loop).
    bool isLeftAlone();
    void pressEscape(gnInputHandler* handler);  // hands the handler a key-down of Esc
    // In a menu frame: starts the loop of the information screens when the menu is left
    // alone, turns it on, and ends it with the welcome screen at any input.
    void attract();
    void nextAttractScreen();

    // After a completed round: the name entry for a record, or the other congratulation; then
    // the round's record and the table are kept.
    void checkHighscore();
    void displayHighscore(SolrindPHighscore* table);
    // In a browser beside an event server, the event's table becomes the table file before
    // the game uses it, with this browser's records not yet delivered.
    void takeEventTable();

    // Every pointer owns its object between loading and release; all start null. `board`
    // works on the pieces, the queue and the gates.
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
    uint32_t nextFrameTicks = 0;  // ticks at which the next frame starts
    bool completed = false;       // the round's puzzle has been completed
    int printLit = 0;             // frames the print control still shows it printed
    uint32_t idleLimitMs = 0;     // a kiosk's time without input; 0: no limit (not a kiosk)
    uint32_t aloneFrom = 0;       // ticks at the start of the round, the name entry, the menu
    bool attracting = false;      // the attract loop shows the information screens
    int attractStep = 0;          // its next screen
    uint32_t attractSince = 0;    // ticks when it began
    uint32_t attractShownAt = 0;  // and when it showed its last screen
    uint64_t roundsCap = uint64_t{roundfile::kDefaultCapMb} * roundfile::kMegabyte;  // kept rounds
    Board board{pieces, queue, gates};
    Round round{board, gates, countFont};  // the rules frame by frame and the round's record
};
