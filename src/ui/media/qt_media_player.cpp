#include "ui/media/qt_media_player.h"

#include "core/playlist/address.h"
#include "ui/common/local_file_url.h"
#include "ui/common/text_bridge.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace listora {
namespace {

constexpr int kOpenBoundMs = 5000;

int milliseconds(qint64 value) { return static_cast<int>(std::clamp<qint64>(value, 0, INT_MAX)); }

bool settled(QMediaPlayer::MediaStatus status) {
    return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia ||
           status == QMediaPlayer::InvalidMedia;
}

}  // namespace

QtMediaPlayer::QtMediaPlayer() = default;

QtMediaPlayer::~QtMediaPlayer() {
    if (player_) player_->stop();
}

QMediaPlayer& QtMediaPlayer::player() {
    if (!player_) {
        audio_ = std::make_unique<QAudioOutput>();
        player_ = std::make_unique<QMediaPlayer>();
        player_->setAudioOutput(audio_.get());
        QObject::connect(player_.get(), &QMediaPlayer::durationChanged, [this](qint64 duration) {
            if (lengthListener_) lengthListener_(milliseconds(duration));
        });
    }
    return *player_;
}

std::optional<std::string> QtMediaPlayer::open(const std::string& path) {
    QMediaPlayer& media = player();
    QEventLoop loop;
    const auto done = [&loop](auto&&...) { loop.quit(); };
    const QMetaObject::Connection status =
        QObject::connect(&media, &QMediaPlayer::mediaStatusChanged, &loop, [&](QMediaPlayer::MediaStatus now) {
            if (settled(now)) loop.quit();
        });
    const QMetaObject::Connection error = QObject::connect(&media, &QMediaPlayer::errorOccurred, &loop, done);
    QTimer::singleShot(kOpenBoundMs, &loop, done);
    setSource(media, path);
    // The user's input waits until the file is loaded, so no second command
    // runs inside this one; the windows still repaint.
    if (!settled(media.mediaStatus()) && media.error() == QMediaPlayer::NoError)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    QObject::disconnect(status);
    QObject::disconnect(error);

    const QMediaPlayer::MediaStatus now = media.mediaStatus();
    if (media.error() == QMediaPlayer::NoError &&
        (now == QMediaPlayer::LoadedMedia || now == QMediaPlayer::BufferedMedia))
        return std::nullopt;
    const std::string text = fromQt(media.errorString());
    // Qt 6.4 keeps a player's error after a new source is set, so every
    // later file would be refused too: a refused file takes its player with
    // it, and the next open makes a new one.
    dropPlayer();
    return text;
}

void QtMediaPlayer::dropPlayer() {
    player_->stop();
    // Deleted once the events it may still have queued are delivered, with
    // the output and the device it was given.
    audio_->setParent(player_.get());
    audio_.release();
    if (file_) file_.release()->setParent(player_.get());
    player_.release()->deleteLater();
}

void QtMediaPlayer::setSource(QMediaPlayer& media, const std::string& path) {
    // A device given before goes only once the player has let it go.
    const std::unique_ptr<QFile> previous = std::move(file_);
    if (isAddress(path)) {  // a stream the back end fetches itself
        media.setSource(QUrl(toQt(path), QUrl::TolerantMode));
        return;
    }
    const std::string disk = diskPath(path);
    const QByteArray bytes = QByteArray::fromStdString(disk);
    if (QString::fromUtf8(bytes).toUtf8() == bytes) {
        media.setSource(localFileUrl(path));
        return;
    }
    // Qt takes a file URL back to a name as text, which loses bytes that are
    // no UTF-8; such a file is opened here and handed over as a device.
    const int fd = ::open(disk.c_str(), O_RDONLY | O_CLOEXEC);
    file_ = std::make_unique<QFile>();
    if (fd < 0 || !file_->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0) ::close(fd);
        file_.reset();
        media.setSource(localFileUrl(path));  // refused as the back end refuses a missing file
        return;
    }
    media.setSourceDevice(file_.get(), localFileUrl(path));
}

void QtMediaPlayer::play() { player().play(); }

int QtMediaPlayer::length() { return milliseconds(player().duration()); }

int QtMediaPlayer::position() {
    QMediaPlayer& media = player();
    // At the end the player may stand at 0 again; it is at the end.
    if (media.mediaStatus() == QMediaPlayer::EndOfMedia) return milliseconds(media.duration());
    return milliseconds(media.position());
}

void QtMediaPlayer::seek(int milliseconds) {
    QMediaPlayer& media = player();
    media.pause();
    media.setPosition(milliseconds);
}

void QtMediaPlayer::close() {
    QMediaPlayer& media = player();
    media.stop();
    media.setSource(QUrl());
    file_.reset();
}

void QtMediaPlayer::setLengthListener(std::function<void(int)> listener) { lengthListener_ = std::move(listener); }

}  // namespace listora
