#include "support/faulty_file_system.h"

#include <algorithm>

namespace listora::test {
namespace {

// Gives the first bytes of the file, then fails as a broken disk would.
class CutStream : public ByteStream {
public:
    CutStream(std::unique_ptr<ByteStream> inner, std::size_t left) : inner_(std::move(inner)), left_(left) {}
    std::optional<std::size_t> read(char* buffer, std::size_t size) override {
        if (left_ == 0) return std::nullopt;
        const std::optional<std::size_t> got = inner_->read(buffer, std::min(size, left_));
        if (got) left_ -= *got;
        return got;
    }

private:
    std::unique_ptr<ByteStream> inner_;
    std::size_t left_;
};

// Passes on the first bytes of a file being written, then breaks off the
// write as a full disk would.
class CutSink : public ByteSink {
public:
    struct BrokenOff {};
    CutSink(ByteSink& inner, std::size_t left) : inner_(inner), left_(left) {}
    void write(std::string_view bytes) override {
        inner_.write(bytes.substr(0, left_));
        if (bytes.size() > left_) throw BrokenOff{};
        left_ -= bytes.size();
    }

private:
    ByteSink& inner_;
    std::size_t left_;
};

}  // namespace

void FaultyFileSystem::failCall(FsOperation operation, int nth) {
    failingCall_[index(operation)] = nth == 0 ? 0 : calls_[index(operation)] + nth;
}

void FaultyFileSystem::cutStream(int nthOpening, std::size_t bytes) {
    cutOpening_ = calls_[index(FsOperation::OpenForReading)] + nthOpening;
    cutAfter_ = bytes;
}

void FaultyFileSystem::cutWrite(int nthWrite, std::size_t bytes) {
    cutWrite_ = calls_[index(FsOperation::WriteWholeFile)] + nthWrite;
    cutWriteAfter_ = bytes;
}

void FaultyFileSystem::breakListing(const std::string& folder, std::size_t kept) {
    brokenFolder_ = folder;
    keptEntries_ = kept;
}

bool FaultyFileSystem::failsNow(FsOperation operation) {
    return ++calls_[index(operation)] == failingCall_[index(operation)];
}

std::optional<std::string> FaultyFileSystem::readWholeFile(const std::string& path) {
    if (failsNow(FsOperation::ReadWholeFile)) return std::nullopt;
    return NativeFileSystem::readWholeFile(path);
}

std::unique_ptr<ByteStream> FaultyFileSystem::openForReading(const std::string& path) {
    if (failsNow(FsOperation::OpenForReading)) return nullptr;
    std::unique_ptr<ByteStream> stream = NativeFileSystem::openForReading(path);
    if (!stream || calls(FsOperation::OpenForReading) != cutOpening_) return stream;
    return std::make_unique<CutStream>(std::move(stream), cutAfter_);
}

bool FaultyFileSystem::writeWholeFile(const std::string& path, std::string_view bytes) {
    return !failsNow(FsOperation::WriteWholeFile) && NativeFileSystem::writeWholeFile(path, bytes);
}

bool FaultyFileSystem::writeFileInPieces(const std::string& path, const std::function<void(ByteSink&)>& produce) {
    if (failsNow(FsOperation::WriteWholeFile)) return false;
    if (calls(FsOperation::WriteWholeFile) != cutWrite_) return NativeFileSystem::writeFileInPieces(path, produce);
    try {
        return NativeFileSystem::writeFileInPieces(path, [&](ByteSink& sink) {
            CutSink cut(sink, cutWriteAfter_);
            produce(cut);
        });
    } catch (const CutSink::BrokenOff&) {
        return false;
    }
}

bool FaultyFileSystem::exists(const std::string& path) {
    return !failsNow(FsOperation::Exists) && NativeFileSystem::exists(path);
}

bool FaultyFileSystem::isFile(const std::string& path) {
    return !failsNow(FsOperation::IsFile) && NativeFileSystem::isFile(path);
}

bool FaultyFileSystem::createFolder(const std::string& path) {
    return !failsNow(FsOperation::CreateFolder) && NativeFileSystem::createFolder(path);
}

std::optional<std::uint64_t> FaultyFileSystem::entrySize(const std::string& path) {
    if (failsNow(FsOperation::EntrySize)) return std::nullopt;
    return NativeFileSystem::entrySize(path);
}

Listing FaultyFileSystem::listFolder(const std::string& path, std::vector<FolderEntry>& entries) {
    if (failsNow(FsOperation::ListFolder)) {
        entries.clear();
        return Listing::CannotOpen;
    }
    const Listing listing = NativeFileSystem::listFolder(path, entries);
    if (path != brokenFolder_) return listing;
    entries.resize(std::min(entries.size(), keptEntries_));
    return Listing::BrokenOff;
}

bool FaultyFileSystem::moveFile(const std::string& source, const std::string& target) {
    return !failsNow(FsOperation::MoveFile) && NativeFileSystem::moveFile(source, target);
}

bool FaultyFileSystem::copyFile(const std::string& source, const std::string& target) {
    return !failsNow(FsOperation::CopyFile) && NativeFileSystem::copyFile(source, target);
}

bool FaultyFileSystem::deleteFile(const std::string& path) {
    return !failsNow(FsOperation::DeleteFile) && NativeFileSystem::deleteFile(path);
}

bool FaultyFileSystem::syncToDisk(const std::string& folder) {
    return !failsNow(FsOperation::SyncToDisk) && NativeFileSystem::syncToDisk(folder);
}

bool FaultyFileSystem::setCurrentDirectory(const std::string& path) {
    return !failsNow(FsOperation::SetCurrentDirectory) && NativeFileSystem::setCurrentDirectory(path);
}

}  // namespace listora::test
