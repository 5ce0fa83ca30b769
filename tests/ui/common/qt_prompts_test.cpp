#include "ui/common/qt_prompts.h"

#include "support/temp_dir.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace listora {
namespace {

QStringList buttonTexts(const QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* button : box.buttons()) texts << button->text();
    texts.sort();
    return texts;
}

QStringList sorted(QStringList texts) {
    texts.sort();
    return texts;
}

TEST(QtPrompts, QuestionsOfferTheirButtonsWithYesAsDefault) {
    auto all = makeQuestionBox(QMessageBox::Question, "確認", "q", Buttons::YesNoCancel, nullptr);
    EXPECT_EQ(all->windowTitle(), "確認");
    EXPECT_EQ(buttonTexts(*all), sorted({"はい(&Y)", "いいえ(&N)", "キャンセル"}));
    EXPECT_EQ(all->defaultButton()->text(), "はい(&Y)");
    EXPECT_EQ(all->escapeButton()->text(), "キャンセル");

    auto yesNo = makeQuestionBox(QMessageBox::Question, "確認", "q", Buttons::YesNo, nullptr);
    EXPECT_EQ(yesNo->escapeButton()->text(), "いいえ(&N)");  // Escape answers No where there is no Cancel

    auto warning = makeQuestionBox(QMessageBox::Warning, "警告", "q", Buttons::YesCancel, nullptr);
    EXPECT_EQ(buttonTexts(*warning), sorted({"はい(&Y)", "キャンセル"}));
    EXPECT_EQ(warning->escapeButton()->text(), "キャンセル");

    EXPECT_EQ(answerOf(*all), Answer::Cancel);  // closed without a click
    all->defaultButton()->click();
    EXPECT_EQ(answerOf(*all), Answer::Yes);
}

TEST(QtPrompts, NoticesAreCaptionedWithTheProgramAndHaveOneOk) {
    auto box = makeNoticeBox(QMessageBox::Critical, "ファイル x は開けません.", nullptr);
    EXPECT_EQ(box->windowTitle(), "Listora");
    EXPECT_EQ(buttonTexts(*box), QStringList{"OK"});
    EXPECT_EQ(box->text(), "ファイル x は開けません.");
}

TEST(QtPrompts, FileDialogsShowTheCaptionsAndFilterByTheirPatterns) {
    FileDialogRequest request;
    request.filters = {{"プレイリスト（絶対パス）(*.m3u)", "*.m3u"}, {"プレイリスト（相対パス）（*.m3u）", "*.m3u"}};
    request.filterIndex = 2;
    request.fileName = "/tmp/新規プレイリスト";
    request.defaultExtension = "m3u";
    auto dialog = makeFileDialog(request, true, nullptr);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->defaultSuffix(), "m3u");
    EXPECT_TRUE(dialog->testOption(QFileDialog::HideNameFilterDetails));
    EXPECT_EQ(dialog->selectedNameFilter(), "プレイリスト（相対パス）（*.m3u）");  // shown as the caption alone
    EXPECT_EQ(chosenFilterIndex(request, *dialog), 2);
    dialog->selectNameFilter(dialog->nameFilters()[0]);
    EXPECT_EQ(dialog->selectedNameFilter(), "プレイリスト（絶対パス）(*.m3u)");
    EXPECT_EQ(chosenFilterIndex(request, *dialog), 1);
    EXPECT_EQ(dialog->directory().absolutePath(), "/tmp");
    // Each filter still ends in a pattern Qt can read.
    for (const QString& filter : dialog->nameFilters())
        EXPECT_TRUE(filter.endsWith(" (*.m3u)")) << filter.toStdString();
}

// Catches a name saved in another format than its filter says (the
// extension decides the format) and a typed ".m3u8" replaced.
TEST(QtPrompts, ASaveDialogsNameFollowsTheChosenFormat) {
    FileDialogRequest request;
    request.filters = {{"M3U", "*.m3u"}, {"PLS", "*.pls"}, {"All", "*"}};
    request.filterIndex = 2;
    request.fileName = "/tmp/list.m3u";
    request.defaultExtension = "m3u";
    auto dialog = makeFileDialog(request, true, nullptr);
    EXPECT_EQ(dialog->defaultSuffix(), "pls");
    emit dialog->filterSelected("PLS");
    EXPECT_EQ(dialog->selectedFiles().value(0), "/tmp/list.pls");
    emit dialog->filterSelected("M3U");
    EXPECT_EQ(dialog->defaultSuffix(), "m3u");
    EXPECT_EQ(dialog->selectedFiles().value(0), "/tmp/list.m3u");
    dialog->selectFile("mine.m3u8");
    EXPECT_EQ(dialog->selectedFiles().value(0), "/tmp/mine.m3u8");
    dialog->selectFile("plain");
    EXPECT_EQ(dialog->selectedFiles().value(0), "/tmp/plain.m3u");
}

TEST(QtPrompts, AFirstFileDialogStartsInTheCurrentDirectory) {
    test::TempDir dir;  // the current directory while it lives, as a read leaves the playlist's folder
    FileDialogRequest request;
    request.filters = {{"プレイリスト(*.m3u)", "*.m3u"}};
    // A dialog confirmed elsewhere makes Qt remember its folder for the next.
    request.fileName = "/listora-never-there.m3u";
    std::unique_ptr<QDialog> confirmed = makeFileDialog(request, true, nullptr);
    confirmed->accept();
    request.fileName = "新規プレイリスト";
    EXPECT_EQ(makeFileDialog(request, true, nullptr)->directory().absolutePath(), QDir::currentPath());
    request.fileName.clear();
    EXPECT_EQ(makeFileDialog(request, false, nullptr)->directory().absolutePath(), QDir::currentPath());
}

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(QtPrompts, TheWindowIsPaintedAsSoonAsAQuestionCloses) {
    QWidget window;
    window.resize(200, 100);
    window.show();
    QApplication::processEvents();
    PaintCounter counter;
    window.installEventFilter(&counter);
    QtPrompts prompts;
    prompts.setParentWidget(&window);
    QTimer::singleShot(0, [&counter] {
        counter.paints = 0;  // what the box's own showing caused does not count
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->escapeButton()->click();
    });
    EXPECT_EQ(prompts.confirm(Question::RewriteCopiedPaths, "q", Buttons::YesNo), Answer::No);
    EXPECT_GE(counter.paints, 1);  // before any event is handled
}

}  // namespace
}  // namespace listora
