// The real shell in a game folder of its own (real pictures and print program), the fake clock
// and a list of plain steps run at the game's frames, so input arrives as a player's does.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "FakePort.h"
#include "Files.h"
#include "Pictures.h"
#include "SolrindPGameShell.h"

// A step: a verb with numbers or a text; each input step's next step runs at the frame that
// handled it. Input: "key" k (held for a frame), "hold" k (repeating until "let go"), "click"
// x y (pressed and let go before a frame sees it), "tap" x y [dx dy] (the same from a finger,
// in SDL's order), "drag" x y dx dy (in one go), "press"/"move"/"release" x y (across frames),
// "finger down" x y and "finger up" x y (a finger across frames), "quit", "terminate".
// Time: "frames" n, "until" round|menu|name|caret on|caret off|pause, "until" n "choice" (the
// menu's choice in force is n), "mark", "expect ms" n (since the mark).
// Checks: "expect board" map (BoardMap.h), "expect screen" picture under GFX/, "expect slide"
// x, "expect pixel" x y 0xRRGGBB, "expect choice" n, "expect clock" "mm|ss", "expect file" 1|0
// path, "expect updates" (the last frame's, latest first, '|' between), "expect lit" 1|0 col row,
// "expect glow" frame col row, "expect caret" 1|0, "expect button" id 0|1|2 (its normal,
// highlighted or pressed picture; -1 none), "expect prints" n (print programs started). Set-up:
// "set clock" m s, "arrange" "k ..." (every piece home but those, queued in that order), "gates
// shut" (after every frame from now on). "bot": a player completes the round (clicks and drags
// when the board is still), done when the board is complete or the round ends. At the end every
// round kept in Save/Rounds must verify, and every one the set-up changed (clock, pieces) must not.
struct Step {
    Step(const char* verb, int a = 0, int b = 0, int c = 0, int d = 0)
        : verb(verb), a(a), b(b), c(c), d(d) {}
    Step(const char* verb, const char* text) : verb(verb), text(text) {}
    Step(const char* verb, int a, const char* text) : verb(verb), a(a), text(text) {}
    std::string verb;
    int a = 0, b = 0, c = 0, d = 0;
    std::string text;
};
using Steps = std::vector<Step>;

class ShellFixture : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::string load();  // loadData, as userExec does first; what it printed
    // Runs the steps at the frames of whatever the test runs next; playMenu runs the menu
    // (startMenu, then menu frames) until the steps are done.
    void play(const Steps& steps);
    void playMenu(const Steps& steps);
    bool scriptDone() const { return next >= script.size(); }

    std::string boardMap();  // see BoardMap.h
    bool inRound() const;
    uint32_t at(int x, int y);

    WorkIn folder{"game"};
    FakePort port;
    SolrindPGameShell shell;
    int frames = 0;
    // Frames a test may take; beyond them it fails and every loop of the game is ended, so a
    // fault cannot hang the run.
    int frameBudget = 3000;
    void madeUp(const std::string& id) { staged.insert(id); }  // a round file not played

  private:
    void onFrame();
    bool runStep(const Step& step);
    bool check(const Step& step);
    int shown(const Step& step);
    int buttonShown(int id);
    bool loaded = false, gatesShut = false, budgetSpent = false;
    Steps script;
    size_t next = 0;
    int lastDone = 0;   // the frame at which the last step was done
    uint32_t mark = 0;  // the fake clock at the last "mark"
    std::vector<SDL_Keycode> tapped;
    SDL_Keycode holding = SDLK_UNKNOWN;
    std::string lastFrame;                    // the updates of the last presented frame
    std::set<std::string> staged, gatesHeld;  // ids of rounds the set-up changed
};
