#pragma once
// `TForm9`, "Einsatz bei den Mitspielern eintragen": the stake to split among the co-players.
#include <QDialog>

class QLineEdit;

namespace zf::ui {

class StakeDialog : public QDialog {
public:
    explicit StakeDialog(QWidget* parent = nullptr);
    QLineEdit* edit() const { return edit_; } // Edit1

private:
    QLineEdit* edit_;
};

} // namespace zf::ui
