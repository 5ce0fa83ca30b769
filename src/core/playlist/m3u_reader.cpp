#include "core/playlist/m3u_reader.h"

#include "core/errors/errors.h"
#include "core/files/file_system.h"
#include "core/paths/path_rules.h"
#include "core/playlist/length_text.h"
#include "core/playlist/main_list.h"
#include "core/playlist/playlist_folder.h"
#include "core/playlist/playlist_format.h"
#include "core/playlist/playlist_parser.h"
#include "core/playlist/playlist_pieces.h"
#include "core/playlist/row_maker.h"
#include "core/ports/prompts.h"
#include "core/ports/read_progress.h"
#include "core/text/codepage.h"
#include "core/text/text_lines.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace listora {
namespace {

constexpr std::string_view kHeader = "#EXTM3U";
constexpr std::uint64_t kLargestPlaylist = std::uint64_t{1} << 31;

// "#EXTINF:…": the first "EXTINF" begins at the second character; the first
// character itself is not looked at.
bool isInformationLine(std::string_view line) { return line.size() >= 7 && line.substr(1, 6) == "EXTINF"; }

// A path line that is not its entry's full path as written: nearly every
// line of a saved playlist is, and the thread that reads the file finds
// where its file name begins, ahead of the rows being made.
constexpr std::size_t kNotAsWritten = std::string_view::npos;

class EntryReader {
public:
    EntryReader(const PlaylistReaderPorts& ports, const std::string& playlistPath)
        : ports_(ports),
          playlistFolder_(playlistFolder(ports.fs, playlistPath, ports.rules)),
          fromUtf8_(formatOfPath(playlistPath) == PlaylistFormat::M3u8 && ports.rules.codePage() != CodePage::Utf8),
          rows_(ports.rules, ports.rules.makeAbsolute(playlistFolder_, ports.fs.currentDirectory())) {}

    // The file's own first line when the header is missing: an entry even
    // when empty, as the header takes its place.
    void takeFirstLine(std::string_view fileLine, std::vector<PlaylistEntry>& rows) {
        ++lines_;
        const std::string_view line = inSystemText(fileLine, lineText_);
        if (isInformationLine(line))
            waitingInfo_.emplace(line);
        else
            rows.push_back(plainEntry(line, fromUtf8_ ? kNotAsWritten : ports_.rules.nameAsWritten(line)));
    }

    // The entries of a piece from `from` on, empty lines left out. An
    // information line whose path is not in the piece waits for the next.
    // The piece begins `offset` bytes into the file; the bar shows what is
    // taken, so that it stops at a bad line.
    void take(const PlaylistPiece& piece, std::size_t from, std::uint64_t offset, std::vector<PlaylistEntry>& rows,
              ReadProgressMeter& progress) {
        const std::string_view text = piece.text();
        // The piece's lines but the empty ones.
        const std::vector<PieceLine>& lines = piece.lines;
        const auto textOf = [&](const PieceLine& line, std::string& storage) {
            return inSystemText(text.substr(line.begin, line.end - line.begin), storage);
        };
        // Where the thread found the name is of the file's bytes, not of a
        // converted line.
        const auto nameAtOf = [&](const PieceLine& line) { return fromUtf8_ ? kNotAsWritten : line.nameAt; };
        std::size_t i = 0;
        while (i < lines.size() && lines[i].begin < from) ++i;
        for (; i < lines.size(); progress.at(offset + lines[i++].next)) {
            ++lines_;
            const std::string_view line = textOf(lines[i], lineText_);
            if (waitingInfo_) {
                const std::string infoLine = std::move(*waitingInfo_);
                waitingInfo_.reset();
                rows.push_back(informationEntry(infoLine, line, nameAtOf(lines[i])));
            } else if (!isInformationLine(line)) {
                rows.push_back(plainEntry(line, nameAtOf(lines[i])));
            } else if (i + 1 == lines.size()) {
                waitingInfo_.emplace(line);
                return;
            } else {
                ++lines_;
                ++i;
                rows.push_back(informationEntry(line, textOf(lines[i], pathText_), nameAtOf(lines[i])));
            }
        }
        progress.at(offset + text.size());  // empty lines at its end
    }

