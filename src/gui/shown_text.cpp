#include "gui/shown_text.h"

#include "gui/text_bridge.h"

namespace listora {

namespace {
constexpr std::size_t kLongestShownText = 4096;
}  // namespace

QString shownCellText(const std::string& text) {
    if (text.size() <= kLongestShownText) return toQt(text);
    return toQt(std::string_view(text).substr(0, kLongestShownText)) + QStringLiteral("…");
}

}  // namespace listora
