// Reads any bytes as a PLS or an XSPF playlist, in pieces and in either
// code page: a broken file gives an error and no rows, never a crash or a
// hang; the rows read, saved in the same format with absolute paths, read
// back the same.

#include "core/paths/path_rules.h"
#include "core/playlist/m3u_reader.h"
#include "core/playlist/main_list.h"
#include "core/playlist/playlist_writer.h"
#include "core/text/codepage.h"
#include "memory_file_system.h"
#include "no_prompts.h"
#include "piece_input.h"
#include "require.h"

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
    MainList list;
    std::vector<PlaylistEntry> kept;
    // A path that is no valid text of its code page is no name a file
    // system gave.
    for (PlaylistEntry& row : first.rows)
        if (hasFileName(row) && convertCodePageExactly(row.fullPath(), cp, CodePage::Utf8) &&
            convertCodePageExactly(row.title(), cp, CodePage::Utf8))
            kept.push_back(std::move(row));
    list.appendAll(kept);
    writePlaylist(fs, list, PathMode::Absolute, out, rules);

    fs.breakAfter.reset();
    const PlaylistRead second = readPlaylist(ports, out, HeaderPolicy::Force);
    require(!second.error, "the saved playlist reads without error");
    require(second.rows.size() == kept.size(), "the saved playlist gives as many rows");
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const PlaylistEntry& a = second.rows[i];
        const PlaylistEntry& b = kept[i];
        require(a.title() == b.title() && a.lengthText() == b.lengthText() && a.fullPath() == b.fullPath() &&
                    a.fileName() == b.fileName(),
                "each row comes back");
    }
    return 0;
}
