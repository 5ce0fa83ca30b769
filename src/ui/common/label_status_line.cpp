#include "ui/common/label_status_line.h"

#include "ui/common/text_bridge.h"

#include <QLabel>

namespace listora {

void LabelStatusLine::show(const std::string& text) {
    label_->setText(toQt(text));
    label_->repaint();
}

}  // namespace listora
