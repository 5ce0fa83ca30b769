#pragma once
// Whole text files as lines: CR LF, a lone CR and a lone LF each end a line,
// a break at the very end adds no empty line, and a NUL byte ends the text
// (or, for the operation log, is a byte of its line).
// Lines are written back with CR LF after every line, the last one included.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace listora {

// What a NUL byte is: the end of a playlist's text, as it always was, or a
// byte like any other in a line, as in the operation log, whose records
// after a damaged spot must stay readable.
enum class NulByte { EndsText, InLine };

// Walks the lines of a text one at a time without copying them.
class LineReader {
public:
    explicit LineReader(std::string_view text, NulByte nul = NulByte::EndsText)
        : text_(text), nulEnds_(nul == NulByte::EndsText) {}
    // The next line as a view into the text; false after the last one.
    bool next(std::string_view& line);
    // Where the next line begins.
    std::size_t position() const { return pos_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    bool nulEnds_;
};

class ByteStream;
template <typename Item>
class ReadAhead;

// A line of a piece, as LineReader finds it: its bytes [begin, end), the
// line after it from `next`, and, when the line as written is a full path,
// where its file name begins (PathRules::nameAsWritten, npos otherwise).
struct PieceLine {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    std::size_t nameAt = std::string_view::npos;
};

// Bytes of a stream that begin and end with whole lines, breaks included;
// only the last piece of a text may end without a break. The piece is the
// caller's: views into it stay valid until it is handed back to the reader.
class LinePiece {
public:
    std::string_view text() const { return {data_.get(), size_}; }
    // Its lines but the empty ones, which make nothing, from
    // ReadAheadLinePieces (so a file of empty lines costs no more than its
    // pieces); none from LinePieceReader.
    const std::vector<PieceLine>& lines() const { return lines_; }

private:
    friend class LinePieceReader;
    friend class ReadAheadLinePieces;
    std::unique_ptr<char[]> data_;  // not zeroed: every byte used was read
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    std::vector<PieceLine> lines_;
};

// Reads a stream as pieces of whole lines, with the rules above: a CR at the
// end of what has been read waits for the next byte, and a NUL that ends the
// text ends the stream there, nothing after it read.
class LinePieceReader {
public:
    explicit LinePieceReader(ByteStream& stream, NulByte nul, std::size_t pieceBytes = std::size_t{1} << 20)
        : stream_(stream), nulEnds_(nul == NulByte::EndsText), pieceBytes_(pieceBytes) {}

    // The next piece, of about pieceBytes or one line longer, in the room of
    // `piece`, which is used again; false after the last one.
    bool next(LinePiece& piece);
    // True when the stream broke off before its end (or a line outgrew
    // memory): the whole lines before the break were handed out, the line it
    // broke off in is not, as a cut line would pass for a whole one.
    bool failed() const { return failed_; }
    // Bytes of the stream in the pieces handed out.
    std::uint64_t consumed() const { return consumed_; }

private:
    bool fill(LinePiece& piece);
    bool fail();

    ByteStream& stream_;
    bool nulEnds_;
    std::size_t pieceBytes_;
    std::string carried_;  // read after the last piece's end
    std::uint64_t consumed_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

class PathRules;

// The pieces of LinePieceReader with their lines found, and with `names`
// the file names of the lines that are full paths (a playlist's), read on
// a thread of their own a piece or two ahead of the caller, so that the
// file's reading (the kernel's copy, the looks for a NUL, for the breaks
// and for the names) runs while the caller works on the piece before.
// Where no thread can be started, the pieces are read in place, the same
// ones.
class ReadAheadLinePieces {
public:
    ReadAheadLinePieces(ByteStream& stream, NulByte nul, const PathRules* names = nullptr,
                        std::size_t pieceBytes = std::size_t{1} << 20);
    ~ReadAheadLinePieces();

    // After the last piece, `piece` is left empty.
    bool next(LinePiece& piece);
    // As LinePieceReader's, for the pieces handed out so far.
    bool failed() const { return failed_; }
    std::uint64_t consumed() const { return consumed_; }

private:
    struct Made {
        LinePiece piece;
        bool failed = false;  // the reader's, once this piece was read
    };
    bool make(Made& made);

    LinePieceReader reader_;  // on the reading thread while there is one
    NulByte nul_;
    const PathRules* names_;
    std::unique_ptr<ReadAhead<Made>> ahead_;
    bool failed_ = false;
    std::uint64_t consumed_ = 0;
};

// Reads the lines of a stream a piece at a time, with the same rules; a file
// of any size costs about a piece and its longest line. A view stays valid
// until the next call.
class StreamLineReader {
public:
    explicit StreamLineReader(ByteStream& stream, NulByte nul = NulByte::EndsText) : pieces_(stream, nul), nul_(nul) {}
    bool next(std::string_view& line);
    bool failed() const { return pieces_.failed(); }

private:
    LinePieceReader pieces_;
    NulByte nul_;
    LinePiece piece_;
    LineReader lines_{std::string_view(), NulByte::InLine};
};

// All lines at once, as views into `text`.
std::vector<std::string_view> splitLines(std::string_view text);

// Appends the line and its CR LF.
inline void appendLine(std::string& out, std::string_view line) {
    out += line;
    out += "\r\n";
}

}  // namespace listora
