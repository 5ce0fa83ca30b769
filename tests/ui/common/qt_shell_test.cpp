#include "ui/common/qt_shell.h"

#include "support/temp_dir.h"

#include <QDBusConnection>
#include <QDesktopServices>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

// Stands in for a file manager on a private session bus.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown;
public slots:
    void ShowItems(const QStringList& uris, const QString&) { shown += uris; }
};

// Stands in for the desktop's handlers of documents and web pages.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened += url; }
};

TEST(QtShell, DocumentsAndWebAddressesGoToTheDesktopsHandlers) {
    TempDir dir;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    QtShell shell;
    shell.openDocument(dir.path("Read Me.txt"));
    shell.openDocument("caf\xE9.txt");  // relative, and no valid UTF-8
    shell.openWebAddress("https://example.org/listora/");
    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_EQ(catcher.opened.size(), 3);
    EXPECT_EQ(catcher.opened[0].toEncoded().toStdString(), "file://" + dir.path("Read%20Me.txt"));
    EXPECT_EQ(catcher.opened[1].toEncoded().toStdString(), "file://" + dir.path("caf%E9.txt"));
    EXPECT_EQ(catcher.opened[2].toString(), "https://example.org/listora/");
}

TEST(QtShell, PathsReachTheFileManagerAsDataWhateverTheyHold) {
    TempDir dir;
    EXPECT_EQ(fileManagerUri(dir.path("a b;$(rm -rf x)'\".mp3")).toStdString(),
              "file://" + dir.path("a%20b%3B%24%28rm%20-rf%20x%29%27%22.mp3"));
    EXPECT_EQ(fileManagerUri(dir.path("caf\xE9 \xE3\x81\x82.mp3")).toStdString(),
              "file://" + dir.path("caf%E9%20%E3%81%82.mp3"));  // the bytes as they stand
    EXPECT_EQ(fileManagerUri("rel/x.mp3").toStdString(), "file://" + dir.path("rel/x.mp3"));

    const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
    if (daemon.isEmpty()) GTEST_SKIP() << "dbus-daemon is not installed";
    QProcess bus;
    bus.start(daemon, {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(bus.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(bus.readLine()).trimmed();
    {
        QDBusConnection connection = QDBusConnection::connectToBus(address, "listora-test");
        ASSERT_TRUE(connection.isConnected());
        FakeFileManager manager;
        ASSERT_TRUE(connection.registerService("org.freedesktop.FileManager1"));
        ASSERT_TRUE(
            connection.registerObject("/org/freedesktop/FileManager1", &manager, QDBusConnection::ExportAllSlots));
        QDBusConnection client = QDBusConnection::connectToBus(address, "listora-client");
        QtShell shell(client);
        const std::string odd = dir.path("it's \"x\"; $(y) & z.mp3");
        shell.showInFileManager(odd);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !manager.shown.isEmpty(); }, 10000));
        EXPECT_EQ(manager.shown, QStringList{fileManagerUri(odd)});
    }
    QDBusConnection::disconnectFromBus("listora-client");
    QDBusConnection::disconnectFromBus("listora-test");
    bus.kill();
    bus.waitForFinished();
}

}  // namespace
}  // namespace listora::test

#include "qt_shell_test.moc"
