#include "core/paths/path_rules.h"
#include "core/playlist/length_text.h"
#include "core/playlist/playlist_entry.h"
#include "core/playlist/playlist_writer.h"
#include "core/text/codepage.h"
#include "core/text/text_lines.h"

namespace listora {
namespace {

class M3uWriter final : public PlaylistWriter {
public:
    M3uWriter(PathMode pathMode, std::string_view baseFolder, const PathRules& rules, ByteSink& out, bool utf8)
        : PlaylistWriter(out),
          pathMode_(pathMode),
          rules_(rules),
          toUtf8_(utf8 && rules.codePage() != CodePage::Utf8),
          baseFolder_(baseFolder) {
        appendLine(text(), "#EXTM3U");
    }

    void add(const PlaylistEntry& row) override {
        if (row.lengthText() != kUnknownText) {
            text() += "#EXTINF:";
            text() += LengthTextToSeconds(row.lengthText());
            text() += ',';
            line(row.title());
            line(row.fullPath());
        } else {
            line(writtenPath(row, pathMode_, baseFolder_, rules_, relative_));
        }
        handOverIfFull();
    }

private:
    // Adds a line of the system's code page in the file's own.
    void line(std::string_view line) {
        if (toUtf8_)
            appendLine(text(), codePageToUtf8(line, rules_.codePage()));
        else
            appendLine(text(), line);
    }

    PathMode pathMode_;
    const PathRules& rules_;
    bool toUtf8_;
    std::string baseFolder_;
    std::string relative_;
};

}  // namespace

std::unique_ptr<PlaylistWriter> makeM3uWriter(PathMode pathMode, std::string_view baseFolder, const PathRules& rules,
                                              ByteSink& out, bool utf8) {
    return std::make_unique<M3uWriter>(pathMode, baseFolder, rules, out, utf8);
}

}  // namespace listora