    // At the end of the file, an information line still waiting has no path
    // line: the index of that line, counting the header, is the error.
    void finish() const {
        if (waitingInfo_) throw indexOutOfRangeError(static_cast<long long>(lines_));
    }

    // Rows made without a file name.
    std::size_t nameless() const { return rows_.nameless(); }
    // Rows left without a name because a line did not convert.
    std::size_t unconvertible() const { return rows_.unconvertible(); }

private:
    PlaylistEntry plainEntry(std::string_view pathLine, std::size_t nameAt) {
        return rows_.make(kUnknownText, kUnknownText, pathLine, nameAt, takeUnconvertible());
    }

    PlaylistEntry informationEntry(std::string_view infoLine, std::string_view pathLine, std::size_t nameAt) {
        // The playlist's folder becomes the current directory at the first
        // #EXTINF line, and stays it after the read, as it always has.
        if (!inPlaylistFolder_) {
            inPlaylistFolder_ = true;
            ports_.fs.setCurrentDirectory(playlistFolder_);
        }
        // The seconds stand from the ninth character up to the first comma,
        // the title after it; the first eight characters are skipped
        // whatever they are.
        const std::size_t comma = infoLine.find(',');
        const std::string_view seconds =
            comma != std::string_view::npos && comma > 8 ? infoLine.substr(8, comma - 8) : std::string_view();
        const std::optional<int> value = parseInteger(seconds);
        if (!value) throw invalidIntegerError(seconds);
        return rows_.make(infoLine.substr(comma + 1), FormatLengthText(*value), pathLine, nameAt, takeUnconvertible());
    }

    bool takeUnconvertible() { return std::exchange(unconvertible_, false); }

    // A ".m3u8" playlist is UTF-8 whatever the system's code page: on
    // another code page each line is converted exactly, and a line that
    // does not convert leaves its row without a file name, to be dropped and
    // counted as gathering does with such names.
    std::string_view inSystemText(std::string_view line, std::string& storage) {
        if (!fromUtf8_) return line;
        std::optional<std::string> converted = convertCodePageExactly(line, CodePage::Utf8, ports_.rules.codePage());
        unconvertible_ = unconvertible_ || !converted;
        storage = converted ? std::move(*converted) : std::string();
        return storage;
    }

    const PlaylistReaderPorts& ports_;
    std::string playlistFolder_;
    bool inPlaylistFolder_ = false;
    std::size_t lines_ = 1;  // lines taken, the header included
    std::optional<std::string> waitingInfo_;
    const bool fromUtf8_;
    bool unconvertible_ = false;  // a line of the row being made did not convert
    std::string lineText_;        // converted lines
    std::string pathText_;
    RowMaker rows_;
};

std::unique_ptr<ByteStream> openPlaylist(FileSystem& fs, const std::string& path) {
    std::unique_ptr<ByteStream> stream = fs.openForReading(path);
    if (!stream) throw cannotOpenError(path);
    // Refused before a byte is read: a row's texts are under 2 GiB, and a
    // playlist of that size would take gigabytes of rows and minutes of
    // reading only to fail.
    if (stream->size() && *stream->size() >= kLargestPlaylist) throw tooLargeError(path);
    return stream;
}

// The playlist streams in pieces, read a piece or two ahead of the rows
// being made: only the rows and a few pieces are held, never the whole
// file beside the rows.
class PlaylistFile {
public:
    PlaylistFile(const PlaylistReaderPorts& ports, const std::string& path)
        : stream_(openPlaylist(ports.fs, path)), pieces_(*stream_, ports.rules), path_(path) {}
    PlaylistPieceReader& pieces() { return pieces_; }
    void checkRead() const {
        if (pieces_.failed()) throw cannotOpenError(path_);
    }
    // Reads the rest, so that a file that cannot be read to its end says
    // so; the progress shown, if any, goes on up to the end.
    void readThrough(ReadProgressMeter* progress) {
        for (PlaylistPiece piece; pieces_.next(piece);) {
            if (progress) progress->at(pieces_.consumed());
        }
        checkRead();
    }

private:
    std::unique_ptr<ByteStream> stream_;
    PlaylistPieceReader pieces_;  // after the stream, so that it stops reading first
    std::string path_;
};

// Memory for the rows in one go, from the bytes the first piece's rows took
// and the file's size, so that the rows are not moved to ever larger blocks
// as they come; capacity reserved and never used costs no memory until
// written.
void reserveRows(std::vector<PlaylistEntry>& rows, std::uint64_t bytesRead, std::optional<std::uint64_t> fileBytes) {
    if (rows.empty() || !fileBytes) return;
    const double perRow = static_cast<double>(bytesRead) / static_cast<double>(rows.size());
    rows.reserve(static_cast<std::size_t>(static_cast<double>(*fileBytes) / perRow * 1.1) + rows.size());
}

}  // namespace

