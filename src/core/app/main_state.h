#pragma once
// The state the main window owns and every command shares.

#include "core/playlist/main_list.h"
#include "core/playlist/playlist_dialogs.h"
#include "core/search/selection_commands.h"

#include <deque>
#include <string>
#include <unordered_set>

namespace listora {

struct MainState {
    MainList list;
    std::string currentPlaylistFile;
    bool autoSave = false;
    // Gathered rows are filled from their files' tags (Options.ini).
    bool readTagsOnAdd = false;
    // Gathering also adds the other music types (Options.ini).
    bool allMusicTypes = false;
    std::string destinationFolder;
    // Paths waiting to be gathered; only a gather that ended with an error
    // leaves some for the next one.
    std::deque<std::string> gatherQueue;
    // The paths the program was started with that are read as playlists
    // whatever their extension's case.
    std::unordered_set<std::string> playlistsByName;
    CutBuffer cutBuffer;
    // The comparison's second list, playlist B; the cut buffer holds A.
    std::vector<PlaylistEntry> compareBuffer;
    int sortColumn = 0;
    PlaylistDialogs dialogs;
};

}  // namespace listora
