#include "core/paths/path_rules.h"

#include <gtest/gtest.h>
#include <random>

namespace listora {
namespace {

const PathRules kWindows(PathStyle::Windows, CodePage::Cp932);
const PathRules kPosix(PathStyle::Posix, CodePage::Utf8);

TEST(PathRules, RelativePathsOfWindowsPlaylists) {
    const std::string base = "C:\\Music\\Lists\\";
    EXPECT_EQ(kWindows.relativeTo("C:\\Music\\Lists\\a.mp3", base), "a.mp3");
    EXPECT_EQ(kWindows.relativeTo("C:\\Music\\Lists\\Live\\b.mp3", base), "Live\\b.mp3");
    EXPECT_EQ(kWindows.relativeTo("C:\\Music\\Rock\\c.mp3", base), "..\\Rock\\c.mp3");
    EXPECT_EQ(kWindows.relativeTo("C:\\Other\\d.mp3", base), "..\\..\\Other\\d.mp3");
    EXPECT_EQ(kWindows.relativeTo("D:\\e.mp3", base), "D:\\e.mp3");
    EXPECT_EQ(kWindows.relativeTo("C:\\A\\b.mp3", "C:\\"), "A\\b.mp3");
    // Drives and folders compare whatever their case.
    EXPECT_EQ(kWindows.relativeTo("c:\\MUSIC\\lists\\a.mp3", base), "a.mp3");
    EXPECT_EQ(kWindows.relativeTo("\\\\server\\share\\x\\a.mp3", "\\\\SERVER\\share\\y\\"), "..\\x\\a.mp3");
    EXPECT_EQ(kWindows.relativeTo("\\\\other\\share\\a.mp3", "\\\\server\\share\\"), "\\\\other\\share\\a.mp3");
}

TEST(PathRules, RelativePathsOnLinuxAreCaseSensitive) {
    const std::string base = "/music/lists/";
    EXPECT_EQ(kPosix.relativeTo("/music/lists/a.mp3", base), "a.mp3");
    EXPECT_EQ(kPosix.relativeTo("/music/lists/live/b.mp3", base), "live/b.mp3");
    EXPECT_EQ(kPosix.relativeTo("/music/rock/c.mp3", base), "../rock/c.mp3");
    EXPECT_EQ(kPosix.relativeTo("/other/d.mp3", base), "../../other/d.mp3");
    EXPECT_EQ(kPosix.relativeTo("/Music/lists/a.mp3", base), "../../Music/lists/a.mp3");
    EXPECT_EQ(kPosix.relativeTo("/a/b.mp3", "/"), "a/b.mp3");
    EXPECT_EQ(kPosix.relativeTo("b.mp3", base), "b.mp3");  // not absolute: left alone
}

TEST(PathRules, MakesPathsAbsoluteOnTheText) {
    const struct {
        std::string_view path, cwd, expected;
    } posix[] = {
        {"a.mp3", "/m/lists", "/m/lists/a.mp3"},
        {"../rock/./c.mp3", "/m/lists", "/m/rock/c.mp3"},
        {"/x//y/../z.mp3", "/m", "/x/z.mp3"},
        {"../../../../a.mp3", "/m", "/a.mp3"},
        {"live/", "/m", "/m/live/"},  // a trailing separator stays: the file name is empty
        {".", "/m/lists", "/m/lists"},
        {"/", "/m", "/"},
        {"", "/m", ""},
        {" ", "/m", "/m/ "},
    };
    for (const auto& c : posix) EXPECT_EQ(kPosix.makeAbsolute(c.path, c.cwd), c.expected) << c.path;

    const struct {
        std::string_view path, cwd, expected;
    } windows[] = {
        {"a.mp3", "C:\\Music\\Lists", "C:\\Music\\Lists\\a.mp3"},
        {"..\\Rock\\c.mp3", "C:\\Music\\Lists", "C:\\Music\\Rock\\c.mp3"},
        {"D:\\x\\.\\y\\..\\a.mp3", "C:\\Music", "D:\\x\\a.mp3"},
        {"C:/Music/b.mp3", "D:\\", "C:\\Music\\b.mp3"},
        {"\\top.mp3", "C:\\Music\\Lists", "C:\\top.mp3"},
        {"c:rel.mp3", "C:\\Music", "c:\\Music\\rel.mp3"},
        {"E:rel.mp3", "C:\\Music", "E:\\rel.mp3"},
        {"\\\\srv\\share\\a\\..\\b.mp3", "C:\\", "\\\\srv\\share\\b.mp3"},
        {"Live\\", "C:\\Music", "C:\\Music\\Live\\"},
        {"C:\\..", "C:\\Music", "C:\\"},
    };
    for (const auto& c : windows) EXPECT_EQ(kWindows.makeAbsolute(c.path, c.cwd), c.expected) << c.path;
}

// A path already in normal form comes back as it is, and any other is
// changed, at whatever byte of a long path the "//", "/./" or "/../" falls.
TEST(PathRules, TellsNormalPathsAtAnyPlaceInALongPath) {
    const auto normal = [](const std::string& path) {
        for (const std::string_view spoiler : {"//", "/./", "/../"}) {
            if (path.find(spoiler) != std::string::npos) return false;
        }
        return !path.ends_with("/.") && !path.ends_with("/..");
    };
    std::mt19937 dice(11);
    const char bytes[] = {'/', '.', 'a', 'a', 'a'};
    for (int round = 0; round < 20000; ++round) {
        std::string path = "/";
        for (unsigned n = dice() % 50; n > 0; --n) path += bytes[dice() % 5];
        const std::string absolute = kPosix.makeAbsolute(path, "/m");
        EXPECT_EQ(absolute == path, normal(path)) << path << " gave " << absolute;
        // The name found in the same walk is fileName's, in either code
        // page; in CP932 a lead byte before a "/" takes it along.
        const std::string named = path + (dice() % 2 ? "\x95" : "") + path.substr(1);
        for (const PathRules& rules : {kPosix, PathRules(PathStyle::Posix, CodePage::Cp932)}) {
            const std::size_t name = rules.nameAsWritten(named);
            ASSERT_EQ(name == std::string_view::npos, !rules.isFullPathAsWritten(named)) << named;
            if (name != std::string_view::npos) {
                ASSERT_EQ(std::string_view(named).substr(name), rules.fileName(named)) << named;
            }
        }
    }
}

TEST(PathRules, SplitsNamesOnWholeCharacters) {
    const std::string omote = "\x95\x5C";  // 表
    EXPECT_EQ(kWindows.fileName("C:\\Music\\" + omote + ".mp3"), omote + ".mp3");
    EXPECT_EQ(kWindows.fileName("C:\\" + omote), omote);
    EXPECT_EQ(kWindows.folder("C:\\" + omote + "\\a.mp3"), "C:\\" + omote + "\\");
    EXPECT_EQ(kWindows.fileName("C:a.mp3"), "a.mp3");  // after the drive's colon
    EXPECT_EQ(kWindows.fileName("C:\\Music\\"), "");
    EXPECT_EQ(kPosix.fileName("/m/a:b.mp3"), "a:b.mp3");  // a colon is a plain character on Linux
    EXPECT_EQ(kPosix.folder("a.mp3"), "");
    EXPECT_EQ(kPosix.extension("/m.d/Track.MP3"), ".MP3");
    EXPECT_EQ(kPosix.extension("/m.d/Track"), "");
    EXPECT_EQ(kWindows.extension("C:\\a." + omote), "." + omote);
}

TEST(PathRules, ANameEndingInALoneLeadByteKeepsItsLastPart) {
    const PathRules posix932(PathStyle::Posix, CodePage::Cp932);
    EXPECT_EQ(posix932.makeAbsolute("../a\x84", "/m/x"), "/m/a\x84");
    EXPECT_EQ(kWindows.makeAbsolute("a\\b\x95", "C:\\m"), "C:\\m\\a\\b\x95");
}

}  // namespace
}  // namespace listora