bool hasFileName(const PlaylistEntry& row) { return !row.fileName().empty(); }

namespace {

// Editors that save UTF-8 may begin a ".m3u8" with a byte order mark; it is
// no part of the header or of a first entry. (An ".m3u" keeps the program's
// rule: a mark makes its first line no header.)
void withoutByteOrderMark(std::string_view& firstLine, bool utf8) {
    if (utf8 && firstLine.starts_with("\xEF\xBB\xBF")) firstLine.remove_prefix(3);
}

// A PLS or XSPF playlist through its parser. The rows come whole at the
// end, so a file broken anywhere gives none.
PlaylistPass readParsed(const PlaylistReaderPorts& ports, const std::string& path, PlaylistFormat format,
                        std::vector<PlaylistEntry>& rows) {
    PlaylistPass read;
    try {
        const std::unique_ptr<ByteStream> stream = openPlaylist(ports.fs, path);
        const std::unique_ptr<PlaylistParser> parser = makePlaylistParser(
            format,
            {ports.rules, path,
             ports.rules.makeAbsolute(playlistFolder(ports.fs, path, ports.rules), ports.fs.currentDirectory())});
        ReadProgressMeter progress(ports.progress, stream->size());
        // A mebibyte at a time, or the whole of a smaller file.
        std::vector<char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(
            std::uint64_t{1} << 20, stream->size() ? *stream->size() + 1 : std::uint64_t{1} << 20)));
        std::uint64_t done = 0;
        for (;;) {
            const std::optional<std::size_t> got = stream->read(buffer.data(), buffer.size());
            if (!got) throw cannotOpenError(path);
            if (*got == 0) break;
            parser->feed({buffer.data(), *got});
            progress.at(done += *got);
        }
        rows = parser->finish();
        read.nameless = parser->nameless();
        read.unconvertible = parser->unconvertible();
    } catch (const ListoraError& error) {
        read.error = error;
        rows.clear();
    }
    return read;
}

