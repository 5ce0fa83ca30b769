#include "ui/repair/candidate_delegate.h"

#include "ui/repair/repair_result_model.h"

#include <QComboBox>

namespace listora {

QWidget* CandidateDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
    auto* box = new QComboBox(parent);
    box->addItems(index.data(RepairResultModel::kCandidatesRole).toStringList());
    // A candidate picked is taken at once, not when the editor loses focus.
    connect(box, &QComboBox::activated, this,
            [this, box] { emit const_cast<CandidateDelegate*>(this)->commitData(box); });
    return box;
}

void CandidateDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    static_cast<QComboBox*>(editor)->setCurrentIndex(index.data(Qt::EditRole).toInt());
}

void CandidateDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    model->setData(index, static_cast<QComboBox*>(editor)->currentIndex(), Qt::EditRole);
}

}  // namespace listora
