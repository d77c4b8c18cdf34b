// Measures the real game on an X screen from outside, by what it shows: the frames a second
// of a menu slide (its left edge moves 20 picture pixels a frame) and the round's clock
// against the wall clock (the clock counts a second every 27 frames). Used by scripts/measure.
// Usage: solrind_frame_rate slide <timeout s>
//        solrind_frame_rate clock <seconds> <GameFont.bmp>
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kPictureW = 640, kPictureH = 520;
constexpr int kContentLeft = 120;  // picture pixels
constexpr int kSlideRow = 260;
constexpr int kSlideStep = 20;                  // picture pixels a frame
constexpr int kClockX = 505, kClockY = 492;     // the round's clock
constexpr int kGlyphW = 19, kGlyphH = 17;       // a glyph cell
constexpr int kDigitRow = 17;                   // of the font picture
constexpr int kClockCells[4] = {0, 1, 3, 4};    // mm|ss: the separator is cell 2
constexpr unsigned kFramesPerClockSecond = 27;  // the clock's count

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The root window, and where the game's picture lies in it (scaled as the port scales it:
// the largest that fits with its aspect kept, centred).
class ScreenReader {
  public:
    ScreenReader() : display(XOpenDisplay(nullptr)) {
        if (!display)
            return;
        root = DefaultRootWindow(display);
        const long w = DisplayWidth(display, DefaultScreen(display));
        const long h = DisplayHeight(display, DefaultScreen(display));
        placedW = w * kPictureH <= h * kPictureW ? w : h * kPictureW / kPictureH;
        placedH = w * kPictureH <= h * kPictureW ? w * kPictureH / kPictureW : h;
        left = (w - placedW) / 2;
        top = (h - placedH) / 2;
    }
    ~ScreenReader() {
        if (display)
            XCloseDisplay(display);
    }
    bool ok() const { return display != nullptr; }

    // The picture area as 0xRRGGBB pixels, one per picture pixel (the window pixel that
    // shows it); false when the screen cannot be read.
    bool read(int x, int y, int w, int h, std::vector<uint32_t>& out) const {
        const int wx0 = window(x, placedW, kPictureW), wx1 = window(x + w, placedW, kPictureW);
        const int wy0 = window(y, placedH, kPictureH), wy1 = window(y + h, placedH, kPictureH);
        XImage* image = XGetImage(display, root, static_cast<int>(left) + wx0,
                                  static_cast<int>(top) + wy0, static_cast<unsigned>(wx1 - wx0),
                                  static_cast<unsigned>(wy1 - wy0), AllPlanes, ZPixmap);
        if (!image)
            return false;
        out.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                out[static_cast<size_t>(j * w + i)] =
                    XGetPixel(image, window(x + i, placedW, kPictureW) - wx0,
                              window(y + j, placedH, kPictureH) - wy0) &
                    0xFFFFFF;
        XDestroyImage(image);
        return true;
    }

  private:
    // The first window pixel that shows picture pixel p.
    static int window(long p, long placed, long side) {
        return static_cast<int>((p * placed + side - 1) / side);
    }

    Display* display;
    Window root = 0;
    long placedW = 0, placedH = 0, left = 0, top = 0;
};

// The slide's left edge: the first pixel of the row from the content area's left that is not
// black (the content area is cleared black where the new screen has not arrived yet).
int slideEdge(const ScreenReader& screen) {
    std::vector<uint32_t> row;
    if (!screen.read(kContentLeft, kSlideRow, kPictureW - kContentLeft, 1, row))
        return -1;
    for (size_t i = 0; i < row.size(); ++i)
        if (row[i] != 0)
            return kContentLeft + static_cast<int>(i);
    return kPictureW;
}

