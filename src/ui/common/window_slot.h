#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

namespace listora {

// Holds the one open instance of a modeless window. Opening makes a new
// window when none is open and brings the open one to the front otherwise;
// closing the window destroys it and so empties the slot. "Open" means
// exactly that the slot holds a window.
class WindowSlot {
public:
    // `make` builds the window; the slot shows it and owns its closing.
    QWidget* openOrRaise(const std::function<QWidget*()>& make);
    bool isOpen() const { return !window_.isNull(); }
    QWidget* window() const { return window_.data(); }

private:
    QPointer<QWidget> window_;
};

}  // namespace listora
