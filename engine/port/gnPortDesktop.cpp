// The desktop's back end of the port: a borderless window over the whole display showing the
// picture scaled with its aspect kept, only changed areas sent; the mouse mapped back; long
// sleeps that keep the window answering; the print program started on its own.
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
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

const Uint32 gnPort::pictureFormat = kPictureFormat;

struct gnPort::BackEnd {
    SDL_Surface* windowSurface = nullptr;  // SDL's, valid until the window changes size
    SDL_Rect placed = {0, 0, 0, 0};        // where the picture lies in the window
    std::vector<int> columnOf;             // picture column shown in each window column of `placed`
    std::vector<int> rowOf;                // and picture row in each window row
    std::vector<Uint32> rowBuffer;         // one scaled row, for a window of another pixel format
    std::atomic<bool> exposed{false};      // the window lost its picture or its size: show it all
};

gnPort::BackEnd* gnPort::openBackEnd() {
    return new BackEnd;
}

void gnPort::closeBackEnd(BackEnd* backEnd) {
    delete backEnd;
}

SDL_Window* gnPort::openWindow(int w, int h) {
    // The window's surface is written by the CPU and sent as it is: no GPU texture behind it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A borderless window over the whole display rather than SDL's full-screen mode, whose
    // handshake waits for a window manager that a kiosk does not run.
    SDL_Rect display = {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h};
    if (SDL_GetDisplayBounds(0, &display) != 0)
        display = {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h};
    return SDL_CreateWindow("Solrind", display.x, display.y, display.w, display.h,
                            SDL_WINDOW_BORDERLESS);
}

void gnPort::pictureOpened() {
    backEnd->exposed = true;  // the first present shows the whole window
    SDL_AddEventWatch(watchWindow, this);
}

void gnPort::closeVideo() {
    SDL_DelEventWatch(watchWindow, this);
    if (surface)
        SDL_FreeSurface(surface);
    if (window)
        SDL_DestroyWindow(window);  // frees the window's surface
    surface = nullptr;
    window = nullptr;
    backEnd->windowSurface = nullptr;
    changed.clear();
    shown = std::vector<Uint32>();
}

