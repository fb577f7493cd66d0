#include "link/SendQueue.h"

#include <gtest/gtest.h>

TEST(SendQueue, KeepsTheOrderAcrossItsEndAndLetsBytesGoOnlyOnceWritten)
{
    SendQueue queue;
    quint8 bytes[SendQueue::Capacity];
    for (int round = 0; round < 3; ++round) { // the third round wraps around the end
        for (int i = 0; i < 200; ++i) {
            ASSERT_FALSE(queue.Full());
            queue.Put(quint8(round + i));
        }
        EXPECT_EQ(queue.Peek(bytes), 200);
        EXPECT_EQ(queue.Peek(bytes), 200) << "nothing goes before it is written";
        queue.Taken(150);
        ASSERT_EQ(queue.Peek(bytes), 50);
        EXPECT_EQ(bytes[0], quint8(round + 150));
        queue.Taken(50);
        EXPECT_FALSE(queue.Pending());
    }
    for (int i = 0; i < SendQueue::Capacity; ++i)
        queue.Put(quint8(i));
    EXPECT_TRUE(queue.Full());
}

TEST(SendQueue, APutWakesTheWorkerOnlyWhenItSleeps)
{
    SendQueue queue;
    EXPECT_FALSE(queue.Put(1)) << "awake";
    EXPECT_FALSE(queue.Sleep()) << "a byte waits: it stays awake";
    EXPECT_FALSE(queue.Put(2));
    queue.Taken(2);
    EXPECT_TRUE(queue.Sleep());
    EXPECT_TRUE(queue.Put(3));
    EXPECT_FALSE(queue.Put(4)) << "one wake-up for the stream";

    EXPECT_FALSE(queue.WindowWaited());
    queue.WindowWaits();
    EXPECT_TRUE(queue.WindowWaited());
    EXPECT_FALSE(queue.WindowWaited()) << "told once";
}
