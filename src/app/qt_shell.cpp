#include "app/qt_shell.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace listora {
namespace {

QFileInfo fileInfoOf(const std::string& path) { return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))); }

}  // namespace

QString fileManagerUri(const std::string& path) {
    return QString::fromLatin1(QUrl::fromLocalFile(fileInfoOf(path).absoluteFilePath()).toEncoded());
}

void QtShell::showInFileManager(const std::string& path) {
    const QUrl folder = QUrl::fromLocalFile(fileInfoOf(path).absolutePath());
    if (!bus_.isConnected()) {
        QDesktopServices::openUrl(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{fileManagerUri(path)} << QString();
    // The window does not wait for the file manager; if none answers, the
    // folder is opened with the desktop's default handler instead.
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), nullptr);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [folder](QDBusPendingCallWatcher* finished) {
        if (finished->isError()) QDesktopServices::openUrl(folder);
        finished->deleteLater();
    });
}

}  // namespace listora
