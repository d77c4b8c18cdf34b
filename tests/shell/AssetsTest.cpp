// Loading builds the ten buttons, the pieces, the gates and the clock from the art maker's
// pictures; the background picture is replaced in place.
#include "BoardPiece.h"
#include "CountFont.h"
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

TEST_F(AssetsTest, TenButtonsInTheirSlots) {
    EXPECT_EQ(shell.gameInput->buttonCount, 10);
    const char* areas[10] = {"0 124 120x53", "0 180 120x53", "0 235 120x53", "0 291 120x53",
                             "0 347 120x53", "0 402 120x53", "0 458 120x53", "0 458 0x0",
                             "0 291 0x0",    "0 347 0x0"};
    for (int id = 0; id < 10; ++id)
        EXPECT_EQ(area(id), areas[id]) << id;
    const int keys[10] = {SDLK_f, SDLK_i, SDLK_r,      SDLK_u,     SDLK_h,
                          SDLK_s, SDLK_q, SDLK_ESCAPE, SDLK_SPACE, SDLK_p};
    for (int id = 0; id < 10; ++id)
        EXPECT_EQ(shell.gameInput->buttons[id].key, keys[id]) << id;
    for (int id = 0; id < 9; ++id)
        EXPECT_TRUE(shell.gameInput->buttons[id].enabled) << id;
    EXPECT_FALSE(shell.gameInput->buttons[9].enabled);
    const ButtonRec& play = shell.gameInput->buttons[5];
    EXPECT_EQ(play.normalFrame.rect.y, 265);
    EXPECT_EQ(play.normalFrame.rect.x, 0);
    EXPECT_EQ(play.highlightFrame.rect.x, 120);
    EXPECT_EQ(play.downFrame.rect.x, 240);
    EXPECT_EQ(shell.gameInput->buttons[8].normalFrame.rect.y, 159);  // button 3's row
    EXPECT_EQ(shell.gameInput->buttons[7].downFrame.rect.y, 318);    // button 6's row
}

TEST_F(AssetsTest, ClicksHitTheFullButtonsAndKeysTheirDoubles) {
    shell.gameInput->activate();
    EXPECT_EQ(click(60, 150), 0);
    EXPECT_EQ(click(60, 500), 6);
    EXPECT_EQ(click(60, 300), 3);  // never the keyboard-only 8 on the same place
    EXPECT_EQ(click(60, 350), 4);
    EXPECT_EQ(press(SDLK_SPACE), 8);
    EXPECT_EQ(press(SDLK_ESCAPE), 7);
    EXPECT_EQ(press(SDLK_q), 6);
    EXPECT_EQ(press(SDLK_p), -1);  // off until a round is completed
    shell.gameInput->buttons[9].enabled = true;
    EXPECT_EQ(press(SDLK_p), 9);
}

TEST_F(AssetsTest, DuringARoundOnlyTheQuitButtonsReact) {
    shell.gameInput->activate();
    shell.setButtonsEnabled(false);
    for (SDL_Keycode key : {SDLK_f, SDLK_i, SDLK_r, SDLK_u, SDLK_h, SDLK_s, SDLK_SPACE})
        EXPECT_EQ(press(key), -1) << key;
    EXPECT_EQ(click(60, 150), -1);
    EXPECT_EQ(press(SDLK_q), 6);
    EXPECT_EQ(press(SDLK_ESCAPE), 7);
    EXPECT_EQ(click(60, 480), 6);
    shell.setButtonsEnabled(true);
    EXPECT_EQ(press(SDLK_s), 5);
    EXPECT_FALSE(shell.gameInput->buttons[9].enabled);  // untouched either way
}

