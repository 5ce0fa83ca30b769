#include "platform/read_ahead.h"

#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace listora {
namespace {

// Items come in the order made, and the room of one taken is made into
// again instead of new room for every item.
TEST(ReadAhead, GivesEveryItemInOrderAndReusesTheirRoom) {
    int made = 0;
    std::atomic<int> fresh = 0;
    ReadAhead<std::vector<int>> ahead([&](std::vector<int>& item) {
        if (made == 3000) return false;
        if (item.capacity() == 0) ++fresh;
        item.assign({made, -made});
        ++made;
        return true;
    });
    std::vector<int> item;
    for (int i = 0; i < 3000; ++i) {
        ASSERT_TRUE(ahead.next(item));
        ASSERT_EQ(item, (std::vector<int>{i, -i}));
    }
    EXPECT_FALSE(ahead.next(item));
    EXPECT_FALSE(ahead.next(item));  // and stays at the end
    EXPECT_LE(fresh, 5);             // the few on their way at once, not one an item
}

// A failure of the making comes after the items made before it; one left
// before its end stops without waiting for the items nobody takes.
TEST(ReadAhead, AFailureComesAfterTheItemsBeforeItAndALeftOneStops) {
    int made = 0;
    ReadAhead<int> failing([&](int& item) {
        if (made == 5) throw std::runtime_error("broken disk");
        item = made++;
        return true;
    });
    int item = -1;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(failing.next(item));
        EXPECT_EQ(item, i);
    }
    EXPECT_THROW(failing.next(item), std::runtime_error);

    std::atomic<int> begun = 0;
    {
        ReadAhead<int> left([&](int& next) {
            next = ++begun;
            return true;  // endless
        });
        ASSERT_TRUE(left.next(item));
        EXPECT_EQ(item, 1);
    }
    EXPECT_LE(begun, 4);
}

}  // namespace
}  // namespace listora
