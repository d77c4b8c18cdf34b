// The ring queue's exact, not first-in-first-out order, its shuffle and its errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "EngineFixture.h"
#include "RingQueue.h"

namespace {

int items[30];  // distinct non-null elements to store

int which(void* elem) {
    return static_cast<int>(static_cast<int*>(elem) - items);
}

}  // namespace

// The game's case: 24 added, three taken, three added back behind the head.
TEST(RingQueue, ElementsLandInTheLastEmptySlotSeenFromTheHead) {
    RingQueue queue;
    queue.setCapacity(24);
    for (int k = 0; k < 24; ++k)
        queue.addElem(&items[k]);
    for (int k = 0; k < 24; ++k)
        EXPECT_EQ(which(queue.slots[23 - k]), k);
    for (int k : {23, 22, 21})  // slots 0, 1 and 2
        EXPECT_EQ(which(queue.removeElem()), k);
    EXPECT_EQ(queue.head, 2);
    for (const auto& [k, slot] : {std::pair{24, 1}, {25, 0}, {26, 2}}) {  // then from the end
        queue.addElem(&items[k]);
        EXPECT_EQ(which(queue.slots[slot]), k);
    }
    std::vector<int> order;
    while (queue.count() > 0)
        order.push_back(which(queue.removeElem()));
    std::vector<int> expected = {26};
    for (int slot = 3; slot <= 23; ++slot)
        expected.push_back(23 - slot);
    expected.push_back(25);
    expected.push_back(24);
    EXPECT_EQ(order, expected);
}

// Unsort shuffles every slot, the empty ones too, and keeps the count and the head.
TEST(RingQueue, UnsortShufflesTheSlotsAndKeepsCountAndHead) {
    RingQueue queue;
    queue.setCapacity(24);
    for (int k = 0; k < 20; ++k)
        queue.addElem(&items[k]);
    queue.removeElem();
    queue.removeElem();
    const int head = queue.head;
    const std::vector<void*> before(queue.slots, queue.slots + 24);
    srand(1234);
    queue.unsort();
    const std::vector<void*> after(queue.slots, queue.slots + 24);
    EXPECT_TRUE(std::is_permutation(after.begin(), after.end(), before.begin()));
    EXPECT_NE(after, before);
    EXPECT_EQ(queue.count(), 18);
    EXPECT_EQ(queue.head, head);
}

TEST(RingQueue, CapacityFullAndEmpty) {
    RingQueue queue;
    queue.setCapacity(100);
    const std::string bounds = "Generic exception of type: BOUNDS raised: ";
    EXPECT_EQ(raisedBy([&] { queue.setCapacity(101); }),
              bounds + "Out of bounds in the capacity of RingQueue!\n");
    EXPECT_EQ(queue.capacity, 100);
    queue.setCapacity(3);
    EXPECT_EQ(raisedBy([&] { queue.removeElem(); }), bounds + "No elements left in RingQueue!\n");
    for (int i = 0; i < 3; ++i)
        queue.addElem(&items[i]);
    EXPECT_EQ(raisedBy([&] { queue.addElem(&items[3]); }), bounds + "RingQueue is full!\n");
    EXPECT_EQ(queue.count(), 3);
    queue.removeElem();
    queue.clear();
    EXPECT_EQ(queue.count(), 0);
    EXPECT_EQ(queue.head, 0);
}
