#pragma once
// The playlist comparison window. Created at start, shown on demand.

#include <QDialog>

namespace listora {

class TForm6 : public QDialog {
public:
    explicit TForm6(QWidget* parent = nullptr) : QDialog(parent) { setWindowTitle(QStringLiteral("比較")); }
};

}  // namespace listora
