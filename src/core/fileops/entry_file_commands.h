#pragma once
// Commands on the files behind single rows: rename, delete with the row,
// drop the rows whose file is gone, show a file in the file manager.

#include <string>

namespace listora {

class Clock;
class FileSystem;
class MainList;
class NameAsker;
class PathRules;
class Prompts;
class Shell;

struct EntryFilePorts {
    FileSystem& fs;
    Prompts& prompts;
    const Clock& clock;
    const PathRules& rules;
    std::string logFolder;
};

// Renames the first selected row's file; the extension stays. True when
// the file was renamed, after which the caller saves the playlist.
bool renameFile(MainList& list, const EntryFilePorts& ports, NameAsker& names);

// Asks, then deletes the selected rows' files and their rows, logging each;
// a file that cannot be deleted keeps its row, still selected. The caller
// saves the playlist afterwards, also after Cancel.
void deleteWithFile(MainList& list, const EntryFilePorts& ports);

// Removes every row whose file does not exist and says how many went.
void removeMissing(MainList& list, FileSystem& fs, Prompts& prompts);

// Shows the focus row's file in the file manager.
void openFolder(const MainList& list, Shell& shell);

}  // namespace listora
