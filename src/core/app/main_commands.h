#pragma once
// The playlist-level commands of the main window: new, open, load, save and
// the automatic-saving setting. Errors are thrown as ListoraError and shown
// by the caller's dispatcher.

#include "core/app/main_state.h"
#include "core/collation/collation.h"
#include "core/fileops/entry_file_commands.h"
#include "core/fileops/transfer_engine.h"
#include "core/paths/path_rules.h"
#include "core/playlist/playlist_writer.h"
#include "core/ports/prompts.h"
#include "core/repair/folder_replacement.h"
#include "core/repair/row_repairs.h"
#include "core/search/playlist_comparison.h"
#include "core/search/search_rule.h"
#include "core/tags/tag_fill.h"

#include <memory>
#include <thread>

namespace listora {

class Clock;
class FileSystem;
class ReadProgress;
class StatusLine;

class NameAsker;
class Shell;
class TagReader;

struct CommandPorts {
    FileSystem& fs;
    Prompts& prompts;
    const Clock& clock;
    StatusLine& status;
    Shell& shell;
    // Shows how far a long read of a playlist has come (opened or dropped).
    ReadProgress* progress = nullptr;
};

class MainCommands {
public:
    MainCommands(MainState& state, CommandPorts ports, PathRules rules, std::string logFolder);

    void newPlaylist();
    void open();
    void loadReplacing();
    void loadAppending();
    // Writes at once when saving automatically to a known file; asks for a
    // file otherwise.
    void save();
    void toggleAutoSave() { state_.autoSave = !state_.autoSave; }
    void sortByColumn(int column);

    // Moves or copies the checked rows' files into the destination folder.
    void transfer(TransferMode mode);
    // The same, then writes the playlist: at once to the current playlist
    // file when saving automatically, else to a file asked for first.
    void transferAndSave(TransferMode mode);

    // Selects the rows the search window's settings find and shows the
    // number of hits on the status line.
    void search(const SearchSettings& settings);

    // Before the comparison window opens: offers to save a list that has
    // rows (always through the Save dialog, the file not kept as the current
    // playlist; a cancelled dialog goes on) or empties it, then leaves no
    // current playlist file. False when the user cancelled: no window opens.
    bool prepareComparison();
    // The comparison window's "検出".
    ComparisonOutcome compare(const std::string& playlistA, const std::string& playlistB, ComparisonMethod method);

    // Gathers what waits in the queue: music files, folders, playlists.
    // With readTagsOnAdd set, the rows it appends whose length is unknown
    // are then filled from their files' tags, also when the gather ended
    // with an error.
    void gather(TagReadProgress* progress = nullptr);

    // Without a reader the commands reading tags are not offered.
    void setTagReader(std::shared_ptr<TagReader> reader) { tagReader_ = std::move(reader); }
    bool canReadTags() const { return tagReader_ != nullptr; }
    // Fills the selected rows (all rows when none is) from their files'
    // tags and shows how many on the status line; saves nothing.
    void readTagsOfSelection(TagReadProgress* progress);

    // Removes the selected rows, then saves.
    void removeFromList();
    // Rename and delete with file, each followed by a save.
    void renameFile(NameAsker& names);
    void deleteWithFile();
    void removeMissing();
    void openFolder();

    // The repairs taken in the repair window, then a save (none, none).
    void repairRows(const std::vector<RowRepair>& repairs);
    // A folder replaced in every row's path, then a save. The old folder is
    // taken as a line of the current playlist would be (its own folder for
    // a relative one); how many rows changed. Saves when any did.
    std::size_t replaceFolder(const FolderReplacement& replacement);
    // Repeated paths among the selected rows (all when none is) removed,
    // then a save.
    void removeDuplicates();
    const PathRules& pathRules() const { return rules_; }

    void load(const std::string& path);

private:
    // "プレイリストを保存しますか？" before the list is let go (new, compare):
    // Yes writes it through the Save dialog, whatever AutoSave says.
    enum class SaveOffer { Cancelled, Declined, DialogCancelled, Saved };
    SaveOffer offerToSave();
    std::optional<FileChoice> askSaveFile();
    std::optional<FileChoice> askOpenFile();
    void writePlaylist(PathMode pathMode, const std::string& path);
    EntryFilePorts entryFilePorts();
    void fillFromTags(const std::vector<std::size_t>& rows, TagReadProgress* progress);

    MainState& state_;
    CommandPorts ports_;
    PathRules rules_;
    std::string logFolder_;
    Collator collator_;
    std::shared_ptr<TagReader> tagReader_;
    std::jthread keyTableBuild_;  // after the collator, so that it ends first
};

}  // namespace listora
