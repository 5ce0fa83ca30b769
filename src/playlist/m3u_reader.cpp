#include "playlist/m3u_reader.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/path_rules.h"
#include "platform/prompts.h"
#include "platform/read_progress.h"
#include "platform/text_lines.h"
#include "playlist/length_text.h"
#include "playlist/main_list.h"
#include "playlist/text_slabs.h"

#include <memory>
#include <optional>
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
    EntryLines(StreamLineReader& reader, std::optional<std::string> firstLine)
        : reader_(reader), pending_(std::move(firstLine)) {}

    // A view valid until the next call.
    bool next(std::string_view& line) {
        if (pending_) {
            held_ = std::move(*pending_);
            pending_.reset();
            line = held_;
        } else {
            do {
                if (!reader_.next(line)) return false;
            } while (line.empty());
        }
        ++count_;
        return true;
    }

    // Lines so far, the header included: when an information line is the
    // last line, the index of its missing path line.
    std::size_t count() const { return count_; }

private:
    StreamLineReader& reader_;
    std::optional<std::string> pending_;
    std::string held_;
    std::size_t count_ = 1;
};

// The playlist streams in pieces: only the rows and one piece are held,
// never the whole file beside the rows.
class PlaylistFile {
public:
    PlaylistFile(FileSystem& fs, const std::string& path) : stream_(open(fs, path)), path_(path) {}
    StreamLineReader& lines() { return reader_; }
    void checkRead() const {
        if (reader_.failed()) throw cannotOpenError(path_);
    }

private:
    static std::unique_ptr<ByteStream> open(FileSystem& fs, const std::string& path) {
        std::unique_ptr<ByteStream> stream = fs.openForReading(path);
        if (!stream) throw cannotOpenError(path);
        return stream;
    }

    std::unique_ptr<ByteStream> stream_;
    StreamLineReader reader_{*stream_};
    std::string path_;
};

// Room for the rows in one go, from the bytes the first rows took and the
// file's size, so that the rows are not moved to ever larger blocks as they
// come; room reserved and never used costs no memory until written.
class RowReservation {
public:
    explicit RowReservation(std::optional<std::uint64_t> fileBytes) : fileBytes_(fileBytes.value_or(0)) {}

    void afterRow(std::vector<PlaylistEntry>& rows, const StreamLineReader& lines) {
        if (rows.size() != kSample || lines.consumed() == 0) return;
        const double perRow = static_cast<double>(lines.consumed()) / kSample;
        rows.reserve(static_cast<std::size_t>(static_cast<double>(fileBytes_) / perRow * 1.1) + kSample);
    }

private:
    static constexpr std::size_t kSample = 1024;
    std::uint64_t fileBytes_;
};

class EntryReader {
public:
    EntryReader(const PlaylistReaderPorts& ports, const std::string& playlistPath)
        : ports_(ports), playlistFolder_(ports.rules.folder(playlistPath)), cwd_(ports.fs.currentDirectory()) {}

    PlaylistEntry plainEntry(std::string_view pathLine) {
        makePath(pathLine);
        return PlaylistEntry(slabs_, kUnknownText, kUnknownText, fileName_, fullPath_);
    }

    PlaylistEntry informationEntry(std::string_view infoLine, std::string_view pathLine) {
        // Relative paths after an #EXTINF line resolve against the playlist's
        // folder, which stays the current directory after the read. It is the
        // same folder for every line, so it is entered once.
        if (!inPlaylistFolder_) {
            inPlaylistFolder_ = true;
            if (ports_.fs.setCurrentDirectory(playlistFolder_)) cwd_ = ports_.fs.currentDirectory();
        }
        makePath(pathLine);

        // The seconds stand from the ninth character up to the first comma;
        // the first eight characters are skipped whatever they are.
        const std::size_t comma = infoLine.find(',');
        const std::size_t secondsEnd = comma == std::string_view::npos ? 0 : comma;
        const std::string_view seconds = secondsEnd > 8 ? infoLine.substr(8, secondsEnd - 8) : std::string_view();
        const std::optional<int> value = parseInteger(seconds);
        if (!value) throw invalidIntegerError(seconds);
        return PlaylistEntry(slabs_, infoLine.substr(comma + 1), FormatLengthText(*value), fileName_, fullPath_);
    }

private:
    void makePath(std::string_view pathLine) {
        fullPath_ = ports_.rules.makeAbsolute(ports_.rules.fromPlaylistLine(pathLine, converted_), cwd_, absolute_);
        fileName_ = ports_.rules.fileName(fullPath_);
    }

