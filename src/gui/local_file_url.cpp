#include "gui/local_file_url.h"

#include "platform/codepage.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

namespace listora {

std::string diskPath(std::string path) {
    path = convertCodePage(path, systemCodePage(), fileNameCodePage());
    if (path.empty() || path[0] != '/') path = QFile::encodeName(QDir::currentPath()).toStdString() + "/" + path;
    return path;
}

QUrl localFileUrl(const std::string& path) {
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(diskPath(path)).toPercentEncoding("/"));
}

}  // namespace listora
