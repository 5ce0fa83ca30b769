#pragma once

#include <memory>

class QWidget;

namespace listora {

// Long work runs on the user-interface thread, so nothing paints until it
// ends; a box or menu that has just closed would stay drawn over the window
// meanwhile. This paints every shown window at once and sends the picture
// to the screen, without handling any other event.
void paintShownWindowsNow();

// On an X server with a window manager, a window's frame goes only when the
// window manager has seen the window go, and what the frame uncovers is
// cleared then, after the windows below have painted. This notes the frame
// of a shown window as it is hidden (its own window may be gone by the time
// the caller goes on), and paintShownWindowsNow once that frame is off the
// screen, waiting a fraction of a second at most.
class PaintAfterClosing {
public:
    explicit PaintAfterClosing(QWidget& window);
    ~PaintAfterClosing();
    PaintAfterClosing(const PaintAfterClosing&) = delete;
    PaintAfterClosing& operator=(const PaintAfterClosing&) = delete;

    void paintNow();

private:
    class FrameNote;
    QWidget& window_;
    std::unique_ptr<FrameNote> note_;
};

}  // namespace listora
