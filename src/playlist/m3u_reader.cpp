#include "playlist/m3u_reader.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/path_rules.h"
#include "platform/prompts.h"
#include "platform/text_lines.h"
#include "playlist/length_text.h"
#include "playlist/main_list.h"

#include <string_view>
#include <vector>

namespace listora {
namespace {

constexpr std::string_view kHeader = "#EXTM3U";

// "#EXTINF:…": the first "EXTINF" begins at the second character; the first
// character itself is not looked at.
bool isInformationLine(std::string_view line) { return line.size() >= 7 && line.substr(1, 6) == "EXTINF"; }

// The lines after the header, with the empty ones left out. When the user
// had a file without header read anyway, its own first line comes first and
// stays even when empty, as the header takes its place.
class EntryLines {
public:
    EntryLines(std::string_view bytes, bool firstLineIsEntry) : reader_(bytes) {
        std::string_view first;
        reader_.next(first);
        if (firstLineIsEntry) pending_ = first;
        hasPending_ = firstLineIsEntry;
    }

    bool next(std::string_view& line) {
        if (hasPending_) {
            hasPending_ = false;
            line = pending_;
            ++count_;
            return true;
        }
        while (reader_.next(line)) {
            if (line.empty()) continue;
            ++count_;
            return true;
        }
        return false;
    }

    // Lines so far, the header included: when an information line is the
    // last line, the index of its missing path line.
    std::size_t count() const { return count_; }

private:
    LineReader reader_;
    std::string_view pending_;
    bool hasPending_ = false;
    std::size_t count_ = 1;
};

std::size_t countEntries(std::string_view bytes, bool firstLineIsEntry) {
    EntryLines lines(bytes, firstLineIsEntry);
    std::size_t count = 0;
    for (std::string_view line; lines.next(line); ++count)
        if (isInformationLine(line)) lines.next(line);
    return count;
}

class EntryReader {
public:
    EntryReader(const PlaylistReaderPorts& ports, const std::string& playlistPath)
        : ports_(ports), playlistFolder_(ports.rules.folder(playlistPath)), cwd_(ports.fs.currentDirectory()) {}

    PlaylistEntry plainEntry(std::string_view pathLine) {
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
    void fillPath(PlaylistEntry& entry, std::string_view pathLine) {
        entry.fullPath = ports_.rules.makeAbsolute(ports_.rules.fromPlaylistLine(pathLine, converted_), cwd_);
        entry.fileName = ports_.rules.fileName(entry.fullPath);
    }

    const PlaylistReaderPorts& ports_;
    std::string playlistFolder_;
    std::string cwd_;
    std::string converted_;
    bool inPlaylistFolder_ = false;
};

}  // namespace

void LoadToFile(MainList& list, std::string& currentPlaylistFile, const PlaylistReaderPorts& ports,
                const std::string& path) {
    const std::string bytes = readFileOrThrow(ports.fs, path);
    std::string_view firstLine;
    if (LineReader(bytes).next(firstLine)) {
        const bool hasHeader = firstLine == kHeader;
        if (!hasHeader) {
            const Answer answer = ports.prompts.confirm(
                systemText("このファイルはm3uファイルではない可能性があります、強制的に読み込みますか？"),
                Buttons::YesNo);
            if (answer != Answer::Yes) return;
        }

        EntryReader reader(ports, path);
        EntryLines lines(bytes, !hasHeader);
        std::vector<PlaylistEntry> rows;
        rows.reserve(countEntries(bytes, !hasHeader));
        try {
            for (std::string_view line; lines.next(line);) {
                if (!isInformationLine(line)) {
                    rows.push_back(reader.plainEntry(line));
                    continue;
                }
                std::string_view pathLine;
                if (!lines.next(pathLine))
                    throw ListoraError(indexOutOfRangeText(static_cast<long long>(lines.count())));
                rows.push_back(reader.informationEntry(line, pathLine));
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
