#include "core/text/codepage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <memory>
#include <optional>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>
#include <vector>

namespace listora {
namespace {

bool charsetIsShiftJis(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name.find("sjis") != std::string::npos || name.find("shift_jis") != std::string::npos ||
           name.find("shift-jis") != std::string::npos || name == "cp932" || name == "windows-31j";
}

// The environment's locale is asked through a locale object of its own, so
// that the process's locale, shared by every thread, is never changed.
bool localeIsShiftJis() {
    const locale_t environment = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (environment == static_cast<locale_t>(0)) return false;
    const char* charset = nl_langinfo_l(CODESET, environment);
    const bool sjis = charset && charsetIsShiftJis(charset);
    freelocale(environment);
    return sjis;
}

CodePage detectCodePage() {
    if (const char* forced = std::getenv("LISTORA_CODEPAGE")) {
        if (std::string_view(forced) == "932") return CodePage::Cp932;
        return CodePage::Utf8;
    }
    return localeIsShiftJis() ? CodePage::Cp932 : CodePage::Utf8;
}

std::optional<CodePage>& chosenCodePage() {
    static std::optional<CodePage> chosen;
    return chosen;
}

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// The Windows table: 0x5C is the backslash and 0x7E the tilde, as in paths.
Converter openCp932() {
    UErrorCode status = U_ZERO_ERROR;
    Converter conv(ucnv_open("windows-31j", &status));
    if (U_FAILURE(status)) return nullptr;
    return conv;
}

std::u16string toUtf16Impl(std::string_view text, CodePage cp) {
    Utf16Converter converter(cp);
    return std::u16string(converter.convert(text));
}

// Without substitutes: nothing when a byte sequence is invalid in `from` or
// a character does not exist in `to`.
std::optional<std::u16string> toUtf16Exactly(std::string_view text, CodePage from) {
    std::u16string out(text.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    if (from == CodePage::Utf8) {
        u_strFromUTF8(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &length, text.data(),
                      static_cast<int32_t>(text.size()), &status);
    } else {
        Converter conv = openCp932();
        if (!conv) return std::nullopt;
        ucnv_setToUCallBack(conv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        length = ucnv_toUChars(conv.get(), reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                               text.data(), static_cast<int32_t>(text.size()), &status);
    }
    if (U_FAILURE(status)) return std::nullopt;
    out.resize(static_cast<std::size_t>(length));
    return out;
}

// Nothing when `exactly` and a character does not exist in `to`; else such
// a character becomes the code page's substitute.
std::optional<std::string> fromUtf16(const std::u16string& text, CodePage to, bool exactly) {
    // At most three bytes a UTF-16 unit in UTF-8, two in CP932.
    std::string out(text.size() * 3 + 1, '\0');
    const auto* units = reinterpret_cast<const UChar*>(text.data());
    const auto count = static_cast<int32_t>(text.size());
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    if (to == CodePage::Utf8) {
        u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, units, count,
                           exactly ? U_SENTINEL : 0xFFFD, nullptr, &status);
    } else {
        Converter conv = openCp932();
        if (!conv) return std::nullopt;
        if (exactly) ucnv_setFromUCallBack(conv.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        length = ucnv_fromUChars(conv.get(), out.data(), static_cast<int32_t>(out.size()), units, count, &status);
    }
    if (U_FAILURE(status)) return std::nullopt;
    out.resize(static_cast<std::size_t>(length));
    return out;
}

// The same with substitutes; empty when even that fails.
std::string fromUtf16(const std::u16string& text, CodePage to) {
    return fromUtf16(text, to, false).value_or(std::string());
}

}  // namespace

std::optional<std::string> convertCodePageExactly(std::string_view text, CodePage from, CodePage to) {
    if (from == to) return std::string(text);
    const std::optional<std::u16string> units = toUtf16Exactly(text, from);
    if (!units) return std::nullopt;
    return fromUtf16(*units, to, true);
}

std::string terminalText(std::string_view text) { return convertCodePage(text, systemCodePage(), fileNameCodePage()); }

Utf16Converter::Utf16Converter(CodePage cp) : cp_(cp) {
    if (cp_ == CodePage::Cp932) cp932_ = openCp932().release();
}

Utf16Converter::~Utf16Converter() {
    if (cp932_) ucnv_close(static_cast<UConverter*>(cp932_));
}

std::u16string_view Utf16Converter::convert(std::string_view text) {
    // Neither code page needs more UTF-16 units than it has bytes.
    if (buffer_.size() < text.size() + 1) buffer_.resize(text.size() + 1);
    auto* out = reinterpret_cast<UChar*>(buffer_.data());
    const auto capacity = static_cast<int32_t>(buffer_.size());
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    if (cp_ == CodePage::Utf8) {
        u_strFromUTF8WithSub(out, capacity, &length, text.data(), static_cast<int32_t>(text.size()), 0xFFFD, nullptr,
                             &status);
    } else if (cp932_) {
        length = ucnv_toUChars(static_cast<UConverter*>(cp932_), out, capacity, text.data(),
                               static_cast<int32_t>(text.size()), &status);
    }
    if (U_FAILURE(status)) length = 0;
    return std::u16string_view(buffer_.data(), static_cast<std::size_t>(length));
}

CodePage systemCodePage() {
    auto& chosen = chosenCodePage();
    if (!chosen) chosen = detectCodePage();
    return *chosen;
}

void setSystemCodePage(CodePage cp) { chosenCodePage() = cp; }

CodePage fileNameCodePage() {
    static const CodePage names = localeIsShiftJis() ? CodePage::Cp932 : CodePage::Utf8;
    return names;
}

std::size_t findLastCharOf(std::string_view text, std::string_view chars, CodePage cp) {
    if (cp == CodePage::Utf8) {
        if (chars.size() == 1) {
            const void* found = ::memrchr(text.data(), chars[0], text.size());
            return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data())
                         : std::string_view::npos;
        }
        for (std::size_t i = text.size(); i-- > 0;)
            if (chars.find(text[i]) != std::string_view::npos) return i;
        return std::string_view::npos;
    }
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (isLeadByte(cp, byte)) {
            ++i;
        } else if (chars.find(static_cast<char>(byte)) != std::string_view::npos) {
            found = i;
        }
    }
    return found;
}

std::size_t findFirstChar(std::string_view text, char ch, CodePage cp) {
    if (cp == CodePage::Utf8) return text.find(ch);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (isLeadByte(cp, byte)) {
            ++i;
        } else if (text[i] == ch) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string replaceChar(std::string_view text, char from, char to, CodePage cp) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (isLeadByte(cp, static_cast<unsigned char>(out[i]))) {
            ++i;
        } else if (out[i] == from) {
            out[i] = to;
        }
    }
    return out;
}

