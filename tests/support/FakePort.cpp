#include "FakePort.h"

#include <algorithm>

FakePort::~FakePort() {
    if (hasVideo())
        closeVideo();
    gnPort::use(nullptr);
}

void FakePort::updateRect(int32_t x, int32_t y, uint32_t w, uint32_t h) {
    log.push_back("update " + std::to_string(x) + " " + std::to_string(y) + " " +
                  std::to_string(w) + " " + std::to_string(h));
    gnPort::updateRect(x, y, w, h);
}

void FakePort::present() {
    log.push_back("present");
    gnPort::present();
    if (afterPresent)
        afterPresent();
}

uint32_t FakePort::getMouseState(int* x, int* y) {
    *x = mouseX, *y = mouseY;
    return mouseButtons;
}

void FakePort::delay(uint32_t ms) {
    sleeps.push_back(ms);
    log.push_back("delay " + std::to_string(ms));
    now += ms;
    if (afterDelay)
        afterDelay();
}

void FakePort::showWindowAreas(const SDL_Rect* areas, int count) {
    for (const SDL_Rect* a = areas; a < areas + count; ++a)
        windows.push_back(std::to_string(a->x) + " " + std::to_string(a->y) + " " +
                          std::to_string(a->w) + " " + std::to_string(a->h));
    gnPort::showWindowAreas(areas, count);
}

std::vector<std::string> FakePort::updates() const {
    std::vector<std::string> result;
    std::copy_if(log.begin(), log.end(), std::back_inserter(result),
                 [](const std::string& line) { return line.rfind("update", 0) == 0; });
    return result;
}

void pushKey(Uint32 type, SDL_Keycode key, bool repeat) {
    SDL_Event event = {};
    event.type = type;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    SDL_PushEvent(&event);
}

void pushMouseMotion(int x, int y, uint32_t buttons, Uint32 which) {
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion = {SDL_MOUSEMOTION, 0, 0, which, buttons, x, y, 0, 0};
    SDL_PushEvent(&event);
}

void pushMouseButton(Uint32 type, int x, int y, Uint8 button, Uint32 which) {
    SDL_Event event = {};
    event.button = {
        type,  0,      0,
        which, button, static_cast<Uint8>(type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED),
        1,     0,      x,
        y};
    SDL_PushEvent(&event);
}

void pushEvent(Uint32 type, int code) {
    SDL_Event event = {};
    event.type = type;
    if (type == SDL_USEREVENT)
        event.user.code = code;
    if (type == SDL_WINDOWEVENT)
        event.window.event = static_cast<Uint8>(code);
    SDL_PushEvent(&event);
}

void flushEvents() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}
