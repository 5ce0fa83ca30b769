#include "core/playlist/address.h"

#include "core/text/ascii_text.h"
#include "core/text/codepage.h"

namespace listora {
namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the scheme before "://", or 0 when the text has none.
std::size_t schemeLength(std::string_view text) {
    if (text.empty() || !isAsciiLetter(text[0])) return 0;
    std::size_t i = 1;
    while (i < text.size() &&
           (isAsciiLetter(text[i]) || isDigit(text[i]) || text[i] == '+' || text[i] == '-' || text[i] == '.'))
        ++i;
    return i >= 2 && text.substr(i, 3) == "://" ? i : 0;
}

// The still encoded path of a "file://" address of this machine, from its
// first "/" on.
std::optional<std::string_view> fileAddressPath(std::string_view text) {
    const std::size_t scheme = schemeLength(text);
    if (scheme == 0 || !equalsIgnoringAsciiCase(text.substr(0, scheme), "file")) return std::nullopt;
    const std::string_view rest = text.substr(scheme + 3);
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && !equalsIgnoringAsciiCase(host, "localhost")) return std::nullopt;
    return rest.substr(slash);
}

int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool isAddress(std::string_view path) { return schemeLength(path) != 0 && !fileAddressPath(path); }

std::string percentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    // The text between escapes is copied a run at a time: a playlist of
    // URIs decodes a million of them.
    for (std::size_t i = 0;;) {
        const std::size_t escape = text.find('%', i);
        out.append(text.substr(i, escape - i));
        if (escape == std::string_view::npos) return out;
        i = escape + 1;
        if (i + 1 < text.size() && hexValue(text[i]) >= 0 && hexValue(text[i + 1]) >= 0) {
            const char byte = static_cast<char>(hexValue(text[i]) * 16 + hexValue(text[i + 1]));
            if (byte != '\0') {
                out += byte;
                i += 2;
                continue;
            }
        }
        out += '%';
    }
}

std::optional<std::string> localPathOfFileAddress(std::string_view line, const PathRules& rules) {
    const std::optional<std::string_view> encoded = fileAddressPath(line);
    if (!encoded) return std::nullopt;
    std::string path = percentDecoded(*encoded);
    // Addresses are written in UTF-8 whatever the system's code page.
    if (rules.codePage() != CodePage::Utf8) {
        std::optional<std::string> converted = convertCodePageExactly(path, CodePage::Utf8, rules.codePage());
        if (!converted) return std::string();
        path = std::move(*converted);
    }
    if (rules.style() == PathStyle::Windows) {
        // "file:///C:/Music/a.mp3" names "C:\Music\a.mp3".
        if (path.size() >= 3 && path[0] == '/' && isAsciiLetter(path[1]) && path[2] == ':') path.erase(0, 1);
        path = replaceChar(path, '/', '\\', rules.codePage());
    }
    return path;
}

std::string addressName(std::string_view address, CodePage cp) {
    std::string_view rest = address.substr(schemeLength(address) + 3);
    rest = rest.substr(0, rest.find_first_of("?#"));
    while (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
    std::string name = percentDecoded(rest.substr(rest.find_last_of('/') + 1));
    if (cp == CodePage::Utf8) return name;
    std::optional<std::string> converted = convertCodePageExactly(name, CodePage::Utf8, cp);
    return converted ? std::move(*converted) : name;
}

}  // namespace listora
