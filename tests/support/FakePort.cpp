#include "FakePort.h"

#include <cstdio>

FakePort::FakePort() {
    gnPort::use(this);
}

FakePort::~FakePort() {
    if (hasVideo())
        closeVideo();
    gnPort::use(nullptr);
}

void FakePort::updateRect(int32_t x, int32_t y, uint32_t w, uint32_t h) {
    char line[80];
    snprintf(line, sizeof line, "update %d %d %u %u", x, y, w, h);
    log.push_back(line);
    gnPort::updateRect(x, y, w, h);
}

void FakePort::present() {
    log.push_back("present");
    gnPort::present();
    if (afterPresent)
        afterPresent();
}

uint32_t FakePort::getMouseState(int* x, int* y) {
    if (x)
        *x = mouseX;
    if (y)
        *y = mouseY;
    return mouseButtons;
}

bool FakePort::isKeyHeld(SDL_Keycode key) {
    return held.count(key) != 0;
}

void FakePort::delay(uint32_t ms) {
    sleeps.push_back(ms);
    log.push_back("delay " + std::to_string(ms));
    now += ms;
    if (afterDelay)
        afterDelay(ms);
}

void FakePort::showWindowAreas(const SDL_Rect* areas, int count) {
    for (int i = 0; i < count; ++i)
        windows.push_back(std::to_string(areas[i].x) + " " + std::to_string(areas[i].y) + " " +
                          std::to_string(areas[i].w) + " " + std::to_string(areas[i].h));
    gnPort::showWindowAreas(areas, count);
}

std::vector<std::string> FakePort::updates() const {
    std::vector<std::string> result;
    for (const std::string& line : log)
        if (line.rfind("update", 0) == 0)
            result.push_back(line);
    return result;
}

int FakePort::presents() const {
    int count = 0;
    for (const std::string& line : log)
        count += line == "present";
    return count;
}

namespace {

void pushKey(Uint32 type, SDL_Keycode key, bool repeat = false) {
    SDL_Event event = {};
    event.type = type;
    event.key.repeat = repeat ? 1 : 0;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    SDL_PushEvent(&event);
}

}  // namespace

void pushKeyDown(SDL_Keycode key) {
    pushKey(SDL_KEYDOWN, key);
}

void pushKeyRepeat(SDL_Keycode key) {
    pushKey(SDL_KEYDOWN, key, true);
}

void pushKeyUp(SDL_Keycode key) {
    pushKey(SDL_KEYUP, key);
}

void pushQuit() {
    SDL_Event event = {};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void pushMouseMotion(int x, int y) {
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    SDL_PushEvent(&event);
}

void pushUserEvent(int code) {
    SDL_Event event = {};
    event.type = SDL_USEREVENT;
    event.user.code = code;
    SDL_PushEvent(&event);
}

void flushEvents() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}
