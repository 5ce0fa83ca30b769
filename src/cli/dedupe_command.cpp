// listora-cli dedupe: a playlist written without its repeated entries.

#include "cli/session.h"
#include "core/repair/duplicates.h"

namespace listora::cli {
namespace {

class DedupeCommand : public Command {
public:
    std::string name() const override { return "dedupe"; }
    std::string usage() const override {
        return "usage: listora-cli dedupe IN OUT [--relative] [--force]\n"
               "  Writes the playlist IN to OUT without repeated entries: of the entries\n"
               "  with the same full path (compared byte for byte) the first stays.";
    }
    std::vector<std::string> options() const override { return {"--relative", "--force"}; }

    int run(Session& session, const Options& options) const override {
        if (const std::optional<int> missing = inAndOutMissing(*this, options)) return *missing;
        const std::string out = session.output(options.positional[1]);
        if (const int refused = session.read(session.absolute(options.positional[0]))) return refused;
        removeDuplicates(session.list);
        session.write(out);
        return kOk;
    }
};

}  // namespace

std::unique_ptr<Command> dedupeCommand() { return std::make_unique<DedupeCommand>(); }

}  // namespace listora::cli
