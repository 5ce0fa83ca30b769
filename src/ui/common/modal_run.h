#pragma once
// Modal dialogs over the window the user is in, and the window painted
// again once the dialog is gone.

class QDialog;
class QWidget;

namespace listora {

// The window a box or dialog asked for now belongs to: the one the user is
// in (a search or playback window asks over itself), else `fallback`.
QWidget* askingWindow(QWidget* fallback);

// Runs `dialog` modally over askingWindow (placed over it and transient for
// it also when the dialog belongs to another window), so the window manager
// hands the focus back to that window when it closes; then paints what it
// uncovered (see PaintAfterClosing). Gives what exec() gives.
int runModal(QDialog& dialog);

}  // namespace listora
