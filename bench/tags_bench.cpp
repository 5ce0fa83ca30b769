#include "tags_bench.h"

#include "core/paths/path_rules.h"
#include "core/tags/tag_fill.h"
#include "core/tags/taglib/taglib_reader.h"
#include "measure.h"
#include "support/audio_files.h"
#include "window_bench.h"

#include <QAction>
#include <QApplication>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <taglib/id3v2tag.h>

namespace bench {
namespace {

// The audio of the largest file once; each file takes the frames it needs.
// An MP3 frame here is 417 bytes, 38.28 of them a second.
constexpr std::size_t kFrameBytes = 417;
constexpr std::size_t kMegabyte = 1 << 20;

std::string tagBytes(std::size_t index) {
    TagLib::ID3v2::Tag tag;
    tag.setTitle(TagLib::String("Title " + std::to_string(index), TagLib::String::UTF8));
    tag.setArtist(TagLib::String("Artist " + std::to_string(index % 100), TagLib::String::UTF8));
    const TagLib::ByteVector bytes = tag.render();
    return std::string(bytes.data(), bytes.size());
}

// 1, 2, 3, 4 MB in turn, written whole; the Xing header, when asked for,
// counts the file's own frames.
std::uint64_t writeFiles(const std::string& folder, std::size_t files, bool xing) {
    std::filesystem::create_directories(folder);
    const std::string audio = listora::test::mp3Audio(4.0 * kMegabyte / kFrameBytes * 1152 / 44100 + 1, false);
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < files; ++i) {
        const std::size_t frames = ((i % 4) + 1) * kMegabyte / kFrameBytes;
        std::string bytes = tagBytes(i);
        if (xing) {
            const std::string header = listora::test::mp3Audio(static_cast<double>(frames) * 1152 / 44100, true);
            bytes.append(header, 0, kFrameBytes);  // its Xing frame only
        }
        bytes.append(audio, 0, frames * kFrameBytes);
        std::ofstream(folder + "/" + std::to_string(i) + ".mp3", std::ios::binary) << bytes;
        total += bytes.size();
    }
    return total;
}

std::vector<listora::PlaylistEntry> rowsOf(const std::string& folder, std::size_t files) {
    std::vector<listora::PlaylistEntry> rows;
    for (std::size_t i = 0; i < files; ++i) {
        const std::string name = std::to_string(i) + ".mp3";
        rows.emplace_back("---", "---", name, folder + "/" + name);
    }
    return rows;
}

std::vector<std::size_t> allRows(std::size_t count) {
    std::vector<std::size_t> rows(count);
    for (std::size_t i = 0; i < count; ++i) rows[i] = i;
    return rows;
}

void checkFilled(const listora::MainList& list, const std::string& what) {
    for (const listora::PlaylistEntry& row : list.rows())
        if (row.lengthText() == listora::kUnknownText || row.title().rfind("Artist ", 0) != 0)
            throw std::runtime_error(what + " left " + std::string(row.fileName()) + " unread");
}

double readCore(const std::string& folder, std::size_t files, const std::shared_ptr<listora::TagReader>& reader) {
    listora::MainList list;
    list.appendAll(rowsOf(folder, files));
    const double seconds = secondsOf(
        [&] { listora::fillRowsFromTags(list, allRows(files), reader, listora::PathRules::native(), nullptr); });
    checkFilled(list, "the core's read");
    return seconds;
}

// Bytes this process has read so far (its rchar).
std::uint64_t bytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

}  // namespace

TagTimings timeTagReads(const std::string& workFolder, std::size_t files, int runs) {
    TagTimings timings;
    timings.files = files;
    const std::string folder = workFolder + "/tags";
    timings.megabytes = static_cast<double>(writeFiles(folder, files, true)) / kMegabyte;
    const std::vector<std::string> reference = {"find", folder, "-name",  "*.mp3", "-exec",
                                                "head", "-c",   "131072", "{}",    "+"};
    const auto reader = std::make_shared<listora::TagLibReader>();
    runCommand(reference);  // warm: the files' first pages, and their last ones
    readCore(folder, files, reader);

    BenchWindow window(workFolder);
    window.form.setTagReader(reader);
    QAction* command = window.form.findChild<QAction*>("popupReadTags");
    if (!command) throw std::runtime_error("no menu item popupReadTags");
    listora::MainList& shown = window.form.state().list;
    for (int run = 0; run < runs; ++run) {
        timings.reference.push_back(runCommand(reference));
        timings.core.push_back(readCore(folder, files, reader));
        shown.clear();
        shown.appendAll(rowsOf(folder, files));
        QApplication::processEvents();
        timings.window.push_back(window.secondsUntilPainted("reading tags", [&] { command->trigger(); }));
        checkFilled(shown, "the window's command");
    }
    std::filesystem::remove_all(folder);

    // Without a Xing header TagLib's fast style takes the length from the
    // first frame's bit rate and the file's size; it must not read the file.
    const std::size_t plainFiles = std::min<std::size_t>(files, 1000);
    const std::uint64_t plainBytes = writeFiles(folder, plainFiles, false);
    timings.bytesPerFile = static_cast<double>(plainBytes) / static_cast<double>(plainFiles);
    readCore(folder, plainFiles, reader);
    for (int run = 0; run < runs; ++run) {
        const std::uint64_t before = bytesRead();
        timings.withoutXing.push_back(readCore(folder, plainFiles, reader));
        timings.bytesReadPerFile = static_cast<double>(bytesRead() - before) / static_cast<double>(plainFiles);
    }
    std::filesystem::remove_all(folder);
    return timings;
}

}  // namespace bench
