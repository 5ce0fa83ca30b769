#pragma once
// Lower-casing for searches that ignore case. Both the text searched and
// the text searched for are folded the same way, then compared as bytes.

#include "core/text/codepage.h"

#include <string>
#include <string_view>

namespace listora {

// CP932: A-Z to a-z, every double-byte character kept as it is (its second
// byte may be a letter's). UTF-8: whole characters by Unicode's simple case
// folding ("É" to "é", "Ａ" to "ａ"); bytes that form no valid character are
// kept. The result lies in `buffer`, which only grows, so that one buffer
// serves many texts; it is valid until the buffer's next use.
std::string_view foldCase(std::string_view text, CodePage cp, std::string& buffer);

}  // namespace listora
