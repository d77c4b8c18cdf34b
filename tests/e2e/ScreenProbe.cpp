// Opens the real screen through the SDL2 port, draws a known picture with the engine and
// answers questions on standard input: "mouse" prints the pointer in picture pixels, "quit"
// ends. Driven by screen_on_xvfb.sh under Xvfb.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "gnImages.h"
#include "gnInput.h"
#include "gnScreen.h"
#include "port/gnPort.h"

namespace {

// Keeps SDL's view of the mouse current without acting on anything.
class Drain : public gnInputHandler {
  public:
    void handleEvent(SDL_Event*) override {}
};

void fill(gnScreen& screen, int32_t x, int32_t y, uint32_t w, uint32_t h, int r, int g, int b) {
    gnRectangle area;
    rectManip::init(area, x, y, w, h);
    screen.fillRect(area, r, g, b);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || SDL_Init(SDL_INIT_VIDEO) < 0)
        return 2;
    gnScreen screen;
    screen.setSize(sz{640, 520});
    screen.open();
    fill(screen, 0, 0, 640, 520, 40, 40, 40);
    fill(screen, 0, 0, 100, 100, 255, 0, 0);
    fill(screen, 540, 420, 100, 100, 0, 255, 0);
    fill(screen, 280, 200, 80, 80, 0, 0, 255);
    // A picture file drawn through gnImage: yellow with a white square in the middle.
    SDL_Surface* art = SDL_CreateRGBSurfaceWithFormat(0, 120, 120, 24, SDL_PIXELFORMAT_RGB24);
    SDL_FillRect(art, nullptr, SDL_MapRGB(art->format, 255, 255, 0));
    SDL_Rect middle = {40, 40, 40, 40};
    SDL_FillRect(art, &middle, SDL_MapRGB(art->format, 255, 255, 255));
    SDL_SaveBMP(art, argv[1]);
    SDL_FreeSurface(art);
    gnImage picture;
    picture.setScreen(&screen);
    picture.loadBMP(argv[1]);
    picture.display(gnRect(0, 0, 120, 120), pt{40, 380});
    screen.update();
    printf("ready\n");
    fflush(stdout);

    Drain drain;
    drain.activate();
    char line[64];
    while (fgets(line, sizeof line, stdin)) {
        if (strncmp(line, "mouse", 5) == 0) {
            for (int i = 0; i < 10; ++i) {
                drain.pollEvents();
                gnPort::get().delay(10);
            }
            int x = 0, y = 0;
            gnPort::get().getMouseState(&x, &y);
            printf("mouse %d %d\n", x, y);
            fflush(stdout);
        } else if (strncmp(line, "quit", 4) == 0) {
            break;
        }
    }
    screen.close();
    SDL_Quit();
    return 0;
}
