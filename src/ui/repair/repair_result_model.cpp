#include "ui/repair/repair_result_model.h"

#include "ui/common/text_bridge.h"

namespace listora {

void RepairResultModel::reset(const std::vector<PlaylistEntry>* rows, std::vector<RepairProposal> proposals) {
    beginResetModel();
    rows_ = rows;
    choices_.reset(std::move(proposals));
    endResetModel();
}

int RepairResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(choices_.count());
}

int RepairResultModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QString RepairResultModel::candidateText(const RepairCandidate& candidate, RepairKind kind) const {
    QString text = toQt(candidate.path);
    if (kind == RepairKind::Closest) text += QStringLiteral("（%1）").arg(candidate.score, 0, 'f', 2);
    return text;
}

QVariant RepairResultModel::data(const QModelIndex& index, int role) const {
    const auto i = static_cast<std::size_t>(index.row());
    const RepairProposal& proposal = choices_.proposals()[i];
    switch (index.column()) {
        case OldPath:
            if (role == Qt::DisplayRole) return toQt(std::string((*rows_)[proposal.row].fullPath()));
            if (role == Qt::CheckStateRole) return choices_.ticked(i) ? Qt::Checked : Qt::Unchecked;
            break;
        case NewPath:
            if (proposal.candidates.empty()) break;
            if (role == Qt::DisplayRole) return candidateText(proposal.candidates[choices_.chosen(i)], proposal.kind);
            if (role == Qt::EditRole) return static_cast<int>(choices_.chosen(i));
            if (role == kCandidatesRole) {
                QStringList texts;
                for (const RepairCandidate& candidate : proposal.candidates)
                    texts << candidateText(candidate, proposal.kind);
                return texts;
            }
            break;
        case Kind:
            if (role != Qt::DisplayRole) break;
            switch (proposal.kind) {
                case RepairKind::Found:
                    return QStringLiteral("見つかった");
                case RepairKind::Closest:
                case RepairKind::Ambiguous:
                    return QStringLiteral("候補あり");
                case RepairKind::Missing:
                    return QStringLiteral("見つからない");
            }
            break;
        default:
            break;
    }
    return {};
}

QVariant RepairResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const QString kTitles[] = {QStringLiteral("元のパス"), QStringLiteral("新しいパス"), QStringLiteral("種類")};
    return kTitles[section];
}

Qt::ItemFlags RepairResultModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const auto& candidates = choices_.proposals()[static_cast<std::size_t>(index.row())].candidates;
    if (index.column() == OldPath && !candidates.empty()) flags |= Qt::ItemIsUserCheckable;
    if (index.column() == NewPath && candidates.size() > 1) flags |= Qt::ItemIsEditable;
    return flags;
}

bool RepairResultModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const auto i = static_cast<std::size_t>(index.row());
    if (index.column() == OldPath && role == Qt::CheckStateRole) {
        choices_.setTicked(i, value.toInt() == Qt::Checked);
    } else if (index.column() == NewPath && role == Qt::EditRole) {
        choices_.choose(i, static_cast<std::size_t>(value.toInt()));
    } else {
        return false;
    }
    emit dataChanged(this->index(index.row(), OldPath), this->index(index.row(), NewPath));
    return true;
}

}  // namespace listora
