// Reads any bytes as a playlist, in pieces and in either code page, saves
// the rows it gave and reads the saved file again: every row that a playlist
// line can hold comes back the same, and the saved file reads without error.

#include "core/paths/path_rules.h"
#include "core/text/codepage.h"
#include "memory_file_system.h"
#include "no_prompts.h"
#include "piece_input.h"
#include "require.h"
#include "saved_rows.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace listora::fuzz {
namespace {

const std::string kFolder = "/lists";
const std::string kIn = "/lists/in.m3u";
const std::string kOut = "/lists/out.m3u";

// A row without a length is written as its path alone; that line cannot
// give the row back when it reads as an #EXTINF line (whose first character
// is not looked at), or, as a relative path, when it holds "\" but no "/",
// which is taken for a line written on Windows. A path that is no valid text
// of its code page (a CP932 lead byte before "/" or "\") has no characters
// to split at, and is no name a file system gave.
bool lineHoldsRow(const PlaylistEntry& row, PathMode mode, const PathRules& rules) {
    if (!convertCodePageExactly(row.fullPath(), rules.codePage(), CodePage::Utf8)) return false;
    if (row.lengthText() != kUnknownText) return true;
    const std::string line =
        mode == PathMode::Absolute ? std::string(row.fullPath()) : rules.relativeTo(row.fullPath(), kFolder + "/");
    if (line.size() >= 7 && line.compare(1, 6, "EXTINF") == 0) return false;
    return mode == PathMode::Absolute || line.find('/') != std::string::npos || line.find('\\') == std::string::npos;
}

}  // namespace
}  // namespace listora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace listora;
    using namespace listora::fuzz;
    FuzzedDataProvider input(data, size);
    const CodePage cp = input.ConsumeBool() ? CodePage::Cp932 : CodePage::Utf8;
    const PathMode mode = input.ConsumeBool() ? PathMode::Relative : PathMode::Absolute;
    MemoryFileSystem fs;
    choosePieces(input, fs);
    fs.folders.insert(kFolder);
    fs.cwd = kFolder;
    fs.files[kIn] = input.ConsumeRemainingBytesAsString();
    setSystemCodePage(cp);
    const PathRules rules(PathStyle::Posix, cp);
    NoPrompts prompts;
    const PlaylistReaderPorts ports{fs, prompts, rules};

    PlaylistRead first = readPlaylist(ports, kIn, HeaderPolicy::Force);
    std::vector<PlaylistEntry> kept;
    for (PlaylistEntry& row : first.rows)
        if (hasFileName(row) && lineHoldsRow(row, mode, rules)) kept.push_back(std::move(row));
    requireSavedRowsReadBack(fs, ports, kept, mode, kOut, kFolder);
    return 0;
}
