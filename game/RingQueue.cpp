#include "RingQueue.h"

#include <cstdlib>

#include "Random.h"

#include "gnExceptions.h"

RingQueue::RingQueue() : head(0), capacity(0), slots{} {}

RingQueue::~RingQueue() = default;

void RingQueue::setCapacity(int32_t n) {
    if (n > kSlotsMax)
        gnE::gnRaiseGeneric("BOUNDS", "Out of bounds in the capacity of RingQueue!");
    capacity = n;
    clear();
}

void RingQueue::clear() {
    for (int32_t i = 0; i < capacity; ++i)
        slots[i] = nullptr;
    head = 0;
}

void RingQueue::addElem(void* elem) {
    for (int32_t i = head - 1; i >= 0; --i)
        if (!slots[i]) {
            slots[i] = elem;
            return;
        }
    for (int32_t i = capacity - 1; i >= head; --i)
        if (!slots[i]) {
            slots[i] = elem;
            return;
        }
    gnE::gnRaiseGeneric("BOUNDS", "RingQueue is full!");
}

void* RingQueue::removeElem() {
    for (int32_t step = 0; step < capacity; ++step) {
        const int32_t i = (head + step) % capacity;
        if (slots[i]) {
            head = i;
            void* elem = slots[i];
            slots[i] = nullptr;
            return elem;
        }
    }
    gnE::gnRaiseGeneric("BOUNDS", "No elements left in RingQueue!");
}

int32_t RingQueue::count() const {
    int32_t n = 0;
    for (int32_t i = 0; i < capacity; ++i)
        n += slots[i] != nullptr;
    return n;
}

void RingQueue::unsort() {
    for (int32_t i = 0; i < capacity; ++i) {
        const int32_t j = gameRandom().next() % capacity;
        void* swapped = slots[i];
        slots[i] = slots[j];
        slots[j] = swapped;
    }
}
