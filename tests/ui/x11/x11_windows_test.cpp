// What only a real X server with a window manager shows: a closed box's
// frame that stays on the screen while long work runs, and a box asked from
// a sub-window that goes to the main window and buries the sub-window.
#include "ui/common/modal_run.h"
#include "ui/common/qt_prompts.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>
#include <vector>
#include <xcb/xcb.h>

namespace listora::test {
namespace {

// A window painted in one colour, so what the screen shows of it is known.
class PlainWindow : public QWidget {
public:
    explicit PlainWindow(QColor colour) : colour_(colour) { resize(600, 400); }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour_); }

private:
    QColor colour_;
};

void showAndSettle(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::qWait(200);  // the window manager's frame and placement
}

xcb_connection_t* xConnection() { return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection(); }

// The window manager's frame around a shown top-level window.
xcb_window_t frameOf(const QWidget& window) {
    xcb_connection_t* x = xConnection();
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(x, xcb_query_tree(x, static_cast<xcb_window_t>(window.winId())), nullptr);
    const xcb_window_t frame = tree ? tree->parent : XCB_NONE;
    std::free(tree);
    return frame;
}

bool viewable(xcb_window_t window) {
    xcb_connection_t* x = xConnection();
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, window), nullptr);
    const bool shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    return shown;
}

// How many pixels of `area` of the screen are not `colour`, read on a
// connection of its own.
int pixelsNotOf(const QRect& area, const QColor& colour) {
    int screen = 0;
    xcb_connection_t* x = xcb_connect(nullptr, &screen);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    xcb_get_image_reply_t* image =
        xcb_get_image_reply(x,
                            xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, root, static_cast<int16_t>(area.x()),
                                          static_cast<int16_t>(area.y()), static_cast<uint16_t>(area.width()),
                                          static_cast<uint16_t>(area.height()), ~0u),
                            nullptr);
    int wrong = area.width() * area.height();
    if (image) {
        const uint8_t* pixel = xcb_get_image_data(image);  // blue, green, red and a spare byte a pixel
        wrong = 0;
        for (int i = 0; i < area.width() * area.height(); ++i, pixel += 4)
            wrong += pixel[2] != colour.red() || pixel[1] != colour.green() || pixel[0] != colour.blue();
        std::free(image);
    }
    xcb_disconnect(x);
    return wrong;
}

// What the test notes of the box the next question opens, which it
// accepts once the box is on the screen.
struct AskedBox {
    QWidget* owner = nullptr;
    xcb_window_t frame = XCB_NONE;
};

// With `slowWindowManager`, the window manager is held for 200 ms from the
// moment the box closes, as on a busy desktop: its frame then goes only
// after the program has gone back to its work.
void acceptNextBox(AskedBox& asked, bool slowWindowManager = false) {
    QTimer::singleShot(400, [&asked, slowWindowManager] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        asked.owner = box->parentWidget() ? box->parentWidget()->window() : nullptr;
        asked.frame = frameOf(*box);
        if (const char* wm = std::getenv("LISTORA_TEST_WM_PID"); wm && slowWindowManager) {
            const pid_t pid = std::atoi(wm);
            ::kill(pid, SIGSTOP);
            std::thread([pid] {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                ::kill(pid, SIGCONT);
            }).detach();
        }
        static_cast<QDialog*>(box)->accept();
    });
}

TEST(OnAnXServer, AClosedBoxIsGoneFromTheScreenWhileLongWorkRuns) {
    PlainWindow window(QColor(40, 160, 90));
    window.move(200, 150);
    showAndSettle(window);
    QtPrompts prompts;
    prompts.setParentWidget(&window);
    AskedBox asked;
    acceptNextBox(asked, true);
    prompts.confirm(Question::RewriteCopiedPaths, "プレイリストのフルパスを書き換えますか？", Buttons::YesNo);
    // Long work on this thread: no event is handled meanwhile.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    // The screen as another client sees it: asking on the program's own
    // connection would first send it what it has not sent yet.
    const QPoint corner = window.mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(pixelsNotOf(QRect(corner, window.size()), QColor(40, 160, 90)), 0)
        << "pixels of the window not its own after the box closed";
    // The window was painted only once the box's frame had gone, as what
    // the frame uncovers later is not painted until the work ends.
    ASSERT_NE(asked.frame, XCB_NONE);
    EXPECT_FALSE(viewable(asked.frame)) << "the box's frame is still on the screen";
}

TEST(OnAnXServer, ABoxAskedFromASubWindowBelongsToItAndLeavesItInFront) {
    PlainWindow main(QColor(200, 200, 200));
    main.move(100, 100);
    showAndSettle(main);
    QtPrompts prompts;
    prompts.setParentWidget(&main);
    QDialog sub(&main);
    sub.resize(300, 200);
    sub.move(500, 300);
    showAndSettle(sub);

    AskedBox asked;
    acceptNextBox(asked);
    prompts.error("原因不明のエラー.");
    EXPECT_EQ(asked.owner, &sub);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &sub; }, 3000))
        << "the sub-window is not in front after the box";
}

// Catches a dialog that opens higher the first time than later, when the
// window manager's frame is not known yet.
TEST(OnAnXServer, ADialogOpensInThePlaceEveryTime) {
    PlainWindow main(QColor(200, 200, 200));
    main.move(100, 100);
    showAndSettle(main);
    QDialog dialog(&main);
    dialog.setFixedSize(300, 200);
    std::vector<QRect> places;
    for (int opening = 0; opening < 2; ++opening) {
        QTimer::singleShot(400, [&] {
            places.push_back(dialog.geometry());
            dialog.accept();
        });
        runModal(dialog);
    }
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0], places[1]);
    EXPECT_EQ(places[0].center(), main.geometry().center());
}

}  // namespace
}  // namespace listora::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
