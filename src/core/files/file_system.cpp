#include "core/files/file_system.h"

#include "core/errors/errors.h"

namespace listora {

std::string readFileOrThrow(FileSystem& fs, const std::string& path) {
    std::optional<std::string> bytes = fs.readWholeFile(path);
    if (!bytes) throw cannotOpenError(path);
    return std::move(*bytes);
}

void writeFileOrThrow(FileSystem& fs, const std::string& path, std::string_view bytes) {
    if (!fs.writeWholeFile(path, bytes)) throw cannotCreateError(path);
}

void writeFileInPiecesOrThrow(FileSystem& fs, const std::string& path, const std::function<void(ByteSink&)>& produce) {
    if (!fs.writeFileInPieces(path, produce)) throw cannotCreateError(path);
}

}  // namespace listora
