#pragma once
// Message boxes and file dialogs as Qt shows them, with the program's own
// captions and button texts.

#include "core/ports/prompts.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <memory>

class QFileDialog;

namespace listora {

// The boxes are built apart from showing them so that their buttons,
// default and escape answers can be checked without a person.
std::unique_ptr<QMessageBox> makeQuestionBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                             Buttons buttons, QWidget* parent);
Answer answerOf(const QMessageBox& box);
std::unique_ptr<QMessageBox> makeNoticeBox(QMessageBox::Icon icon, const QString& text, QWidget* parent);
std::unique_ptr<QFileDialog> makeFileDialog(const FileDialogRequest& request, bool save, QWidget* parent);
// The 1-based index of the filter the user left the dialog on.
int chosenFilterIndex(const FileDialogRequest& request, const QFileDialog& dialog);

class QtPrompts : public Prompts {
public:
    void setParentWidget(QWidget* parent) { parent_ = parent; }

    void information(const std::string& text) override;
    Answer confirm(Question question, const std::string& text, Buttons buttons) override;
    Answer warn(Question question, const std::string& text, Buttons buttons) override;
    void error(const std::string& text) override;
    std::optional<FileChoice> askOpenFile(const FileDialogRequest& request) override;
    std::optional<FileChoice> askSaveFile(const FileDialogRequest& request) override;

private:
    std::optional<FileChoice> runFileDialog(const FileDialogRequest& request, bool save);

    QPointer<QWidget> parent_;
};

}  // namespace listora
