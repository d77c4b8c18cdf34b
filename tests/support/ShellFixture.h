// The real shell in a game folder of its own (the art maker's pictures, a Save folder and the
// real print program), with the fake clock and scripted input. Scripts are lists of steps run
// after each presented frame, so that input reaches the nested loops of the round and the
// name entry just as a player's would.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

#include "Capture.h"
#include "FakePort.h"
#include "SolrindPGameShell.h"

class ShellFixture : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    void load();  // loadData, as userExec does first

    // Input. A tapped key is held while its key-down event is handled, and let go after the
    // next frame; the mouse is moved (and its buttons set) with an event that reports it.
    void tap(SDL_Keycode key);
    void mouse(int x, int y, uint32_t buttons = 0);

    // A step runs after a presented frame; it returns true when done, and the next step runs
    // after a later frame. Steps run in order.
    void then(const std::function<bool()>& step);
    // Runs a step once, after the next frame.
    void thenDo(const std::function<void()>& action);
    bool scriptDone() const { return script.empty(); }
    // Menu frames until the script is done (at most `limit`).
    void runMenuUntilScriptDone(int limit = 2000);

    // Whether the screen shows the picture file from screen x `left` on (120: a background
    // in the content area; 0: a full screen), sampled on a grid.
    bool shows(const char* file, int left = 120);
    uint32_t at(int x, int y);
    // The round is running: the ordinary buttons are off.
    bool inRound() const;

    FakePort port;
    SolrindPGameShell shell;
    std::string folder;
    int frames = 0;  // presented frames so far
    // Presented frames a test may take (and four sleeps each, for a loop that stops
    // presenting); beyond them the test fails and every loop of the game is ended (the round,
    // the name entry), so a fault cannot hang the run.
    int frameBudget = 3000;

  private:
    void afterPresent();
    void endLoops(const std::string& what);
    char* home = nullptr;
    bool loaded = false;
    bool budgetSpent = false;
    std::deque<std::function<bool()>> script;
    std::vector<SDL_Keycode> tapped;
};
