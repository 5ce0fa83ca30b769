#include "platform/errors.h"

#include "platform/codepage.h"

namespace listora {
namespace {

std::string fill(std::string_view utf8Template, std::string_view value) {
    std::string text = systemText(utf8Template);
    const std::size_t at = text.find("%s");
    return text.replace(at, 2, value);
}

}  // namespace

std::string cannotOpenText(std::string_view path) { return fill("ファイル %s は開けません", path); }

std::string cannotCreateText(std::string_view path) { return fill("ファイル %s を作成できません", path); }

std::string invalidIntegerText(std::string_view text) { return fill("'%s' is not a valid integer value", text); }

std::string indexOutOfRangeText(long long index) {
    return systemText("リストのインデックスが範囲を超えています (") + std::to_string(index) + ")";
}

std::string standardErrorText(std::string text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) text += '.';
    return text;
}

}  // namespace listora
