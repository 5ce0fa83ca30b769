#include "ui/common/shown_text.h"

#include "ui/common/text_bridge.h"

namespace listora {

namespace {
constexpr std::size_t kLongestShownText = 4096;
}  // namespace

QString shownCellText(std::string_view text) {
    if (text.size() <= kLongestShownText) return toQt(text);
    return toQt(text.substr(0, kLongestShownText)) + QStringLiteral("…");
}

}  // namespace listora
