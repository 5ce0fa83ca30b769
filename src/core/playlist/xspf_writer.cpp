// XSPF 1.0 in UTF-8: a <track> per row with its <location>, its <title>
// unless "---" and its <duration> in milliseconds unless the length is not
// known, a track to a line. Local paths become "file://" URIs or, in the relative mode, URI
// references against the playlist's folder; their bytes are
// percent-encoded, so any name, even one that is no valid UTF-8, reads back
// the same.

#include "core/paths/path_rules.h"
#include "core/playlist/address.h"
#include "core/playlist/length_text.h"
#include "core/playlist/playlist_entry.h"
#include "core/playlist/playlist_writer.h"
#include "core/text/codepage.h"

#include <charconv>

namespace listora {
namespace {

bool isUnreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/';
}

// Characters XML 1.0 cannot hold at all become U+FFFD; line breaks are
// written as references so that a reader keeps them as they were. Runs of
// plain text are copied whole.
void appendEscaped(std::string& out, std::string_view utf8) {
    std::size_t plain = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const bool special = c == '&' || c == '<' || c == '>' || c == '"' || (c < 0x20 && c != '\t');
        if (!special) continue;
        out.append(utf8.substr(plain, i - plain));
        plain = i + 1;
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\n':
                out += "&#10;";
                break;
            case '\r':
                out += "&#13;";
                break;
            default:
                out += "\xEF\xBF\xBD";
        }
    }
    out.append(utf8.substr(plain));
}

// The bytes of a path, those other than unreserved characters and "/" as
// "%XX"; runs of plain bytes are copied whole.
void appendPercentEncoded(std::string& out, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::size_t plain = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (isUnreserved(byte)) continue;
        out.append(bytes.substr(plain, i - plain));
        plain = i + 1;
        out += '%';
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    }
    out.append(bytes.substr(plain));
}

class XspfWriter final : public PlaylistWriter {
public:
    XspfWriter(PathMode pathMode, std::string_view baseFolder, const PathRules& rules, ByteSink& out)
        : PlaylistWriter(out), pathMode_(pathMode), rules_(rules), baseFolder_(baseFolder) {
        text() +=
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">\n"
            "  <trackList>\n";
    }

    void add(const PlaylistEntry& row) override {
        text() += "    <track><location>";
        location(row);
        text() += "</location>";
        if (row.title() != kUnknownText) {
            text() += "<title>";
            appendEscaped(text(), utf8(row.title()));
            text() += "</title>";
        }
        if (row.lengthText() != kUnknownText) {
            text() += "<duration>";
            long long seconds = 0;
            const std::string secondsText = LengthTextToSeconds(row.lengthText());
            std::from_chars(secondsText.data(), secondsText.data() + secondsText.size(), seconds);
            text() += std::to_string(seconds * 1000);
            text() += "</duration>";
        }
        text() += "</track>\n";
        handOverIfFull();
    }

    void finish() override {
        text() += "  </trackList>\n</playlist>\n";
        PlaylistWriter::finish();
    }

private:
    // A text of the system's code page in UTF-8.
    std::string_view utf8(std::string_view text) {
        if (rules_.codePage() == CodePage::Utf8 && isValidUtf8(text)) return text;
        converted_ = codePageToUtf8(text, rules_.codePage());
        return converted_;
    }

    void location(const PlaylistEntry& row) {
        if (isAddress(row.fullPath())) {
            appendEscaped(text(), utf8(row.fullPath()));
            return;
        }
        std::string_view path = writtenPath(row, pathMode_, baseFolder_, rules_, relative_);
        if (rules_.style() == PathStyle::Windows) {
            slashed_ = replaceChar(path, '\\', '/', rules_.codePage());
            path = slashed_;
        }
        // "C:/Music" is the URI path "/C:/Music".
        if (pathMode_ == PathMode::Absolute) text() += path.starts_with('/') ? "file://" : "file:///";
        // Names are kept as their bytes in UTF-8 and the code page's own
        // bytes are converted, so that the file reads back the same.
        appendPercentEncoded(text(), rules_.codePage() == CodePage::Utf8 ? path : utf8(path));
    }

    PathMode pathMode_;
    const PathRules& rules_;
    std::string baseFolder_;
    std::string relative_;
    std::string slashed_;
    std::string converted_;
};

}  // namespace

std::unique_ptr<PlaylistWriter> makeXspfWriter(PathMode pathMode, std::string_view baseFolder, const PathRules& rules,
                                               ByteSink& out) {
    return std::make_unique<XspfWriter>(pathMode, baseFolder, rules, out);
}

}  // namespace listora
