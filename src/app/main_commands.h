#pragma once
// The playlist-level commands of the main window: new, open, load, save and
// the automatic-saving setting. Errors are thrown as ListoraError and shown
// by the caller's dispatcher.

#include "app/main_state.h"
#include "platform/collation.h"
#include "platform/path_rules.h"
#include "platform/prompts.h"

namespace listora {

class FileSystem;
class Prompts;

class MainCommands {
public:
    MainCommands(MainState& state, FileSystem& fs, Prompts& prompts, PathRules rules);

    void newPlaylist();
    void open();
    void loadReplacing();
    void loadAppending();
    // Writes at once when saving automatically to a known file; asks for a
    // file otherwise.
    void save();
    void toggleAutoSave() { state_.autoSave = !state_.autoSave; }
    void sortByColumn(int column);

    void load(const std::string& path);

private:
    std::optional<FileChoice> askSaveFile();
    std::optional<FileChoice> askOpenFile();
    void writePlaylist(int pathMode, const std::string& path);

    MainState& state_;
    FileSystem& fs_;
    Prompts& prompts_;
    PathRules rules_;
    Collator collator_;
};

}  // namespace listora
