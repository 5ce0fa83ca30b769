#include "core/app/settings_file.h"

#include "support/core_fixture.h"

namespace listora::test {
namespace {

using SettingsFile = CoreFixture;

TEST_F(SettingsFile, OnlyAnExactZeroOnTheFirstLineMeansSaveAutomatically) {
    const struct {
        std::string bytes;
        bool autoSave;
    } cases[] = {{"0\r\n", true},   {"0", true},       {"0\nanything", true}, {"1\r\n", false},
                 {"0 \r\n", false}, {"00\r\n", false}, {"\r\n0\r\n", false},  {" 0", false}};
    for (const auto& c : cases)
        EXPECT_EQ(readAutoSaveSetting(fs, prompts, dir.write("Inf.ini", c.bytes)), c.autoSave) << c.bytes;
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SettingsFile, FirstStartCreatesTheFileAndCloseRewritesIt) {
    const std::string path = dir.path("Inf.ini");
    EXPECT_FALSE(readAutoSaveSetting(fs, prompts, path));
    EXPECT_EQ(readFile(path), "1\r\n");
    writeAutoSaveSetting(fs, path, true);
    EXPECT_EQ(readFile(path), "0\r\n");
    EXPECT_TRUE(readAutoSaveSetting(fs, prompts, path));
}

TEST_F(SettingsFile, ProblemsAreShownAndStartGoesOnWithTheSettingOff) {
    const std::string empty = dir.write("empty/Inf.ini", "");
    const std::string folder = dir.makeFolder("folder/Inf.ini");
    const std::string unmakeable = dir.path("missing/Inf.ini");
    EXPECT_FALSE(readAutoSaveSetting(fs, prompts, empty));
    EXPECT_FALSE(readAutoSaveSetting(fs, prompts, folder));
    EXPECT_FALSE(readAutoSaveSetting(fs, prompts, unmakeable));
    EXPECT_EQ(prompts.shown, (std::vector<std::string>{
                                 "error: リストのインデックスが範囲を超えています (0)",
                                 "error: ファイル " + folder + " は開けません.",
                                 "error: ファイル " + unmakeable + " を作成できません.",
                             }));
    EXPECT_EQ(readFile(empty), "");  // left as it is until the close rewrites it
}

}  // namespace
}  // namespace listora::test
