#include "ui/player/player_window.h"

#include "core/errors/errors.h"
#include "core/paths/path_rules.h"
#include "ui/common/text_bridge.h"
#include "ui/common/view_style.h"

#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace listora {
namespace {

QLabel* timeText(QWidget* parent, int x, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    QFont bold = label->font();
    bold.setBold(true);
    bold.setPixelSize(16);
    label->setFont(bold);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setGeometry(x, 72, 65, 21);
    return label;
}

QPushButton* button(QWidget* parent, const QString& caption, int x) {
    auto* made = new QPushButton(caption, parent);
    made->setGeometry(x, 108, 45, 25);
    made->setAutoDefault(false);
    return made;
}

}  // namespace

TForm4::TForm4(Prompts& prompts, std::unique_ptr<MediaPlayer> backEnd, QWidget* parent)
    : QDialog(parent), prompts_(prompts), playback_(std::move(backEnd)) {
    setUpFixedDialog(*this, QStringLiteral("再生"), QSize(332, 177));
    setModal(false);

    title_ = new QLabel(this);
    title_->setObjectName("titleLine");
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    title_->setGeometry(12, 12, 301, 20);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("progressBar");
    bar_->setTextVisible(false);
    bar_->setGeometry(12, 48, 301, 13);
    bar_->installEventFilter(this);
    position_ = timeText(this, 12, Qt::AlignRight);
    position_->setObjectName("positionText");
    total_ = timeText(this, 80, Qt::AlignLeft);
    total_->setObjectName("totalText");
    play_ = button(this, QStringLiteral("再生"), 20);
    stop_ = button(this, QStringLiteral("停止"), 68);
    close_ = button(this, QStringLiteral("閉じる"), 240);
    timer_ = new QTimer(this);
    timer_->setInterval(1000);

    connect(play_, &QPushButton::clicked, this, &TForm4::play);
    connect(stop_, &QPushButton::clicked, this, [this] {
        playback_.stop();
        showState();
    });
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    connect(timer_, &QTimer::timeout, this, &TForm4::tick);
    // A length the back end learns late moves the bar's end when it comes;
    // the window is told after the rules have taken it.
    playback_.setLengthShownListener([this] { showState(); });
    showState();
}

void TForm4::play() {
    runReportingErrors(prompts_, [this] { playback_.play(); });
    showState();
}

void TForm4::playFile(const std::string& path) {
    playback_.setFileName(path);
    show();
    raise();
    activateWindow();
    showTitle();
    try {
        playback_.play();
    } catch (const ListoraError&) {
        // The play command says nothing of a file the back end refuses.
    }
    showState();
}

void TForm4::tick() {
    playback_.tick();
    showState();
}

void TForm4::showTitle() {
    const QString title = toQt(playback_.title(PathRules::native()));
    if (title_->text() != title) title_->setText(title);
}

void TForm4::showState() {
    const ProgressBar& bar = playback_.bar();
    // The bar's own range would refuse a position outside it; the rules
    // keep it inside, and the range is set first.
    bar_->setRange(bar.lower, std::max(bar.lower, bar.upper));
    bar_->setValue(bar.position);
    bar_->setEnabled(bar.enabled);
    position_->setText(toQt(playback_.positionText()));
    total_->setText(toQt(playback_.totalText()));
    if (playback_.timerRunning() != timer_->isActive()) {
        if (playback_.timerRunning())
            timer_->start();
        else
            timer_->stop();
    }
}

void TForm4::paintEvent(QPaintEvent* event) {
    showTitle();
    QDialog::paintEvent(event);
}

// Any button pressed on the bar freezes the display; its release, which
// arrives here also outside the bar while the bar holds the mouse, seeks.
// A disabled bar's presses reach this filter too (Qt drops them only after
// the filters), and are dropped here.
bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    if (watched == bar_ && !bar_->isEnabled() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
         event->type() == QEvent::MouseButtonDblClick))
        return true;
    if (watched == bar_ && event->type() == QEvent::MouseButtonPress) {
        playback_.pressOnBar();
        showState();
        return true;
    }
    if (watched == bar_ && event->type() == QEvent::MouseButtonRelease) {
        const int x = static_cast<int>(static_cast<QMouseEvent*>(event)->position().x());
        runReportingErrors(prompts_, [&] { playback_.releaseOnBar(x); });
        showState();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace listora
