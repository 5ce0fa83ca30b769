#include "core/fileops/operation_log.h"

#include "core/errors/errors.h"
#include "core/files/file_system.h"
#include "core/ports/clock.h"

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

namespace listora {
namespace {

constexpr std::size_t kPiece = 1 << 20;

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

struct OperationLog::State {
    State(FileSystem& fs, std::string folder, std::string dayFile)
        : fs(fs), folder(std::move(folder)), dayFile(std::move(dayFile)) {}

    FileSystem& fs;
    const std::string folder;
    const std::string dayFile;

    std::mutex mutex;
    std::condition_variable_any wake;
    std::string held;  // the held records' lines, each ended by CR LF
    std::chrono::steady_clock::time_point firstHeldAt;

    // Touched only by the one writer at a time: the log's thread while it
    // runs, the run's thread after it has stopped. The file up to here has
    // been seen to hold CR LF breaks only; what others add after it is
    // checked at the next write.
    std::uint64_t checkedUpTo = 0;
    std::jthread writer;

    // On the run's thread, so that the port is used by one thread only
    // besides the shared file's opening; a failure shows as the write's.
    void makeFolder() {
        if (!fs.exists(folder)) fs.createFolder(folder);
    }
    bool writeHeld();
    bool writePiece(std::string_view held);
    bool rewriteMended(SharedFile& file, std::uint64_t size, std::string_view held);
    void writeWhenDue(std::stop_token stop);
    void stopWriter() {
        if (!writer.joinable()) return;
        writer.request_stop();
        writer.join();
    }
};

OperationLog OperationLog::open(FileSystem& fs, const Clock& clock, const std::string& logFolder) {
    const Date today = clock.today();
    std::string dayFile = logFolder + dayFileName(today.year, today.month, today.day);
    if (fs.exists(dayFile) && !fs.openForReading(dayFile)) throw cannotOpenError(dayFile);
    std::string folder = logFolder;
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return OperationLog(std::make_unique<State>(fs, std::move(folder), std::move(dayFile)));
}

OperationLog::OperationLog(std::unique_ptr<State> state) : state_(std::move(state)) {}
OperationLog::OperationLog(OperationLog&&) noexcept = default;

OperationLog::~OperationLog() {
    if (!state_) return;
    state_->stopWriter();
    try {
        if (!state_->held.empty()) state_->writeHeld();
    } catch (...) {  // out of memory while mending: nothing more can be done
    }
}

const std::string& OperationLog::dayFile() const { return state_->dayFile; }

void OperationLog::add(const LogRecord& record) {
    State& s = *state_;
    {
        const std::lock_guard lock(s.mutex);
        if (s.held.empty()) s.firstHeldAt = std::chrono::steady_clock::now();
        for (const std::string* line : {&record.fileName, &record.kind, &record.before, &record.after}) {
            s.held += *line;
            s.held += "\r\n";
        }
    }
    if (!s.writer.joinable()) {
        s.makeFolder();
        s.writer = std::jthread([&s](std::stop_token stop) { s.writeWhenDue(stop); });
    }
    s.wake.notify_one();
}

void OperationLog::write() {
    state_->stopWriter();
    state_->makeFolder();
    if (!state_->writeHeld()) throw cannotCreateError(state_->dayFile);
}

void OperationLog::State::writeWhenDue(std::stop_token stop) {
    std::unique_lock lock(mutex);
    for (;;) {
        if (!wake.wait(lock, stop, [&] { return !held.empty(); })) return;
        wake.wait_until(lock, stop, firstHeldAt + kPieceInterval, [] { return false; });
        if (stop.stop_requested()) return;
        // The records are written without the lock, so the run adds more
        // meanwhile; those that fail go back in front of them.
        std::string piece = std::move(held);
        held.clear();
        lock.unlock();
        const bool written = writePiece(piece);
        lock.lock();
        if (!written) {
            held.insert(0, piece);
            firstHeldAt = std::chrono::steady_clock::now();
        }
    }
}

bool OperationLog::State::writeHeld() {
    if (!writePiece(held)) return false;
    held.clear();
    return true;
}

bool OperationLog::State::rewriteMended(SharedFile& file, std::uint64_t size, std::string_view piece) {
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
    mended += joined(piece, mended.empty() || mended.back() == '\n');
    if (!file.replace(mended)) return false;
    checkedUpTo = mended.size();
    return true;
}

bool OperationLog::State::writePiece(std::string_view piece) {
    const std::unique_ptr<SharedFile> file = fs.openShared(dayFile);
    if (!file) return false;
    const std::optional<std::uint64_t> size = file->size();
    if (!size) return false;
    // Smaller than it was: another run rewrote it; it is checked anew.
    if (*size < checkedUpTo) checkedUpTo = 0;
    const std::optional<Scan> seen = scan(*file, checkedUpTo, *size);
    if (!seen) return false;
    if (!seen->onlyCrLf) return rewriteMended(*file, *size, piece);
    const std::string bytes = joined(piece, seen->lastByte == '\n');
    if (!bytes.empty() && !file->append(bytes)) return false;
    checkedUpTo = *size + bytes.size();
    return true;
}

}  // namespace listora
