#include "SolrindPGameShell.h"

#include "port/gnPort.h"

SolrindPGameShell::SolrindPGameShell() = default;

SolrindPGameShell::~SolrindPGameShell() = default;

void SolrindPGameShell::userExec(int, char**) {}

void SolrindPGameShell::waitFrame() {
    gnPort& port = gnPort::get();
    const uint32_t now = port.getTicks();
    // Modular distance to the deadline: a deadline behind us, also across the 49-day wrap of
    // the counter, is never more than one frame ahead, so it cannot cause a long sleep.
    const uint32_t remaining = nextFrameTicks - now;
    if (remaining != 0 && remaining <= kFrameMs)
        port.delay(remaining);
    nextFrameTicks = now + kFrameMs;
}
