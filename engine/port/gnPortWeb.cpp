// The browser's back end of the port. The picture is kept in the canvas's own byte order
// (RGBA), and present hands each changed area to the canvas's 2D context as it is
// (putImageData with a dirty rectangle), narrowed to the pixels that differ from what the
// canvas shows: a round redraws the whole board every frame, and the browser would redraw
// and composite it each time. The page scales the canvas to the window. Time stands still
// while the tab is hidden. The print program is the certificate page; the name entry opens a
// phone's keyboard.
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "gnPort.h"

namespace {

constexpr Uint32 kPictureFormat = SDL_PIXELFORMAT_RGBA32;  // bytes R, G, B, A
constexpr uint32_t kHiddenPollMs = 100;                    // how often a hidden tab is asked

// The page (web/solrind-page.js) keeps the hidden time, the certificate and the keyboard.
// JavaScript, which the C++ formatter would break:
// clang-format off
EM_JS(void, webOpenCanvas, (int w, int h, Uint8* pixels), {
    const canvas = Module.canvas;
    canvas.width = w;
    canvas.height = h;
    Module.solrindScreen = {context : canvas.getContext('2d', {alpha : false}), w : w, h : h,
                            pixels : pixels};
});
EM_JS(void, webPutArea, (int x, int y, int w, int h), {
    const s = Module.solrindScreen;
    if (!Module.solrindFirstPicture)
        Module.solrindFirstPicture = performance.now();
    if (!s.image || s.image.data.buffer !== HEAPU8.buffer)  // made anew if memory grew
        s.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, s.pixels, s.w * s.h * 4),
                                s.w, s.h);
    s.context.putImageData(s.image, 0, 0, x, y, w, h);
});
EM_JS(int, webHiddenMs, (), { return Module.solrindHiddenMs ? Module.solrindHiddenMs() : 0; });
EM_JS(int, webIsHidden, (), { return document.hidden ? 1 : 0; });
EM_JS(void, webHandOver, (const char* check, const char* time, const char* round), {
    Module.solrindHandedOver = [UTF8ToString(time), UTF8ToString(check), UTF8ToString(round)];
});
EM_JS(void, webShowCertificate, (), {
    if (Module.solrindCertificate && Module.solrindHandedOver)
        Module.solrindCertificate(...Module.solrindHandedOver);
});
EM_JS(char*, webEventTable, (), {
    const table = Module.solrindEventTable;
    return table ? stringToNewUTF8(table) : 0;
});
EM_JS(int, webIssuedSeed, (char* id, int size), {
    const issued = Module.solrindSeed ? Module.solrindSeed() : null;
    if (!issued)
        return -1;
    stringToUTF8(issued.id, id, size);
    return issued.seed;
});
EM_JS(void, webSaveFiles, (), {
    FS.syncfs(false, function(error) {
        if (error)
            console.log('Solrind: the table could not be kept in this browser: ' + error);
    });
});
EM_JS(void, webPageTitle, (char* into, int size), { stringToUTF8(document.title, into, size); });
EM_JS(void, webKeyboard, (int on), {
    if (Module.solrindKeyboard)
        Module.solrindKeyboard(on != 0);
});
// clang-format on

}  // namespace

// A letter typed on a phone's keyboard, which sends no key codes: one key press.
extern "C" EMSCRIPTEN_KEEPALIVE void solrindTyped(int key) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    SDL_PushEvent(&event);
}

const Uint32 gnPort::pictureFormat = kPictureFormat;

// The canvas keeps the browser's picture (the page's Module.solrindScreen): nothing more here.
struct gnPort::BackEnd {};

gnPort::BackEnd* gnPort::openBackEnd() {
    return new BackEnd;
}

void gnPort::closeBackEnd(BackEnd* backEnd) {
    delete backEnd;
}

SDL_Window* gnPort::openWindow(int w, int h) {
    // SDL names the page after its window: the window takes the page's own title (the
    // brand's), so that the page keeps it.
    char title[256] = "";
    webPageTitle(title, sizeof title);
    return SDL_CreateWindow(title, 0, 0, w, h, 0);  // the page's canvas
}

