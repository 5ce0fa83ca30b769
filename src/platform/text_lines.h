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

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    bool nulEnds_;
};

class ByteStream;

// Reads the lines of a stream a piece at a time, with the same rules; only
// the unread part of the text is held, so a file of any size costs about
// its longest line. A view stays valid until the next call.
class StreamLineReader {
public:
    explicit StreamLineReader(ByteStream& stream, NulByte nul = NulByte::EndsText)
        : stream_(stream), nulEnds_(nul == NulByte::EndsText) {}
    bool next(std::string_view& line);
    // True when the stream broke off before its end (or a line outgrew
    // memory); the line it broke off in is not handed out.
    bool failed() const { return failed_; }
    // Bytes of the stream before the next line.
    std::uint64_t consumed() const { return dropped_ + pos_; }

private:
    void readMore();
    void fail();

    ByteStream& stream_;
    bool nulEnds_;
    std::unique_ptr<char[]> data_;  // not zeroed: every byte used was read
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;       // bytes read and not yet dropped
    std::size_t pos_ = 0;        // where the next line starts
    std::size_t scanned_ = 0;    // no break stands between pos_ and this
    std::uint64_t dropped_ = 0;  // bytes of the stream before data_
    bool ended_ = false;
    bool failed_ = false;
};

// All lines at once, as views into `text`.
std::vector<std::string_view> splitLines(std::string_view text);

// Appends the line and its CR LF.
inline void appendLine(std::string& out, std::string_view line) {
    out += line;
    out += "\r\n";
}

}  // namespace listora
