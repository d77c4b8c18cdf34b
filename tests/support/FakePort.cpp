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
    *x = mouseX;
    *y = mouseY;
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

int FakePort::presents() const {
    return static_cast<int>(std::count(log.begin(), log.end(), "present"));
}

namespace {

void push(SDL_Event event) {
    SDL_PushEvent(&event);
}

}  // namespace

void pushKey(Uint32 type, SDL_Keycode key, bool repeat) {
    SDL_Event event = {};
    event.type = type;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    push(event);
}

void pushQuit() {
    SDL_Event event = {};
    event.type = SDL_QUIT;
    push(event);
}

void pushMouseMotion(int x, int y, uint32_t buttons, Uint32 which) {
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.which = which;
    event.motion.x = x;
    event.motion.y = y;
    event.motion.state = buttons;
    push(event);
}

void pushMouseButton(Uint32 type, int x, int y, Uint8 button, Uint32 which) {
    SDL_Event event = {};
    event.type = type;
    event.button.which = which;
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    push(event);
}

void pushUserEvent(int code) {
    SDL_Event event = {};
    event.type = SDL_USEREVENT;
    event.user.code = code;
    push(event);
}

void flushEvents() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}
