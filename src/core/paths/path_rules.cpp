#include "core/paths/path_rules.h"

#include <algorithm>
#include <cctype>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace listora {

PathRules PathRules::native() { return PathRules(PathStyle::Posix, systemCodePage()); }

std::string_view PathRules::fileName(std::string_view path) const {
    const std::size_t stop = findLastCharOf(path, fileNameStops(), cp_);
    return stop == std::string_view::npos ? path : path.substr(stop + 1);
}

std::string PathRules::folder(std::string_view path) const {
    const std::size_t stop = findLastCharOf(path, fileNameStops(), cp_);
    return stop == std::string_view::npos ? std::string() : std::string(path.substr(0, stop + 1));
}

std::string PathRules::extension(std::string_view path) const {
    const std::string_view name = fileName(path);
    const std::size_t dot = findLastCharOf(name, ".", cp_);
    return dot == std::string::npos ? std::string() : std::string(name.substr(dot));
}

std::string_view PathRules::drivePart(std::string_view path) const {
    if (style_ == PathStyle::Posix) return path.substr(0, !path.empty() && path[0] == '/' ? 1 : 0);
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        // \\server\share: the share ends at the second separator after the two.
        std::size_t end = 2;
        for (int part = 0; part < 2 && end <= path.size(); ++part) {
            const std::size_t next = findFirstChar(path.substr(end), '\\', cp_);
            if (next == std::string_view::npos) return path;
            end += next + (part == 0 ? 1 : 0);
        }
        return path.substr(0, end);
    }
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])))
        return path.substr(0, 2);
    return path.substr(0, 0);
}

std::vector<std::string_view> PathRules::components(std::string_view path) const {
    std::vector<std::string_view> parts;
    const char sep = separator();
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        // A lead byte takes the byte after it along; one that ends the text
        // (a name cut short) is a byte of its own and still ends its part.
        if (i + 1 < path.size() && isLeadByte(cp_, static_cast<unsigned char>(path[i]))) {
            ++i;
            continue;
        }
        if (i == path.size() || path[i] == sep) {
            if (i > start) parts.push_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

namespace {

// Whether the part that follows the "/" at `slash` is empty, "." or "..".
bool endsInPlace(std::string_view path, std::size_t slash) {
    const auto partEndsAt = [&](std::size_t at) { return at == path.size() || path[at] == '/'; };
    if (slash + 1 == path.size()) return false;  // a trailing "/" is kept
    if (path[slash + 1] == '/') return true;
    if (path[slash + 1] != '.') return false;
    return partEndsAt(slash + 2) || (path[slash + 2] == '.' && partEndsAt(slash + 3));
}

// An absolute Linux path with no "." or ".." part and no doubled "/" is
// already in its normal form; most playlist lines are. Only a "/" followed
// by "/" or "." can spoil it, and a playlist's paths are a million, so such
// pairs are looked for 16 bytes at a time. The same walk finds the last
// "/", which `lastSlash` gets.
bool isNormalAbsolutePosixPath(std::string_view path, std::size_t& lastSlash) {
    if (path.empty() || path[0] != '/') return false;
    const std::size_t size = path.size();
    if (path.back() == '/') lastSlash = size - 1;
#if defined(__SSE2__)
    if (size >= 17) {
        const __m128i slash = _mm_set1_epi8('/');
        const __m128i dot = _mm_set1_epi8('.');
        // Blocks of 16 "/" places with the byte after each; the last block
        // overlaps the one before, so no place is left for a slower loop.
        // A "/" at the very end spoils nothing.
        for (std::size_t at = 0;; at += 16) {
            at = std::min(at, size - 17);
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(path.data() + at));
            const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(path.data() + at + 1));
            const __m128i slashes = _mm_cmpeq_epi8(here, slash);
            const __m128i pairs =
                _mm_and_si128(slashes, _mm_or_si128(_mm_cmpeq_epi8(after, slash), _mm_cmpeq_epi8(after, dot)));
            for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(pairs)); mask != 0; mask &= mask - 1) {
                if (endsInPlace(path, at + static_cast<std::size_t>(__builtin_ctz(mask)))) return false;
            }
            // The path's last byte is no block's place: a "/" there is
            // taken above.
            if (const auto found = static_cast<unsigned>(_mm_movemask_epi8(slashes)); found != 0 && path.back() != '/')
                lastSlash = at + 31 - static_cast<std::size_t>(__builtin_clz(found));
            if (at + 17 == size) return true;
        }
    }