void gnPort::pictureOpened() {
    const size_t pixels = static_cast<size_t>(surface->w) * static_cast<size_t>(surface->h);
    shown.assign(pixels, 0);  // opaque black differs from every picture's first pixels
    webOpenCanvas(surface->w, surface->h, static_cast<Uint8*>(surface->pixels));
    changed.push_back(SDL_Rect{0, 0, surface->w, surface->h});
}

void gnPort::closeVideo() {
    if (surface)
        SDL_FreeSurface(surface);
    if (window)
        SDL_DestroyWindow(window);
    surface = nullptr;
    window = nullptr;
    changed.clear();
    shown = std::vector<Uint32>();
}

void gnPort::updateRect(int32_t x, int32_t y, uint32_t w, uint32_t h) {
    if (!surface)
        return;
    int64_t x1 = static_cast<int64_t>(x) + w;
    int64_t y1 = static_cast<int64_t>(y) + h;
    if (w == 0 && h == 0) {
        x = 0, y = 0, x1 = surface->w, y1 = surface->h;
    }
    const int left = x < 0 ? 0 : x, top = y < 0 ? 0 : y;
    const int right = x1 > surface->w ? surface->w : static_cast<int>(x1);
    const int bottom = y1 > surface->h ? surface->h : static_cast<int>(y1);
    if (left < right && top < bottom)
        changed.push_back(SDL_Rect{left, top, right - left, bottom - top});
}

void gnPort::present() {
    if (!surface)
        return;
    showWindowAreas(changed.data(), static_cast<int>(changed.size()));
    changed.clear();
}

// Each area goes to the canvas narrowed to its pixels that changed since they were last
// sent; an area where nothing changed sends nothing.
void gnPort::showWindowAreas(const SDL_Rect* areas, int count) {
    for (const SDL_Rect* a = areas; a < areas + count; ++a) {
        SDL_Rect area = *a;
        if (narrowToChanged(area))
            webPutArea(area.x, area.y, area.w, area.h);
    }
}

// The page scales the canvas; SDL hands over the pointer in canvas (picture) pixels.
void gnPort::windowToPicture(int windowX, int windowY, int* x, int* y) const {
    *x = windowX;
    *y = windowY;
}

uint32_t gnPort::getMouseState(int* x, int* y) {
    int px = 0, py = 0;
    const uint32_t buttons = SDL_GetMouseState(&px, &py);
    if (x)
        *x = px;
    if (y)
        *y = py;
    return buttons;
}

uint32_t gnPort::getTicks() {
    return SDL_GetTicks() - static_cast<uint32_t>(webHiddenMs());
}

// Sleeps, and while the tab is hidden waits for it to be seen again: no frame of the game,
// and so no second of a round's clock, passes unseen.
void gnPort::delay(uint32_t ms) {
    SDL_Delay(ms);
    while (webIsHidden() && !terminationRequested())
        SDL_Delay(kHiddenPollMs);
}

// The print program's part: the certificate page shows what the game handed over (the time,
// the check line and, in an event, the round), and the browser's print dialog opens for it.
void gnPort::startProgram(const char*) {
    webShowCertificate();
}

void gnPort::handOver(const char* check, const char* time, const char* round) {
    webHandOver(check, time, round);
}

// The page reads the event's table from the server while the game sleeps; the game takes it
// when it is about to use its table (a call into the game during its sleep would corrupt it).
std::string gnPort::eventTable() {
    char* table = webEventTable();
    const std::string text = table ? table : "";
    free(table);
    return text;
}

bool gnPort::issuedSeed(uint32_t& seed, std::string& id) {
    char issued[64] = "";
    const int given = webIssuedSeed(issued, sizeof issued);
    const std::string text = issued;
    if (given < 0 || given > 9999 || text.size() != 32 ||
        text.find_first_not_of("0123456789abcdef") != std::string::npos)
        return false;  // none, or not the server's
    seed = static_cast<uint32_t>(given);
    id = issued;
    return true;
}

void gnPort::fileSaved(const char*) {
    webSaveFiles();
}

void gnPort::showKeyboard(bool on) {
    webKeyboard(on ? 1 : 0);
}
