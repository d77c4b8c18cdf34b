#include "ShellFixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <sstream>

#include "BoardMap.h"
#include "BoardPiece.h"
#include "Bot.h"
#include "CountFont.h"
#include "EnterInput.h"
#include "GameInput.h"
#include "Gates.h"
#include "ImageBackground.h"
#include "Replay.h"
#include "RingQueue.h"
#include "RoundFile.h"
#include "gnImages.h"
#include "gnScreen.h"

void ShellFixture::SetUp() {
    flushEvents();
    ASSERT_EQ(symlink(SOLRIND_ART_DIR "/GFX", "GFX"), 0);
    mkdir("Save", 0755);
    mkdir("Bin", 0755);
    ASSERT_EQ(symlink(SOLRIND_PRINTIT, "Bin/Printit.exe"), 0);
    port.afterPresent = [this] { onFrame(); };
    port.afterDelay = [this] {  // a frame that draws nothing, or a long sleep
        if (port.log.size() < 2 || port.log[port.log.size() - 2] != "present")
            onFrame();
    };
}

void ShellFixture::TearDown() {
    port.afterPresent = port.afterDelay = nullptr;
    Replay replay;
    for (const std::string& name : listFolder("Save/Rounds")) {
        RoundRecord record;
        std::string why;
        ASSERT_TRUE(roundfile::parse(readFile("Save/Rounds/" + name), record, why)) << why;
        why = replay.verify(record);
        if (staged.count(record.id)) {
            EXPECT_NE(why, "") << name << ": a round the test changed verifies";
        } else if (!gatesHeld.count(record.id)) {
            EXPECT_EQ(why, "") << name;
        }
    }
    if (loaded && shell.screen && shell.screen->isOpen())
        shell.freeData();
    SDL_CloseAudio();  // what SDL_Quit does at the end of a run
    flushEvents();
}

std::string ShellFixture::load() {
    Capture said;  // the dummy audio device may report itself
    shell.loadData();
    loaded = true;
    flushEvents();  // the window's own events
    return said.finish();
}

void ShellFixture::play(const Steps& steps) {
    script = steps;
    next = 0;
    lastDone = frames;
}

void ShellFixture::playMenu(const Steps& steps) {
    play(steps);
    shell.startMenu();
    for (int i = 0; i < frameBudget && !scriptDone() && !shell.gameInput->done; ++i)
        shell.menuFrame();
    EXPECT_TRUE(scriptDone()) << "step " << next << " (" << script[next].verb << ") never ran";
}

void ShellFixture::onFrame() {
    const auto previous = std::find(port.log.rbegin() + 1, port.log.rend(), "present");
    lastFrame.clear();
    for (auto line = previous.base(); line != port.log.end(); ++line)
        if (line->rfind("update ", 0) == 0)
            lastFrame += (lastFrame.empty() ? "" : "|") + line->substr(7);
    if (++frames >= frameBudget && loaded && !budgetSpent) {
        ADD_FAILURE() << "the test took " << frameBudget << " frames: its loops are ended";
        budgetSpent = true;
        shell.gameInput->done = true;
        shell.enterHandler->finished = true;
        next = script.size();
    }
    for (SDL_Keycode key : tapped)
        port.held.erase(key);
    tapped.clear();
    if (holding != SDLK_UNKNOWN)
        pushKey(SDL_KEYDOWN, holding, true);
    if (gatesShut && inRound())
        gatesHeld.insert(shell.round.record.id);
    if (gatesShut)
        for (Gates* gate : shell.gates)
            gate->currentFrame = 0, gate->opening = false;
    while (!scriptDone() && runStep(script[next])) {
        const bool input = check(script[next]);
        ++next;
        lastDone = frames;
        if (input)
            break;  // the next step waits for the frame that handles it
    }
}

// Whether the step is done; input steps push their events and are done at once.
bool ShellFixture::runStep(const Step& s) {
    const std::string& v = s.verb;
    if (v == "frames")
        return frames - lastDone >= s.a;
    if (v == "bot") {
        if (!inRound() || shell.board.hasCompleted())
            return true;
        const BoardMove move = shell.board.hasMovingPieces() ? BoardMove{} : Bot::plan(shell.board);
        const pt from = Board::cellCentre(move.col, move.row);
        if (move.kind == BoardMove::kRelease)
            check(Step("click", from.x, from.y));  // on the corner
        else if (move.kind == BoardMove::kPush)
            check(Step("drag", from.x, from.y, 40 * move.dx, 40 * move.dy));
        return false;
    }
    if (v == "until") {
        if (s.text == "round")
            return inRound();
        if (s.text == "menu")
            return !inRound() && shell.background->pos.x == 120;
        if (s.text == "name")
            return shell.enterHandler->backgroundImage != nullptr;
        if (s.text == "choice")
            return shell.currentScreen == s.a;
        if (s.text.rfind("caret", 0) == 0)
            return shown(Step("expect caret")) == (s.text == "caret on");
        return std::count(port.sleeps.begin(), port.sleeps.end(), 4000u) > 0;  // "pause"
    }
    return true;
}

