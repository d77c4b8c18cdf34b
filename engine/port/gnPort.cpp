#include "gnPort.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr uint32_t kPumpIntervalMs = 20;  // how often a long sleep lets the window answer
constexpr Uint32 kPictureFormat = SDL_PIXELFORMAT_RGB888;
constexpr int kSavedEventsChunk = 512;     // events taken off the queue at a time
constexpr int64_t kPictureSideMax = 4096;  // pixels: more than any picture of the game needs
constexpr size_t kBmpHeaderBytes = 26;     // the file header and the info header's size
constexpr uint32_t kCoreHeaderSize = 12;   // the oldest info header, with 16-bit sides

gnPort* installedPort = nullptr;
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

}  // namespace

gnPort::gnPort()
    : window(nullptr),
      renderer(nullptr),
      texture(nullptr),
      surface(nullptr),
      exposed(false),
      keepsPicture(false),
      cleared(false) {
    // SDL2 ends a poll at a sentinel, leaving events queued meanwhile for the next pump; the
    // engine's pump drains the queue completely, also of events queued while handling.
    SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
}

gnPort::~gnPort() {
    if (hasVideo())
        closeVideo();
}

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
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    // Placed over the whole display and borderless as well: without a window manager (a bare
    // kiosk session) the full-screen request alone leaves a small window in the middle.
    SDL_Rect display = {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h};
    if (SDL_GetDisplayBounds(0, &display) != 0)
        display = {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h};
    window = SDL_CreateWindow("Solrind", display.x, display.y, display.w, display.h,
                              SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
    if (window)
        renderer = SDL_CreateRenderer(window, -1, 0);
    SDL_RendererInfo info;
    keepsPicture = renderer && SDL_GetRendererInfo(renderer, &info) == 0 &&
                   (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    cleared = false;
    if (renderer && SDL_RenderSetLogicalSize(renderer, w, h) == 0)
        texture = SDL_CreateTexture(renderer, kPictureFormat, SDL_TEXTUREACCESS_STREAMING, w, h);
    if (texture)
        surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, kPictureFormat);
    if (!surface) {
        closeVideo();
        return nullptr;
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    updateRect(0, 0, 0, 0);
    SDL_AddEventWatch(watchWindow, this);
    return surface;
}

void gnPort::closeVideo() {
    SDL_DelEventWatch(watchWindow, this);
    if (surface)
        SDL_FreeSurface(surface);
    if (texture)
        SDL_DestroyTexture(texture);
    if (renderer)
        SDL_DestroyRenderer(renderer);
    if (window)
        SDL_DestroyWindow(window);
    surface = nullptr;
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
}

void gnPort::updateRect(int32_t x, int32_t y, uint32_t w, uint32_t h) {
    if (!surface)
        return;
    SDL_Rect area = {x, y, static_cast<int>(w), static_cast<int>(h)};
    if (w == 0 && h == 0)
        area = {0, 0, surface->w, surface->h};
    const SDL_Rect whole = {0, 0, surface->w, surface->h};
    SDL_Rect visible;
    if (!SDL_IntersectRect(&area, &whole, &visible))
        return;
    const Uint8* pixels = static_cast<const Uint8*>(surface->pixels) + visible.y * surface->pitch +
                          visible.x * surface->format->BytesPerPixel;
    SDL_UpdateTexture(texture, &visible, pixels, surface->pitch);
}

void gnPort::present() {
    exposed = false;
    if (!renderer)
        return;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
}

uint32_t gnPort::getMouseState(int* x, int* y) {
    int windowX = 0;
    int windowY = 0;
    const uint32_t buttons = SDL_GetMouseState(&windowX, &windowY);
    if (renderer) {
        float logicalX = 0;
        float logicalY = 0;
        SDL_RenderWindowToLogical(renderer, windowX, windowY, &logicalX, &logicalY);
        windowX = static_cast<int>(std::floor(logicalX));
        windowY = static_cast<int>(std::floor(logicalY));
    }
    if (x)
        *x = windowX;
    if (y)
        *y = windowY;
    return buttons;
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
    if (!window) {
        SDL_Delay(ms);
        return;
    }
    const uint32_t start = SDL_GetTicks();
    for (;;) {
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
