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
    static constexpr std::size_t kNotSearched = SIZE_MAX;
    // The first `byte` at or after the current position, or the text's end.
    std::size_t nextOf(char byte, std::size_t& found);

    std::string_view text_;
    std::size_t pos_ = 0;
    bool nulEnds_;
    std::size_t lf_ = kNotSearched;
    std::size_t cr_ = kNotSearched;
    std::size_t nul_ = kNotSearched;
};

class ByteStream;

// Bytes of a stream that begin and end with whole lines, breaks included;
// only the last piece of a text may end without a break. The piece is the
// caller's: views into it stay valid until it is handed back to the reader.
class LinePiece {
public:
    std::string_view text() const { return {data_.get(), size_}; }

private:
    friend class LinePieceReader;
    std::unique_ptr<char[]> data_;  // not zeroed: every byte used was read
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// Reads a stream as pieces of whole lines, with the rules above: a CR at the
// end of what has been read waits for the next byte, and a NUL that ends the
// text ends the stream there, nothing after it read.
class LinePieceReader {
public:
    explicit LinePieceReader(ByteStream& stream, NulByte nul, std::size_t pieceBytes = std::size_t{1} << 20)
        : stream_(stream), nulEnds_(nul == NulByte::EndsText), pieceBytes_(pieceBytes) {}

    // The next piece, of about pieceBytes or one line longer, in the buffer of
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
