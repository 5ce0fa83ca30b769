#pragma once
// The progress of a read of tags: a dialog with a cancel button that shows
// itself when the read has lasted half a second. Between its steps the
// window's thread paints; until the dialog is up no click or key is
// handled, and once it is up it holds every other window, so nothing can
// start in the middle of the read.

#include "core/tags/tag_fill.h"

#include <memory>

class QProgressDialog;
class QWidget;

namespace listora {

class TagReadDialog : public TagReadProgress {
public:
    explicit TagReadDialog(QWidget& window);
    ~TagReadDialog() override;
    TagReadDialog(const TagReadDialog&) = delete;
    TagReadDialog& operator=(const TagReadDialog&) = delete;

    bool carryOn(std::size_t filesRead, std::size_t files) override;

    // Made at the first step, so a read that never takes one shows nothing.
    QProgressDialog* dialog() const { return dialog_.get(); }

private:
    QWidget& window_;
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace listora
