#pragma once
// The About window: the program's icon, name and version, its maker and a
// link to its page. Created once and shown modally on demand.

#include "core/help/help_command.h"

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

namespace listora {

class FileSystem;
class Shell;

class TForm7 : public QDialog {
    Q_OBJECT
public:
    TForm7(FileSystem& fs, Shell& shell, std::string helpFile, QWidget* parent = nullptr);

    QLabel* linkLabel() const { return link_; }
    QPushButton* okButton() const { return ok_; }

private:
    FileSystem& fs_;
    Shell& shell_;
    std::string helpFile_;
    AboutInfo about_;
    QLabel* link_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace listora
