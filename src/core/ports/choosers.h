#pragma once
// What the commands ask of the folder chooser and the name input window, so
// that a window can be driven in tests with scripted answers.

#include <optional>
#include <string>

namespace listora {

// Where the chosen folder goes: the destination box, the search window's
// text box, the queue of folders to gather, or the repair window's folders.
enum class FolderPurpose { Destination = 0, SearchText = 1, Gather = 2, Repair = 3 };

class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    // The chosen folder's path when "OK." closed the chooser (empty when no
    // folder was selected); nothing when it was closed otherwise.
    virtual std::optional<std::string> pickFolder(FolderPurpose purpose) = 0;
};

// The name input window's modes: asking for a new folder's name or a file's
// new name, and the mode it is left in once a name is confirmed.
enum class NameMode { NewFolder = 0, Confirmed = 1, Rename = 3 };

class NameAsker {
public:
    virtual ~NameAsker() = default;
    // The name typed and confirmed; nothing when cancelled. In rename mode
    // the extension is shown beside the box.
    virtual std::optional<std::string> askName(NameMode mode, const std::string& name,
                                               const std::string& extension) = 0;
};

}  // namespace listora
