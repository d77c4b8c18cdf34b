#include "gnInput.h"

#include "port/gnPort.h"

gnInputHandler::gnInputHandler() = default;

gnInputHandler::~gnInputHandler() = default;

void gnInputHandler::activate() {
    gnPort::get().setEventFilter(eventFilter);
}

void gnInputHandler::pollEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        handleEvent(&event);
}

void gnInputHandler::waitEvent() {
    SDL_Event event;
    if (SDL_WaitEvent(&event))
        handleEvent(&event);
}

int eventFilter(const SDL_Event*) {
    return 1;
}
