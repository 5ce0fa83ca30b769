#pragma once
// The name input window: asks for a new folder's name or a file's new name.

#include "core/ports/choosers.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace listora {

class Prompts;

class TForm8 : public QDialog, public NameAsker {
    Q_OBJECT
public:
    explicit TForm8(Prompts& prompts, QWidget* parent = nullptr);

    std::optional<std::string> askName(NameMode mode, const std::string& name, const std::string& extension) override;

    // Shared with the opener: 0 or 3 while asking, 1 once a name is confirmed.
    NameMode mode() const { return mode_; }
    // Prepares the window as askName does, without showing it.
    void prepare(NameMode mode, const std::string& name, const std::string& extension);

    QLineEdit* nameBox() const { return nameBox_; }
    QLabel* extensionLabel() const { return extension_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();

    Prompts& prompts_;
    NameMode mode_ = NameMode::NewFolder;
    QLabel* prompt_ = nullptr;
    QLineEdit* nameBox_ = nullptr;
    QLabel* extension_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace listora
