#pragma once
// The name input window. Created at start, shown on demand.

#include <QDialog>

namespace listora {

class TForm8 : public QDialog {
public:
    explicit TForm8(QWidget* parent = nullptr) : QDialog(parent) { setWindowTitle(QStringLiteral("入力")); }
};

}  // namespace listora
