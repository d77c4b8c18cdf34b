// The ring queue's exact, not first-in-first-out order and its errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "EngineFixture.h"
#include "RingQueue.h"

namespace {

// Distinct non-null elements to store.
int items[30];
void* item(int i) {
    return &items[i];
}
int which(void* elem) {
    return static_cast<int>(static_cast<int*>(elem) - items);
}

}  // namespace

TEST(RingQueue, WorkedExampleOfTheGame) {
    RingQueue queue;
    queue.setCapacity(24);
    for (int k = 0; k < 24; ++k)
        queue.addElem(item(k));
    for (int k = 0; k < 24; ++k)
        EXPECT_EQ(which(queue.slots[23 - k]), k);
    EXPECT_EQ(which(queue.removeElem()), 23);  // slots 0, 1 and 2
    EXPECT_EQ(which(queue.removeElem()), 22);
    EXPECT_EQ(which(queue.removeElem()), 21);
    EXPECT_EQ(queue.head, 2);
    const int x = 24, y = 25, z = 26;
    queue.addElem(item(x));
    EXPECT_EQ(which(queue.slots[1]), x);
    queue.addElem(item(y));
    EXPECT_EQ(which(queue.slots[0]), y);
    queue.addElem(item(z));
    EXPECT_EQ(which(queue.slots[2]), z);
    std::vector<int> order;
    while (queue.count() > 0)
        order.push_back(which(queue.removeElem()));
    std::vector<int> expected = {z};
    for (int slot = 3; slot <= 23; ++slot)
        expected.push_back(23 - slot);
    expected.push_back(y);
    expected.push_back(x);
    EXPECT_EQ(order, expected);
}

TEST(RingQueue, CapacityUpTo100) {
    RingQueue queue;
    EXPECT_EQ(queue.capacity, 0);
    EXPECT_EQ(queue.head, 0);
    queue.setCapacity(100);
    EXPECT_EQ(queue.capacity, 100);
    EXPECT_EQ(raisedBy([&] { queue.setCapacity(101); }),
              "Generic exception of type: BOUNDS raised: Out of bounds in the capacity of "
              "RingQueue!\n");
    EXPECT_EQ(queue.capacity, 100);
}

TEST(RingQueue, FullAndEmpty) {
    RingQueue queue;
    queue.setCapacity(3);
    EXPECT_EQ(queue.count(), 0);
    EXPECT_EQ(raisedBy([&] { queue.removeElem(); }),
              "Generic exception of type: BOUNDS raised: No elements left in RingQueue!\n");
    for (int i = 0; i < 3; ++i)
        queue.addElem(item(i));
    EXPECT_EQ(raisedBy([&] { queue.addElem(item(3)); }),
              "Generic exception of type: BOUNDS raised: RingQueue is full!\n");
    EXPECT_EQ(queue.count(), 3);
    queue.clear();
    EXPECT_EQ(queue.count(), 0);
    EXPECT_EQ(queue.head, 0);
}

TEST(RingQueue, RemovalMovesTheHeadAndAdditionsGoBehindIt) {
    RingQueue queue;
    queue.setCapacity(4);
    queue.slots[0] = item(0);
    queue.slots[2] = item(2);
    EXPECT_EQ(which(queue.removeElem()), 0);
    EXPECT_EQ(queue.head, 0);
    EXPECT_EQ(which(queue.removeElem()), 2);
    EXPECT_EQ(queue.head, 2);
    queue.addElem(item(9));
    EXPECT_EQ(which(queue.slots[1]), 9);
    queue.addElem(item(8));
    EXPECT_EQ(which(queue.slots[0]), 8);
    queue.addElem(item(7));  // then from the end down to head itself
    EXPECT_EQ(which(queue.slots[3]), 7);
    queue.addElem(item(6));
    EXPECT_EQ(which(queue.slots[2]), 6);
    EXPECT_EQ(which(queue.removeElem()), 6);  // the slot at head comes out next
}

TEST(RingQueue, UnsortDrawsOneNumberPerSlotAndKeepsTheCount) {
    RingQueue queue;
    queue.setCapacity(1);
    queue.addElem(item(0));
    srand(7);
    queue.unsort();
    EXPECT_EQ(which(queue.slots[0]), 0);

    queue.setCapacity(24);
    for (int k = 0; k < 20; ++k)
        queue.addElem(item(k));
    queue.removeElem();
    queue.removeElem();
    const int head = queue.head;
    srand(1234);
    std::vector<int> draws;
    for (int i = 0; i < 24; ++i)
        draws.push_back(rand() % 24);
    void* expected[24];
    for (int i = 0; i < 24; ++i)
        expected[i] = queue.slots[i];
    for (int i = 0; i < 24; ++i)
        std::swap(expected[i], expected[draws[i]]);
    srand(1234);
    queue.unsort();
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(queue.slots[i], expected[i]) << i;
    EXPECT_EQ(queue.count(), 18);
    EXPECT_EQ(queue.head, head);
}
