// Time per frame of the round (all 24 pieces on the board, the gates swinging, a glow pulsing),
// of the menu while a screen slides in and of the menu standing idle, with the port's real
// scaling and presenting under SDL's dummy video driver (a 1024 by 768 display). Counts the
// rectangles and pixels sent to the monitor per frame.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "BoardPiece.h"
#include "GameInput.h"
#include "Gates.h"
#include "ImageBackground.h"
#include "RingQueue.h"
#include "SolrindPGameShell.h"
#include "port/gnPort.h"

namespace {

// The real port with a clock that never waits, counting what reaches the monitor.
class BenchPort : public gnPort {
  public:
    BenchPort() { gnPort::use(this); }
    ~BenchPort() override {
        if (hasVideo())
            closeVideo();
        gnPort::use(nullptr);
    }
    uint32_t getTicks() override { return now; }
    void delay(uint32_t ms) override { now += ms; }
    uint32_t getMouseState(int* x, int* y) override {
        *x = mouseX;
        *y = mouseY;
        return 0;
    }
    void updateRect(int32_t x, int32_t y, uint32_t w, uint32_t h) override {
        ++rects;
        pixels += (w == 0 && h == 0) ? 640 * 520 : static_cast<double>(w) * h;
        if (presenting)
            gnPort::updateRect(x, y, w, h);
    }
    void present() override {
        if (presenting)
            gnPort::present();
    }
    uint32_t now = 0;
    bool presenting = true;  // off: the engine's and the game's own share of a frame
    int mouseX = 0, mouseY = 0;
    double rects = 0, pixels = 0;
};

struct Game {
    Game() {
        if (chdir(SOLRIND_ART_DIR) != 0)
            abort();
        shell.loadData();
    }
    ~Game() {
        shell.freeData();
        SDL_CloseAudio();
    }
    BenchPort port;
    SolrindPGameShell shell;
};

void report(benchmark::State& state, const BenchPort& port) {
    state.counters["rects/frame"] =
        benchmark::Counter(port.rects, benchmark::Counter::kAvgIterations);
    state.counters["pixels/frame"] =
        benchmark::Counter(port.pixels, benchmark::Counter::kAvgIterations);
}

void RoundFrame(benchmark::State& state) {
    Game game;
    game.port.presenting = state.range(0) != 0;
    SolrindPGameShell& shell = game.shell;
    shell.newBackground("GFX/Backgrounds/GameBackground.bmp");
    shell.background->pos.x = 120;
    shell.showBackground();
    shell.gameInput->activate();
    shell.gameInput->selected = 5;
    shell.initGame();
    // Every piece on the board, each one cell along from home, so that hovering shows a glow.
    shell.queue->clear();
    for (int i = 0; i < 24; ++i) {
        BoardPiece* piece = shell.pieces[(i + 1) % 24];
        piece->inQueue = false;
        piece->col = (i + 1) % 5;
        piece->row = (i + 1) / 5;
        piece->dirX = piece->dirY = 0;
        piece->pos = pt{204 + 88 * piece->col, 84 + 88 * piece->row};
    }
    int frame = 0;
    game.port.rects = game.port.pixels = 0;
    for (auto _ : state) {
        const int cell = 1 + (frame++ / 12) % 24;  // a new misplaced piece every 12 frames
        game.port.mouseX = 204 + 88 * (cell % 5);
        game.port.mouseY = 84 + 88 * (cell / 5);
        shell.gameFrame();
    }
    report(state, game.port);
}

void MenuSlideFrame(benchmark::State& state) {
    Game game;
    game.port.presenting = state.range(0) != 0;
    SolrindPGameShell& shell = game.shell;
    shell.startMenu();
    game.port.rects = game.port.pixels = 0;
    for (auto _ : state) {
        if (shell.background->pos.x <= 120)
            shell.background->pos.x = 640;  // slide again
        shell.menuFrame();
    }
    report(state, game.port);
}

// The menu with its screen standing: nothing is drawn, the frame only pumps and presents.
void MenuIdleFrame(benchmark::State& state) {
    Game game;
    game.port.presenting = state.range(0) != 0;
    SolrindPGameShell& shell = game.shell;
    shell.startMenu();
    while (shell.background->pos.x > 120)
        shell.menuFrame();
    game.port.rects = game.port.pixels = 0;
    for (auto _ : state)
        shell.menuFrame();
    report(state, game.port);
}

}  // namespace

// Argument 1: with the port's presenting (scaling into the window, sending it); 0: without.
BENCHMARK(RoundFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(MenuSlideFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(MenuIdleFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) < 0)
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SDL_Quit();
    return 0;
}
