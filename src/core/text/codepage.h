#pragma once
// The system code page decides where characters begin and end in the byte
// strings the program handles. Texts are never converted inside the core;
// only the screen's edge turns them into Unicode, and the file system layer
// converts names where the file system uses another code page.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace listora {

enum class CodePage { Utf8, Cp932 };

// UTF-8 unless the locale's charset is Shift-JIS or LISTORA_CODEPAGE=932.
CodePage systemCodePage();

// Lets tests and tools run the core under another code page.
void setSystemCodePage(CodePage cp);

// How the file system names files: in UTF-8, as Linux desktops, Qt and the
// terminal name them, unless the locale's charset is Shift-JIS itself. With
// LISTORA_CODEPAGE=932 on a UTF-8 system the program holds CP932 bytes (as
// playlists written on Windows do) and the file system layer converts the
// names, much as Windows converts its ANSI names for its file systems.
CodePage fileNameCodePage();

// True when the byte starts a two-byte character in CP932. In UTF-8 no byte
// of a multi-byte character is ASCII, so byte-wise searches for ASCII
// characters are already character-aware there.
inline bool isLeadByte(CodePage cp, unsigned char byte) {
    return cp == CodePage::Cp932 && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}

// Index of the last occurrence of any of `chars` that stands at a character
// boundary, or npos. `chars` must be ASCII.
std::size_t findLastCharOf(std::string_view text, std::string_view chars, CodePage cp);
std::size_t findFirstChar(std::string_view text, char ch, CodePage cp);

// Replaces ASCII `from` with `to` only where it stands as a whole character.
std::string replaceChar(std::string_view text, char from, char to, CodePage cp);

// ASCII letters folded to lower case, leaving trailing bytes of CP932
// characters alone (0x41..0x5A can be the second byte of a kana).
std::string foldAsciiCase(std::string_view text, CodePage cp);
void foldAsciiCaseInPlace(std::string& text, CodePage cp);

// Conversions for the screen's edge and for the program's own message texts,
// which are written in UTF-8 in the source. Invalid sequences become U+FFFD.
std::string codePageToUtf8(std::string_view text, CodePage cp);
std::u16string codePageToUtf16(std::string_view text, CodePage cp);

// Converts many texts to UTF-16 reusing one converter and one buffer.
class Utf16Converter {
public:
    explicit Utf16Converter(CodePage cp);
    ~Utf16Converter();
    Utf16Converter(const Utf16Converter&) = delete;
    Utf16Converter& operator=(const Utf16Converter&) = delete;

    // The text in UTF-16, valid until the next call.
    std::u16string_view convert(std::string_view text);

private:
    CodePage cp_;
    void* cp932_ = nullptr;  // the ICU converter, opened once
    std::u16string buffer_;
};
// Whether the bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view text);

std::string utf8ToCodePage(std::string_view utf8, CodePage cp);
// Unchanged when both are the same; characters one lacks become its
// substitute.
std::string convertCodePage(std::string_view text, CodePage from, CodePage to);

// The same without substitutes, for names of files: nothing when the text
// is no valid text of `from` or holds a character `to` lacks, so that a name
// never turns into another file's name.
std::optional<std::string> convertCodePageExactly(std::string_view text, CodePage from, CodePage to);

// A text of the program for the terminal, in the terminal's charset.
std::string terminalText(std::string_view text);

// A message text of the program, in the system code page.
std::string systemText(std::string_view utf8);

}  // namespace listora
