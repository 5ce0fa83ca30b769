#pragma once

class QAbstractItemView;
class QDialog;
class QSize;
class QString;

namespace listora {

// The selection stays visible in its active colours while another window
// has the focus.
void keepSelectionVisible(QAbstractItemView& view);

// A dialog of one fixed size whose title bar has only the close box.
void setUpFixedDialog(QDialog& dialog, const QString& caption, const QSize& size);

}  // namespace listora
