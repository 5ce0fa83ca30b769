// The code-page functions agree with one another on any bytes: the
// character-aware search finds what the character-aware replacement
// replaces, case folding is the replacement of each capital, and converting
// to UTF-16 directly or through UTF-8 gives the same text.

#include "core/text/codepage.h"
#include "require.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

using namespace listora;
using listora::fuzz::require;

// The first and last index where the two texts of one length differ.
std::pair<std::size_t, std::size_t> differingRange(std::string_view a, std::string_view b) {
    std::size_t first = std::string_view::npos;
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) {
            if (first == std::string_view::npos) first = i;
            last = i;
        }
    return {first, last};
}

void checkSearchAndReplace(std::string_view text, char ch, CodePage cp) {
    const char other = ch == '#' ? '%' : '#';
    const std::string replaced = replaceChar(text, ch, other, cp);
    require(replaced.size() == text.size(), "replacing keeps the length");
    const auto [first, last] = differingRange(text, replaced);
    require(findFirstChar(text, ch, cp) == first, "the first character found is the first replaced");
    require(findLastCharOf(text, std::string_view(&ch, 1), cp) == last,
            "the last character found is the last replaced");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const CodePage cp = input.ConsumeBool() ? CodePage::Cp932 : CodePage::Utf8;
    // An ASCII character to search for: separators and letters matter most.
    const char ch = static_cast<char>(input.ConsumeIntegralInRange<int>(0x20, 0x7E));
    const std::string text = input.ConsumeRemainingBytesAsString();

    checkSearchAndReplace(text, ch, cp);
    checkSearchAndReplace(text, '\\', cp);

    std::string folded(text);
    for (char upper = 'A'; upper <= 'Z'; ++upper) folded = replaceChar(folded, upper, upper - 'A' + 'a', cp);
    require(foldAsciiCase(text, cp) == folded, "folding replaces each capital");
    std::string inPlace(text);
    foldAsciiCaseInPlace(inPlace, cp);
    require(inPlace == folded, "folding in place folds the same");

    const std::string utf8 = codePageToUtf8(text, cp);
    const std::u16string utf16 = codePageToUtf16(text, cp);
    require(codePageToUtf16(utf8, CodePage::Utf8) == utf16, "UTF-16 directly or through UTF-8");
    require(codePageToUtf8(utf8, CodePage::Utf8) == utf8, "converted UTF-8 is valid UTF-8");
    Utf16Converter converter(cp);
    require(converter.convert(text) == utf16, "the reused converter converts the same");
    require(convertCodePage(text, cp, cp) == text, "converting to the same code page changes nothing");
    return 0;
}