    const PlaylistReaderPorts& ports_;
    std::string playlistFolder_;
    std::string cwd_;
    std::string converted_;
    std::string absolute_;
    // The row's path and name, views into the line or the two texts above.
    std::string_view fullPath_;
    std::string_view fileName_;
    bool inPlaylistFolder_ = false;
    TextSlabs slabs_;  // the rows' texts
};

}  // namespace

bool hasFileName(const PlaylistEntry& row) { return !row.fileName().empty(); }

PlaylistRead readPlaylist(const PlaylistReaderPorts& ports, const std::string& path, HeaderPolicy header) {
    PlaylistRead read;
    try {
        std::optional<PlaylistFile> file(std::in_place, ports.fs, path);
        std::string_view firstView;
        if (!file->lines().next(firstView)) {
            file->checkRead();
            return read;  // an empty playlist is read, with no rows
        }
        // The size, asked once, sizes the rows and the progress of each pass.
        const std::optional<std::uint64_t> fileBytes = ports.fs.entrySize(path);
        // The file's own first line is an entry when the header is missing.
        const bool hasHeader = firstView == kHeader;
        const std::optional<std::string> firstEntry =
            hasHeader ? std::nullopt : std::optional<std::string>(std::string(firstView));

        if (!hasHeader && header == HeaderPolicy::Ask) {
            // The whole file is read before the question, so that a file
            // that cannot be read says so rather than asking first; the rows
            // are made in a second read, after the answer, as the read
            // changes the current directory.
            {
                // This pass is as long as the one after it; its bar goes
                // before the question.
                ReadProgressMeter progress(ports.progress, fileBytes);
                for (std::string_view line; file->lines().next(line);) progress.at(file->lines().consumed());
            }
            file->checkRead();
            const Answer answer = ports.prompts.confirm(
                Question::ReadWithoutHeader,
                systemText("このファイルはm3uファイルではない可能性があります、強制的に読み込みますか？"),
                Buttons::YesNo);
            if (answer != Answer::Yes) {
                read.refused = true;
                return read;
            }
            file.emplace(ports.fs, path);
            std::string_view skipped;
            file->lines().next(skipped);  // the first line, already held
        }

        EntryLines lines(file->lines(), firstEntry);
        EntryReader reader(ports, path);
        RowReservation reservation(fileBytes);
        ReadProgressMeter progress(ports.progress, fileBytes);
        try {
            std::string infoLine;
            for (std::string_view line; lines.next(line);
                 reservation.afterRow(read.rows, file->lines()), progress.at(file->lines().consumed())) {
                if (!isInformationLine(line)) {
                    read.rows.push_back(reader.plainEntry(line));
                    continue;
                }
                infoLine.assign(line);  // the next line may take the place of its text
                std::string_view pathLine;
                if (!lines.next(pathLine)) throw indexOutOfRangeError(static_cast<long long>(lines.count()));
                read.rows.push_back(reader.informationEntry(infoLine, pathLine));
            }
        } catch (const ListoraError&) {
            // A bad line keeps the rows read before it, unless the file
            // cannot be read to its end: that is reported as such and gives
            // nothing, as if the file had been read whole first.
            for (std::string_view rest; file->lines().next(rest);) {
            }
            file->checkRead();
            throw;
        }
        file->checkRead();
    } catch (const ListoraError& error) {
        // Every CannotOpen comes from the stream: a file that could not be
        // opened or read to its end gives no rows.
        if (error.kind() == ErrorKind::CannotOpen) read.rows = {};
        read.error = error;
    }
    return read;
}

void LoadToFile(MainList& list, std::string& currentPlaylistFile, const PlaylistReaderPorts& ports,
                const std::string& path) {
    PlaylistRead read = readPlaylist(ports, path, HeaderPolicy::Ask);
    if (read.refused) return;
    list.appendAll(std::move(read.rows));
    if (read.error) throw *read.error;
    currentPlaylistFile = path;
    // A path line ending in a separator, or one that could not be made
    // absolute, has no file name; such rows go, also those read earlier.
    list.removeUnless(hasFileName);
}

}  // namespace listora
