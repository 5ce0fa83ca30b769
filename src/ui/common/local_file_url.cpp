#include "ui/common/local_file_url.h"

#include "core/text/codepage.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

namespace listora {

std::string diskPath(std::string path) {
    // Never another file's name: a name that does not convert names nothing.
    path = convertCodePageExactly(path, systemCodePage(), fileNameCodePage()).value_or(std::string());
    if (path.empty()) return path;
    if (path.empty() || path[0] != '/') path = QFile::encodeName(QDir::currentPath()).toStdString() + "/" + path;
    return path;
}

QUrl localFileUrl(const std::string& path) {
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(diskPath(path)).toPercentEncoding("/"));
}

}  // namespace listora
