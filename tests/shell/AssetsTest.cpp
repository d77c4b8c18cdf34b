// Loading builds the ten buttons, the pieces, the gates and the clock from the art maker's
// pictures; the background picture is replaced in place.
#include "BoardPiece.h"
#include "CountFont.h"
#include "EngineFixture.h"
#include "EnterInput.h"
#include "GameInput.h"
#include "Gates.h"
#include "ImageBackground.h"
#include "Pictures.h"
#include "RingQueue.h"
#include "ShellFixture.h"
#include "Sounds.h"
#include "gnAudio.h"
#include "gnAudioImpl.h"
#include "gnScreen.h"

namespace {

class AssetsTest : public ShellFixture {
  protected:
    void SetUp() override {
        ShellFixture::SetUp();
        load();
    }
    // Handles one event with the mouse and keys as set; the menu's choice.
    int choose() {
        shell.gameInput->selected = -1;
        shell.gameInput->pollEvents();
        return shell.gameInput->selected;
    }
    int click(int x, int y) {
        mouse(x, y, SDL_BUTTON_LMASK);
        const int chosen = choose();
        mouse(x, y, 0);
        shell.gameInput->pollEvents();
        return chosen;
    }
    int press(SDL_Keycode key) {
        port.held = {key};
        pushKeyDown(key);
        const int chosen = choose();
        port.held.clear();
        return chosen;
    }
    std::string area(int id) {
        const gnRectangle& r = shell.gameInput->buttons[id].area;
        return std::to_string(r.x) + " " + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
               std::to_string(r.h);
    }
};

}  // namespace

// The ten buttons: seven in their slots with their picture rows, three keyboard doubles
// without an area; clicks hit the full buttons and keys reach every button that is on.
TEST_F(AssetsTest, TenButtonsAnswerToClicksAndKeys) {
    const char* areas[10] = {"0 124 120x53", "0 180 120x53", "0 235 120x53", "0 291 120x53",
                             "0 347 120x53", "0 402 120x53", "0 458 120x53", "0 458 0x0",
                             "0 291 0x0",    "0 347 0x0"};
    const int frameRows[10] = {0, 1, 2, 3, 4, 5, 6, 6, 3, 4};
    for (int id = 0; id < 10; ++id) {
        const ButtonRec& b = shell.gameInput->buttons[id];
        EXPECT_EQ(area(id), areas[id]) << id;
        EXPECT_EQ(b.normalFrame.rect.y, 53 * frameRows[id]) << id;
        EXPECT_EQ(b.normalFrame.rect.x + b.highlightFrame.rect.x + b.downFrame.rect.x, 360) << id;
        EXPECT_EQ(b.highlightFrame.rect.x, 120) << id;
    }
    shell.gameInput->activate();
    const struct {
        int x, y;
        SDL_Keycode key;
        int chosen;
    } choices[] = {{60, 150, 0, 0},       {60, 500, 0, 6},   {60, 300, 0, 3},
                   {60, 350, 0, 4},       {0, 0, SDLK_f, 0}, {0, 0, SDLK_i, 1},
                   {0, 0, SDLK_r, 2},     {0, 0, SDLK_u, 3}, {0, 0, SDLK_h, 4},
                   {0, 0, SDLK_s, 5},     {0, 0, SDLK_q, 6}, {0, 0, SDLK_ESCAPE, 7},
                   {0, 0, SDLK_SPACE, 8}, {0, 0, SDLK_p, -1}};  // P: off until a round is won
    for (const auto& c : choices)
        EXPECT_EQ(c.key ? press(c.key) : click(c.x, c.y), c.chosen)
            << c.x << "," << c.y << " " << c.key;
    // During a round only the quit buttons react; print is left as it is.
    shell.setButtonsEnabled(false);
    for (SDL_Keycode key : {SDLK_f, SDLK_i, SDLK_r, SDLK_u, SDLK_h, SDLK_s, SDLK_SPACE})
        EXPECT_EQ(press(key), -1) << key;
    EXPECT_EQ(click(60, 150), -1);
    EXPECT_EQ(click(60, 480), 6);
    EXPECT_EQ(press(SDLK_ESCAPE), 7);
    // A click or a key over before its event is handled still chooses.
    pushMouseButton(SDL_MOUSEBUTTONDOWN, 60, 480);
    pushMouseButton(SDL_MOUSEBUTTONUP, 60, 480);
    EXPECT_EQ(choose(), 6);
    pushKeyDown(SDLK_q);
    EXPECT_EQ(choose(), 6);
    shell.gameInput->buttons[9].enabled = true;
    shell.setButtonsEnabled(true);
    EXPECT_EQ(press(SDLK_p), 9);
    EXPECT_EQ(press(SDLK_s), 5);
}

