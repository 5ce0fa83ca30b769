#pragma once
// The playback window. The instance made at start stays hidden; the open command makes its own.

#include <QDialog>

namespace listora {

class TForm4 : public QDialog {
public:
    explicit TForm4(QWidget* parent = nullptr) : QDialog(parent) { setWindowTitle(QStringLiteral("再生")); }
};

}  // namespace listora
