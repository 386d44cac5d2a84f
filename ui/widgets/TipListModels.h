#pragma once
// List models over the tip list and the hits column of the application model. They read the vectors
// in place: a list of half a million tips costs no copy and no item objects.
#include <QAbstractListModel>
#include <cstdint>
#include <string>
#include <vector>

namespace zf::ui {

// Shared part: a row count cached between refreshes, so that the view never asks for a row the
// vector lost before the change was announced.
class VectorListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    // Call after the vector changed: same length keeps the selection, another length resets.
    void refresh();

protected:
    virtual int size() const = 0;

private:
    int rows_ = 0;
};

class TipListModel final : public VectorListModel {
    Q_OBJECT
public:
    TipListModel(const std::vector<std::string>& lines, QObject* parent = nullptr)
        : VectorListModel(parent), lines_(lines) {
        refresh();
    }
    QVariant data(const QModelIndex& index, int role) const override;

protected:
    int size() const override { return static_cast<int>(lines_.size()); }

private:
    const std::vector<std::string>& lines_;
};

class HitsListModel final : public VectorListModel {
    Q_OBJECT
public:
    HitsListModel(const std::vector<uint8_t>& hits, QObject* parent = nullptr) : VectorListModel(parent), hits_(hits) {
        refresh();
    }
    QVariant data(const QModelIndex& index, int role) const override;

protected:
    int size() const override { return static_cast<int>(hits_.size()); }

private:
    const std::vector<uint8_t>& hits_;
};

} // namespace zf::ui
