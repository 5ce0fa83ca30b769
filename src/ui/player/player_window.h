#pragma once
// The playback window: plays one file, shows its name, the elapsed and the
// total time, and seeks where the progress bar is clicked. Modeless; each
// opening makes a new one, and closing destroys it with its player, which
// stops the sound.

#include "core/player/playback.h"

#include <QDialog>
#include <memory>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace listora {

class MediaPlayer;
class Prompts;

class TForm4 : public QDialog {
    Q_OBJECT
public:
    TForm4(Prompts& prompts, std::unique_ptr<MediaPlayer> backEnd, QWidget* parent = nullptr);

    // The main window's play command: the file is set, the window comes to
    // the front and plays it. A file the back end refuses ends it silently,
    // its name already shown.
    void playFile(const std::string& path);

    // The timer's tick, which tests call instead of waiting for it.
    void tick();

    const Playback& playback() const { return playback_; }
    QLabel* titleLine() const { return title_; }
    QProgressBar* progressBar() const { return bar_; }
    QLabel* positionText() const { return position_; }
    QLabel* totalText() const { return total_; }
    QPushButton* playButton() const { return play_; }
    QPushButton* stopButton() const { return stop_; }
    QPushButton* closeButton() const { return close_; }
    QTimer* tickTimer() const { return timer_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void play();
    void showState();
    void showTitle();

    Prompts& prompts_;
    Playback playback_;
    QLabel* title_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QLabel* position_ = nullptr;
    QLabel* total_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* close_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace listora
