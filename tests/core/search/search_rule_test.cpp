#include "core/search/search_rule.h"

#include "core/playlist/main_list.h"

#include <gtest/gtest.h>

namespace listora::test {
namespace {

using Rows = std::vector<std::size_t>;

MainList listOf(const std::vector<std::string>& texts, SearchPosition position) {
    MainList list;
    for (const std::string& text : texts) {
        const auto at = [&](SearchPosition where, std::string_view usual) {
            return position == where ? std::string_view(text) : usual;
        };
        list.append(PlaylistEntry(at(SearchPosition::Title, "t"), at(SearchPosition::Length, "1:00"),
                                  at(SearchPosition::FileName, "f.mp3"), at(SearchPosition::FullPath, "/m/f.mp3")));
    }
    return list;
}

Rows selectedRows(const MainList& list) {
    Rows rows;
    for (std::size_t i = 0; i < list.count(); ++i)
        if (list.at(i).selected) rows.push_back(i);
    return rows;
}

struct Case {
    const char* what;
    CodePage cp;
    SearchPosition position;
    std::vector<std::string> texts;
    std::string search;
    bool caseSensitive;
    Rows hits;
};

TEST(Search, TextPositionsFindBytesWithOrWithoutCase) {
    const Case cases[] = {
        {"folded both ways", CodePage::Utf8, SearchPosition::Title, {"ABC Song", "xAbCx", "abd"}, "abc", false, {0, 1}},
        {"case counts", CodePage::Utf8, SearchPosition::Title, {"ABC Song", "xAbCx", "abc"}, "abc", true, {2}},
        {"upper search text", CodePage::Utf8, SearchPosition::Title, {"abc", "ABC"}, "ABC", false, {0, 1}},
        {"accents fold as whole characters",
         CodePage::Utf8,
         SearchPosition::Title,
         {"\xC3\x89ric", "\xC3\xA9RIC", "eric"},
         "\xC3\xA9ric",
         false,
         {0, 1}},
        {"full-width letters fold",
         CodePage::Utf8,
         SearchPosition::Title,
         {"\xEF\xBC\xA1\xEF\xBC\xA2"},
         "\xEF\xBD\x81\xEF\xBD\x82",
         false,
         {0}},
        {"a folding that takes more bytes",
         CodePage::Utf8,
         SearchPosition::Title,
         {"x\xC8\xBA\xC8\xBA\xC8\xBA", "x"},
         "\xE2\xB1\xA5\xE2\xB1\xA5\xE2\xB1\xA5",
         false,
         {0}},
        {"invalid bytes stay",
         CodePage::Utf8,
         SearchPosition::FileName,
         {"CAF\xE9.mp3", "caf.mp3"},
         "caf\xE9",
         false,
         {0}},
        {"Japanese is kept",
         CodePage::Utf8,
         SearchPosition::Title,
         {"\xE6\x9B\xB2 A", "\xE6\x9B\xB2"},
         "\xE6\x9B\xB2 a",
         false,
         {0}},
        {"a backslash finds the second byte of a CP932 character",
         CodePage::Cp932,
         SearchPosition::Title,
         {"\x95\x5C\x8E\xA6", "plain"},
         "\\",
         true,
         {0}},
        {"and so without case", CodePage::Cp932, SearchPosition::Title, {"\x95\x5C"}, "\\", false, {0}},
        {"a CP932 second byte that is a letter is not folded",
         CodePage::Cp932,
         SearchPosition::Title,
         {"\x83\x41", "A"},
         "a",
         false,
         {1}},
        {"a plain substring of the path",
         CodePage::Utf8,
         SearchPosition::FullPath,
         {"C:\\Music\\a.mp3", "C:\\Music2\\b.mp3", "C:\\Other\\c.mp3"},
         "C:\\Music",
         true,
         {0, 1}},
        {"the file name only", CodePage::Utf8, SearchPosition::FileName, {"x.mp3", "y.mp3"}, "y", false, {1}},
    };
    for (const Case& c : cases) {
        MainList list = listOf(c.texts, c.position);
        list.setChecked(0, true);
        SearchSettings settings;
        settings.position = c.position;
        settings.text = c.search;
        settings.caseSensitive = c.caseSensitive;
        EXPECT_EQ(searchRows(list, settings, c.cp), c.hits.size()) << c.what;
        EXPECT_EQ(selectedRows(list), c.hits) << c.what;
        EXPECT_TRUE(list.at(0).checked) << c.what;  // check marks never change
    }
}

TEST(Search, LengthsCompareWholeSecondsAndUnknownLengthsNeverMatch) {
    const std::vector<std::string> lengths = {"3:00", "12:05", "2:59", "---", "-1", "0:00", "61:00", "61:01"};
    const struct {
        int minutes;
        int seconds;
        LengthComparison comparison;
        Rows hits;
    } cases[] = {
        {3, 0, LengthComparison::AtLeast, {0, 1, 6, 7}},
        {3, 0, LengthComparison::AtMost, {0, 2, 5}},
        {0, 0, LengthComparison::AtMost, {5}},
        {0, 0, LengthComparison::AtLeast, {0, 1, 2, 5, 6, 7}},
        {60, 60, LengthComparison::AtMost, {0, 1, 2, 5, 6}},  // 3660 seconds
        {60, 60, LengthComparison::AtLeast, {6, 7}},
    };
    for (const auto& c : cases) {
        MainList list = listOf(lengths, SearchPosition::Length);
        SearchSettings settings;
        settings.position = SearchPosition::Length;  // the hidden, empty text does not stop it
        settings.minutes = c.minutes;
        settings.seconds = c.seconds;
        settings.comparison = c.comparison;
        EXPECT_EQ(searchRows(list, settings, CodePage::Utf8), c.hits.size()) << c.minutes << ":" << c.seconds;
        EXPECT_EQ(selectedRows(list), c.hits) << c.minutes << ":" << c.seconds;
    }
}

TEST(Search, RefineKeepsOnlySelectedMatchesAndAnEmptyTextExaminesNothing) {
    const std::vector<std::string> titles = {"a", "hit", "b", "hit", "c", "d", "hit", "e"};
    const auto firstFiveSelected = [&] {
        MainList list = listOf(titles, SearchPosition::Title);
        list.updateSelection([n = 0](const PlaylistEntry&) mutable { return n++ < 5; });
        return list;
    };
    SearchSettings settings;
    settings.text = "hit";
    settings.refine = true;
    MainList list = firstFiveSelected();
    EXPECT_EQ(searchRows(list, settings, CodePage::Utf8), 2u);
    EXPECT_EQ(selectedRows(list), (Rows{1, 3}));

    settings.refine = false;
    list = firstFiveSelected();
    EXPECT_EQ(searchRows(list, settings, CodePage::Utf8), 3u);
    EXPECT_EQ(selectedRows(list), (Rows{1, 3, 6}));

    settings.text.clear();
    list = firstFiveSelected();
    EXPECT_EQ(searchRows(list, settings, CodePage::Utf8), 0u);
    EXPECT_EQ(selectedRows(list), Rows{});
    settings.refine = true;
    list = firstFiveSelected();
    EXPECT_EQ(searchRows(list, settings, CodePage::Utf8), 0u);
    EXPECT_EQ(selectedRows(list), (Rows{0, 1, 2, 3, 4}));  // left as it was
}

TEST(Search, TimeBoxesTakeTheNearestBoundAndTextThatIsNoNumberAsZero) {
    const struct {
        const char* typed;
        int value;
    } cases[] = {{"0", 0}, {"59", 59}, {"60", 60}, {"61", 60}, {"-3", 0},           {"abc", 0},
                 {"", 0},  {"1a", 0},  {" 7", 7},  {"+5", 5},  {"99999999999", 60}, {"-99999999999", 0}};
    for (const auto& c : cases) EXPECT_EQ(clampedTimeValue(c.typed), c.value) << c.typed;
}

}  // namespace
}  // namespace listora::test