TEST_F(AssetsTest, PiecesAndGatesStandInPlaceAndKeyedPicturesLeaveMagentaUndrawn) {
    for (const BoardPiece* piece : shell.pieces)  // drawn inside the board and its holes
        EXPECT_TRUE(rectManip::isEqual(piece->clip, gnRect(150, 30, 460, 460)));
    const struct {
        int x, y;
        gnRectangle frame3;
    } gates[] = {{380, 35, gnRect(270, 0, 90, 10)},
                 {380, 485, gnRect(270, 10, 90, 10)},
                 {155, 260, gnRect(480, 0, 10, 90)}};
    for (int g = 0; g < 3; ++g) {
        EXPECT_TRUE(pointManip::isEqual(shell.gates[g]->pos, pt{gates[g].x, gates[g].y})) << g;
        EXPECT_TRUE(rectManip::isEqual(shell.gates[g]->frames[3].rect, gates[g].frame3)) << g;
    }
    // The cursor and font pictures leave their magenta undrawn; the others draw every pixel.
    shell.screen->fillRect(gnRect(0, 0, 640, 520), 0, 0, 255);
    shell.cursorImage->display(gnRect(0, 0, 88, 88), pt{0, 0});
    shell.puzzleImage->display(gnRect(0, 0, 88, 88), pt{100, 0});
    EXPECT_EQ(at(44, 44), kBlue);  // the middle of the glow is magenta in the picture
    EXPECT_NE(at(1, 44), kBlue);
    SDL_Surface* puzzle = SDL_LoadBMP("GFX/Game/Puzzle.bmp");
    EXPECT_EQ(at(144, 44), pixelAt(puzzle, 44, 44));
    SDL_FreeSurface(puzzle);
}

// A new background picture takes the old one's place without moving; after a picture that
// cannot be loaded, none is held.
TEST_F(AssetsTest, NewBackgroundReplacesThePictureInPlace) {
    shell.background->pos.x = 300;
    shell.newBackground("GFX/Backgrounds/Rules.bmp");
    shell.newBackground("GFX/Backgrounds/Welcome.bmp");
    EXPECT_EQ(shell.background->frame.image, shell.backgroundImage);
    EXPECT_EQ(shell.background->pos.x, 300);
    port.clearLog();
    shell.showBackground();
    shell.screen->update();
    EXPECT_EQ(port.updates(), (std::vector<std::string>{"update 300 0 340 520"}));
    SDL_Surface* welcome = SDL_LoadBMP("GFX/Backgrounds/Welcome.bmp");
    EXPECT_EQ(at(300, 100), pixelAt(welcome, 0, 100));
    EXPECT_EQ(at(639, 519), pixelAt(welcome, 339, 519));
    SDL_FreeSurface(welcome);
    EXPECT_EQ(raisedBy([&] { shell.newBackground("GFX/Backgrounds/Missing.bmp"); }),
              "Generic exception of type: FileLoad raised: Couldn't open "
              "GFX/Backgrounds/Missing.bmp\n");
    EXPECT_EQ(shell.backgroundImage, nullptr);
}

TEST_F(AssetsTest, SoundsCanBeLoadedForASponsorsUse) {
    ASSERT_NE(globalAudio, nullptr);  // the dummy device opened while loading
    writeWav("beep.wav", 11025, 16, 1, std::vector<int>(1000, 3000));
    Sound* beep = shell.loadSound("beep.wav");
    EXPECT_EQ(beep->getRate(), 11025u);
    delete beep;
    try {
        shell.loadSound("no-such.wav");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.message, "Sound::loadWAV: Could not open file!");
    }
}