#endif
    for (std::size_t at = 0; at < size; ++at) {
        if (path[at] != '/') continue;
        if (endsInPlace(path, at)) return false;
        lastSlash = at;
    }
    return true;
}

}  // namespace

bool PathRules::isFullPathAsWritten(std::string_view line) const {
    std::size_t lastSlash = 0;
    return style_ == PathStyle::Posix && isNormalAbsolutePosixPath(line, lastSlash);
}

std::size_t PathRules::nameAsWritten(std::string_view line) const {
    std::size_t lastSlash = 0;
    if (style_ != PathStyle::Posix || !isNormalAbsolutePosixPath(line, lastSlash)) return std::string_view::npos;
    // In UTF-8 the last "/" byte is the last separator; in a double-byte
    // code page a lead byte takes the byte after it along, even a "/".
    if (cp_ == CodePage::Utf8) return lastSlash + 1;
    return static_cast<std::size_t>(fileName(line).data() - line.data());
}

std::string_view PathRules::makeAbsolute(std::string_view path, std::string_view currentDir,
                                         std::string& storage) const {
    if (isFullPathAsWritten(path)) return path;
    storage = makeAbsolute(path, currentDir);
    return storage;
}

std::string PathRules::makeAbsolute(std::string_view path, std::string_view currentDir) const {
    if (path.empty()) return {};
    if (isFullPathAsWritten(path)) return std::string(path);
    const char sep = separator();
    std::string text = style_ == PathStyle::Windows ? replaceChar(path, '/', '\\', cp_) : std::string(path);

    std::string root;
    std::string rest;
    const std::string_view drive = drivePart(text);
    const std::string_view cwdDrive = drivePart(currentDir);
    const auto cwdRest = [&] { return std::string(currentDir.substr(cwdDrive.size())) + sep; };
    if (style_ == PathStyle::Posix) {
        root = "";
        rest = text[0] == '/' ? text : std::string(currentDir) + "/" + text;
    } else if (drive.size() > 2) {  // UNC share
        root = std::string(drive);
        rest = text.substr(drive.size());
    } else if (drive.size() == 2) {
        root = std::string(drive);
        rest = text.substr(2);
        if (rest.empty() || rest[0] != sep) rest = (sameName(drive, cwdDrive) ? cwdRest() : std::string(1, sep)) + rest;
    } else {
        root = std::string(cwdDrive);
        rest = text[0] == sep ? text : cwdRest() + text;
    }

    std::vector<std::string_view> resolved;
    for (std::string_view part : components(rest)) {
        if (part == ".") continue;
        if (part == "..") {
            if (!resolved.empty()) resolved.pop_back();
            continue;
        }
        resolved.push_back(part);
    }
    std::string out = root;
    for (std::string_view part : resolved) {
        out += sep;
        out += part;
    }
    const bool trailing = findLastCharOf(text, separators(), cp_) == text.size() - 1;
    if (resolved.empty() || trailing) out += sep;
    return out;
}

std::string PathRules::relativeTo(std::string_view path, std::string_view baseFolder) const {
    const std::string_view baseDrive = drivePart(baseFolder);
    const std::string_view pathDrive = drivePart(path);
    if (!sameName(baseDrive, pathDrive)) return std::string(path);

    const std::string pathFolder = folder(path);
    const auto base = components(baseFolder.substr(baseDrive.size()));
    const auto own = components(std::string_view(pathFolder).substr(pathDrive.size()));
    std::size_t common = 0;
    while (common < base.size() && common < own.size() && sameName(base[common], own[common])) ++common;

    std::string out;
    for (std::size_t i = common; i < base.size(); ++i) out += std::string("..") + separator();
    for (std::size_t i = common; i < own.size(); ++i) {
        out += own[i];
        out += separator();
    }
    out += fileName(path);
    return out;
}

bool PathRules::sameName(std::string_view a, std::string_view b) const {
    if (style_ == PathStyle::Posix) return a == b;
    return a.size() == b.size() && foldAsciiCase(a, cp_) == foldAsciiCase(b, cp_);
}

bool PathRules::isPlainName(std::string_view name) const {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\r\n") == std::string_view::npos &&
           findFirstChar(name, separator(), cp_) == std::string_view::npos;
}

}  // namespace listora
