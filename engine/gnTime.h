// Time as the game counts it: milliseconds since the start, and sleeping. The frame pacing,
// the pauses of whole seconds and the seed of each round read it here.
#pragma once

#include <cstdint>

// Milliseconds since SDL started; wraps after 49 days.
uint32_t gnGetTicks();
// Sleeps; events that arrive meanwhile stay queued for the next handler.
void gnDelay(uint32_t ms);
