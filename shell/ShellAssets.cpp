// Loading every picture, sprite, font and handler of the game, the ten menu buttons, the
// background picture, and the release of all of it.
#include <new>

#include "BoardPiece.h"
#include "CountFont.h"
#include "EnterInput.h"
#include "GameFiles.h"
#include "GameInput.h"
#include "Gates.h"
#include "ImageBackground.h"
#include "RingQueue.h"
#include "SolrindPGameShell.h"
#include "gnAudio.h"
#include "gnAudioImpl.h"
#include "gnScreen.h"

namespace {

constexpr sz kScreenSize = {640, 520};
constexpr int kButtonCount = 10;
constexpr int kFullButtons = 7;  // ids 0 to 6 have their own picture row
constexpr int32_t kButtonTop = 124;
constexpr int32_t kButtonPitch = 56;  // with the corrections in slotY, rows 53 high
constexpr uint32_t kButtonW = 120;
constexpr uint32_t kButtonH = 53;
constexpr int32_t kHighlightX = 120;  // the frames' columns in the buttons picture
constexpr int32_t kDownX = 240;
constexpr gnRectangle kPieceClip = {150, 30, 460, 460};  // the board widened by 10 pixels

struct GateLayout {
    int32_t x, y, w, h;  // the first frame in the picture
    pt centre;           // on the screen
};
constexpr GateLayout kGates[SolrindPGameShell::kGateCount] = {
    {0, 0, 90, 10, {380, 35}},     // top
    {0, 10, 90, 10, {380, 485}},   // bottom
    {450, 0, 10, 90, {155, 260}},  // left
};

// The buttons' keys (ids 6 and 7 keep Q and Esc from initQuitButtons).
struct ButtonKey {
    int id;
    SDL_Keycode key;
};
constexpr ButtonKey kKeys[] = {{3, SDLK_u}, {8, SDLK_SPACE}, {0, SDLK_f}, {1, SDLK_i},
                               {5, SDLK_s}, {2, SDLK_r},     {4, SDLK_h}, {9, SDLK_p}};
constexpr int kOrdinaryButtons[] = {3, 8, 0, 1, 5, 2, 4};
constexpr int kPrintButton = 9;

// The screen row of button slot n: 124, 180, 235, 291, 347, 402, 458.
int32_t slotY(int n) {
    return kButtonTop + kButtonPitch * n - n / 2 + (n > 5 ? 1 : 0) + (n == 4 ? 1 : 0);
}

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
    for (int c = 0; c < kBoardCells; ++c)
        for (int r = 0; r < kBoardCells; ++r) {
            if (c == 0 && r == 0)
                continue;  // the corner has no piece
            BoardPiece* piece = new BoardPiece();
            pieces[r * kBoardCells + c - 1] = piece;
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
        gates[i]->init(gateImage, kGates[i].x, kGates[i].y, kGates[i].w, kGates[i].h);
        gates[i]->pos = kGates[i].centre;
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
    initQuitButtons(gameInput, 6, 7);
    initQuitButtons(gameInput, 3, 8);
    initQuitButtons(gameInput, 4, 9);
    for (const ButtonKey& k : kKeys)
        gameInput->getButtonRec(k.id)->key = k.key;
    gameInput->getButtonRec(kPrintButton)->enabled = false;
}

void SolrindPGameShell::initButton(MenuModule1* menu, gnImage* image, int id, int frameRow,
                                   int shift) {
    ButtonRec* button = menu->getButtonRec(id);
    rectManip::init(button->area, 0, slotY(id + shift), kButtonW, kButtonH);
    const int32_t y = static_cast<int32_t>(kButtonH) * (frameRow + shift);
    button->normalFrame.image = image;
    rectManip::init(button->normalFrame.rect, 0, y, kButtonW, kButtonH);
    button->downFrame.image = image;
    rectManip::init(button->downFrame.rect, kDownX, y, kButtonW, kButtonH);
    button->highlightFrame.image = image;
    rectManip::init(button->highlightFrame.rect, kHighlightX, y, kButtonW, kButtonH);
}

void SolrindPGameShell::initQuitButtons(MenuModule1* menu, int from, int to) {
    ButtonRec* original = menu->getButtonRec(from);
    ButtonRec* twin = menu->getButtonRec(to);
    rectManip::init(twin->area, original->area.x, original->area.y, 0, 0);
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
    gnRectangle area;
    rectManip::init(area, x, 0, static_cast<uint32_t>(static_cast<int32_t>(kScreenSize.w) - x),
                    kScreenSize.h);
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
