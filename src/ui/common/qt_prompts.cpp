#include "ui/common/qt_prompts.h"

#include "ui/common/modal_run.h"
#include "ui/common/text_bridge.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <algorithm>

namespace listora {
namespace {

// Qt reads a filter's patterns from its last "(…)", and the relative-path
// caption ends in full-width brackets it cannot read; so every caption gets
// its pattern appended and the dialog is told to show only the caption.
QString qtNameFilter(const FileFilter& filter) { return toQt(filter.caption) + " (" + toQt(filter.pattern) + ")"; }

// The 1-based index of the filter the dialog reports as `selected`, 0 for
// none. With the details hidden the dialog reports the caption it shows.
int filterIndexOf(const FileDialogRequest& request, const QString& selected) {
    for (std::size_t i = 0; i < request.filters.size(); ++i) {
        if (selected == toQt(request.filters[i].caption).simplified() || selected == qtNameFilter(request.filters[i]))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

// "*.pls" → "pls"; nothing for a pattern of several or none.
QString extensionOfPattern(const std::string& pattern) {
    const QString text = toQt(pattern);
    if (!text.startsWith("*.") || text.count('*') != 1 || text.contains(' ')) return {};
    return text.mid(2);
}

// Choosing another format's filter gives the name being typed that format's
// extension, so that "list" or "list.m3u" under the PLS filter is saved as
// "list.pls": the name's extension is what decides the format.
void followFilterWithSuffix(QFileDialog& dialog, const FileDialogRequest& request) {
    if (request.filterIndex >= 1 && static_cast<std::size_t>(request.filterIndex) <= request.filters.size()) {
        const QString extension = extensionOfPattern(request.filters[request.filterIndex - 1].pattern);
        if (!extension.isEmpty()) dialog.setDefaultSuffix(extension);
    }
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, request](const QString& selected) {
        const int index = filterIndexOf(request, selected);
        if (index == 0) return;
        const QString chosen = extensionOfPattern(request.filters[index - 1].pattern);
        if (chosen.isEmpty()) return;
        QStringList extensions;
        for (const FileFilter& filter : request.filters)
            if (const QString extension = extensionOfPattern(filter.pattern); !extension.isEmpty())
                extensions << extension;
        dialog.setDefaultSuffix(chosen);
        const QStringList typed = dialog.selectedFiles();
        if (typed.isEmpty()) return;
        const QFileInfo name(typed.front());
        if (extensions.contains(name.suffix(), Qt::CaseInsensitive) &&
            name.suffix().compare(chosen, Qt::CaseInsensitive) != 0)
            dialog.selectFile(name.completeBaseName() + "." + chosen);
    });
}

}  // namespace

std::unique_ptr<QMessageBox> makeQuestionBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                             Buttons buttons, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(icon, caption, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box->addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no =
        buttons == Buttons::YesCancel ? nullptr : box->addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    QPushButton* cancel =
        buttons == Buttons::YesNo ? nullptr : box->addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    yes->setObjectName("yes");
    if (no) no->setObjectName("no");
    if (cancel) cancel->setObjectName("cancel");
    box->setDefaultButton(yes);
    box->setEscapeButton(cancel ? static_cast<QAbstractButton*>(cancel) : no);
    return box;
}

Answer answerOf(const QMessageBox& box) {
    const QAbstractButton* clicked = box.clickedButton();
    if (!clicked) return Answer::Cancel;
    if (clicked->objectName() == "yes") return Answer::Yes;
    if (clicked->objectName() == "no") return Answer::No;
    return Answer::Cancel;
}

std::unique_ptr<QMessageBox> makeNoticeBox(QMessageBox::Icon icon, const QString& text, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(icon, QStringLiteral("Listora"), text, QMessageBox::NoButton, parent);
    QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    return box;
}

std::unique_ptr<QFileDialog> makeFileDialog(const FileDialogRequest& request, bool save, QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setOption(QFileDialog::HideNameFilterDetails, true);
    dialog->setOption(QFileDialog::ReadOnly, false);
    QStringList filters;
    for (const FileFilter& filter : request.filters) filters << qtNameFilter(filter);
    dialog->setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog->selectNameFilter(filters[request.filterIndex - 1]);
    dialog->setDefaultSuffix(toQt(request.defaultExtension));
    if (save) followFilterWithSuffix(*dialog, request);
    // A name without a folder (the first use) starts in the current
    // directory, which reading a playlist leaves in the playlist's folder;
    // a remembered path starts in its own folder.
    const QFileInfo remembered(toQt(request.fileName));
    dialog->setDirectory(remembered.isAbsolute() ? remembered.absolutePath() : QDir::currentPath());
    if (!request.fileName.empty()) dialog->selectFile(remembered.fileName());
    return dialog;
}

int chosenFilterIndex(const FileDialogRequest& request, const QFileDialog& dialog) {
    return std::max(filterIndexOf(request, dialog.selectedNameFilter()), 1);
}

namespace {

// A box shown during a long command (a walk under the busy cursor) gets the
// ordinary pointer while it waits for the user.
class PointerWhileAsking {
public:
    PointerWhileAsking() : busy_(QApplication::overrideCursor() != nullptr) {
        if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~PointerWhileAsking() {
        if (busy_) QApplication::restoreOverrideCursor();
    }
    PointerWhileAsking(const PointerWhileAsking&) = delete;
    PointerWhileAsking& operator=(const PointerWhileAsking&) = delete;

private:
    bool busy_;
};

}  // namespace

// Every box and dialog belongs to the window the user asked from; once it
// has closed, the windows are painted before the command goes on, so it
// does not stay drawn over them while a long copy runs.
void QtPrompts::information(const std::string& text) {
    PointerWhileAsking pointer;
    runModal(*makeNoticeBox(QMessageBox::NoIcon, toQt(text), askingWindow(parent_)));
}

void QtPrompts::error(const std::string& text) {
    PointerWhileAsking pointer;
    runModal(*makeNoticeBox(QMessageBox::Critical, toQt(text), askingWindow(parent_)));
}

Answer QtPrompts::confirm(Question, const std::string& text, Buttons buttons) {
    PointerWhileAsking pointer;
    auto box =
        makeQuestionBox(QMessageBox::Question, QStringLiteral("確認"), toQt(text), buttons, askingWindow(parent_));
    runModal(*box);
    return answerOf(*box);
}

Answer QtPrompts::warn(Question, const std::string& text, Buttons buttons) {
    PointerWhileAsking pointer;
    auto box =
        makeQuestionBox(QMessageBox::Warning, QStringLiteral("警告"), toQt(text), buttons, askingWindow(parent_));
    runModal(*box);
    return answerOf(*box);
}

std::optional<FileChoice> QtPrompts::askOpenFile(const FileDialogRequest& request) {
    return runFileDialog(request, false);
}

std::optional<FileChoice> QtPrompts::askSaveFile(const FileDialogRequest& request) {
    return runFileDialog(request, true);
}

std::optional<FileChoice> QtPrompts::runFileDialog(const FileDialogRequest& request, bool save) {
    PointerWhileAsking pointer;
    auto dialog = makeFileDialog(request, save, askingWindow(parent_));
    if (runModal(*dialog) != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
    FileChoice choice;
    choice.path = fromQt(dialog->selectedFiles().front());
    choice.filterIndex = chosenFilterIndex(request, *dialog);
    return choice;
}

}  // namespace listora