// Carries out a step that is done; true for input, which ends the frame's steps.
bool ShellFixture::check(const Step& s) {
    const std::string& v = s.verb;
    const std::string where = "step " + std::to_string(next) + ", " + v + " " + s.text;
    if (v == "bot")
        return false;  // its input went out while it ran
    if (v == "key" || v == "hold") {
        port.held.insert(s.a);
        pushKey(SDL_KEYDOWN, s.a);
        (v == "key" ? tapped.push_back(s.a) : void(holding = s.a));
    } else if (v == "let go") {
        port.held.erase(holding);
        pushKey(SDL_KEYUP, holding);
        holding = SDLK_UNKNOWN;
    } else if (v == "click" || v == "tap" || v == "drag" || v == "finger down" ||
               v == "finger up") {
        // As SDL queues them: a finger's own event after the mouse events made from it. The
        // press or finger is over (or down) by the time the frame handles them.
        const Uint32 which = v[0] == 't' || v[0] == 'f' ? SDL_TOUCH_MOUSEID : 0;
        const auto finger = [which](Uint32 type) { which ? pushEvent(type) : void(); };
        const bool down = v != "finger up", up = v != "finger down";
        if (down) {
            pushMouseMotion(s.a, s.b, 0, which);
            pushMouseButton(SDL_MOUSEBUTTONDOWN, s.a, s.b, SDL_BUTTON_LEFT, which);
            finger(SDL_FINGERDOWN);
        }
        const int endX = down ? s.a + s.c : s.a, endY = down ? s.b + s.d : s.b;
        if (up) {
            pushMouseMotion(endX, endY, SDL_BUTTON_LMASK, which);
            finger(SDL_FINGERMOTION);
            pushMouseButton(SDL_MOUSEBUTTONUP, endX, endY, SDL_BUTTON_LEFT, which);
            finger(SDL_FINGERUP);
        }
        port.mouseX = endX, port.mouseY = endY, port.mouseButtons = up ? 0 : SDL_BUTTON_LMASK;
    } else if (v == "press" || v == "move" || v == "release") {
        port.mouseX = s.a, port.mouseY = s.b;
        port.mouseButtons = v == "press" ? SDL_BUTTON_LMASK : v == "move" ? port.mouseButtons : 0;
        pushMouseMotion(s.a, s.b, port.mouseButtons);
    } else if (v == "quit") {
        pushEvent(SDL_QUIT);
    } else if (v == "terminate") {
        raise(SIGTERM);
    } else if (v == "arrange") {
        staged.insert(shell.round.record.id);
        shell.queue->clear();
        for (int i = 0; i < 24; ++i) {
            BoardPiece* piece = shell.pieces[i];
            piece->inQueue = false;
            piece->col = piece->homeCol, piece->row = piece->homeRow;
            piece->dirX = piece->dirY = piece->stepDelay = 0;
            piece->pos = Board::cellCentre(piece->col, piece->row);
        }
        std::istringstream missing(s.text);
        std::vector<int> order;
        for (int k; missing >> k;)
            order.insert(order.begin(), k);
        for (int k : order)
            shell.queuePiece(k);
        return false;
    } else if (v == "gates shut") {
        gatesShut = true;
        return false;
    } else if (v == "expect board") {
        EXPECT_EQ(boardMap(), s.text) << where;
    } else if (v == "expect screen") {
        const bool content = s.text.rfind("Backgrounds/", 0) == 0;
        EXPECT_TRUE(
            shows(shell.screen->getSDLSurface(), "GFX/" + s.text + ".bmp", content ? 120 : 0))
            << where;
    } else if (v == "expect pixel") {
        EXPECT_EQ(at(s.a, s.b), static_cast<uint32_t>(s.c)) << where;
    } else if (v == "expect slide") {
        EXPECT_EQ(shell.background->pos.x, s.a) << where;
    } else if (v == "expect choice") {
        EXPECT_EQ(shell.currentScreen, s.a) << where;
    } else if (v == "expect clock") {
        char text[16];
        snprintf(text, sizeof text, "%02d|%02d", static_cast<int>(shell.countFont->getMinutes()),
                 static_cast<int>(shell.countFont->getSeconds()));
        EXPECT_EQ(text, s.text) << where;
    } else if (v == "expect lit" || v == "expect glow" || v == "expect caret") {
        EXPECT_EQ(shown(s), s.a) << where;
    } else if (v == "expect button") {
        EXPECT_EQ(buttonShown(s.a), s.b) << where;
    } else if (v == "mark") {
        mark = port.now;
        return false;
    } else if (v == "expect ms") {
        EXPECT_EQ(port.now - mark, static_cast<uint32_t>(s.a)) << where;
    } else if (v == "set clock") {
        staged.insert(shell.round.record.id);
        shell.countFont->minutes = s.a, shell.countFont->seconds = s.b;
        shell.countFont->tickCount = 0;
        return false;
    } else if (v == "expect file") {
        EXPECT_EQ(fileExists(s.text), s.a != 0) << where;
    } else if (v == "expect prints") {
        EXPECT_EQ(port.programsStarted, s.a) << where;
    } else if (v == "expect updates") {
        EXPECT_EQ(lastFrame, s.text) << where;
    } else if (v != "frames" && v != "until") {
        ADD_FAILURE() << where << ": no such step";  // a misspelt check would check nothing
        return false;
    }
    return v.rfind("expect", 0) != 0 && v != "frames" && v != "until";
}

