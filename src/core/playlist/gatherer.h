#pragma once
// Gathering music files from dropped files and folders: every queued folder
// is walked breadth first, every music file found becomes a row with an
// unknown title and length, and every dropped playlist is read.

#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>

namespace listora {

class FileSystem;
class MainList;
class PathRules;
class Prompts;
class ReadProgress;
class StatusLine;

struct GatherPorts {
    FileSystem& fs;
    Prompts& prompts;
    StatusLine& status;
    const PathRules& rules;
    // For the reads of dropped playlists.
    ReadProgress* progress = nullptr;
    // Queued paths read as playlists whatever their extension's case: those
    // handed to the program by name, since the desktop offers it for
    // "LIST.M3U" too; a drop keeps its own rule.
    const std::unordered_set<std::string>* playlistsByName = nullptr;
    // Also the other music types (isOtherMusicFile), on the user's request.
    bool allMusicTypes = false;
};

// The extension, lower-cased, contains "mp3" or "wave" (so ".wav" does not).
bool isMusicFile(std::string_view name, const PathRules& rules);
// The extension is one of the music types beyond the program's own in any
// case: flac, ogg, oga, opus, m4a, aac, wav, wma, aiff, ape, wv.
bool isOtherMusicFile(std::string_view name, const PathRules& rules);

// The extension, as it stands, contains "m3u" (so ".M3U" does not), or is
// ".pls" or ".xspf" in any case.
bool isPlaylistFile(std::string_view name, const PathRules& rules);

// Empties the queue. An error while a dropped playlist is read ends the
// walk with that error (thrown as ListoraError); the paths still waiting
// stay queued for the next drop.
void DragFileAdd(MainList& list, std::string& currentPlaylistFile, std::deque<std::string>& queue,
                 const GatherPorts& ports);

}  // namespace listora
