#pragma once
// Shows the main list one to one. It stores nothing of its own: rows are
// read from the core when the view paints them, and the core tells the
// model of each command's changes in one batch. It is also the list's
// selection as the view's selection model reads and writes it.

#include "core/playlist/main_list.h"
#include "ui/common/row_selection.h"

#include <QAbstractTableModel>

namespace listora {

class PlaylistTableModel : public QAbstractTableModel, public MainListObserver, public RowSelection {
    Q_OBJECT
public:
    explicit PlaylistTableModel(MainList& list, QObject* parent = nullptr);
    ~PlaylistTableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void rowsAboutToBeInserted(std::size_t first, std::size_t last) override;
    void rowsInserted() override;
    void listAboutToBeReset() override;
    void listReset() override;
    void rowsChanged(std::size_t first, std::size_t last) override;
    void selectionChanged() override;

    std::size_t size() const override { return list_.count(); }
    bool isSelected(std::size_t row) const override { return list_.at(row).selected; }
    void setSelected(std::size_t first, std::size_t last, bool selected) override;
    std::size_t focusRow() const override { return list_.focusRow(); }
    void setFocusRow(std::size_t row) override { list_.setFocusRow(row); }

signals:
    // The core changed the selection or focus row; the view should show it.
    void coreSelectionChanged();

private:
    MainList& list_;
};

}  // namespace listora
