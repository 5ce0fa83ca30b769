// XSPF 1.0 in UTF-8: a <track> per row with its <location>, its <title>
// unless "---" and its <duration> in milliseconds unless the length is not
// known. Local paths become "file://" URIs or, in the relative mode, URI
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
// written as references so that a reader keeps them as they were.
void appendEscaped(std::string& out, std::string_view utf8) {
    for (const char c : utf8) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
                out += "\xEF\xBF\xBD";
            else
                out += c;
        }
    }
}

class XspfWriter final : public PlaylistWriter {
public:
    XspfWriter(PathMode pathMode, std::string_view baseFolder, const PathRules& rules, ByteSink& out)
        : PlaylistWriter(out), pathMode_(pathMode), rules_(rules), baseFolder_(baseFolder) {
        text() += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">\n"
                  "  <trackList>\n";
    }

    void add(const PlaylistEntry& row) override {
        text() += "    <track>\n      <location>";
        location(row);
        text() += "</location>\n";
        if (row.title() != kUnknownText) {
            text() += "      <title>";
            appendEscaped(text(), utf8(row.title()));
            text() += "</title>\n";
        }
        if (row.lengthText() != kUnknownText) {
            text() += "      <duration>";
            long long seconds = 0;
            const std::string secondsText = LengthTextToSeconds(row.lengthText());
            std::from_chars(secondsText.data(), secondsText.data() + secondsText.size(), seconds);
            text() += std::to_string(seconds * 1000);
            text() += "</duration>\n";
        }
        text() += "    </track>\n";
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
        const std::string_view bytes = rules_.codePage() == CodePage::Utf8 ? path : utf8(path);
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            if (isUnreserved(byte)) {
                text() += c;
            } else {
                static constexpr char kHex[] = "0123456789ABCDEF";
                text() += '%';
                text() += kHex[byte >> 4];
                text() += kHex[byte & 15];
            }
        }
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
