#include "ui/common/bar_read_progress.h"

#include "ui/common/paint_now.h"

#include <QProgressBar>

namespace listora {

namespace {
// A repaint of every shown window takes a few milliseconds; twenty a second
// keep the bar moving and cost the read next to nothing.
constexpr qint64 kPaintEveryMs = 50;
}  // namespace

void BarReadProgress::advanced(std::uint64_t bytesRead, std::uint64_t fileBytes) {
    const bool showing = bar_->isHidden();
    // Showing a child lays its parent out at once: the bar has its room in
    // the status bar before the event loop would next run.
    if (showing) bar_->show();
    bar_->setValue(fileBytes == 0 ? 100 : static_cast<int>(bytesRead * 100 / fileBytes));
    if (showing || sincePainted_.hasExpired(kPaintEveryMs)) {
        paintShownWindowsNow();
        sincePainted_.start();
    }
}

void BarReadProgress::ended() { bar_->hide(); }

}  // namespace listora
