#include "gnPort.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gnFiles.h"

namespace {

constexpr int kSavedEventsChunk = 512;     // events taken off the queue at a time
constexpr int64_t kPictureSideMax = 4096;  // pixels: more than any picture of the game needs
constexpr size_t kBmpHeaderBytes = 26;     // the file header and an info header's sides
constexpr size_t kBmpSizeField = 18;       // the file header and the info header's size
constexpr size_t kCoreSidesEnd = 22;       // where the oldest info header's sides end
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

// Why a BMP header must not reach SDL, or null: a header that declares a picture larger than
// any the game can need (SDL would allocate, and clear, all of it before reading a pixel), or
// one cut short before its sides (SDL would read the rest as zeros or worse). A file too short
// to name its header is left to SDL, which refuses it.
const char* refusedHeader(SDL_RWops* stream, int64_t& width, int64_t& height) {
    Uint8 header[kBmpHeaderBytes] = {};
    const size_t got = SDL_RWread(stream, header, 1, sizeof header);
    if (got < kBmpSizeField || header[0] != 'B' || header[1] != 'M')
        return nullptr;
    const bool core = littleEndian(header + 14, 4) == kCoreHeaderSize;
    if (got < (core ? kCoreSidesEnd : kBmpHeaderBytes))
        return "its header is cut short";
    if (core) {
        width = littleEndian(header + 18, 2);
        height = littleEndian(header + 20, 2);
    } else {
        width = static_cast<int32_t>(littleEndian(header + 18, 4));
        height = static_cast<int32_t>(littleEndian(header + 22, 4));  // negative: top-down
    }
    height = height < 0 ? -height : height;
    return width > kPictureSideMax || height > kPictureSideMax ? "too large" : nullptr;
}

void noteTermination(int) {
    terminating = 1;
}

}  // namespace

gnPort::gnPort()
    : window(nullptr),
      surface(nullptr),
      backEnd(openBackEnd(), closeBackEnd),
      trackedX(0),
      trackedY(0),
      trackedButtons(0),
      tracked(false),
      lastInput(0) {
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

SDL_Surface* gnPort::openVideo(uint32_t width, uint32_t height) {
    if (hasVideo())
        closeVideo();
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    if (w <= 0 || h <= 0) {
        SDL_SetError("A picture of %d by %d pixels cannot be shown", w, h);
        return nullptr;
    }
    window = openWindow(w, h);
    if (window)
        surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, pictureFormat);
    if (!surface) {
        closeVideo();
        return nullptr;
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    pictureOpened();
    return surface;
}

gnPort& gnPort::get() {
    static gnPort sdlPort;
    return installedPort ? *installedPort : sdlPort;
}

void gnPort::use(gnPort* port) {
    installedPort = port;
}

void gnPort::trackMouse(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
        case SDL_TEXTINPUT:
        case SDL_TEXTEDITING:
        case SDL_MOUSEWHEEL:
        case SDL_FINGERDOWN:
        case SDL_FINGERUP:
        case SDL_FINGERMOTION:
            lastInput = getTicks();
            return;
        default:
            break;
    }
    switch (event.type) {
        case SDL_MOUSEMOTION:
            eventToPicture(event.motion.x, event.motion.y, &trackedX, &trackedY);
            trackedButtons = event.motion.state;
            lastInput = getTicks();
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            int nowX = 0;
            int nowY = 0;
            const uint32_t before = tracked ? trackedButtons : getMouseState(&nowX, &nowY);
            const uint32_t others = before & ~SDL_BUTTON(event.button.button);
            eventToPicture(event.button.x, event.button.y, &trackedX, &trackedY);
            trackedButtons = event.type == SDL_MOUSEBUTTONDOWN
                                 ? others | SDL_BUTTON(event.button.button)
                                 : others;
            lastInput = getTicks();
            break;
        }
        default:
            return;
    }
    tracked = true;
}

uint32_t gnPort::inputIdleMs() {
    return getTicks() - lastInput;
}

uint32_t gnPort::eventMouse(int* x, int* y) {
    if (!tracked)
        return getMouseState(x, y);
    *x = trackedX;
    *y = trackedY;
    return trackedButtons;
}

bool gnPort::narrowToChanged(SDL_Rect& area) {
    const Uint32* pixels = static_cast<const Uint32*>(surface->pixels);
    const size_t stride = static_cast<size_t>(surface->pitch) / sizeof(Uint32);
    const size_t width = static_cast<size_t>(surface->w);
    int left = area.x + area.w, right = area.x, top = area.y + area.h, bottom = area.y;
    for (int y = area.y; y < area.y + area.h; ++y) {
        const Uint32* row = pixels + static_cast<size_t>(y) * stride;
        Uint32* seen = shown.data() + static_cast<size_t>(y) * width;
        const int x0 = area.x, x1 = area.x + area.w;
        if (memcmp(row + x0, seen + x0, static_cast<size_t>(x1 - x0) * sizeof(Uint32)) == 0)
            continue;  // the usual case: a whole row the same
        for (int x = x0; x < x1; ++x) {
            if (row[x] == seen[x])
                continue;
            seen[x] = row[x];
            left = x < left ? x : left;
            right = x + 1 > right ? x + 1 : right;
        }
        top = y < top ? y : top;
        bottom = y + 1;
    }
    if (left >= right)
        return false;
    area = SDL_Rect{left, top, right - left, bottom - top};
    return true;
}

void gnPort::takeAllAsSent() {
    const size_t width = static_cast<size_t>(surface->w);
    shown.resize(width * static_cast<size_t>(surface->h));
    for (int y = 0; y < surface->h; ++y)
        memcpy(shown.data() + static_cast<size_t>(y) * width,
               static_cast<const Uint8*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch,
               width * sizeof(Uint32));
}

bool gnPort::isKeyHeld(SDL_Keycode key) {
    const SDL_Scancode code = SDL_GetScancodeFromKey(key);
    if (code == SDL_SCANCODE_UNKNOWN)
        return false;
    return SDL_GetKeyboardState(nullptr)[code] == 1;
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
    // Only a regular file: a pipe or a device in a picture's place would block the game.
    std::string why;
    const int fd = gnOpenRegular(file, why);
    FILE* opened = fd >= 0 ? fdopen(fd, "rb") : nullptr;
    if (!opened) {
        if (fd >= 0)
            close(fd);
        errno == EINVAL ? SDL_SetError("Couldn't open %s: %s", file, why.c_str())
                        : SDL_SetError("Couldn't open %s", file);
        return nullptr;
    }
    SDL_RWops* stream = SDL_RWFromFP(opened, SDL_TRUE);
    if (!stream) {
        fclose(opened);
        return nullptr;  // SDL's text names the file
    }
    // Refused before SDL allocates (and clears) what a damaged header claims.
    int64_t width = 0;
    int64_t height = 0;
    if (const char* refused = refusedHeader(stream, width, height)) {
        SDL_RWclose(stream);
        if (strcmp(refused, "too large") == 0)
            SDL_SetError("%s: declares %lld by %lld pixels, more than %lld by %lld", file,
                         static_cast<long long>(width), static_cast<long long>(height),
                         static_cast<long long>(kPictureSideMax),
                         static_cast<long long>(kPictureSideMax));
        else
            SDL_SetError("%s: %s", file, refused);
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
