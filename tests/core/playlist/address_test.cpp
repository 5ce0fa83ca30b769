#include "core/playlist/address.h"

#include <gtest/gtest.h>

namespace listora::test {
namespace {

// Catches a file:// line read as a relative path, an escape decoded wrongly,
// a foreign host taken for this machine, and a name lost for a CP932 system.
TEST(Address, FileAddressesBecomeLocalPaths) {
    const PathRules posix(PathStyle::Posix, CodePage::Utf8);
    const PathRules windows(PathStyle::Windows, CodePage::Cp932);
    const struct {
        const PathRules& rules;
        const char* line;
        std::optional<std::string> path;
    } cases[] = {
        {posix, "file:///home/u/Music/A%20B/01.mp3", "/home/u/Music/A B/01.mp3"},
        {posix, "FILE://localhost/m/%E8%A1%A8.mp3", "/m/\xE8\xA1\xA8.mp3"},
        {posix, "file:///m/100%25%zz%4.mp3", "/m/100%%zz%4.mp3"},  // undecodable escapes stay
        {posix, "file:///m/a%00b.mp3", "/m/a%00b.mp3"},            // never a NUL in a name
        {posix, "file://server/share/a.mp3", std::nullopt},        // another machine's file
        {posix, "/m/file:///a.mp3", std::nullopt},
        {windows, "file:///C:/M/%E8%A1%A8.mp3", "C:\\M\\\x95\x5C.mp3"},
        {windows, "file:///C:/M/%F0%9F%8E%B5.mp3", ""},  // no such character in CP932
    };
    for (const auto& c : cases) EXPECT_EQ(localPathOfFileAddress(c.line, c.rules), c.path) << c.line;
}

// Catches an address shown with an empty name (and so dropped as nameless),
// with its query or escapes, or with UTF-8 escapes as CP932 bytes.
TEST(Address, AnAddressIsNamedByItsLastSegment) {
    const struct {
        const char* address;
        const char* name;
    } cases[] = {
        {"http://stream.example.org:8000/live.mp3", "live.mp3"},
        {"https://h/a/My%20Song.ogg?token=1#t", "My Song.ogg"},
        {"http://stream.example.org:8000/", "stream.example.org:8000"},
        {"mms://h/a/b//", "b"},
    };
    for (const auto& c : cases) EXPECT_EQ(addressName(c.address), c.name) << c.address;
    EXPECT_EQ(addressName("http://h/%E6%9B%B2.mp3", CodePage::Cp932), "\x8B\xC8.mp3");
    EXPECT_EQ(addressName("http://h/\x8B\xC8.mp3", CodePage::Cp932), "\x8B\xC8.mp3");
    EXPECT_FALSE(isAddress("file:///m/a.mp3"));
    EXPECT_TRUE(isAddress("file://server/a.mp3"));
}

}  // namespace
}  // namespace listora::test
