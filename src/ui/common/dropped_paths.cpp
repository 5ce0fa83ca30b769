#include "ui/common/dropped_paths.h"

#include "core/text/codepage.h"

#include <QMimeData>
#include <QUrl>
#include <algorithm>

namespace listora {

std::vector<std::string> droppedPaths(const QMimeData& data) {
    std::vector<std::string> paths;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) continue;
        // The file system's own bytes, whole, from the URL's escapes: a name
        // that is no valid UTF-8 would not survive a QString.
        const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        // A name the program's code page cannot hold comes empty; the
        // gathering leaves it out and says so.
        paths.push_back(
            convertCodePageExactly(bytes.toStdString(), fileNameCodePage(), systemCodePage()).value_or(std::string()));
    }
    return paths;
}

bool holdsLocalFiles(const QMimeData& data) {
    const QList<QUrl> urls = data.urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

}  // namespace listora
