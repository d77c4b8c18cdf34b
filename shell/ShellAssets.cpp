// Loading every picture, sprite, font and handler of the game, the ten menu buttons, the
// background picture, and the release of all of it.
#include <cstdio>
#include <new>

#include "BoardPiece.h"
#include "CountFont.h"
#include "EnterInput.h"
#include "GameInput.h"
#include "GameLayout.h"
#include "Gates.h"
#include "ImageBackground.h"
#include "RingQueue.h"
#include "SolrindPGameShell.h"
#include "gnAudio.h"
#include "gnAudioImpl.h"
#include "gnScreen.h"

namespace {

constexpr sz kScreenSize = {640, 520};
constexpr int kFullButtons = 7;  // ids 0 to 6 have their own picture row
// The screen row of each button slot, top to bottom: 53 high, 2 or 3 apart.
constexpr int32_t kSlotY[kFullButtons] = {124, 180, 235, 291, 347, 402, 458};
constexpr uint32_t kButtonW = layout::kButtonW;
constexpr uint32_t kButtonH = layout::kButtonH;
constexpr int32_t kHighlightX = 120;  // the frames' columns in the buttons picture
constexpr int32_t kDownX = 240;
constexpr gnRectangle kPieceClip = gnRect(150, 30, 460, 460);  // the board widened by 10
constexpr int kPrintRow = kFullButtons;  // the print control's frames, below the seven
// Where the print control stands after a completed round: the top right of the content area,
// free on both congratulation screens.
constexpr gnRectangle kPrintArea =
    gnRect(layout::kContentX + layout::kPrintControl.x, layout::kPrintControl.y,
           layout::kPrintControl.w, layout::kPrintControl.h);

static_assert(sizeof layout::kGates / sizeof layout::kGates[0] == SolrindPGameShell::kGateCount,
              "a picture strip for every gate");

using Shell = SolrindPGameShell;

// The buttons' keys, set in this order (kQuit and kQuitKey keep Q and Esc from
// initQuitButtons).
struct ButtonKey {
    int id;
    SDL_Keycode key;
};
constexpr ButtonKey kKeys[] = {{Shell::kSponsor, SDLK_u}, {Shell::kNextPage, SDLK_SPACE},
                               {Shell::kWelcome, SDLK_f}, {Shell::kRules, SDLK_i},
                               {Shell::kPlay, SDLK_s},    {Shell::kPrizes, SDLK_r},
                               {Shell::kScores, SDLK_h},  {Shell::kPrint, SDLK_p}};
// The buttons a round switches off (quit and print stay as they are).
constexpr int kOrdinaryButtons[] = {Shell::kSponsor, Shell::kNextPage, Shell::kWelcome,
                                    Shell::kRules,   Shell::kPlay,     Shell::kPrizes,
                                    Shell::kScores};

}  // namespace

gnImage* SolrindPGameShell::loadImage(const char* file) {
    gnImage* image = new (std::nothrow) gnImage();
    if (!image)
        gnE::gnRaiseGeneric("MEMORY", "Out of memory!");
    image->setScreen(screen);
    try {
        image->loadBMP(file);
    } catch (gnE*) {
        delete image;
        throw;
    }
    return image;
}

gnImage* SolrindPGameShell::loadKeyedImage(const char* file) {
    gnImage* image = loadImage(file);
    SDL_Surface* surface = image->getSDLSurface();
    SDL_SetColorKey(surface, SDL_TRUE, SDL_MapRGB(surface->format, 255, 0, 255));
    return image;
}

Sound* SolrindPGameShell::loadSound(const char* file) {
    Sound* sound = new Sound();
    try {
        sound->loadWAV(file);
    } catch (const Error&) {
        delete sound;
        throw;
    }
    return sound;
}

void SolrindPGameShell::loadData() {
    audio = new Audio();
    screen = new gnScreen();
    audio->start();
    screen->setSize(kScreenSize);
    screen->open();
    puzzleImage = loadImage(files::kPuzzle);
    highlightImage = loadImage(files::kPuzzleHighlight);
    buttonsImage = loadImage(files::kButtons);
    cursorImage = loadKeyedImage(files::kGlowCursor);
    gateImage = loadImage(files::kGateBridges);
    fontImage = loadKeyedImage(files::kGameFont);
    background = new ImageBackground();
    background->setScreen(screen);
    background->pos.y = 0;
    backgroundImage = nullptr;
    queue = new RingQueue();
    queue->setCapacity(kPieceCount);
    initGates();
    initCountFont();
    initGameInput();
    nextFrameTicks = 0;
    for (int c = 0; c < Board::kCells; ++c)
        for (int r = 0; r < Board::kCells; ++r) {
            if (c == 0 && r == 0)
                continue;  // the corner has no piece
            BoardPiece* piece = new BoardPiece();
            pieces[r * Board::kCells + c - 1] = piece;
            piece->setScreen(screen);
            piece->open();
            piece->init(puzzleImage, highlightImage, c, r);
            piece->clip = kPieceClip;
        }
}

