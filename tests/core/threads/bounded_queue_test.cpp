// Catches items lost, reordered or delivered after the queue was ended, a
// failure that overtakes the items before it, a producer left hanging on a
// full queue nobody empties, and a queue that grows without bound.
#include "core/threads/bounded_queue.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <vector>

namespace listora {
namespace {

TEST(BoundedQueue, PassesEveryItemInOrderThenTheFailureItWasClosedWith) {
    for (const bool fails : {false, true}) {
        BoundedQueue<std::vector<int>> queue;
        std::thread producer([&] {
            for (int i = 0; i < 2000; ++i) {
                std::vector<int> item{i, -i};
                if (!queue.push(item)) return;
            }
            queue.close(fails ? std::make_exception_ptr(std::runtime_error("broken disk")) : nullptr);
        });
        std::vector<int> item;
        for (int i = 0; i < 2000; ++i) {
            ASSERT_TRUE(queue.pop(item));
            ASSERT_EQ(item, (std::vector<int>{i, -i}));
        }
        if (fails) {
            EXPECT_THROW(queue.pop(item), std::runtime_error);
        } else {
            EXPECT_FALSE(queue.pop(item));
            EXPECT_FALSE(queue.pop(item));  // and stays at the end
        }
        producer.join();
    }
}

// A consumer that stops drops what waits and wakes a producer blocked on
// the full queue, which learns why; at most `places` items ever wait.
TEST(BoundedQueue, AnAbandonedQueueDropsWhatWaitsAndFreesItsProducer) {
    BoundedQueue<int> queue(2);
    std::atomic<int> pushed = 0;
    std::atomic<bool> refused = false;
    std::thread producer([&] {
        for (int i = 0; i < 10; ++i) {
            if (!queue.push(i)) {
                refused = true;
                return;
            }
            ++pushed;
        }
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pushed < 2 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(pushed, 2);  // the third push waits for a place

    queue.abandon(std::make_exception_ptr(std::runtime_error("no room")));
    producer.join();
    EXPECT_TRUE(refused);
    EXPECT_EQ(pushed, 2);
    int item = -1;
    EXPECT_THROW(queue.pop(item), std::runtime_error);  // the two waiting were dropped
    EXPECT_EQ(item, -1);
    EXPECT_TRUE(queue.failure());
}

}  // namespace
}  // namespace listora
