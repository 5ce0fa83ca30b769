#pragma once
// The repair window's result list: old path (with the tick that takes the
// row), proposed new path (a choice where there are several candidates),
// and the kind of the proposal, read from the choices as the view paints.

#include "core/playlist/playlist_entry.h"
#include "core/repair/repair_choices.h"

#include <QAbstractTableModel>

namespace listora {

class RepairResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { OldPath = 0, NewPath = 1, Kind = 2 };
    // The candidates' texts of a row, for the choice.
    static constexpr int kCandidatesRole = Qt::UserRole;

    explicit RepairResultModel(RepairChoices& choices, QObject* parent = nullptr)
        : QAbstractTableModel(parent), choices_(choices) {}

    // New proposals over these rows (whose paths the first column shows).
    void reset(const std::vector<PlaylistEntry>* rows, std::vector<RepairProposal> proposals);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    QString candidateText(const RepairCandidate& candidate, RepairKind kind) const;

    RepairChoices& choices_;
    const std::vector<PlaylistEntry>* rows_ = nullptr;
};

}  // namespace listora
