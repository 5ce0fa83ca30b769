// Reads any bytes as a PLS or an XSPF playlist, in pieces and in either
// code page: a broken file gives an error and no rows, never a crash or a
// hang; the rows read, saved in the same format with absolute paths, read
// back the same.

#include "core/paths/path_rules.h"
#include "core/playlist/m3u_reader.h"
#include "core/text/codepage.h"
#include "memory_file_system.h"
#include "no_prompts.h"
#include "piece_input.h"
#include "require.h"
#include "saved_rows.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace listora;
    using namespace listora::fuzz;
    FuzzedDataProvider input(data, size);
    const CodePage cp = input.ConsumeBool() ? CodePage::Cp932 : CodePage::Utf8;
    const std::string extension = input.ConsumeBool() ? ".xspf" : ".pls";
    MemoryFileSystem fs;
    choosePieces(input, fs);
    fs.folders.insert("/lists");
    fs.cwd = "/lists";
    const std::string in = "/lists/in" + extension;
    const std::string out = "/lists/out" + extension;
    fs.files[in] = input.ConsumeRemainingBytesAsString();
    setSystemCodePage(cp);
    const PathRules rules(PathStyle::Posix, cp);
    NoPrompts prompts;
    const PlaylistReaderPorts ports{fs, prompts, rules};

    PlaylistRead first = readPlaylist(ports, in, HeaderPolicy::Force);
    require(!first.error || first.rows.empty(), "a broken file gives no rows");
    std::vector<PlaylistEntry> kept;
    // A path that is no valid text of its code page is no name a file
    // system gave.
    for (PlaylistEntry& row : first.rows)
        if (hasFileName(row) && convertCodePageExactly(row.fullPath(), cp, CodePage::Utf8) &&
            convertCodePageExactly(row.title(), cp, CodePage::Utf8))
            kept.push_back(std::move(row));
    requireSavedRowsReadBack(fs, ports, kept, PathMode::Absolute, out, "/lists");
    return 0;
}
