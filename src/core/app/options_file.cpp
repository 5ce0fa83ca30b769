#include "core/app/options_file.h"

#include "core/errors/errors.h"
#include "core/files/file_system.h"
#include "core/text/text_lines.h"

#include <optional>

namespace listora {
namespace {

// The value when `line` is "key=value" for this key.
std::optional<std::string_view> valueOf(std::string_view line, std::string_view key) {
    if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != '=') return std::nullopt;
    return line.substr(key.size() + 1);
}

}  // namespace

bool readOptionFlag(FileSystem& fs, const std::string& path, std::string_view key) {
    const std::optional<std::string> bytes = fs.readWholeFile(path);
    if (!bytes) return false;
    for (const std::string_view line : splitLines(*bytes))
        if (const std::optional<std::string_view> value = valueOf(line, key)) return *value == "1";
    return false;
}

void writeOptionFlag(FileSystem& fs, const std::string& path, std::string_view key, bool on) {
    const std::string old = fs.exists(path) ? readFileOrThrow(fs, path) : std::string();
    const std::string wanted = std::string(key) + (on ? "=1" : "=0");
    bool set = false;
    std::string bytes;
    for (const std::string_view line : splitLines(old)) {
        if (valueOf(line, key)) {
            if (set) continue;  // a repeated key would contradict the one written
            set = true;
            bytes += wanted;
        } else {
            bytes += line;
        }
        bytes += "\r\n";
    }
    if (!set) bytes += wanted + "\r\n";
    writeFileOrThrow(fs, path, bytes);
}

}  // namespace listora
