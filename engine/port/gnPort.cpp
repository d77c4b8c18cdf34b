#include "gnPort.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kPumpIntervalMs = 50;  // how often a long sleep lets the window answer
constexpr Uint32 kPictureFormat = SDL_PIXELFORMAT_RGB888;
constexpr int kSavedEventsChunk = 512;     // events taken off the queue at a time
constexpr int64_t kPictureSideMax = 4096;  // pixels: more than any picture of the game needs
constexpr size_t kBmpHeaderBytes = 26;     // the file header and the info header's size
constexpr uint32_t kCoreHeaderSize = 12;   // the oldest info header, with 16-bit sides

gnPort* installedPort = nullptr;
volatile sig_atomic_t terminating = 0;  // set by the signal handler, read by the main thread
std::atomic<gnEventFilter> currentFilter{nullptr};

uint32_t littleEndian(const Uint8* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

// Whether the BMP header declares a picture larger than any the game can need; what it
// declares in width and height. A header too short to tell is left to SDL's own checks.
bool declaresTooLarge(SDL_RWops* stream, int64_t& width, int64_t& height) {
    Uint8 header[kBmpHeaderBytes];
    if (SDL_RWread(stream, header, 1, sizeof header) != sizeof header || header[0] != 'B' ||
        header[1] != 'M')
        return false;
    if (littleEndian(header + 14, 4) == kCoreHeaderSize) {
        width = littleEndian(header + 18, 2);
        height = littleEndian(header + 20, 2);
    } else {
        width = static_cast<int32_t>(littleEndian(header + 18, 4));
        height = static_cast<int32_t>(littleEndian(header + 22, 4));  // negative: top-down
    }
    height = height < 0 ? -height : height;
    return width > kPictureSideMax || height > kPictureSideMax;
}

void noteTermination(int) {
    terminating = 1;
}

}  // namespace

gnPort::gnPort()
    : window(nullptr),
      surface(nullptr),
      windowSurface(nullptr),
      placed{0, 0, 0, 0},
      exposed(false) {
    // SDL2 ends a poll at a sentinel, leaving events queued meanwhile for the next pump; the
    // engine's pump drains the queue completely, also of events queued while handling.
    SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
    // A touch screen plays like the mouse: SDL reports touches as mouse events too.
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "1");
}

// Nothing of SDL's is touched here: the SDL2 port is destroyed at the end of the process,
// possibly after SDL_Quit or from a fatal X error, when a window call could wait for ever.
// A port installed for a while closes its video itself.
gnPort::~gnPort() = default;

gnPort& gnPort::get() {
    static gnPort sdlPort;
    return installedPort ? *installedPort : sdlPort;
}

void gnPort::use(gnPort* port) {
    installedPort = port;
}

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
    const SDL_Rect area = scaleArea(left, top, right, bottom);
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

uint32_t gnPort::getMouseStateAt(const SDL_Event& event, int* x, int* y) {
    switch (event.type) {
        case SDL_MOUSEMOTION:
            eventToPicture(event.motion.x, event.motion.y, x, y);
            return event.motion.state;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            int nowX = 0;
            int nowY = 0;
            const uint32_t others = getMouseState(&nowX, &nowY) & ~SDL_BUTTON(event.button.button);
            eventToPicture(event.button.x, event.button.y, x, y);
            return event.type == SDL_MOUSEBUTTONDOWN ? others | SDL_BUTTON(event.button.button)
                                                     : others;
        }
        default:
            return getMouseState(x, y);
    }
}

bool gnPort::isKeyHeld(SDL_Keycode key) {
    const SDL_Scancode code = SDL_GetScancodeFromKey(key);
    if (code == SDL_SCANCODE_UNKNOWN)
        return false;
    return SDL_GetKeyboardState(nullptr)[code] == 1;
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
    while (!terminating) {
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

void gnPort::installTerminationHandlers() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // SDL would turn them into window quits
    struct sigaction action = {};
    action.sa_handler = noteTermination;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool gnPort::terminationRequested() {
    return terminating != 0;
}

SDL_Surface* gnPort::loadBMP(const char* file) {
    SDL_RWops* stream = SDL_RWFromFile(file, "rb");
    if (!stream)
        return nullptr;  // SDL's text names the file
    // Refused before SDL allocates (and clears) what a damaged header claims.
    int64_t width = 0;
    int64_t height = 0;
    if (declaresTooLarge(stream, width, height)) {
        SDL_RWclose(stream);
        SDL_SetError("%s: declares %lld by %lld pixels, more than %lld by %lld", file,
                     static_cast<long long>(width), static_cast<long long>(height),
                     static_cast<long long>(kPictureSideMax),
                     static_cast<long long>(kPictureSideMax));
        return nullptr;
    }
    SDL_Surface* picture = nullptr;
    if (SDL_RWseek(stream, 0, RW_SEEK_SET) == 0)
        picture = SDL_LoadBMP_RW(stream, 1);
    else
        SDL_RWclose(stream);
    // A picture with an alpha channel is drawn opaque, as every picture of the game is: SDL2
    // would blend it, leaving ghost copies where the screens slide. The colour key still holds.
    if (picture)
        SDL_SetSurfaceBlendMode(picture, SDL_BLENDMODE_NONE);
    if (!picture) {
        char reason[256];
        snprintf(reason, sizeof reason, "%s", SDL_GetError());
        SDL_SetError("%s: %s", file, reason);
    }
    return picture;
}

void gnPort::setEventFilter(gnEventFilter filter) {
    currentFilter = filter;
    SDL_EventFilter installed = nullptr;
    void* userdata = nullptr;
    if (SDL_GetEventFilter(&installed, &userdata) && installed == filterTrampoline)
        return;
    // SDL2 empties the queue when a filter is set; keep everything queued and put it back in
    // order. This happens once per process, so the buffer is not kept.
    std::vector<SDL_Event> saved;
    for (;;) {
        const size_t had = saved.size();
        saved.resize(had + kSavedEventsChunk);
        const int got = SDL_PeepEvents(saved.data() + had, kSavedEventsChunk, SDL_GETEVENT,
                                       SDL_FIRSTEVENT, SDL_LASTEVENT);
        saved.resize(had + static_cast<size_t>(got > 0 ? got : 0));
        if (got < kSavedEventsChunk)
            break;
    }
    SDL_SetEventFilter(filterTrampoline, nullptr);
    if (!saved.empty())
        SDL_PeepEvents(saved.data(), static_cast<int>(saved.size()), SDL_ADDEVENT, SDL_FIRSTEVENT,
                       SDL_LASTEVENT);
}

int SDLCALL gnPort::filterTrampoline(void*, SDL_Event* event) {
    const gnEventFilter filter = currentFilter;
    return filter ? filter(event) : 1;
}

int SDLCALL gnPort::watchWindow(void* userdata, SDL_Event* event) {
    if (event->type == SDL_WINDOWEVENT && (event->window.event == SDL_WINDOWEVENT_EXPOSED ||
                                           event->window.event == SDL_WINDOWEVENT_RESTORED ||
                                           event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED))
        static_cast<gnPort*>(userdata)->exposed = true;
    return 0;
}
