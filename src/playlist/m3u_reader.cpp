#include "playlist/m3u_reader.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/path_rules.h"
#include "platform/prompts.h"
#include "platform/text_lines.h"
#include "playlist/length_text.h"
#include "playlist/main_list.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace listora {
namespace {

constexpr std::string_view kHeader = "#EXTM3U";

// "#EXTINF:…": the first "EXTINF" begins at the second character; the first
// character itself is not looked at.
bool isInformationLine(std::string_view line) { return line.substr(1, 6) == "EXTINF"; }

std::size_t countEntries(const std::vector<std::string_view>& lines) {
    std::size_t count = 0;
    for (std::size_t i = 1; i < lines.size(); i += isInformationLine(lines[i]) ? 2 : 1) ++count;
    return count;
}

class EntryReader {
public:
    EntryReader(const PlaylistReaderPorts& ports, const std::string& playlistPath)
        : ports_(ports), playlistFolder_(ports.rules.folder(playlistPath)), cwd_(ports.fs.currentDirectory()) {}

    PlaylistEntry plainEntry(std::string_view pathLine) const {
        PlaylistEntry entry;
        fillPath(entry, pathLine);
        entry.title = kUnknownText;
        entry.lengthText = kUnknownText;
        return entry;
    }

    PlaylistEntry informationEntry(std::string_view infoLine, std::string_view pathLine) {
        // Relative paths after an #EXTINF line resolve against the playlist's
        // folder, which stays the current directory after the read. It is the
        // same folder for every line, so it is entered once.
        if (!inPlaylistFolder_) {
            inPlaylistFolder_ = true;
            if (ports_.fs.setCurrentDirectory(playlistFolder_)) cwd_ = ports_.fs.currentDirectory();
        }
        PlaylistEntry entry;
        fillPath(entry, pathLine);

        // The seconds stand from the ninth character up to the first comma;
        // the first eight characters are skipped whatever they are.
        const std::size_t comma = infoLine.find(',');
        const std::size_t secondsEnd = comma == std::string_view::npos ? 0 : comma;
        const std::string_view seconds = secondsEnd > 8 ? infoLine.substr(8, secondsEnd - 8) : std::string_view();
        const std::optional<int> value = parseInteger(seconds);
        if (!value) throw ListoraError(invalidIntegerText(seconds));
        entry.lengthText = FormatLengthText(*value);
        entry.title = std::string(infoLine.substr(comma + 1));
        return entry;
    }

private:
    void fillPath(PlaylistEntry& entry, std::string_view pathLine) const {
        entry.fullPath = ports_.rules.makeAbsolute(ports_.rules.fromPlaylistLine(pathLine), cwd_);
        entry.fileName = ports_.rules.fileName(entry.fullPath);
    }

    const PlaylistReaderPorts& ports_;
    std::string playlistFolder_;
    std::string cwd_;
    bool inPlaylistFolder_ = false;
};

}  // namespace

void LoadToFile(MainList& list, std::string& currentPlaylistFile, const PlaylistReaderPorts& ports,
                const std::string& path) {
    const std::string bytes = readFileOrThrow(ports.fs, path);
    std::vector<std::string_view> lines = splitLines(bytes);

    if (!lines.empty()) {
        lines.erase(std::remove_if(lines.begin() + 1, lines.end(), [](std::string_view l) { return l.empty(); }),
                    lines.end());
        if (lines.front() != kHeader) {
            const Answer answer = ports.prompts.confirm(
                systemText("このファイルはm3uファイルではない可能性があります、強制的に読み込みますか？"),
                Buttons::YesNo);
            if (answer != Answer::Yes) return;
            lines.insert(lines.begin(), kHeader);  // the file's own first line becomes an entry
        }

        EntryReader reader(ports, path);
        std::vector<PlaylistEntry> rows;
        rows.reserve(countEntries(lines));
        try {
            for (std::size_t i = 1; i < lines.size(); ++i) {
                if (!isInformationLine(lines[i])) {
                    rows.push_back(reader.plainEntry(lines[i]));
                    continue;
                }
                if (i + 1 >= lines.size()) throw ListoraError(indexOutOfRangeText(static_cast<long long>(lines.size())));
                rows.push_back(reader.informationEntry(lines[i], lines[i + 1]));
                ++i;
            }
        } catch (const ListoraError&) {
            list.appendAll(std::move(rows));
            throw;
        }
        list.appendAll(std::move(rows));
    }

    currentPlaylistFile = path;
    // A path line ending in a separator, or one that could not be made
    // absolute, has no file name; such rows go, also those read earlier.
    list.removeUnless([](const PlaylistEntry& row) { return !row.fileName.empty(); });
}

}  // namespace listora
