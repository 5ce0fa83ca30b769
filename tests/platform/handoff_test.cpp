#include "platform/handoff.h"

#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace listora {
namespace {

TEST(Handoff, WorksEveryItemInTheOrderHanded) {
    std::vector<int> done;
    Handoff<std::vector<int>> handoff(
        [&](std::vector<int>& items) { done.insert(done.end(), items.begin(), items.end()); });
    std::vector<int> expected;
    for (int i = 0; i < 2000; ++i) {
        handoff.hand({i, -i});
        expected.insert(expected.end(), {i, -i});
    }
    handoff.finish();
    EXPECT_EQ(done, expected);
}

// A failure of the work comes back to the one handing, at the latest when
// it finishes, and nothing is worked after it; a handoff left without
// finishing drops what waits and returns.
TEST(Handoff, AFailureComesBackAndNothingIsWorkedAfterIt) {
    std::atomic<int> worked = 0;
    Handoff<int> failing([&](int& item) {
        if (item == 3) throw std::runtime_error("no room");
        ++worked;
    });
    bool thrown = false;
    try {
        for (int i = 0; i < 100; ++i) failing.hand(i);
        failing.finish();
    } catch (const std::runtime_error& error) {
        thrown = true;
        EXPECT_STREQ(error.what(), "no room");
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(worked, 3);

    std::atomic<int> begun = 0;
    {
        Handoff<int> left([&](int&) { ++begun; });
        for (int i = 0; i < 10; ++i) left.hand(i);
    }
    EXPECT_LE(begun, 10);
}

}  // namespace
}  // namespace listora
