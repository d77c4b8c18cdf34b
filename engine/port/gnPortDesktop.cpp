// The desktop's back end of the port: a borderless window over the whole display showing the
// picture scaled with its aspect kept, only changed areas sent; the mouse mapped back; long
// sleeps that keep the window answering; the print program started on its own.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "gnPort.h"

namespace {

constexpr uint32_t kPumpIntervalMs = 50;  // how often a long sleep lets the window answer
constexpr Uint32 kPictureFormat = SDL_PIXELFORMAT_RGB888;
constexpr int kFirstNotInherited = 3;  // the started program keeps only its standard streams

// Closes every descriptor from kFirstNotInherited up, however many are open.
void closeInherited() {
    if (close_range(kFirstNotInherited, ~0u, 0) == 0)
        return;
    const long open = sysconf(_SC_OPEN_MAX);  // a kernel without close_range
    for (long fd = kFirstNotInherited; fd < (open > 0 ? open : 65536); ++fd)
        close(static_cast<int>(fd));
}

}  // namespace

SDL_Surface* gnPort::openVideo(uint32_t width, uint32_t height) {
    if (hasVideo())
        closeVideo();
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    if (w <= 0 || h <= 0) {
        SDL_SetError("A picture of %d by %d pixels cannot be shown", w, h);
        return nullptr;
    }
    // The window's surface is written by the CPU and sent as it is: no GPU texture behind it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A borderless window over the whole display rather than SDL's full-screen mode, whose
    // handshake waits for a window manager that a kiosk does not run.
    SDL_Rect display = {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h};
    if (SDL_GetDisplayBounds(0, &display) != 0)
        display = {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h};
    window = SDL_CreateWindow("Solrind", display.x, display.y, display.w, display.h,
                              SDL_WINDOW_BORDERLESS);
    if (window)
        surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, kPictureFormat);
    if (!surface) {
        closeVideo();
        return nullptr;
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    exposed = true;  // the first present shows the whole window
    SDL_AddEventWatch(watchWindow, this);
    return surface;
}

void gnPort::closeVideo() {
    SDL_DelEventWatch(watchWindow, this);
    if (surface)
        SDL_FreeSurface(surface);
    if (window)
        SDL_DestroyWindow(window);  // frees the window's surface
    surface = nullptr;
    window = nullptr;
    windowSurface = nullptr;
    changed.clear();
    shown = std::vector<Uint32>();
}

void gnPort::updateRect(int32_t x, int32_t y, uint32_t w, uint32_t h) {
    if (!surface || exposed)
        return;  // the next present shows everything
    int64_t x1 = static_cast<int64_t>(x) + w;
    int64_t y1 = static_cast<int64_t>(y) + h;
    if (w == 0 && h == 0) {
        x = 0;
        y = 0;
        x1 = surface->w;
        y1 = surface->h;
    }
    const int left = x < 0 ? 0 : x;
    const int top = y < 0 ? 0 : y;
    const int right = x1 > surface->w ? surface->w : static_cast<int>(x1);
    const int bottom = y1 > surface->h ? surface->h : static_cast<int>(y1);
    if (left >= right || top >= bottom || !windowSurface)
        return;
    SDL_Rect picture = {left, top, right - left, bottom - top};
    if (!narrowToChanged(picture))
        return;  // nothing in it changed since it was sent
    const SDL_Rect area =
        scaleArea(picture.x, picture.y, picture.x + picture.w, picture.y + picture.h);
    if (area.w > 0 && area.h > 0)
        changed.push_back(area);
}

void gnPort::present() {
    if (!window)
        return;
    if (exposed) {
        exposed = false;
        if (!placePicture())
            return;
        SDL_FillRect(windowSurface, nullptr, SDL_MapRGB(windowSurface->format, 0, 0, 0));
        scaleArea(0, 0, surface->w, surface->h);
        takeAllAsSent();
        changed.clear();
        const SDL_Rect whole = {0, 0, windowSurface->w, windowSurface->h};
        showWindowAreas(&whole, 1);
        return;
    }
    if (changed.empty())
        return;  // nothing changed: nothing is sent
    showWindowAreas(changed.data(), static_cast<int>(changed.size()));
    changed.clear();
}

