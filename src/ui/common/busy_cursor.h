#pragma once
// The busy cursor while long work holds the window (a walk, a move or a
// copy); the boxes shown meanwhile get the ordinary pointer back.

#include <QApplication>

namespace listora {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace listora
