// The base of every object that reacts to input, and the pump that hands SDL's queued events
// to one such handler. There is no current handler: events go to the object whose pollEvents
// or waitEvent is called.
#pragma once

#include <SDL.h>

#include <cstdint>

class gnInputHandler {
  public:
    gnInputHandler();
    virtual ~gnInputHandler();

    // Installs the event filter that admits every event; derived handlers extend it.
    virtual void activate();
    // Called once per event; the event is valid only during the call.
    virtual void handleEvent(SDL_Event* event) = 0;

    // Hands every queued event to handleEvent, also those queued meanwhile; returns when empty.
    // A key held down yields one key-down: SDL2's repeated key-downs are dropped.
    void pollEvents();
    // Blocks until an event other than a repeated key-down is queued and hands exactly that
    // one to handleEvent.
    void waitEvent();

  private:
    void deliver(SDL_Event& event);  // tracks the mouse, then handleEvent
};

// The mouse as the events handled so far leave it, in picture pixels, and SDL's button mask:
// a mouse event's own position and buttons; any other event keeps the last mouse event's.
uint32_t gnEventMouse(int* x, int* y);
// Milliseconds since the pump last handed over an event of a player's: a key, the mouse, a
// finger or typed text.
uint32_t gnInputIdleMs();

// The system's one event filter: queues every event.
int eventFilter(const SDL_Event* event);

// A termination request (SIGTERM from a service manager, SIGINT) ends the program without
// losing anything: the handlers, installed once before SDL starts, only note it; from then on
// every pump hands over a quit event and long sleeps end early.
void gnInstallTerminationHandlers();
bool gnTerminationRequested();
