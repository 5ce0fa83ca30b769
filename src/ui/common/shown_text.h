#pragma once

#include <QString>
#include <string_view>

namespace listora {

// A cell's text as a list shows it: at most its first 4,096 bytes, marked
// "…" when cut. A path line of many megabytes from a broken
// playlist would otherwise stall every repaint; the row keeps the whole text.
QString shownCellText(std::string_view text);

}  // namespace listora
