#include "ui/common/qt_shell.h"

#include "ui/common/local_file_url.h"
#include "ui/common/text_bridge.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QUrl>

namespace listora {
QString fileManagerUri(const std::string& path) { return QString::fromLatin1(localFileUrl(path).toEncoded()); }

void QtShell::showInFileManager(const std::string& path) {
    const QUrl folder = localFileUrl(path).adjusted(QUrl::RemoveFilename);
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

void QtShell::openDocument(const std::string& path) { QDesktopServices::openUrl(localFileUrl(path)); }

void QtShell::openWebAddress(const std::string& address) {
    QDesktopServices::openUrl(QUrl(toQt(address), QUrl::StrictMode));
}

}  // namespace listora
