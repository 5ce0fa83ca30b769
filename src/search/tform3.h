#pragma once
// The search window. The instance made at start stays hidden; the open command makes its own.

#include <QDialog>

namespace listora {

class TForm3 : public QDialog {
public:
    explicit TForm3(QWidget* parent = nullptr) : QDialog(parent) { setWindowTitle(QStringLiteral("検索")); }
};

}  // namespace listora
