#pragma once
// Path rules in one place. Linux paths use "/"; Windows paths ("\" and ":",
// drive letters, UNC shares, names equal whatever their case) are the same
// code with other parameters, so playlists written on Windows can be read.

#include "core/text/codepage.h"

#include <string>
#include <string_view>
#include <vector>

namespace listora {

enum class PathStyle { Posix, Windows };

class PathRules {
public:
    PathRules(PathStyle style, CodePage cp) : style_(style), cp_(cp) {}
    static PathRules native();

    PathStyle style() const { return style_; }
    CodePage codePage() const { return cp_; }
    char separator() const { return style_ == PathStyle::Posix ? '/' : '\\'; }

    // Text after the last separator (on Windows also after a drive's ":"),
    // as a part of `path`.
    std::string_view fileName(std::string_view path) const;
    // Everything up to and including the last separator.
    std::string folder(std::string_view path) const;
    // From the last "." of the file name on, dot included; empty without one.
    std::string extension(std::string_view path) const;

    // The path made absolute against `currentDir`, with "." and ".." parts
    // resolved and repeated separators collapsed, purely on the text. A
    // trailing separator is kept. An empty path cannot be made absolute and
    // gives an empty result.
    std::string makeAbsolute(std::string_view path, std::string_view currentDir) const;
    // The same, as `path` itself when it is already such a path, as nearly
    // every line of a playlist is, or else a copy kept in `storage`.
    std::string_view makeAbsolute(std::string_view path, std::string_view currentDir, std::string& storage) const;

    // `path` written relative to the folder `baseFolder`; unchanged when the
    // two lie on different drives.
    std::string relativeTo(std::string_view path, std::string_view baseFolder) const;

    // True when makeAbsolute would not change the path, whatever the current
    // directory: an absolute Linux path already in its normal form.
    bool isFullPathAsWritten(std::string_view line) const;
    // For such a path, where its file name begins (the offset of
    // fileName(path)); npos for any other path.
    std::size_t nameAsWritten(std::string_view path) const;

    bool sameName(std::string_view a, std::string_view b) const;

    // Whether `name` names an entry of the folder it is made in: not "." or
    // "..", no separator, no line break (which a playlist line could not
    // hold). Renaming and new folders take only such names.
    bool isPlainName(std::string_view name) const;

private:
    std::string_view separators() const { return style_ == PathStyle::Posix ? "/" : "\\"; }
    std::string_view fileNameStops() const { return style_ == PathStyle::Posix ? "/" : "\\:"; }
    std::string_view drivePart(std::string_view path) const;
    std::vector<std::string_view> components(std::string_view path) const;

    PathStyle style_;
    CodePage cp_;
};

}  // namespace listora
