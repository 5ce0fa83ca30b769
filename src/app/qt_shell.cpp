#include "app/qt_shell.h"

#include <QDBusMessage>
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
    if (bus_.isConnected()) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
        call << QStringList{fileManagerUri(path)} << QString();
        const QDBusMessage reply = bus_.call(call, QDBus::Block, 5000);
        if (reply.type() == QDBusMessage::ReplyMessage) return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(fileInfoOf(path).absolutePath()));
}

}  // namespace listora
