#pragma once
// The length column's text: "m:ss" (minutes without upper bound, no hours),
// a bare negative number as an #EXTINF line gave it, or "---" when unknown.

#include <optional>
#include <string>
#include <string_view>

namespace listora {

std::string FormatLengthText(long long seconds);

// The seconds text of an #EXTINF line for a LengthText other than "---", so
// that a length read from a playlist is written back unchanged.
std::string LengthTextToSeconds(std::string_view lengthText);

// A signed decimal integer of the 32-bit range, leading spaces allowed;
// nothing when the text is not one.
std::optional<int> parseInteger(std::string_view text);

}  // namespace listora
