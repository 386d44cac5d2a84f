#include "ui/widgets/TipListModels.h"

namespace zf::ui {

void VectorListModel::refresh() {
    const int n = size();
    if (n == rows_) {
        if (n > 0) emit dataChanged(index(0), index(n - 1), {Qt::DisplayRole});
        return;
    }
    beginResetModel();
    rows_ = n;
    endResetModel();
}

QVariant TipListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const auto row = static_cast<size_t>(index.row());
    if (row >= lines_.size()) return {};
    return QString::fromStdString(lines_[row]);
}

QVariant HitsListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto row = static_cast<size_t>(index.row());
    if (row >= hits_.size()) return {};
    if (role == Qt::DisplayRole) return QString::number(hits_[row]);
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return {};
}

} // namespace zf::ui
