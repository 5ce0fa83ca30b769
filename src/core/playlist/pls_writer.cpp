// PLS as players read it: "[playlist]", then FileN, TitleN and LengthN for
// each entry from 1, then NumberOfEntries and Version=2, lines ended by
// CR LF. A title or length of "---" (not known) is left out, and reads back
// as "---".

#include "core/playlist/length_text.h"
#include "core/playlist/playlist_entry.h"
#include "core/playlist/playlist_writer.h"
#include "core/text/text_lines.h"

namespace listora {
namespace {

class PlsWriter final : public PlaylistWriter {
public:
    PlsWriter(PathMode pathMode, std::string_view baseFolder, const PathRules& rules, ByteSink& out)
        : PlaylistWriter(out), pathMode_(pathMode), rules_(rules), baseFolder_(baseFolder) {
        appendLine(text(), "[playlist]");
    }

    void add(const PlaylistEntry& row) override {
        const std::string number = std::to_string(++count_);
        key("File", number, writtenPath(row, pathMode_, baseFolder_, rules_, relative_));
        if (row.title() != kUnknownText) key("Title", number, row.title());
        if (row.lengthText() != kUnknownText) key("Length", number, LengthTextToSeconds(row.lengthText()));
        handOverIfFull();
    }

    void finish() override {
        key("NumberOfEntries", "", std::to_string(count_));
        appendLine(text(), "Version=2");
        PlaylistWriter::finish();
    }

private:
    void key(std::string_view name, std::string_view number, std::string_view value) {
        text() += name;
        text() += number;
        text() += '=';
        appendLine(text(), value);
    }

    PathMode pathMode_;
    const PathRules& rules_;
    std::string baseFolder_;
    std::string relative_;
    std::size_t count_ = 0;
};

}  // namespace

std::unique_ptr<PlaylistWriter> makePlsWriter(PathMode pathMode, std::string_view baseFolder, const PathRules& rules,
                                              ByteSink& out) {
    return std::make_unique<PlsWriter>(pathMode, baseFolder, rules, out);
}

}  // namespace listora
