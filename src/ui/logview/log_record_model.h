#pragma once
// Shows the records of the day loaded, one row each, read from the viewer's
// core when the view paints them; it is also the viewer's selection as the
// view's selection model reads and writes it.

#include "ui/common/row_selection.h"

#include <QAbstractTableModel>

namespace listora {

class LogViewer;

class LogRecordModel : public QAbstractTableModel, public RowSelection {
    Q_OBJECT
public:
    explicit LogRecordModel(LogViewer& viewer, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Held while the viewer's records change, also when the change ends in
    // an error, so that the view reads them again before a box is shown.
    class Change {
    public:
        explicit Change(LogRecordModel& model) : model_(model) { model_.beginResetModel(); }
        ~Change() { model_.endResetModel(); }
        Change(const Change&) = delete;
        Change& operator=(const Change&) = delete;

    private:
        LogRecordModel& model_;
    };

    std::size_t size() const override;
    bool isSelected(std::size_t row) const override;
    void setSelected(std::size_t first, std::size_t last, bool selected) override;
    std::size_t focusRow() const override;
    void setFocusRow(std::size_t row) override;

private:
    LogViewer& viewer_;
};

}  // namespace listora
