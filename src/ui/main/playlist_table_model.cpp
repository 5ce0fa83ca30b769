#include "ui/main/playlist_table_model.h"

#include "ui/common/shown_text.h"

namespace listora {

PlaylistTableModel::PlaylistTableModel(MainList& list, QObject* parent) : QAbstractTableModel(parent), list_(list) {
    list_.setObserver(this);
}

PlaylistTableModel::~PlaylistTableModel() { list_.setObserver(nullptr); }

int PlaylistTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.count());
}

int PlaylistTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant PlaylistTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= list_.count()) return {};
    const PlaylistEntry& row = list_.at(static_cast<std::size_t>(index.row()));
    if (role == Qt::DisplayRole) return shownCellText(row.columnText(index.column()));
    if (role == Qt::CheckStateRole && index.column() == 0) return row.checked ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool PlaylistTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole) return false;
    list_.setChecked(static_cast<std::size_t>(index.row()), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags PlaylistTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant PlaylistTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const QString captions[] = {QStringLiteral("曲名"), QStringLiteral("長さ"), QStringLiteral("ファイル名"),
                                       QStringLiteral("フルパス")};
    return section >= 0 && section < 4 ? captions[section] : QVariant();
}

void PlaylistTableModel::rowsAboutToBeInserted(std::size_t first, std::size_t last) {
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(last));
}

void PlaylistTableModel::rowsInserted() { endInsertRows(); }

void PlaylistTableModel::listAboutToBeReset() { beginResetModel(); }

void PlaylistTableModel::listReset() { endResetModel(); }

void PlaylistTableModel::rowsChanged(std::size_t first, std::size_t last) {
    emit dataChanged(index(static_cast<int>(first), 0), index(static_cast<int>(last), columnCount() - 1));
}

void PlaylistTableModel::selectionChanged() { emit coreSelectionChanged(); }

void PlaylistTableModel::setSelected(std::size_t first, std::size_t last, bool selected) {
    // Rows that keep their mark are only read: a click clears a million rows' marks.
    for (std::size_t row = first; row <= last; ++row)
        if (list_.at(row).selected != selected) list_.setSelected(row, selected);
}

}  // namespace listora
