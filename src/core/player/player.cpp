#include "core/player/player.h"

#include "core/errors/errors.h"
#include "core/text/codepage.h"

namespace listora {
namespace {

// Errors of the player itself: no text of a file's own to show.
ListoraError playerError(std::string_view text) { return ListoraError(ErrorKind::CannotOpen, systemText(text)); }

}  // namespace

Player::Player(std::unique_ptr<MediaPlayer> backEnd) : backEnd_(std::move(backEnd)) {}

Player::~Player() {
    if (open_) backEnd_->close();
}

void Player::open() {
    close();
    // No file name is plainly nothing to load: refused at once, as the back
    // end would refuse it only after waiting for it.
    if (fileName_.empty()) throw playerError("原因不明のエラー");
    if (const std::optional<std::string> error = backEnd_->open(fileName_))
        throw error->empty() ? playerError("原因不明のエラー") : ListoraError(ErrorKind::CannotOpen, *error);
    open_ = true;
}

void Player::requireOpen() const {
    if (!open_) throw playerError("MCI デバイスがありません");
}

void Player::play() {
    requireOpen();
    // Back to the start only at the end of a known length: a length of 0 is
    // one the back end does not know yet (an MP3 just loaded), and seeking
    // there would run the file to its end at once.
    const int length = backEnd_->length();
    if (length > 0 && backEnd_->position() >= length) backEnd_->seek(0);
    backEnd_->play();
}

int Player::length() {
    requireOpen();
    return backEnd_->length();
}

std::optional<int> Player::position() {
    if (!open_) return std::nullopt;
    return backEnd_->position();
}

void Player::seek(int milliseconds) {
    requireOpen();
    backEnd_->seek(milliseconds);
}

void Player::close() {
    if (!open_) return;
    open_ = false;  // what the back end reports while it lets go is no longer this file's
    backEnd_->close();
}

void Player::setLengthListener(std::function<void(int)> listener) { backEnd_->setLengthListener(std::move(listener)); }

}  // namespace listora
