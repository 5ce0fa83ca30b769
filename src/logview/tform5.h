#pragma once
// The log viewer. Created at start, shown on demand.

#include <QDialog>

namespace listora {

class TForm5 : public QDialog {
public:
    explicit TForm5(QWidget* parent = nullptr) : QDialog(parent) { setWindowTitle(QStringLiteral("ログ")); }
};

}  // namespace listora