std::string ShellFixture::boardMap() {
    return ::boardMap(shell.pieces, shell.queue);
}

// "expect lit": the cell shows its piece's highlighted tile (the corner its own); "expect glow":
// the glow frame over the cell, -1 for none; "expect caret": the caret at the name's start.
int ShellFixture::shown(const Step& s) {
    // How many of n pixels down a column (or diagonally) differ from the picture's.
    const auto differ = [this](const char* file, int px, int py, int x, int y, int n, int dx) {
        SDL_Surface* picture = SDL_LoadBMP(file);
        int count = 0;
        for (int d = 0; d < n; ++d)
            count += pixelAt(picture, px + dx * d, py + d) != at(x + dx * d, y + d);
        SDL_FreeSurface(picture);
        return count;
    };
    const int x = Board::kLeft + Board::kCellSize * s.b, y = Board::kTop + Board::kCellSize * s.c;
    if (s.verb == "expect caret")
        return differ("GFX/Backgrounds/Congratulations1.bmp", 158, 317, 278, 317, 17, 0) > 5;
    if (s.verb == "expect glow") {  // the glow's magenta middle is never drawn
        if (at(x + 44, y + 44) == kMagenta)
            return -2;
        for (int f = 0; f < 5; ++f)
            if (differ("GFX/Game/GlowCursor.bmp", 88 * f + 1, 30, x + 1, y + 30, 28, 0) == 0)
                return f;
        return -1;
    }
    const BoardPiece* piece = shell.board.pieceAt(s.b, s.c);
    const int tile = piece ? piece->homeRow * 5 + piece->homeCol : 0;
    return differ("GFX/Game/PuzzleHighlight.bmp", 88 * (tile % 5) + 3, 88 * (tile / 5) + 3, x + 3,
                  y + 3, 80, 1) == 0;
}

// Which of the button's pictures its area shows whole: 0 normal, 1 highlighted, 2 pressed.
int ShellFixture::buttonShown(int id) {
    const ButtonRec* button = shell.gameInput->getButtonRec(id);
    const gnImageFrame frames[] = {button->normalFrame, button->highlightFrame, button->downFrame};
    for (int state = 0; state < 3; ++state) {
        SDL_Surface* picture = frames[state].image->getSDLSurface();
        bool same = true;
        for (uint32_t y = 0; same && y < button->area.h; ++y)
            for (uint32_t x = 0; same && x < button->area.w; ++x)
                same =
                    pixelAt(picture, frames[state].rect.x + static_cast<int>(x),
                            frames[state].rect.y + static_cast<int>(y)) ==
                    at(button->area.x + static_cast<int>(x), button->area.y + static_cast<int>(y));
        if (same)
            return state;
    }
    return -1;
}

bool ShellFixture::inRound() const {
    return !shell.gameInput->getButtonRec(SolrindPGameShell::kPlay)->enabled;
}

uint32_t ShellFixture::at(int x, int y) {
    return pixelAt(shell.screen->getSDLSurface(), x, y);
}
