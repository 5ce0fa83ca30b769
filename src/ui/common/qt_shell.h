#pragma once
// Shows files in the user's file manager through the freedesktop
// FileManager1 interface on the session bus, or opens their folder with the
// desktop's default handler where no file manager offers it; opens documents
// and web addresses with the desktop's handlers. No shell is started: a path
// travels as data, whatever characters it holds.

#include "core/ports/shell.h"

#include <QDBusConnection>
#include <QString>

namespace listora {

// The file's address as FileManager1 takes it: absolute, percent-encoded.
QString fileManagerUri(const std::string& path);

class QtShell : public Shell {
public:
    explicit QtShell(QDBusConnection bus = QDBusConnection::sessionBus()) : bus_(std::move(bus)) {}
    void showInFileManager(const std::string& path) override;
    void openDocument(const std::string& path) override;
    void openWebAddress(const std::string& address) override;

private:
    QDBusConnection bus_;
};

}  // namespace listora
