// The path rules on any text, for Linux and Windows paths in either code
// page: an absolute path is made absolute again unchanged, splits into its
// folder and file name, and a path written relative to a folder is taken
// back against that folder to the same path.

#include "core/paths/path_rules.h"
#include "require.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace listora;
    using listora::fuzz::require;
    FuzzedDataProvider input(data, size);
    const PathStyle style = input.ConsumeBool() ? PathStyle::Windows : PathStyle::Posix;
    const PathRules rules(style, input.ConsumeBool() ? CodePage::Cp932 : CodePage::Utf8);
    const std::string root = style == PathStyle::Posix ? "/" : "C:\\";
    const std::string current = rules.makeAbsolute(input.ConsumeRandomLengthString(32), root);
    const std::string base = rules.makeAbsolute(input.ConsumeRandomLengthString(32), current.empty() ? root : current);
    const std::string path = input.ConsumeRemainingBytesAsString();

    const std::string absolute = rules.makeAbsolute(path, current.empty() ? root : current);
    // UNC paths are left out: a server without a share, or a share without
    // its server, does not keep one form (the program reads Linux paths).
    if (absolute.empty() || absolute.starts_with("\\\\")) return 0;
    require(rules.makeAbsolute(absolute, root) == absolute, "an absolute path stays as it is");
    const std::string_view name = rules.fileName(absolute);
    require(rules.folder(absolute) + std::string(name) == absolute, "folder and file name make the path");
    require(name.ends_with(rules.extension(absolute)), "the extension ends the file name");

    // A Windows name cannot hold ":"; past the drive it reads as another
    // drive's and no relative path leads back to it.
    if (style == PathStyle::Windows && absolute.find(':', 2) != std::string::npos) return 0;
    const std::string folder = base.empty() || base.back() == rules.separator() ? base : base + rules.separator();
    if (folder.empty() || name.empty()) return 0;
    const std::string relative = rules.relativeTo(absolute, folder);
    require(rules.sameName(rules.makeAbsolute(relative, folder), absolute), "a relative path leads back");
    return 0;
}