void SolrindPGameShell::initGates() {
    for (Gates*& gate : gates) {
        gate = new Gates();
        gate->setScreen(screen);
        gate->open();
    }
    for (int i = 0; i < kGateCount; ++i) {
        const layout::Gate& gate = layout::kGates[i];
        gates[i]->init(gateImage, gate.first.x, gate.first.y, gate.first.w, gate.first.h);
        gates[i]->pos = pt{gate.centreX, gate.centreY};
    }
}

void SolrindPGameShell::initCountFont() {
    countFont = new CountFont();
    countFont->setScreen(screen);
    countFont->open(fontImage);
    countFont->background = background;  // its BackgroundSprite face; null stays null
}

void SolrindPGameShell::initGameInput() {
    enterHandler = new EnterInputHandler();
    enterHandler->font = countFont;
    enterHandler->screen = screen;
    gameInput = new GameInput();
    gameInput->screen = screen;
    gameInput->setButtonCount(kButtonCount);
    for (int id = 0; id < kFullButtons; ++id)
        initButton(gameInput, buttonsImage, id, id, 0);
    initQuitButtons(gameInput, kQuit, kQuitKey);
    initQuitButtons(gameInput, kSponsor, kNextPage);
    initQuitButtons(gameInput, kScores, kPrint);
    for (const ButtonKey& k : kKeys)
        gameInput->getButtonRec(k.id)->key = k.key;
    initPrintButton();
    gameInput->getButtonRec(kPrint)->enabled = false;
}

void SolrindPGameShell::initPrintButton() {
    sz size;
    buttonsImage->getSize(size);
    if (size.h < kButtonH * (kPrintRow + 1)) {
        printf("%s has no row for the print control: printing only with P\n", files::kButtons);
        return;  // P stays the keyboard double of the highscore button's slot
    }
    ButtonRec* print = gameInput->getButtonRec(kPrint);
    const int32_t y = static_cast<int32_t>(kButtonH) * kPrintRow;
    print->area = kPrintArea;
    print->normalFrame = gnImageFrame{buttonsImage, gnRect(0, y, kButtonW, kButtonH)};
    print->downFrame = gnImageFrame{buttonsImage, gnRect(kDownX, y, kButtonW, kButtonH)};
    print->highlightFrame = gnImageFrame{buttonsImage, gnRect(kHighlightX, y, kButtonW, kButtonH)};
}

bool SolrindPGameShell::hasPrintControl() {
    return !rectManip::isEmpty(gameInput->getButtonRec(kPrint)->area);
}

void SolrindPGameShell::initButton(MenuModule1* menu, gnImage* image, int id, int frameRow,
                                   int shift) {
    const int slot = id + shift;
    if (slot < 0 || slot >= kFullButtons)
        gnE::gnRaiseBug("Out of legal range in SolrindPGameShell::initButton!");
    ButtonRec* button = menu->getButtonRec(id);
    button->area = gnRect(0, kSlotY[slot], kButtonW, kButtonH);
    const int32_t y = static_cast<int32_t>(kButtonH) * (frameRow + shift);
    button->normalFrame = gnImageFrame{image, gnRect(0, y, kButtonW, kButtonH)};
    button->downFrame = gnImageFrame{image, gnRect(kDownX, y, kButtonW, kButtonH)};
    button->highlightFrame = gnImageFrame{image, gnRect(kHighlightX, y, kButtonW, kButtonH)};
}

void SolrindPGameShell::initQuitButtons(MenuModule1* menu, int from, int to) {
    ButtonRec* original = menu->getButtonRec(from);
    ButtonRec* twin = menu->getButtonRec(to);
    twin->area = gnRect(original->area.x, original->area.y, 0, 0);
    twin->normalFrame = original->normalFrame;
    twin->downFrame = original->downFrame;
    twin->highlightFrame = original->highlightFrame;
    original->key = SDLK_q;
    twin->key = SDLK_ESCAPE;
}

void SolrindPGameShell::setButtonsEnabled(bool on) {
    for (int id : kOrdinaryButtons)
        gameInput->getButtonRec(id)->enabled = on;
}

void SolrindPGameShell::newBackground(const char* file) {
    if (backgroundImage) {
        delete backgroundImage;
        backgroundImage = nullptr;  // nothing is held if the next picture fails to load
    }
    backgroundImage = loadImage(file);
    background->setImage(backgroundImage);
}

void SolrindPGameShell::showBackground() {
    const int32_t x = background->pos.x;
    gnRectangle area =
        gnRect(x, 0, static_cast<uint32_t>(static_cast<int32_t>(kScreenSize.w) - x), kScreenSize.h);
    background->showRect(area);
}

// Users before what they use: sprites, fonts and handlers before their pictures, the pictures
// before the screen that owns the image pool, the audio device before the screen. (Deleting a
// null pointer does nothing.) The pointers keep their values: only destruction follows.
void SolrindPGameShell::freeData() {
    delete queue;
    delete background;
    for (BoardPiece* piece : pieces)
        delete piece;
    for (Gates* gate : gates)
        delete gate;
    delete gameInput;
    delete enterHandler;
    delete countFont;
    delete backgroundImage;
    delete puzzleImage;
    delete highlightImage;
    delete cursorImage;
    delete buttonsImage;
    delete gateImage;
    delete fontImage;
    delete audio;
    delete screen;
}
