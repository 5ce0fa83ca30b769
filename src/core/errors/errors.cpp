#include "core/errors/errors.h"

#include "core/text/codepage.h"

namespace listora {
namespace {

// A message box with megabytes of text takes minutes to lay out; a value
// that long (a broken playlist's line) is cut on a character boundary.
constexpr std::size_t kLongestValue = 4096;

std::string shortened(std::string_view value) {
    if (value.size() <= kLongestValue) return std::string(value);
    const CodePage cp = systemCodePage();
    std::size_t end = 0;
    while (end < kLongestValue) {
        std::size_t next = end + (isLeadByte(cp, static_cast<unsigned char>(value[end])) ? 2 : 1);
        if (cp == CodePage::Utf8)
            while (next < value.size() && (static_cast<unsigned char>(value[next]) & 0xC0) == 0x80) ++next;
        if (next > kLongestValue) break;
        end = next;
    }
    return std::string(value.substr(0, end)) + systemText("…");
}

std::string fill(std::string_view utf8Template, std::string_view value) {
    std::string text = systemText(utf8Template);
    const std::size_t at = text.find("%s");
    return text.replace(at, 2, shortened(value));
}

}  // namespace

std::string cannotOpenText(std::string_view path) { return fill("ファイル %s は開けません", path); }

std::string cannotCreateText(std::string_view path) { return fill("ファイル %s を作成できません", path); }

std::string invalidIntegerText(std::string_view text) { return fill("'%s' is not a valid integer value", text); }

std::string indexOutOfRangeText(long long index) {
    return systemText("リストのインデックスが範囲を超えています (") + std::to_string(index) + ")";
}

ListoraError cannotOpenError(std::string_view path) { return {ErrorKind::CannotOpen, cannotOpenText(path)}; }

ListoraError tooLargeError(std::string_view path) {
    return {ErrorKind::CannotOpen, fill("ファイル %s は大きすぎて開けません", path)};
}

ListoraError cannotCreateError(std::string_view path) { return {ErrorKind::CannotCreate, cannotCreateText(path)}; }

ListoraError invalidIntegerError(std::string_view text) { return {ErrorKind::BadContent, invalidIntegerText(text)}; }

ListoraError indexOutOfRangeError(long long index) { return {ErrorKind::BadContent, indexOutOfRangeText(index)}; }

ListoraError malformedPlaylistError(std::string_view path, std::string_view where, std::string_view why) {
    return {ErrorKind::BadContent, fill("ファイル %s の ", path) + std::string(where) + systemText("を読めません（") +
                                       std::string(why) + systemText("）")};
}

std::string standardErrorText(std::string text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) text += '.';
    return text;
}

}  // namespace listora
