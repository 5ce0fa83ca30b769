#include "core/app/program_files.h"

#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

// A data folder named in LISTORA_HOME that is not there yet is made, so that
// Inf.ini can be written and the window can be closed.
TEST(ProgramFiles, MakesTheFolderThatListoraHomeNames) {
    TempDir dir;
    const std::string home = dir.path("not/yet/here");
    ::setenv("LISTORA_HOME", home.c_str(), 1);
    const ProgramFiles files = locateProgramFiles(dir.path());
    ::unsetenv("LISTORA_HOME");
    EXPECT_EQ(files.settingsFile, home + "/Inf.ini");
    EXPECT_EQ(files.logFolder, home + "/Log/");
    EXPECT_TRUE(std::filesystem::is_directory(home));
}

}  // namespace
}  // namespace listora::test
