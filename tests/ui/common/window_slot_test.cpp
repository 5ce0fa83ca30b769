#include "ui/common/window_slot.h"

#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

TEST(WindowSlot, OpensOneWindowRaisesItAgainAndEmptiesWhenItCloses) {
    WindowSlot slot;
    EXPECT_FALSE(slot.isOpen());
    int made = 0;
    const auto make = [&] {
        ++made;
        return new QWidget;
    };
    QWidget* first = slot.openOrRaise(make);
    EXPECT_TRUE(slot.isOpen());
    EXPECT_TRUE(first->isVisible());
    first->showMinimized();
    EXPECT_EQ(slot.openOrRaise(make), first);  // brought back, not made again
    EXPECT_EQ(made, 1);
    EXPECT_FALSE(first->isMinimized());

    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(slot.isOpen());  // closing destroyed it
    QWidget* second = slot.openOrRaise(make);
    EXPECT_EQ(made, 2);
    EXPECT_TRUE(slot.isOpen());
    delete second;
    EXPECT_FALSE(slot.isOpen());
}

}  // namespace
}  // namespace listora::test