TEST_F(AssetsTest, PiecesGatesClockAndQueue) {
    EXPECT_EQ(shell.pieces[0]->homeCol, 1);
    EXPECT_EQ(shell.pieces[0]->homeRow, 0);
    EXPECT_EQ(shell.pieces[4]->homeCol, 0);
    EXPECT_EQ(shell.pieces[4]->homeRow, 1);
    EXPECT_EQ(shell.pieces[23]->homeCol, 4);
    EXPECT_EQ(shell.pieces[23]->homeRow, 4);
    for (BoardPiece* piece : shell.pieces) {
        EXPECT_EQ(piece->frames[0].image, shell.puzzleImage);
        EXPECT_EQ(piece->frames[1].image, shell.highlightImage);
        EXPECT_EQ(piece->clip.x, 150);
        EXPECT_EQ(piece->clip.w, 460u);
        EXPECT_FALSE(piece->inQueue);
    }
    EXPECT_EQ(shell.queue->capacity, 24);
    EXPECT_EQ(shell.gates[0]->pos.x, 380);
    EXPECT_EQ(shell.gates[1]->pos.y, 485);
    EXPECT_EQ(shell.gates[2]->pos.x, 155);
    EXPECT_EQ(shell.gates[2]->frames[3].rect.x, 480);
    EXPECT_EQ(shell.gates[1]->frames[0].rect.y, 10);
    EXPECT_EQ(shell.countFont->background, shell.background);
    EXPECT_EQ(shell.countFont->image, shell.fontImage);
    EXPECT_EQ(shell.enterHandler->font, shell.countFont);
    EXPECT_EQ(shell.backgroundImage, nullptr);
    EXPECT_EQ(shell.nextFrameTicks, 0u);
    EXPECT_EQ(shell.screen->getSize().w, 640u);
}

TEST_F(AssetsTest, KeyedPicturesLeaveTheirMagentaUndrawn) {
    gnRectangle all = gnRect(0, 0, 640, 520);
    shell.screen->fillRect(all, 0, 0, 255);
    gnRectangle frame = gnRect(0, 0, 88, 88);
    shell.cursorImage->display(frame, pt{0, 0});
    EXPECT_EQ(at(44, 44), kBlue);  // the middle of the glow is magenta in the picture
    EXPECT_NE(at(1, 44), kBlue);
    shell.puzzleImage->display(frame, pt{100, 0});
    SDL_Surface* puzzle = SDL_LoadBMP("GFX/Game/Puzzle.bmp");
    EXPECT_EQ(at(144, 44), pixelAt(puzzle, 44, 44));
    SDL_FreeSurface(puzzle);
}

TEST_F(AssetsTest, NewBackgroundReplacesThePictureInPlace) {
    shell.background->pos.x = 300;
    shell.newBackground("GFX/Backgrounds/Rules.bmp");
    gnImage* first = shell.backgroundImage;
    EXPECT_EQ(shell.background->frame.image, first);
    EXPECT_EQ(shell.background->pos.x, 300);
    shell.newBackground("GFX/Backgrounds/Welcome.bmp");
    EXPECT_NE(shell.backgroundImage, nullptr);
    port.clearLog();
    shell.showBackground();
    shell.screen->update();
    EXPECT_EQ(port.updates(), (std::vector<std::string>{"update 300 0 340 520"}));
    SDL_Surface* welcome = SDL_LoadBMP("GFX/Backgrounds/Welcome.bmp");
    EXPECT_EQ(at(300, 100), pixelAt(welcome, 0, 100));
    EXPECT_EQ(at(639, 519), pixelAt(welcome, 339, 519));
    SDL_FreeSurface(welcome);
}

TEST_F(AssetsTest, MissingBackgroundHoldsNoImageAfterwards) {
    shell.newBackground("GFX/Backgrounds/Rules.bmp");
    const std::string raised = [&] {
        try {
            shell.newBackground("GFX/Backgrounds/Missing.bmp");
        } catch (gnE* e) {
            Capture out;
            e->output();
            delete e;
            return out.finish();
        }
        return std::string();
    }();
    EXPECT_EQ(raised.rfind("Generic exception of type: FileLoad raised: Couldn't open", 0), 0u)
        << raised;
    EXPECT_EQ(shell.backgroundImage, nullptr);
}

TEST_F(AssetsTest, SoundsCanBeLoadedForASponsorsUse) {
    ASSERT_NE(globalAudio, nullptr);  // the dummy device opened while loading
    writeWav("beep.wav", 11025, 16, 1, std::vector<int>(1000, 3000));
    Sound* beep = shell.loadSound("beep.wav");
    EXPECT_NE(beep->data, nullptr);
    EXPECT_EQ(beep->getRate(), 11025u);
    delete beep;
    try {
        shell.loadSound("no-such.wav");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.message, "Sound::loadWAV: Could not open file!");
    }
}