void gnPort::updateRect(int32_t x, int32_t y, uint32_t w, uint32_t h) {
    if (!surface || backEnd->exposed)
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
    if (left >= right || top >= bottom || !backEnd->windowSurface)
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
    if (backEnd->exposed) {
        backEnd->exposed = false;
        if (!placePicture())
            return;
        SDL_FillRect(backEnd->windowSurface, nullptr,
                     SDL_MapRGB(backEnd->windowSurface->format, 0, 0, 0));
        scaleArea(0, 0, surface->w, surface->h);
        takeAllAsSent();
        changed.clear();
        const SDL_Rect whole = {0, 0, backEnd->windowSurface->w, backEnd->windowSurface->h};
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
    if (backEnd->placed.w <= 0 || backEnd->placed.h <= 0 || !surface) {
        *x = windowX;
        *y = windowY;
        return;
    }
    *x = toPicture(windowX - backEnd->placed.x, surface->w, backEnd->placed.w);
    *y = toPicture(windowY - backEnd->placed.y, surface->h, backEnd->placed.h);
}

bool gnPort::placePicture() {
    backEnd->windowSurface = SDL_GetWindowSurface(window);
    if (!backEnd->windowSurface)
        return false;
    const int64_t ww = backEnd->windowSurface->w;
    const int64_t wh = backEnd->windowSurface->h;
    const int64_t pw = surface->w;
    const int64_t ph = surface->h;
    // As large as fits with the aspect kept, centred.
    if (ww * ph <= wh * pw) {
        backEnd->placed.w = static_cast<int>(ww);
        backEnd->placed.h = static_cast<int>(ww * ph / pw);
    } else {
        backEnd->placed.h = static_cast<int>(wh);
        backEnd->placed.w = static_cast<int>(wh * pw / ph);
    }
    backEnd->placed.x = static_cast<int>((ww - backEnd->placed.w) / 2);
    backEnd->placed.y = static_cast<int>((wh - backEnd->placed.h) / 2);
    backEnd->columnOf.resize(static_cast<size_t>(backEnd->placed.w));
    backEnd->rowOf.resize(static_cast<size_t>(backEnd->placed.h));
    for (int c = 0; c < backEnd->placed.w; ++c)
        backEnd->columnOf[static_cast<size_t>(c)] = static_cast<int>(c * pw / backEnd->placed.w);
    for (int r = 0; r < backEnd->placed.h; ++r)
        backEnd->rowOf[static_cast<size_t>(r)] = static_cast<int>(r * ph / backEnd->placed.h);
    backEnd->rowBuffer.resize(static_cast<size_t>(backEnd->placed.w));
    return true;
}

SDL_Rect gnPort::scaleArea(int x0, int y0, int x1, int y1) {
    // The window columns and rows that show picture columns x0..x1-1 and rows y0..y1-1: the
    // first c with c * pw / placed.w >= x0, up to the first with it >= x1.
    auto firstShowing = [](int64_t pictureIndex, int64_t pictureSide, int64_t placedSide) {
        return static_cast<int>((pictureIndex * placedSide + pictureSide - 1) / pictureSide);
    };
    const int c0 = firstShowing(x0, surface->w, backEnd->placed.w);
    const int c1 = firstShowing(x1, surface->w, backEnd->placed.w);
    const int r0 = firstShowing(y0, surface->h, backEnd->placed.h);
    const int r1 = firstShowing(y1, surface->h, backEnd->placed.h);
    const SDL_Rect area = {backEnd->placed.x + c0, backEnd->placed.y + r0, c1 - c0, r1 - r0};
    if (area.w <= 0 || area.h <= 0)
        return area;
    const bool sameFormat = backEnd->windowSurface->format->format == kPictureFormat;
    if (SDL_MUSTLOCK(backEnd->windowSurface))
        SDL_LockSurface(backEnd->windowSurface);
    const Uint8* picture = static_cast<const Uint8*>(surface->pixels);
    Uint8* target = static_cast<Uint8*>(backEnd->windowSurface->pixels);
    const size_t rowBytes = static_cast<size_t>(area.w) * sizeof(Uint32);
    for (int r = r0; r < r1; ++r) {
        Uint8* out = target +
                     static_cast<size_t>(backEnd->placed.y + r) * backEnd->windowSurface->pitch +
                     static_cast<size_t>(area.x) * backEnd->windowSurface->format->BytesPerPixel;
        if (sameFormat && r > r0 &&
            backEnd->rowOf[static_cast<size_t>(r)] == backEnd->rowOf[static_cast<size_t>(r - 1)]) {
            memcpy(out, out - backEnd->windowSurface->pitch,
                   rowBytes);  // the same picture row again
            continue;
        }
        const Uint32* in = reinterpret_cast<const Uint32*>(
            picture + static_cast<size_t>(backEnd->rowOf[static_cast<size_t>(r)]) * surface->pitch);
        Uint32* row = sameFormat ? reinterpret_cast<Uint32*>(out) : backEnd->rowBuffer.data();
        if (backEnd->placed.w == surface->w)  // one window pixel per picture pixel
            memcpy(row, in + c0, rowBytes);
        else
            for (int c = c0; c < c1; ++c)
                row[c - c0] = in[backEnd->columnOf[static_cast<size_t>(c)]];
        if (!sameFormat)
            SDL_ConvertPixels(area.w, 1, kPictureFormat, row, static_cast<int>(rowBytes),
                              backEnd->windowSurface->format->format, out,
                              backEnd->windowSurface->pitch);
    }
    if (SDL_MUSTLOCK(backEnd->windowSurface))
        SDL_UnlockSurface(backEnd->windowSurface);
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
        if (backEnd->exposed)
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
        static_cast<gnPort*>(userdata)->backEnd->exposed = true;
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

void gnPort::handOver(const char*, const char*, const char*) {}  // the program reads the files

void gnPort::fileSaved(const char*) {}  // gnReplaceFile has synced it to the disk

void gnPort::showKeyboard(bool) {}  // a kiosk's keyboard is a real one

bool gnPort::issuedSeed(uint32_t&, std::string&) {
    return false;  // a kiosk proves its rounds with its token: it draws its own seeds
}

std::string gnPort::eventTable() {
    return "";  // a kiosk's sync writes the event's table into the file itself
}
