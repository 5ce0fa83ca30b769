#include "memory_file_system.h"

#include <algorithm>
#include <cstring>

namespace listora::fuzz {
namespace {

class PieceStream : public ByteStream {
public:
    PieceStream(std::string bytes, const std::vector<std::size_t>& pieces, std::optional<std::size_t> breakAfter)
        : bytes_(std::move(bytes)), pieces_(pieces), breakAfter_(breakAfter) {}

    std::optional<std::size_t> read(char* buffer, std::size_t size) override {
        if (breakAfter_ && reads_ == *breakAfter_) return std::nullopt;
        const std::size_t piece = pieces_[reads_ % pieces_.size()];
        ++reads_;
        const std::size_t count = std::min({size, piece, bytes_.size() - offset_});
        std::memcpy(buffer, bytes_.data() + offset_, count);
        offset_ += count;
        return count;
    }

private:
    std::string bytes_;
    std::vector<std::size_t> pieces_;
    std::optional<std::size_t> breakAfter_;
    std::size_t reads_ = 0;
    std::size_t offset_ = 0;
};

class StringSink : public ByteSink {
public:
    void write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

class MemorySharedFile : public SharedFile {
public:
    explicit MemorySharedFile(std::string& bytes) : bytes_(bytes) {}
    std::optional<std::uint64_t> size() override { return bytes_.size(); }
    std::optional<std::size_t> readAt(std::uint64_t offset, char* buffer, std::size_t size) override {
        if (offset >= bytes_.size()) return 0;
        const std::size_t count = std::min<std::size_t>(size, bytes_.size() - offset);
        std::memcpy(buffer, bytes_.data() + offset, count);
        return count;
    }
    bool append(std::string_view bytes) override {
        bytes_.append(bytes);
        return true;
    }
    bool replace(std::string_view bytes) override {
        bytes_.assign(bytes);
        return true;
    }

private:
    std::string& bytes_;
};

// The folder a path lies in, without its trailing "/".
std::string parentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

}  // namespace

std::optional<std::string> MemoryFileSystem::readWholeFile(const std::string& path) {
    const auto file = files.find(path);
    if (file == files.end()) return std::nullopt;
    return file->second;
}

std::unique_ptr<ByteStream> MemoryFileSystem::openForReading(const std::string& path) {
    const auto file = files.find(path);
    if (file == files.end()) return nullptr;
    return std::make_unique<PieceStream>(file->second, pieces, breakAfter);
}

bool MemoryFileSystem::writeWholeFile(const std::string& path, std::string_view bytes) {
    if (parentOf(path) != "/" && !folders.count(parentOf(path))) return false;
    files[path] = std::string(bytes);
    return true;
}

bool MemoryFileSystem::writeFileInPieces(const std::string& path, const std::function<void(ByteSink&)>& produce) {
    StringSink sink;
    produce(sink);
    return writeWholeFile(path, sink.text);
}

std::unique_ptr<SharedFile> MemoryFileSystem::openShared(const std::string& path) {
    if (parentOf(path) != "/" && !folders.count(parentOf(path))) return nullptr;
    return std::make_unique<MemorySharedFile>(files[path]);
}

}  // namespace listora::fuzz
