#include "core/text/codepage.h"

#include <gtest/gtest.h>

namespace listora {
namespace {

// 表 is 0x95 0x5C and ソ is 0x83 0x5C in CP932: their second byte is "\".
const std::string kOmote = "\x95\x5C";
const std::string kSo = "\x83\x5C";

TEST(CodePage, SecondByteOfADoubleByteCharacterIsNeverASeparator) {
    const std::string path = "C:\\" + kOmote + "\\" + kSo;
    EXPECT_EQ(findLastCharOf(path, "\\", CodePage::Cp932), 5u);  // the "\" after 表
    EXPECT_EQ(findLastCharOf(kSo, "\\", CodePage::Cp932), std::string::npos);
    EXPECT_EQ(findFirstChar(kOmote + "\\", '\\', CodePage::Cp932), 2u);
    // The same bytes read byte-wise find the trailing byte.
    EXPECT_EQ(findLastCharOf(kSo, "\\", CodePage::Utf8), 1u);
    EXPECT_EQ(replaceChar(kOmote + "\\a", '\\', '/', CodePage::Cp932), kOmote + "/a");
}

TEST(CodePage, CaseFoldingLeavesTrailingBytesAlone) {
    const std::string a = "\x83\x41";  // ア: its second byte is "A"
    EXPECT_EQ(foldAsciiCase("ABC" + a, CodePage::Cp932), "abc" + a);
    EXPECT_EQ(foldAsciiCase("ÄBC", CodePage::Utf8), "Äbc");
}

TEST(CodePage, ConvertsForTheScreenKeepingBackslashAndMarkingInvalidBytes) {
    EXPECT_EQ(codePageToUtf8(kOmote + "\x8E\xA6" + "\\", CodePage::Cp932), "表示\\");
    EXPECT_EQ(utf8ToCodePage("表示\\", CodePage::Cp932), kOmote + "\x8E\xA6" + "\\");
    EXPECT_EQ(codePageToUtf8("a\xFF"
                             "b",
                             CodePage::Utf8),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(codePageToUtf8("", CodePage::Cp932), "");
}

TEST(CodePage, LeadBytesOfShiftJis) {
    EXPECT_TRUE(isLeadByte(CodePage::Cp932, 0x81));
    EXPECT_TRUE(isLeadByte(CodePage::Cp932, 0x9F));
    EXPECT_TRUE(isLeadByte(CodePage::Cp932, 0xE0));
    EXPECT_TRUE(isLeadByte(CodePage::Cp932, 0xFC));
    EXPECT_FALSE(isLeadByte(CodePage::Cp932, 0xA0));  // half-width katakana are single bytes
    EXPECT_FALSE(isLeadByte(CodePage::Cp932, 0x5C));
    EXPECT_FALSE(isLeadByte(CodePage::Utf8, 0x95));
}

}  // namespace
}  // namespace listora
