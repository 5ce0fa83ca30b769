#pragma once

#include "core/ports/read_progress.h"

#include <QElapsedTimer>

class QProgressBar;

namespace listora {

// A long read's progress in a bar that shows only while the read lasts.
// The read holds the window's thread, so the steps repaint the shown
// windows themselves (paintShownWindowsNow), twenty times a second at most:
// no event is handled meanwhile, and so no click, key, timer or posted call
// can start anything in the middle of the read.
class BarReadProgress : public ReadProgress {
public:
    void setBar(QProgressBar* bar) { bar_ = bar; }
    void advanced(std::uint64_t bytesRead, std::uint64_t fileBytes) override;
    void ended() override;

private:
    QProgressBar* bar_ = nullptr;
    QElapsedTimer sincePainted_;
};

}  // namespace listora