// The read of readPlaylist and readPlaylistInPieces: the rows go to `rows`,
// which `take`, when there is one, is given after each piece.
PlaylistPass readInto(const PlaylistReaderPorts& ports, const std::string& path, HeaderPolicy header,
                      std::vector<PlaylistEntry>& rows, const RowsTaker* take) {
    if (const PlaylistFormat format = formatOfPath(path);
        format == PlaylistFormat::Pls || format == PlaylistFormat::Xspf)
        return readParsed(ports, path, format, rows);
    PlaylistPass read;
    try {
        std::optional<PlaylistFile> file(std::in_place, ports, path);
        PlaylistPiece first;
        if (!file->pieces().next(first)) {
            file->checkRead();
            return read;  // an empty playlist is read, with no rows
        }
        LineReader firstLines(first.text());
        std::string_view firstLine;
        firstLines.next(firstLine);  // a piece holds a line at least
        const bool utf8 = formatOfPath(path) == PlaylistFormat::M3u8;
        withoutByteOrderMark(firstLine, utf8);
        // The size, asked once, sizes the rows and the progress of each pass.
        const std::optional<std::uint64_t> fileBytes = ports.fs.entrySize(path);
        // The file's own first line is an entry when the header is missing.
        const bool hasHeader = firstLine == kHeader;

        if (!hasHeader && header == HeaderPolicy::Ask) {
            // The whole file is read before the question, so that a file
            // that cannot be read says so rather than asking first; the rows
            // are made in a second read, after the answer, as the read
            // changes the current directory.
            {
                // This pass is as long as the one after it; its bar goes
                // before the question.
                ReadProgressMeter progress(ports.progress, fileBytes);
                file->readThrough(&progress);
            }
            const Answer answer = ports.prompts.confirm(
                Question::ReadWithoutHeader,
                systemText("このファイルはm3uファイルではない可能性があります、強制的に読み込みますか？"),
                Buttons::YesNo);
            if (answer != Answer::Yes) {
                read.refused = true;
                return read;
            }
            file.emplace(ports, path);
            if (!file->pieces().next(first)) {
                file->checkRead();
                return read;
            }
            firstLines = LineReader(first.text());
            firstLines.next(firstLine);
            withoutByteOrderMark(firstLine, utf8);
        }

        EntryReader reader(ports, path);
        ReadProgressMeter progress(ports.progress, fileBytes);
        try {
            if (!hasHeader) reader.takeFirstLine(firstLine, rows);
            // The first piece from after its first line, then every piece.
            PlaylistPiece& piece = first;
            for (bool firstPiece = true;; firstPiece = false) {
                const std::uint64_t taken = file->pieces().consumed();
                reader.take(piece, firstPiece ? firstLines.position() : 0, taken - piece.text().size(), rows, progress);
                if (take)
                    (*take)(rows);
                else if (firstPiece)
                    reserveRows(rows, taken, fileBytes);
                if (!file->pieces().next(piece)) break;
            }
            reader.finish();
            read.nameless = reader.nameless();
            read.unconvertible = reader.unconvertible();
        } catch (const ListoraError&) {
            read.nameless = reader.nameless();
            read.unconvertible = reader.unconvertible();
            // A bad line keeps the rows read before it, unless the file
            // cannot be read to its end: that is reported as such and gives
            // nothing, as if the file had been read whole first. The bar
            // stays where the bad line was.
            file->readThrough(nullptr);
            throw;
        }
        file->checkRead();
    } catch (const ListoraError& error) {
        read.error = error;
    }
    return read;
}

}  // namespace

PlaylistRead readPlaylist(const PlaylistReaderPorts& ports, const std::string& path, HeaderPolicy header) {
    PlaylistRead read;
    const PlaylistPass pass = readInto(ports, path, header, read.rows, nullptr);
    read.refused = pass.refused;
    read.error = pass.error;
    read.nameless = pass.nameless;
    read.unconvertible = pass.unconvertible;
    // Every CannotOpen comes from the stream: a file that could not be
    // opened or read to its end gives no rows.
    if (read.error && read.error->kind() == ErrorKind::CannotOpen) {
        read.rows = {};
        read.nameless = 0;
        read.unconvertible = 0;
    }
    return read;
}

PlaylistPass readPlaylistInPieces(const PlaylistReaderPorts& ports, const std::string& path, HeaderPolicy header,
                                  const RowsTaker& take) {
    std::vector<PlaylistEntry> rows;
    const PlaylistPass pass = readInto(ports, path, header, rows, &take);
    if (!rows.empty()) take(rows);  // those before a bad line
    return pass;
}

void LoadToFile(MainList& list, std::string& currentPlaylistFile, const PlaylistReaderPorts& ports,
                const std::string& path) {
    PlaylistRead read = readPlaylist(ports, path, HeaderPolicy::Ask);
    if (read.refused) return;
    // Rows without a file name in the list come from a read that ended in
    // an error; the new rows need no look when the reader made none.
    const bool nameless = read.nameless > 0 || !std::all_of(list.rows().begin(), list.rows().end(), hasFileName);
    list.appendAll(std::move(read.rows));
    if (read.error) throw *read.error;
    currentPlaylistFile = path;
    // A path line ending in a separator, or one that could not be made
    // absolute, has no file name; such rows go, also those read earlier.
    if (nameless) list.removeUnless(hasFileName);
    if (read.unconvertible > 0) ports.prompts.information(leftOutNamesText(read.unconvertible));
}

std::string leftOutNamesText(std::size_t count) {
    return std::to_string(count) + systemText("個のファイルは名前に扱えない文字があるため追加しませんでした");
}

}  // namespace listora
