#pragma once

#include "core/ports/status_line.h"

class QLabel;

namespace listora {

// The status line shows each text at once, also while a long command holds
// the window.
class LabelStatusLine : public StatusLine {
public:
    void setLabel(QLabel* label) { label_ = label; }
    void show(const std::string& text) override;

private:
    QLabel* label_ = nullptr;
};

}  // namespace listora
