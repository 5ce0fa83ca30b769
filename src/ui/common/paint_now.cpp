#include "ui/common/paint_now.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <xcb/xcb.h>

namespace listora {
namespace {

xcb_connection_t* xConnection() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The window manager's frame around a top-level window; none without one.
xcb_window_t frameOf(xcb_connection_t* x, xcb_window_t window) {
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(x, xcb_query_tree(x, window), nullptr);
    if (!tree) return XCB_NONE;
    const xcb_window_t frame = tree->parent == tree->root ? XCB_NONE : tree->parent;
    std::free(tree);
    return frame;
}

bool viewable(xcb_connection_t* x, xcb_window_t window) {
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, window), nullptr);
    const bool shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    return shown;
}

}  // namespace

void paintShownWindowsNow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible()) window->repaint();
    // Qt sends what it drew to the X server when its event loop next runs,
    // which long work holds off: sent now, or the screen keeps showing what
    // was there (a closed box, old check marks) until the work ends.
    if (xcb_connection_t* x = xConnection()) xcb_flush(x);
}

// Notes the frame when the window is hidden, while its X window still is.
class PaintAfterClosing::FrameNote : public QObject {
public:
    xcb_window_t frame = XCB_NONE;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            auto* widget = static_cast<QWidget*>(watched);
            if (xcb_connection_t* x = xConnection(); x && widget->internalWinId())
                frame = frameOf(x, static_cast<xcb_window_t>(widget->internalWinId()));
        }
        return false;
    }
};

PaintAfterClosing::PaintAfterClosing(QWidget& window) : window_(window), note_(std::make_unique<FrameNote>()) {
    window_.installEventFilter(note_.get());
}

PaintAfterClosing::~PaintAfterClosing() { window_.removeEventFilter(note_.get()); }

void PaintAfterClosing::paintNow() {
    if (xcb_connection_t* x = xConnection(); x && note_->frame != XCB_NONE) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        while (viewable(x, note_->frame) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    paintShownWindowsNow();
}

}  // namespace listora
