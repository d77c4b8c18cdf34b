#include "gnInput.h"

#include "port/gnPort.h"

namespace {

// SDL2 repeats the key-down of a key that stays down; here one press is one key-down, so that
// holding a key acts once, as on the platform the game was made for.
bool isRepeat(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN && event.key.repeat != 0;
}

// After a termination request every pump starts with a quit event, so every loop of the game
// (menu, round, name entry) ends as it does on a quit.
void deliverTermination() {
    if (!gnPort::terminationRequested())
        return;
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

}  // namespace

void gnInstallTerminationHandlers() {
    gnPort::installTerminationHandlers();
}

bool gnTerminationRequested() {
    return gnPort::terminationRequested();
}

gnInputHandler::gnInputHandler() = default;

gnInputHandler::~gnInputHandler() = default;

void gnInputHandler::activate() {
    gnPort::get().setEventFilter(eventFilter);
}

void gnInputHandler::pollEvents() {
    deliverTermination();
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (!isRepeat(event))
            deliver(event);
}

void gnInputHandler::waitEvent() {
    deliverTermination();
    SDL_Event event;
    while (SDL_WaitEvent(&event))
        if (!isRepeat(event)) {
            deliver(event);
            return;
        }
}

void gnInputHandler::deliver(SDL_Event& event) {
    gnPort::get().trackMouse(event);  // also for handlers that do not read the mouse
    handleEvent(&event);
}

uint32_t gnEventMouse(int* x, int* y) {
    return gnPort::get().eventMouse(x, y);
}

uint32_t gnInputIdleMs() {
    return gnPort::get().inputIdleMs();
}

int eventFilter(const SDL_Event*) {
    return 1;
}
