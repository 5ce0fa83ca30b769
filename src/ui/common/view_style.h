#pragma once

#include <QTableView>

class QAbstractItemView;
class QDialog;
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

// The view of such a list (set up with setUpRowList), in which Home and End
// go to the first and the last row.
class RowList : public QTableView {
public:
    explicit RowList(QWidget* parent = nullptr);

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
};

// A dialog of one fixed size whose title bar has only the close box.
void setUpFixedDialog(QDialog& dialog, const QString& caption, const QSize& size);

}  // namespace listora
