// Typing a name: insertion at the caret, editing keys, the finishing keys and the redraws.
#include "CountFont.h"
#include "EngineFixture.h"
#include "EnterInput.h"
#include "GameArt.h"

namespace {

constexpr uint32_t kBehind = 0x334455;  // the picture behind the name

class EnterInputTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        font.setScreen(&screen);
        font.open(image(writeFontBmp(path("font.bmp"))));
        font.textPos = pt{277, 317};
        entry.font = &font;
        entry.screen = &screen;
        entry.backgroundImage = image(writePlainBmp(path("back.bmp"), 520, 520, kBehind));
        entry.eraseRect = gnRect(157, 317, 209, 17);
        entry.activate();
    }
    void key(SDL_Keycode k, Uint16 mod = KMOD_NONE) {
        SDL_Event event = {};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = k;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
        entry.pollEvents();
    }
    void type(const std::string& keys) {
        for (char c : keys)
            key(static_cast<SDL_Keycode>(c));
    }
    // The eleven glyph cells of the name field as the screen shows them.
    std::string field() { return textAt(surface(), 277, 317, 11); }

    CountFont font;
    EnterInputHandler entry;
};

}  // namespace

TEST_F(EnterInputTest, ElevenLettersKeepTenAndTheLastKeyOnlyRedraws) {
    type("abcdefghij");
    EXPECT_STREQ(entry.text, "abcdefghij");
    port.clearLog();
    type("k");
    EXPECT_STREQ(entry.text, "abcdefghij");
    EXPECT_EQ(entry.caret, 10);
    EXPECT_EQ(port.presents(), 1);
    EXPECT_EQ(field(), "abcdefghij{");
}

TEST_F(EnterInputTest, EditingAtTheCaret) {
    type("abc");
    EXPECT_EQ(entry.caret, 3);
    key(SDLK_LEFT);
    key(SDLK_LEFT);
    key(SDLK_BACKSPACE);
    EXPECT_STREQ(entry.text, "bc");
    EXPECT_EQ(entry.caret, 0);
    key(SDLK_BACKSPACE);  // nothing before the caret
    EXPECT_STREQ(entry.text, "bc");
    type("x");
    EXPECT_STREQ(entry.text, "xbc");
    EXPECT_EQ(entry.caret, 1);
    key(SDLK_RIGHT);
    key(SDLK_RIGHT);
    key(SDLK_RIGHT);  // stops at the end
    EXPECT_EQ(entry.caret, 3);
    EXPECT_EQ(field(), "xbc{.......");
    key(SDLK_LEFT);
    EXPECT_EQ(field(), "xb{........");  // the caret stands over the character after it
}

TEST_F(EnterInputTest, OnlyTheListedKeysInsert) {
    key(SDLK_a, KMOD_LSHIFT);  // a letter is lower-case whether or not shift is held
    key(SDLK_LSHIFT);
    key(SDLK_F1);
    key(SDLK_MINUS);
    key(SDLK_UP);
    type("z9 ");
    key(SDLK_BACKQUOTE);
    key(SDLK_QUOTE);
    key(SDLK_RIGHTBRACKET);
    EXPECT_STREQ(entry.text, "az9 }~\x7f");
    EXPECT_FALSE(entry.finished);
}

TEST_F(EnterInputTest, EscapeAtOnceFinishesWithAnEmptyName) {
    key(SDLK_ESCAPE);
    EXPECT_TRUE(entry.finished);
    EXPECT_STREQ(entry.text, "");
    EXPECT_FALSE(entry.caretVisible);
}

TEST_F(EnterInputTest, ReturnAndKeypadEnterFinish) {
    type("ab");
    key(SDLK_RETURN);
    EXPECT_TRUE(entry.finished);
    EXPECT_STREQ(entry.text, "ab");
    entry.activate();
    EXPECT_STREQ(entry.text, "");
    EXPECT_FALSE(entry.finished);
    key(SDLK_KP_ENTER);
    EXPECT_TRUE(entry.finished);
}

TEST_F(EnterInputTest, QuitKeepsTheTextTypedSoFar) {
    type("bob");
    pushQuit();
    entry.pollEvents();
    EXPECT_TRUE(entry.finished);
    EXPECT_STREQ(entry.text, "bob");
}

TEST_F(EnterInputTest, LastRedrawShowsTheNameWithoutTheCaret) {
    type("ab");
    EXPECT_EQ(field(), "ab{........");
    port.clearLog();
    key(SDLK_RETURN);
    EXPECT_EQ(port.presents(), 1);
    EXPECT_EQ(field(), "ab.........");
    EXPECT_EQ(at(277 + 38 + 9, 317 + 8), kBehind);  // restored behind where the caret was
}

TEST_F(EnterInputTest, AnyEventShowsTheCaretAgain) {
    entry.caretVisible = false;
    pushUserEvent(1);
    entry.pollEvents();
    EXPECT_TRUE(entry.caretVisible);
}

TEST_F(EnterInputTest, ShowRestoresTheAreaBehindFirst) {
    type("ab");
    port.clearLog();
    entry.show();
    const std::vector<std::string> sent = port.updates();
    ASSERT_EQ(sent.size(), 4u);  // restored area, a, b, caret: latest first
    EXPECT_EQ(sent.back(), "update 277 317 209 17");
    EXPECT_EQ(sent.front(), "update 315 317 19 17");
    entry.backgroundImage = nullptr;
    port.clearLog();
    entry.show();
    EXPECT_EQ(port.updates().size(), 3u);
}
