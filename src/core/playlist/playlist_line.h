#pragma once
// How a path line of a playlist becomes a path.

#include "core/paths/path_rules.h"

#include <string>
#include <string_view>

namespace listora {

// A path line as a path of the rules' style: on Linux a line with no "/"
// but with "\" was written on Windows, and its "\" are read as "/" so that
// "..\Rock\c.mp3" still opens. The result is `line` itself or a converted
// copy kept in `storage`.
std::string_view pathOfPlaylistLine(const PathRules& rules, std::string_view line, std::string& storage);

}  // namespace listora
