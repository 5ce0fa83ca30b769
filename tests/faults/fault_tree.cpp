#include "fault_tree.h"

#include "core/fileops/log_reader.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace listora::faults {
namespace {

namespace fs = std::filesystem;

std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

bool isLarge(std::size_t index, const TreeShape& shape) {
    const std::size_t every = (shape.smallFiles + shape.largeFiles) / (shape.largeFiles + 1);
    return shape.largeFiles > 0 && index % every == every - 1 && index / every < shape.largeFiles;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Rows with and without a length, so that the conversion writes both; those
// without are written relative to the playlist's folder.
std::string convertedRow(std::size_t i, const std::string& folder) {
    const std::string path = folder + "row" + std::to_string(i) + ".mp3";
    if (i % 2 == 0) return path;
    return "#EXTINF:" + std::to_string(i % 600) + ",Artist - Title " + std::to_string(i) + "\r\n" + path;
}

}  // namespace

std::string musicBytes(std::size_t index, const TreeShape& shape) {
    const std::size_t size = isLarge(index, shape) ? shape.largeBytes : 1024 * (1 + mix(index) % 16);
    std::string bytes(size, '\0');
    std::uint64_t state = mix(index + 1);
    for (std::size_t at = 0; at < size; at += 8) {
        state = mix(state);
        for (std::size_t b = 0; b < 8 && at + b < size; ++b) bytes[at + b] = static_cast<char>(state >> (8 * b));
    }
    return bytes;
}

FaultTree::FaultTree(std::string root, std::string destination, const TreeShape& shape)
    : root_(std::move(root)), destination_(std::move(destination)), shape_(shape) {
    removeTree(root_);
    removeTree(destination_);
    fs::create_directories(root_ + "/music");
    fs::create_directories(destination_);
    fs::create_directories(home());
    oldPlaylist_ = "#EXTM3U\r\n";
    for (std::size_t i = 0; i < shape.smallFiles + shape.largeFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, isLarge(i, shape) ? "large%04zu.mp3" : "f%04zu.mp3", i);
        names_.push_back(name);
        writeFile(sourcePath(i), musicBytes(i, shape));
        oldPlaylist_ += sourcePath(i) + "\r\n";
    }
    writeFile(playlist(), oldPlaylist_);
    std::string in = "#EXTM3U\r\n";
    for (std::size_t i = 0; i < shape.convertRows; ++i) in += convertedRow(i, root_ + "/music/") + "\r\n";
    writeFile(convertIn(), in);
    oldConverted_ = "#EXTM3U\r\n" + root_ + "/music/old.mp3\r\n";
    writeFile(convertOut(), oldConverted_);
}

std::string FaultTree::playlistWith(const std::vector<bool>& atTarget) const {
    std::string text = "#EXTM3U\r\n";
    for (std::size_t i = 0; i < names_.size(); ++i) text += (atTarget[i] ? targetPath(i) : sourcePath(i)) + "\r\n";
    return text;
}

std::string FaultTree::newConverted() const {
    std::string text = "#EXTM3U\r\n";
    for (std::size_t i = 0; i < shape_.convertRows; ++i)
        text += convertedRow(i, i % 2 ? root_ + "/music/" : "music/") + "\r\n";
    return text;
}

bool FaultTree::wholeAt(std::size_t i, const std::string& path, bool& partial) const {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error))) return false;
    const bool whole = readFile(path) == musicBytes(i, shape_);
    partial = partial || !whole;
    return whole;
}

std::vector<std::string> FaultTree::strangers() const {
    std::set<std::string> known = {playlist(),      convertIn(),      convertOut(), home(),
                                   home() + "/Log", root_ + "/music", destination_};
    for (std::size_t i = 0; i < names_.size(); ++i) {
        known.insert(sourcePath(i));
        known.insert(targetPath(i));
    }
    std::vector<std::string> found;
    for (const std::string& top : {root_, destination_})
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(top)) {
            const std::string path = entry.path().string();
            const bool dayFile = entry.path().parent_path() == home() + "/Log" && entry.path().extension() == ".txt" &&
                                 entry.path().filename().string()[0] != '.';
            if (!known.count(path) && !dayFile) found.push_back(path);
        }
    return found;
}

std::optional<double> FaultTree::arrivalAt(const std::string& path) const {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
    return static_cast<double>(info.st_ctim.tv_sec) + static_cast<double>(info.st_ctim.tv_nsec) / 1e9;
}

std::vector<LogRecord> FaultTree::loggedRecords() const {
    std::vector<LogRecord> records;
    std::error_code error;
    std::set<fs::path> days;
    for (const fs::directory_entry& entry : fs::directory_iterator(home() + "/Log", error))
        if (entry.path().extension() == ".txt") days.insert(entry.path());
    for (const fs::path& day : days)
        for (LogRecord& record : readLogRecords(readFile(day.string()))) records.push_back(std::move(record));
    return records;
}

void removeTree(const std::string& path) {
    std::error_code error;
    fs::remove_all(path, error);
}

}  // namespace listora::faults
