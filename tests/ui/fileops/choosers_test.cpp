#include "support/scripted_choosers.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "ui/fileops/folder_chooser_window.h"
#include "ui/fileops/name_input_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

TEST(NameInput, RefusesAnEmptyNameAndStaysOpen) {
    ScriptedPrompts prompts;
    TForm8 form(prompts);
    form.prepare(NameMode::NewFolder, "", "");
    form.show();
    form.okButton()->click();
    EXPECT_EQ(prompts.shown, std::vector<std::string>{"info: 新規フォルダ名を入力してください"});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.mode(), NameMode::NewFolder);

    QTest::keyClicks(form.nameBox(), "new folder");
    form.okButton()->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.mode(), NameMode::Confirmed);
}

TEST(NameInput, CancelLeavesTheModeAndRenameShowsTheExtension) {
    ScriptedPrompts prompts;
    TForm8 form(prompts);
    EXPECT_EQ(form.findChild<QLabel*>("forbiddenCharacters")->text(), "\\ / : * ? \" < > ||");
    form.prepare(NameMode::Rename, "a.b", ".mp3");
    form.show();
    EXPECT_EQ(form.nameBox()->text(), "a.b");
    EXPECT_EQ(form.extensionLabel()->text(), ".mp3");
    form.cancelButton()->click();
    EXPECT_EQ(form.mode(), NameMode::Rename);

    form.prepare(NameMode::NewFolder, "", ".mp3");
    form.show();
    EXPECT_EQ(form.extensionLabel()->text(), "");  // a folder has no extension
}

class Chooser : public testing::Test {
protected:
    void SetUp() override { form.setNameAsker(&names); }

    TempDir dir;
    ScriptedNameAsker names;
    TForm2 form;
};

TEST_F(Chooser, DeliversTheSelectedFolderOnlyThroughOk) {
    dir.makeFolder("music/rock");
    form.preparePick(FolderPurpose::Gather);
    form.show();
    form.selectFolder(dir.path("music/rock"));
    EXPECT_EQ(form.chosenPath(), dir.path("music/rock"));
    form.noButton()->click();
    EXPECT_EQ(form.pickResult(), std::nullopt);
    EXPECT_EQ(form.purpose(), FolderPurpose::Gather);  // "No." leaves the purpose as it was

    form.preparePick(FolderPurpose::Gather);
    form.show();
    form.okButton()->click();
    EXPECT_EQ(form.pickResult(), dir.path("music/rock"));  // the selection survives between uses
    EXPECT_EQ(form.purpose(), FolderPurpose::Destination);
}

TEST_F(Chooser, NewFolderKeepsTheParentSelected) {
    dir.makeFolder("music/taken");
    form.preparePick(FolderPurpose::Destination);
    form.show();
    form.selectFolder(dir.path("music"));

    names.next = "fresh";
    form.newFolderButton()->click();
    EXPECT_TRUE(std::filesystem::is_directory(dir.path("music/fresh")));
    EXPECT_EQ(form.chosenPath(), dir.path("music"));

    names.next = "taken";  // already there: nothing happens, nothing is said
    form.newFolderButton()->click();
    names.next = std::nullopt;
    form.newFolderButton()->click();
    EXPECT_EQ(names.asked.size(), 3u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path("music")), {}), 2);
    form.okButton()->click();
    EXPECT_EQ(form.pickResult(), dir.path("music"));
}

TEST_F(Chooser, NamesThatLeaveTheFolderMakeNothingAndAddNoChild) {
    dir.makeFolder("top/music");
    form.preparePick(FolderPurpose::Destination);
    form.show();
    form.selectFolder(dir.path("top/music"));
    QAbstractItemModel* model = form.tree()->model();
    const QModelIndex music = form.tree()->currentIndex();
    for (const char* name : {"../escape", "a/b", "..", "."}) {
        names.next = name;
        form.newFolderButton()->click();
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path("top/escape")));
    EXPECT_FALSE(std::filesystem::exists(dir.path("top/music/a")));
    EXPECT_EQ(model->rowCount(music), 0);
    EXPECT_EQ(form.chosenPath(), dir.path("top/music"));
}

}  // namespace
}  // namespace listora::test
