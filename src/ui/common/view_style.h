#pragma once

class QAbstractItemView;
class QDialog;
class QTableView;
class QSize;
class QString;

namespace listora {

// The selection stays visible in its active colours while another window
// has the focus.
void keepSelectionVisible(QAbstractItemView& view);

// A read-only list of whole rows with grid lines and several rows
// selectable; every row has one height, which keeps a million rows cheap to
// lay out, and the selection stays visible without the focus.
void setUpRowList(QTableView& list);

// A dialog of one fixed size whose title bar has only the close box.
void setUpFixedDialog(QDialog& dialog, const QString& caption, const QSize& size);

}  // namespace listora
