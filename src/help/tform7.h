#pragma once
// The About window. Created at start, shown on demand.

#include <QDialog>

namespace listora {

class TForm7 : public QDialog {
public:
    explicit TForm7(QWidget* parent = nullptr) : QDialog(parent) { setWindowTitle(QStringLiteral("バージョン")); }
};

}  // namespace listora
