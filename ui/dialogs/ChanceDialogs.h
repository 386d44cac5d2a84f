#pragma once
// The two windows beside chance: "Chancen" (the odds of a tip, its payouts and what a stake returns
// on average) and "Vergleich mit dem Zufall" (a backtest's hit totals beside those of random draws,
// with the verdict). Neither is modal: the user keeps working, and a test never waits for them.
#include <QDialog>
#include <QString>
#include <QWidget>

#include <vector>

#include "core/evaluation/ChanceView.h"

class QComboBox;
class QLabel;
class QSpinBox;
class QTableWidget;

namespace zf::ui {

// A small bar chart painted by hand: one bar per hit count, optionally with the expected values as a
// line across the bars. Marked bars (the winning classes) are green.
class ChanceChart : public QWidget {
public:
    struct Bar {
        int hits = 0;
        double value = 0;
        double expected = 0;
        bool marked = false;
    };
    explicit ChanceChart(QWidget* parent = nullptr);
    // `asPercent`: the values are probabilities, the axis reads in percent.
    void setBars(std::vector<Bar> bars, bool withExpected, bool asPercent);
    const std::vector<Bar>& bars() const { return bars_; }
    QSize sizeHint() const override { return {420, 220}; }
    QSize minimumSizeHint() const override { return {260, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Bar> bars_;
    bool withExpected_ = false;
    bool asPercent_ = false;
};

// "Chancen": the Keno type and the stake can be changed here without touching the tip panel.
class OddsDialog : public QDialog {
public:
    explicit OddsDialog(QWidget* parent = nullptr);
    void showTable(const OddsTable& table);
    const OddsTable& table() const { return table_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill(const OddsTable& table);
    void fitTable(); // the whole table in view, without a scroll bar

    OddsTable table_;
    QSpinBox* kenoType_;
    QComboBox* stake_;
    QTableWidget* rows_;
    ChanceChart* chart_;
    QLabel* summary_;
};

// "Vergleich mit dem Zufall".
class ComparisonDialog : public QDialog {
public:
    explicit ComparisonDialog(QWidget* parent = nullptr);
    void showComparison(const ChanceComparison& c);

private:
    QLabel* title_;
    QLabel* scope_;
    ChanceChart* chart_;
    QTableWidget* rows_;
    QLabel* verdict_;
    QLabel* meaning_;
    QLabel* money_;
    QLabel* basis_;
};

// The desktop's ChanceView: each window made once, on first use, and brought to the front again.
class ChanceDialogs : public ChanceView {
public:
    explicit ChanceDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void showOdds(const OddsTable& table) override;
    void showComparison(const ChanceComparison& comparison) override;
    OddsDialog* oddsDialog() const { return odds_; }
    ComparisonDialog* comparisonDialog() const { return comparison_; }

private:
    QWidget* parent_;
    OddsDialog* odds_ = nullptr;
    ComparisonDialog* comparison_ = nullptr;
};

} // namespace zf::ui
