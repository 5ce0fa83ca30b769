#pragma once
// Playlist lines that are addresses ("http://host/live.mp3") rather than
// paths, and "file://" lines, which name local files.

#include "core/paths/path_rules.h"

#include <optional>
#include <string>
#include <string_view>

namespace listora {

// A stream's address: a scheme (a letter, then letters, digits, "+", "-" or
// ".", two characters at least so that "C://" stays a drive) and "://",
// other than a "file://" address of this machine. It is never a file.
bool isAddress(std::string_view path);

// The local path a "file://" line names (an empty or "localhost" host),
// percent-decoded and in the rules' code page and separators; nothing for
// any other line. An empty path when the name cannot be written in the
// code page.
std::optional<std::string> localPathOfFileAddress(std::string_view line, const PathRules& rules);

// What a row shows as an address's file name: its last non-empty segment,
// without query or fragment, percent-decoded (the host for "http://h:8000/").
// Escapes name UTF-8 bytes; in another code page the name is converted when
// it converts exactly, and is otherwise kept as the address's own bytes.
std::string addressName(std::string_view address, CodePage cp = CodePage::Utf8);

// "%20" and the like decoded; an escape that is not two hex digits, or that
// would give a NUL byte, stays as written.
std::string percentDecoded(std::string_view text);

}  // namespace listora
