#include "ui/logview/log_record_model.h"

#include "core/logview/log_viewer.h"
#include "ui/common/shown_text.h"

namespace listora {

LogRecordModel::LogRecordModel(LogViewer& viewer, QObject* parent) : QAbstractTableModel(parent), viewer_(viewer) {}

int LogRecordModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(viewer_.records().size());
}

int LogRecordModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant LogRecordModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || static_cast<std::size_t>(index.row()) >= size()) return {};
    const LogRecord& record = viewer_.records()[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
        case 0:
            return shownCellText(record.fileName);
        case 1:
            return shownCellText(record.kind);
        case 2:
            return shownCellText(record.before);
        default:
            return shownCellText(record.after);
    }
}

QVariant LogRecordModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const QString captions[] = {QStringLiteral("ファイル名"), QStringLiteral("種別"),
                                       QStringLiteral("移動前パス"), QStringLiteral("移動後パス")};
    return section >= 0 && section < 4 ? captions[section] : QVariant();
}

std::size_t LogRecordModel::size() const { return viewer_.records().size(); }
bool LogRecordModel::isSelected(std::size_t row) const { return viewer_.isSelected(row); }
void LogRecordModel::setSelected(std::size_t first, std::size_t last, bool selected) {
    for (std::size_t row = first; row <= last; ++row) viewer_.setSelected(row, selected);
}
std::size_t LogRecordModel::focusRow() const { return viewer_.focusRow(); }
void LogRecordModel::setFocusRow(std::size_t row) { viewer_.setFocusRow(row); }

}  // namespace listora
