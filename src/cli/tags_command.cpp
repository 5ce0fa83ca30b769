// listora-cli tags: titles and lengths from the music files' tags written
// into a playlist.

#include "cli/session.h"
#include "core/tags/tag_fill.h"
#include "core/tags/tag_rows.h"
#include "core/tags/taglib/taglib_reader.h"
#include "core/text/codepage.h"

#include <cstdio>

namespace listora::cli {
namespace {

class TagsCommand : public Command {
public:
    std::string name() const override { return "tags"; }
    std::string usage() const override {
        return "usage: listora-cli tags IN OUT [--all] [--relative] [--force]\n"
               "  Reads the playlist IN, fills the title and length of each row whose\n"
               "  length is unknown (of every row with --all) from its music file's tag,\n"
               "  and writes the playlist to OUT. Each file that could not be read is\n"
               "  named on standard error and keeps its row as it was; the exit status is\n"
               "  then 1. A file without the #EXTM3U header is read only with --force.";
    }
    std::vector<std::string> options() const override { return {"--all", "--relative", "--force"}; }

    int run(Session& session, const Options& options) const override {
        if (const std::optional<int> missing = inAndOutMissing(*this, options)) return *missing;
        const std::string out = session.output(options.positional[1]);
        if (const int refused = session.read(session.absolute(options.positional[0]))) return refused;
        const auto reader = std::make_shared<TagLibReader>(session.fs);
        const TagFillOutcome outcome =
            fillRowsFromTags(session.list, fileRowsFrom(session.list, 0, !options.all), reader, session.rules, nullptr);
        for (const std::size_t row : outcome.unreadable)
            std::fprintf(stderr, "listora-cli tags: cannot read %s\n",
                         terminalText(session.list.at(row).fullPath()).c_str());
        session.write(out);
        return outcome.unreadable.empty() ? kOk : kRowsFailed;
    }
};

}  // namespace

std::unique_ptr<Command> tagsCommand() { return std::make_unique<TagsCommand>(); }

}  // namespace listora::cli