void foldAsciiCaseInPlace(std::string& text, CodePage cp) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isLeadByte(cp, static_cast<unsigned char>(text[i]))) {
            ++i;
        } else if (text[i] >= 'A' && text[i] <= 'Z') {
            text[i] = static_cast<char>(text[i] - 'A' + 'a');
        }
    }
}

std::string foldAsciiCase(std::string_view text, CodePage cp) {
    std::string out(text);
    foldAsciiCaseInPlace(out, cp);
    return out;
}

std::string codePageToUtf8(std::string_view text, CodePage cp) {
    return fromUtf16(toUtf16Impl(text, cp), CodePage::Utf8);
}

std::u16string codePageToUtf16(std::string_view text, CodePage cp) { return toUtf16Impl(text, cp); }

bool isValidUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    for (std::int32_t i = 0; i < length;) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        if (c < 0) return false;
    }
    return true;
}

std::string utf8ToCodePage(std::string_view utf8, CodePage cp) {
    if (cp == CodePage::Utf8) return std::string(utf8);
    return fromUtf16(toUtf16Impl(utf8, CodePage::Utf8), cp);
}

std::string convertCodePage(std::string_view text, CodePage from, CodePage to) {
    if (from == to) return std::string(text);
    return fromUtf16(toUtf16Impl(text, from), to);
}

std::string systemText(std::string_view utf8) { return utf8ToCodePage(utf8, systemCodePage()); }

}  // namespace listora
