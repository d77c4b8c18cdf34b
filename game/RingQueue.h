// A fixed ring of up to 100 untyped pointer slots with a moving start. The board keeps the
// pieces that are off the board in it. Its order is exact and not first-in first-out: an
// element lands in the last empty slot of the ring order seen from head.
#pragma once

#include <cstdint>

class RingQueue {
  public:
    static constexpr int32_t kSlotsMax = 100;

    RingQueue();
    virtual ~RingQueue();  // the elements are not owned

    // Raises BOUNDS above 100; otherwise sets the capacity and clears.
    void setCapacity(int32_t n);
    void clear();  // all slots empty, head 0
    // Stores elem (never null) in the first empty slot from head - 1 down to 0, then from
    // capacity - 1 down to head. Raises BOUNDS when full.
    void addElem(void* elem);
    // Takes the first element from head up, wrapping round; head becomes its slot.
    void* removeElem();
    int32_t count() const;
    // Swaps every slot with one drawn by rand(), one draw per slot in slot order.
    void unsort();

    int32_t head;            // where the next search starts; the slot of the last removal
    int32_t capacity;        // slots in use, 0 to 100
    void* slots[kSlotsMax];  // null means empty
};
