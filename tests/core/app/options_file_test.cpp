#include "core/app/options_file.h"

#include "core/errors/errors.h"
#include "support/core_fixture.h"

namespace listora::test {
namespace {

using OptionsFile = CoreFixture;

// Catches lost lines of other keys, a duplicate key left to contradict the
// one written, and a default other than off.
TEST_F(OptionsFile, WritingOneKeyKeepsTheRest) {
    const std::string path = dir.path("Options.ini");
    EXPECT_FALSE(readOptionFlag(fs, path, kReadTagsOnAddKey));
    writeOptionFlag(fs, path, kReadTagsOnAddKey, true);
    EXPECT_EQ(readFile(path), "ReadTagsOnAdd=1\r\n");
    EXPECT_TRUE(readOptionFlag(fs, path, kReadTagsOnAddKey));

    dir.write("Options.ini", "# mine\nOther=x\nReadTagsOnAdd=1\nReadTagsOnAddMore=1\nReadTagsOnAdd=1\n");
    writeOptionFlag(fs, path, kReadTagsOnAddKey, false);
    EXPECT_EQ(readFile(path), crlf({"# mine", "Other=x", "ReadTagsOnAdd=0", "ReadTagsOnAddMore=1"}));
    EXPECT_FALSE(readOptionFlag(fs, path, kReadTagsOnAddKey));
    EXPECT_FALSE(readOptionFlag(fs, dir.write("odd.ini", "ReadTagsOnAdd=yes\n"), kReadTagsOnAddKey));
}

// Catches a file that cannot be read being replaced by one holding only
// this key.
TEST_F(OptionsFile, AnUnreadableFileIsNotOverwritten) {
    const std::string folder = dir.makeFolder("Options.ini");
    EXPECT_FALSE(readOptionFlag(fs, folder, kReadTagsOnAddKey));
    EXPECT_THROW(writeOptionFlag(fs, folder, kReadTagsOnAddKey, true), ListoraError);
    EXPECT_THROW(writeOptionFlag(fs, dir.path("missing/Options.ini"), kReadTagsOnAddKey, true), ListoraError);
}

}  // namespace
}  // namespace listora::test
