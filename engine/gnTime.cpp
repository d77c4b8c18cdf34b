#include "gnTime.h"

#include "port/gnPort.h"

uint32_t gnGetTicks() {
    return gnPort::get().getTicks();
}

void gnDelay(uint32_t ms) {
    gnPort::get().delay(ms);
}