void gnPort::showWindowAreas(const SDL_Rect* areas, int count) {
    SDL_UpdateWindowSurfaceRects(window, areas, count);
}

void gnPort::windowToPicture(int windowX, int windowY, int* x, int* y) const {
    // The inverse of the scaling: window column c of the picture shows column c * w / placed.w.
    auto toPicture = [](int64_t offset, int64_t pictureSide, int64_t placedSide) {
        const int64_t scaled = offset * pictureSide;
        return static_cast<int>(scaled >= 0 ? scaled / placedSide
                                            : -((-scaled + placedSide - 1) / placedSide));
    };
    if (placed.w <= 0 || placed.h <= 0 || !surface) {
        *x = windowX;
        *y = windowY;
        return;
    }
    *x = toPicture(windowX - placed.x, surface->w, placed.w);
    *y = toPicture(windowY - placed.y, surface->h, placed.h);
}

bool gnPort::placePicture() {
    windowSurface = SDL_GetWindowSurface(window);
    if (!windowSurface)
        return false;
    const int64_t ww = windowSurface->w;
    const int64_t wh = windowSurface->h;
    const int64_t pw = surface->w;
    const int64_t ph = surface->h;
    // As large as fits with the aspect kept, centred.
    if (ww * ph <= wh * pw) {
        placed.w = static_cast<int>(ww);
        placed.h = static_cast<int>(ww * ph / pw);
    } else {
        placed.h = static_cast<int>(wh);
        placed.w = static_cast<int>(wh * pw / ph);
    }
    placed.x = static_cast<int>((ww - placed.w) / 2);
    placed.y = static_cast<int>((wh - placed.h) / 2);
    columnOf.resize(static_cast<size_t>(placed.w));
    rowOf.resize(static_cast<size_t>(placed.h));
    for (int c = 0; c < placed.w; ++c)
        columnOf[static_cast<size_t>(c)] = static_cast<int>(c * pw / placed.w);
    for (int r = 0; r < placed.h; ++r)
        rowOf[static_cast<size_t>(r)] = static_cast<int>(r * ph / placed.h);
    rowBuffer.resize(static_cast<size_t>(placed.w));
    return true;
}

SDL_Rect gnPort::scaleArea(int x0, int y0, int x1, int y1) {
    // The window columns and rows that show picture columns x0..x1-1 and rows y0..y1-1: the
    // first c with c * pw / placed.w >= x0, up to the first with it >= x1.
    auto firstShowing = [](int64_t pictureIndex, int64_t pictureSide, int64_t placedSide) {
        return static_cast<int>((pictureIndex * placedSide + pictureSide - 1) / pictureSide);
    };
    const int c0 = firstShowing(x0, surface->w, placed.w);
    const int c1 = firstShowing(x1, surface->w, placed.w);
    const int r0 = firstShowing(y0, surface->h, placed.h);
    const int r1 = firstShowing(y1, surface->h, placed.h);
    const SDL_Rect area = {placed.x + c0, placed.y + r0, c1 - c0, r1 - r0};
    if (area.w <= 0 || area.h <= 0)
        return area;
    const bool sameFormat = windowSurface->format->format == kPictureFormat;
    if (SDL_MUSTLOCK(windowSurface))
        SDL_LockSurface(windowSurface);
    const Uint8* picture = static_cast<const Uint8*>(surface->pixels);
    Uint8* target = static_cast<Uint8*>(windowSurface->pixels);
    const size_t rowBytes = static_cast<size_t>(area.w) * sizeof(Uint32);
    for (int r = r0; r < r1; ++r) {
        Uint8* out = target + static_cast<size_t>(placed.y + r) * windowSurface->pitch +
                     static_cast<size_t>(area.x) * windowSurface->format->BytesPerPixel;
        if (sameFormat && r > r0 &&
            rowOf[static_cast<size_t>(r)] == rowOf[static_cast<size_t>(r - 1)]) {
            memcpy(out, out - windowSurface->pitch, rowBytes);  // the same picture row again
            continue;
        }
        const Uint32* in = reinterpret_cast<const Uint32*>(
            picture + static_cast<size_t>(rowOf[static_cast<size_t>(r)]) * surface->pitch);
        Uint32* row = sameFormat ? reinterpret_cast<Uint32*>(out) : rowBuffer.data();
        if (placed.w == surface->w)  // one window pixel per picture pixel
            memcpy(row, in + c0, rowBytes);
        else
            for (int c = c0; c < c1; ++c)
                row[c - c0] = in[columnOf[static_cast<size_t>(c)]];
        if (!sameFormat)
            SDL_ConvertPixels(area.w, 1, kPictureFormat, row, static_cast<int>(rowBytes),
                              windowSurface->format->format, out, windowSurface->pitch);
    }
    if (SDL_MUSTLOCK(windowSurface))
        SDL_UnlockSurface(windowSurface);
    return area;
}

