#include "fileops/tform2.h"
#include "fileops/tform8.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

class ScriptedNameAsker : public NameAsker {
public:
    std::optional<std::string> next;
    int asked = 0;
    std::optional<std::string> askName(int, const std::string&, const std::string&) override {
        ++asked;
        return next;
    }
};

TEST(NameInput, RefusesAnEmptyNameAndStaysOpen) {
    ScriptedPrompts prompts;
    TForm8 form(prompts);
    form.prepare(kNameNewFolder, "", "");
    form.show();
    form.okButton()->click();
    EXPECT_EQ(prompts.shown, std::vector<std::string>{"info: 新規フォルダ名を入力してください"});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.mode(), kNameNewFolder);

    QTest::keyClicks(form.nameBox(), "new folder");
    form.okButton()->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.mode(), kNameConfirmed);
}

TEST(NameInput, CancelLeavesTheModeAndRenameShowsTheExtension) {
    ScriptedPrompts prompts;
    TForm8 form(prompts);
    EXPECT_EQ(form.findChild<QLabel*>("forbiddenCharacters")->text(), "\\ / : * ? \" < > ||");
    form.prepare(kNameRename, "a.b", ".mp3");
    form.show();
    EXPECT_EQ(form.nameBox()->text(), "a.b");
    EXPECT_EQ(form.extensionLabel()->text(), ".mp3");
    form.cancelButton()->click();
    EXPECT_EQ(form.mode(), kNameRename);

    form.prepare(kNameNewFolder, "", ".mp3");
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
    form.preparePick(kPurposeGather);
    form.show();
    form.selectFolder(dir.path("music/rock"));
    EXPECT_EQ(form.chosenPath(), dir.path("music/rock"));
    form.noButton()->click();
    EXPECT_EQ(form.pickResult(), std::nullopt);
    EXPECT_EQ(form.purpose(), kPurposeGather);  // "No." leaves the purpose as it was

    form.preparePick(kPurposeGather);
    form.show();
    form.okButton()->click();
    EXPECT_EQ(form.pickResult(), dir.path("music/rock"));  // the selection survives between uses
    EXPECT_EQ(form.purpose(), kPurposeDestination);
}

TEST_F(Chooser, NewFolderKeepsTheParentSelected) {
    dir.makeFolder("music/taken");
    form.preparePick(kPurposeDestination);
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
    EXPECT_EQ(names.asked, 3);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path("music")), {}), 2);
    form.okButton()->click();
    EXPECT_EQ(form.pickResult(), dir.path("music"));
}

}  // namespace
}  // namespace listora::test
