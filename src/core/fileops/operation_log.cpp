#include "core/fileops/operation_log.h"

#include "core/errors/errors.h"
#include "core/files/file_system.h"
#include "core/ports/clock.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace listora {
namespace {

constexpr std::size_t kPiece = 1 << 20;
constexpr std::uint64_t kWholeFileLimit = 64 << 20;

std::string withCrLfBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

struct Scan {
    bool onlyCrLf = true;  // every CR followed by LF, every LF preceded by CR
    char lastByte = '\n';  // of the file; '\n' for an empty one
};

// Scans [from, size), the byte before `from` taken as its context. CRs and
// LFs are found with memchr, so clean text is scanned at memory speed.
std::optional<Scan> scan(SharedFile& file, std::uint64_t from, std::uint64_t size) {
    Scan result;
    if (size == 0) return result;
    if (from >= size) from = size - 1;
    std::unique_ptr<char[]> buffer(new char[kPiece + 1]);
    char before = 0;
    if (from > 0) {
        const std::optional<std::size_t> got = file.readAt(from - 1, &before, 1);
        if (!got || *got == 0) return std::nullopt;
    }
    result.lastByte = before;
    for (std::uint64_t at = from; at < size && result.onlyCrLf;) {
        const std::optional<std::size_t> got = file.readAt(at, buffer.get() + 1, kPiece);
        if (!got) return std::nullopt;
        if (*got == 0) break;  // shorter than it was a moment ago
        buffer[0] = before;
        const char* bytes = buffer.get() + 1;
        const char* end = bytes + *got;
        // A CR at the end of the last piece is checked with this one's first byte.
        for (const char* lf = bytes - 1; (lf = static_cast<const char*>(std::memchr(lf + 1, '\n', end - lf - 1)));)
            if (lf[-1] != '\r') result.onlyCrLf = false;
        for (const char* cr = bytes - 1; (cr = static_cast<const char*>(std::memchr(cr + 1, '\r', end - cr - 1)));)
            if (cr + 1 < end && cr[1] != '\n') result.onlyCrLf = false;
        if (before == '\r' && bytes[0] != '\n') result.onlyCrLf = false;
        before = end[-1];
        result.lastByte = before;
        at += *got;
    }
    if (result.lastByte == '\r') result.onlyCrLf = false;  // a CR that ends the file
    return result;
}

// The held lines as they join the file: after a break each line with its
// own, after a last line without a break each line after a break of its
// own, so no line ever merges with the one before it.
std::string joined(std::string_view held, bool fileEndsWithBreak) {
    if (fileEndsWithBreak || held.empty()) return std::string(held);
    std::string out = "\r\n";
    out += held.substr(0, held.size() - 2);
    return out;
}

}  // namespace

std::string dayFileName(int year, int month, int day) {
    char name[32];
    std::snprintf(name, sizeof name, "%04d-%02d-%02d.txt", year, month, day);
    return name;
}

OperationLog OperationLog::open(FileSystem& fs, const Clock& clock, const std::string& logFolder) {
    const Date today = clock.today();
    std::string dayFile = logFolder + dayFileName(today.year, today.month, today.day);
    if (fs.exists(dayFile) && !fs.openForReading(dayFile)) throw cannotOpenError(dayFile);
    std::string folder = logFolder;
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return OperationLog(std::move(folder), std::move(dayFile));
}

void OperationLog::add(const LogRecord& record) {
    for (const std::string* line : {&record.fileName, &record.kind, &record.before, &record.after}) {
        held_ += *line;
        held_ += "\r\n";
    }
    ++heldRecords_;
}

void OperationLog::writeIfDue(FileSystem& fs) {
    if (heldRecords_ == 0) return;
    if (heldRecords_ < kPieceRecords && std::chrono::steady_clock::now() - lastWrite_ < kPieceInterval) return;
    writeHeld(fs);
}

void OperationLog::write(FileSystem& fs) {
    if (!writeHeld(fs)) throw cannotCreateError(dayFile_);
}

bool OperationLog::rewriteMended(SharedFile& file, std::uint64_t size) {
    std::string text;
    text.resize(static_cast<std::size_t>(size));
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<std::size_t> got = file.readAt(at, text.data() + at, text.size() - at);
        if (!got) return false;
        if (*got == 0) {
            text.resize(at);
            break;
        }
        at += *got;
    }
    std::string mended = withCrLfBreaks(text);
    text = std::string();
    mended += joined(held_, mended.empty() || mended.back() == '\n');
    if (!file.replace(mended)) return false;
    checkedUpTo_ = mended.size();
    return true;
}

bool OperationLog::writeHeld(FileSystem& fs) {
    lastWrite_ = std::chrono::steady_clock::now();
    if (!fs.exists(folder_)) fs.createFolder(folder_);  // a failure shows as the write's
    const std::unique_ptr<SharedFile> file = fs.openShared(dayFile_);
    if (!file) return false;
    const std::optional<std::uint64_t> size = file->size();
    if (!size) return false;
    // Smaller than it was: another run rewrote it; it is checked anew.
    if (*size < checkedUpTo_) checkedUpTo_ = 0;
    const std::optional<Scan> seen = scan(*file, checkedUpTo_, *size);
    if (!seen) return false;
    if (!seen->onlyCrLf) {
        if (!rewriteMended(*file, *size)) return false;
    } else {
        const std::string bytes = joined(held_, seen->lastByte == '\n');
        // A day file of a usual size is made anew with the records after it,
        // so that a crash in the middle of a piece cannot leave part of a
        // record for the next run's records to follow out of step. Past that
        // size a piece is added in one write, to cost what the records cost.
        const bool whole = *size + bytes.size() <= kWholeFileLimit;
        if (!bytes.empty() && !(whole ? file->appendWhole(bytes) : file->append(bytes))) return false;
        checkedUpTo_ = *size + bytes.size();
    }
    held_.clear();
    heldRecords_ = 0;
    return true;
}

}  // namespace listora
