#pragma once
// The folder chooser. Created at start and kept hidden until it has a purpose.

#include <QDialog>

namespace listora {

class TForm2 : public QDialog {
public:
    explicit TForm2(QWidget* parent = nullptr) : QDialog(parent) { setWindowTitle(QStringLiteral("選択")); }
};

}  // namespace listora