// Waits for a slide and times it from the first step seen to its last: frames a second.
int measureSlide(const ScreenReader& screen, double timeout) {
    const Clock::time_point start = Clock::now();
    int firstEdge = -1;
    Clock::time_point first, last;
    while (secondsSince(start) < timeout) {
        const int edge = slideEdge(screen);
        if (firstEdge < 0 && edge > kContentLeft && edge < kPictureW) {
            firstEdge = edge;  // under way
            first = Clock::now();
        } else if (firstEdge > 0 && edge == kContentLeft) {
            last = Clock::now();
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    const int frames = (firstEdge - kContentLeft) / kSlideStep;
    if (firstEdge < 0 || frames < 2 || secondsSince(start) >= timeout) {
        printf("no slide seen\n");
        return 1;
    }
    const double seconds = std::chrono::duration<double>(last - first).count();
    printf("slide: %d frames in %.3f s: %.1f frames a second\n", frames, seconds, frames / seconds);
    return 0;
}

// The clock as it stands, in seconds; -1 when a cell shows no digit.
class ClockReader {
  public:
    explicit ClockReader(SDL_Surface* font) {
        SDL_Surface* rgb = SDL_ConvertSurfaceFormat(font, SDL_PIXELFORMAT_RGB888, 0);
        for (int d = 0; d < 10; ++d)
            for (int y = 0; y < kGlyphH; ++y)
                for (int x = 0; x < kGlyphW; ++x)
                    glyphs[d][y][x] =
                        static_cast<const uint32_t*>(
                            rgb->pixels)[(kDigitRow + y) * (rgb->pitch / 4) + d * kGlyphW + x] &
                        0xFFFFFF;
        SDL_FreeSurface(rgb);
    }
    long read(const ScreenReader& screen) const {
        std::vector<uint32_t> area;
        if (!screen.read(kClockX, kClockY, 5 * kGlyphW, kGlyphH, area))
            return -1;
        int digits[4];
        for (int c = 0; c < 4; ++c) {
            // The digit whose drawn pixels all stand there; of several, the one with the most.
            digits[c] = -1;
            int bestInk = -1;
            for (int d = 0; d < 10; ++d) {
                int ink = 0;
                bool all = true;
                for (int y = 0; y < kGlyphH && all; ++y)
                    for (int x = 0; x < kGlyphW && all; ++x) {
                        const uint32_t g = glyphs[d][y][x];
                        if (g == 0xFF00FF)
                            continue;  // transparent
                        ++ink;
                        all = area[static_cast<size_t>(y * 5 * kGlyphW + kClockCells[c] * kGlyphW +
                                                       x)] == g;
                    }
                if (all && ink > bestInk)
                    digits[c] = d, bestInk = ink;
            }
            if (digits[c] < 0)
                return -1;
        }
        return (digits[0] * 10 + digits[1]) * 60 + digits[2] * 10 + digits[3];
    }

  private:
    uint32_t glyphs[10][kGlyphH][kGlyphW];
};

// Waits for the clock to change, then for it to change again after `seconds`: the displayed
// seconds against the wall clock's, each change caught within a millisecond.
int measureClock(const ScreenReader& screen, double seconds, const char* fontFile) {
    SDL_Surface* font = SDL_LoadBMP(fontFile);
    if (!font) {
        fprintf(stderr, "%s\n", SDL_GetError());
        return 2;
    }
    const ClockReader reader(font);
    SDL_FreeSurface(font);
    const Clock::time_point start = Clock::now();
    const auto nextChange = [&](long from, Clock::time_point& at) {
        for (;;) {
            const long now = reader.read(screen);
            if (now >= 0 && now != from) {
                at = Clock::now();
                return now;
            }
            if (secondsSince(start) > seconds + 30)
                return -1L;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    };
    long shown = -2;
    while (shown < 0 && secondsSince(start) < 30)
        shown = reader.read(screen);
    Clock::time_point first, last;
    const long begin = nextChange(shown, first);
    long end = begin;
    while (end >= 0 && std::chrono::duration<double>(Clock::now() - first).count() < seconds)
        end = nextChange(end, last);
    if (begin < 0 || end < 0 || end == begin) {
        printf("no clock seen\n");
        return 1;
    }
    const double wall = std::chrono::duration<double>(last - first).count();
    const double ratio = (end - begin) / wall;
    printf("clock: %ld s shown in %.2f s: %.3f shown a second, %.1f frames a second\n", end - begin,
           wall, ratio, ratio * kFramesPerClockSecond);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "slide" && argc == 3) || (mode == "clock" && argc == 4))) {
        fprintf(stderr, "usage: %s slide <timeout s>\n       %s clock <seconds> <GameFont.bmp>\n",
                argv[0], argv[0]);
        return 2;
    }
    const ScreenReader screen;
    if (!screen.ok()) {
        fprintf(stderr, "no X display\n");
        return 2;
    }
    return mode == "slide" ? measureSlide(screen, atof(argv[2]))
                           : measureClock(screen, atof(argv[2]), argv[3]);
}
