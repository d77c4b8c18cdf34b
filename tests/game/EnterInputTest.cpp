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

// Each key edits at the caret and redraws once: ten letters at most (the eleventh only
// redraws), backspace and the arrows within the text, the caret over the character after it.
TEST_F(EnterInputTest, EditingAtTheCaret) {
    const struct {
        std::vector<SDL_Keycode> keys;
        const char* text;
        int caret;
        const char* field;
        int redraws;
    } steps[] = {
        {{'a', 'b', 'c'}, "abc", 3, "abc{.......", 3},
        {{SDLK_LEFT, SDLK_LEFT, SDLK_BACKSPACE}, "bc", 0, "{c.........", 3},
        {{SDLK_BACKSPACE, SDLK_LEFT}, "bc", 0, "{c.........", 0},  // nothing before the caret
        {{'x'}, "xbc", 1, "x{c........", 1},
        {{SDLK_RIGHT, SDLK_RIGHT, SDLK_RIGHT}, "xbc", 3, "xbc{.......", 2},  // stops at the end
        {{'d', 'e', 'f', 'g', 'h', 'i', 'j', 'k'}, "xbcdefghij", 10, "xbcdefghij{", 8},
    };
    for (const auto& s : steps) {
        port.clearLog();
        for (SDL_Keycode k : s.keys)
            key(k);
        EXPECT_STREQ(entry.text, s.text);
        EXPECT_EQ(entry.caret, s.caret);
        EXPECT_EQ(field(), s.field);
        EXPECT_EQ(port.presents(), s.redraws) << s.text;
    }
}

TEST_F(EnterInputTest, OnlyTheListedKeysInsert) {
    key(SDLK_a, KMOD_LSHIFT);  // a letter is lower-case whether or not shift is held
    for (SDL_Keycode k : {SDLK_LSHIFT, SDLK_F1, SDLK_MINUS, SDLK_UP, SDLK_z, SDLK_9, SDLK_0,
                          SDLK_SPACE, SDLK_BACKQUOTE, SDLK_QUOTE, SDLK_RIGHTBRACKET})
        key(k);
    EXPECT_STREQ(entry.text, "az90 }~\x7f");
    EXPECT_FALSE(entry.finished);
    entry.caretVisible = false;
    pushUserEvent(1);  // any event shows the caret again
    entry.pollEvents();
    EXPECT_TRUE(entry.caretVisible);
}

// Return, keypad enter, escape (which does not cancel) and the quit event finish the entry;
// the last redraw shows the name without the caret, over the restored picture.
TEST_F(EnterInputTest, FinishingKeepsTheTextAndHidesTheCaret) {
    for (SDL_Keycode finish : {SDLK_RETURN, SDLK_KP_ENTER, SDLK_ESCAPE, SDLK_UNKNOWN}) {
        entry.activate();
        EXPECT_STREQ(entry.text, "");
        type("ab");
        port.clearLog();
        if (finish == SDLK_UNKNOWN)
            pushQuit();
        else
            key(finish);
        entry.pollEvents();
        EXPECT_TRUE(entry.finished) << finish;
        EXPECT_STREQ(entry.text, "ab");
        EXPECT_FALSE(entry.caretVisible);
        EXPECT_EQ(port.presents(), 1);
        EXPECT_EQ(field(), "ab.........");
        EXPECT_EQ(at(277 + 38 + 9, 317 + 8), kBehind);  // restored where the caret was
    }
    entry.activate();
    key(SDLK_ESCAPE);
    EXPECT_STREQ(entry.text, "");  // escape at once: an empty name
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