uint32_t gnPort::getMouseState(int* x, int* y) {
    int windowX = 0;
    int windowY = 0;
    const uint32_t buttons = SDL_GetMouseState(&windowX, &windowY);
    int pictureX = 0;
    int pictureY = 0;
    windowToPicture(windowX, windowY, &pictureX, &pictureY);
    if (x)
        *x = pictureX;
    if (y)
        *y = pictureY;
    return buttons;
}

uint32_t gnPort::getTicks() {
    return SDL_GetTicks();
}

void gnPort::delay(uint32_t ms) {
    // A frame's short wait needs no pumping: the frame loop pumps the events itself.
    if (!window || ms <= kPumpIntervalMs) {
        SDL_Delay(ms);
        return;
    }
    const uint32_t start = SDL_GetTicks();
    while (!terminationRequested()) {
        SDL_PumpEvents();
        if (exposed)
            present();
        const uint32_t elapsed = SDL_GetTicks() - start;
        if (elapsed >= ms)
            return;
        const uint32_t left = ms - elapsed;
        SDL_Delay(left < kPumpIntervalMs ? left : kPumpIntervalMs);
    }
}

int SDLCALL gnPort::watchWindow(void* userdata, SDL_Event* event) {
    if (event->type == SDL_WINDOWEVENT && (event->window.event == SDL_WINDOWEVENT_EXPOSED ||
                                           event->window.event == SDL_WINDOWEVENT_RESTORED ||
                                           event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED))
        static_cast<gnPort*>(userdata)->exposed = true;
    return 0;
}

void gnPort::startProgram(const char* commandLine) {
    // The program is started by a short-lived intermediate process, so that it belongs to
    // init and never becomes a zombie of the game; only the intermediate one is waited for,
    // and it ends at once.
    const pid_t middle = fork();
    if (middle < 0)
        return;
    if (middle == 0) {
        setsid();
        if (fork() == 0) {
            closeInherited();
            char* const argv[] = {const_cast<char*>(commandLine), nullptr};
            execv(commandLine, argv);
            _exit(127);  // not startable: ignored, as the game never learns of it
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
}

void gnPort::fileSaved(const char*) {}  // gnReplaceFile has synced it to the disk

void gnPort::showKeyboard(bool) {}  // a kiosk's keyboard is a real one

bool gnPort::issuedSeed(uint32_t&, std::string&) {
    return false;  // a kiosk proves its rounds with its token: it draws its own seeds
}

std::string gnPort::eventTable() {
    return "";  // a kiosk's sync writes the event's table into the file itself
}
