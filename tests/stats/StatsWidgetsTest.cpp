// The chart widgets offscreen: the buttons run their statistics and the charts show what the model
// holds.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QDateEdit>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QValueAxis>

#include "app/Model.h"
#include "app/stats/StatsController.h"
#include "core/ports/Seams.h"
#include "core/stats/Statistics.h"
#include "support/TestSupport.h"
#include "tests/stats/StatsFixture.h"
#include "ui/stats/BarChartView.h"
#include "ui/stats/DiagrammPage.h"
#include "ui/stats/Plus5StatsPanel.h"

using namespace zf;
using namespace zf::statstest;
using zf::ui::BarChartView;

namespace {

// The chart as drawn agrees with the chart data: bar values, red bars, value axis, labels.
void expectDrawn(const BarChartView& view, const ChartData& data) {
    QBarSet* set = view.barSet();
    ASSERT_EQ(set->count(), qsizetype(data.points.size()));
    QList<int> red;
    for (size_t i = 0; i < data.points.size(); ++i) {
        EXPECT_EQ(set->at(qsizetype(i)), data.points[i].y) << i;
        if (data.points[i].colour == BarColour::Red) red.append(int(i));
    }
    QList<int> selected = set->selectedBars();
    std::sort(selected.begin(), selected.end());
    EXPECT_EQ(selected, red);
    if (data.axisFixed && data.axisMax > data.axisMin) {
        EXPECT_EQ(view.valueAxis()->min(), data.axisMin);
        EXPECT_EQ(view.valueAxis()->max(), data.axisMax);
    } else if (!data.axisFixed) {
        EXPECT_LE(view.valueAxis()->min(), 0);
        EXPECT_GE(view.valueAxis()->max(), data.axisMax);
    }
    EXPECT_EQ(view.series()->isLabelsVisible(), data.marksVisible);
    // Every bar labelled when they are few enough to read, otherwise every labelStep-th.
    const int labels = int(view.categoryAxis()->categoriesLabels().size());
    if (view.labelStep() == 1) {
        EXPECT_EQ(labels, int(data.points.size()));
    } else {
        EXPECT_LT(labels, int(data.points.size()));
    }
}

struct Widgets : ::testing::Test {
    TempDir dir;
    Model m;
    test::ScriptedPrompter prompter;
    StatsController stats{m, prompter};

    void SetUp() override {
        m.home = dir.path();
        // The real history, with made-up Plus 5 numbers so that the Plus 5 charts have something to show.
        std::vector<DrawRecord> history = realHistory();
        uint32_t state = 7;
        for (auto& r : history) {
            r.flags = 0;
            for (auto& d : r.zahl5) {
                state = state * 134775813u + 1;
                d = uint8_t((uint64_t(state) * 10) >> 32);
            }
        }
        writeDraws(m.kenoPath(), history);
        m.setBrowseDate(history.back().datum);
        m.setStatsStart(history.back().datum - 365);
    }
};

} // namespace

TEST_F(Widgets, DiagrammPageRunsEachStatisticAndDrawsIt) {
    ui::DiagrammPage page(m, stats);
    page.resize(642, 470);
    page.show();
    struct Case {
        const char* button;
        const char* shot;
        size_t bars;
    } cases[] = {{"SpeedButton2", "chart-numbers", 70}, {"SpeedButton9", "chart-crosssums", 0},
                 {"SpeedButton1", "chart-pairs", 69},   {"SpeedButton3", "chart-triples", 68},
                 {"SpeedButton17", "chart-quads", 70},  {"SpeedButton19", "chart-overdue", 70}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        auto* b = page.findChild<QToolButton*>(c.button);
        ASSERT_TRUE(b);
        b->click();
        QApplication::processEvents();
        if (c.bars) {
            EXPECT_EQ(m.numberChart.points.size(), c.bars);
        }
        expectDrawn(*page.chart(), m.numberChart);
        if (c.bars == 70) {
            EXPECT_EQ(page.chart()->labelStep(), 1) << "70 bars all labelled";
        }
        EXPECT_EQ(page.chart()->categoryAxis()->titleText().contains(QStringLiteral("Ziehungen")),
                  m.numberChart.caption.find("Ziehungen") != std::string::npos);
    }
    m.tipLines = {"03,17,22,45,61", "03,04,05"};
    stats.showTipDistribution();
    page.modelChanged(ChangeChart1);
    expectDrawn(*page.chart(), m.numberChart);
}

TEST_F(Widgets, StartPickerWritesTheModelAndRefusesTooEarlyDates) {
    ui::DiagrammPage page(m, stats);
    auto* picker = page.findChild<QDateEdit*>("DateTimePicker2");
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->displayFormat(), "dd.MM.yyyy");
    EXPECT_EQ(picker->minimumDate(), QDate(1996, 4, 29));
    EXPECT_EQ(picker->date(), QDate(1899, 12, 30).addDays(qint64(m.statsStart)));
    picker->setDate(QDate(2020, 3, 1));
    EXPECT_EQ(m.statsStart, dateValue(2020, 3, 1));
    m.setStatsStart(dateValue(2021, 5, 6));
    page.modelChanged(ChangeDates);
    EXPECT_EQ(picker->date(), QDate(2021, 5, 6));
}

TEST_F(Widgets, Plus5PanelCountsInTheChosenMode) {
    ui::Plus5StatsPanel panel(m, stats);
    panel.resize(642, 400);
    panel.show();
    auto* ausstehend = panel.findChild<QRadioButton*>();
    ASSERT_TRUE(ausstehend);
    QList<QRadioButton*> radios = panel.findChildren<QRadioButton*>();
    ASSERT_EQ(radios.size(), 2);
    EXPECT_EQ(radios[0]->text(), "wie oft");
    EXPECT_TRUE(radios[0]->isChecked());
    radios[1]->click();
    EXPECT_EQ(stats.plus5Mode, 1);
    panel.findChild<QPushButton*>("BitBtn35")->click();
    const stats::Window w = stats::settleWindow(m.statsStart, m.browseDate);
    EXPECT_EQ(m.plus5Chart, stats::plus5Digits(m.draws.records(), w, 6, stats::Plus5Mode::Ausstehend));
    expectDrawn(*panel.chart(), m.plus5Chart);

    radios[0]->click();
    panel.findChild<QPushButton*>("BitBtn30")->click();
    EXPECT_NE(m.plus5Chart.caption.find("Einer-Position"), std::string::npos);
    expectDrawn(*panel.chart(), m.plus5Chart);

    panel.findChild<QToolButton*>("SpeedButton40")->click();
    expectDrawn(*panel.chart(), m.plus5Chart);
    for (const char* name : {"BitBtn33", "BitBtn34", "BitBtn32", "BitBtn31"})
        EXPECT_TRUE(panel.findChild<QPushButton*>(name)) << name;
}

using Plus5Statistics = Widgets;

// The buttons of the tab "Plus 5", left to right, with the digits each looks at and the start of its
// caption. Digit 1 is the leftmost digit, the ten-thousands; the captions name each digit by its place.
TEST_F(Plus5Statistics, EveryPositionAsSpecified) {
    ui::Plus5StatsPanel panel(m, stats);
    panel.resize(642, 400);
    panel.show();
    const struct {
        const char* button;
        const char* caption;
        int position; // 0: the digit sums
        const char* captionStart;
    } rows[] = {
        {"SpeedButton40", "QS", 0, "Quersummenverteilung     Ziehungen: "},
        {"BitBtn33", "1xxxx", 1, "Zahlenverteilung Zehntausender-Position   Ziehungen: "},
        {"BitBtn34", "x1xxx", 2, "Zahlenverteilung Tausender-Position   Ziehungen: "},
        {"BitBtn32", "xx1xx", 3, "Zahlenverteilung Hunderter-Position   Ziehungen: "},
        {"BitBtn31", "xxx1x", 4, "Zahlenverteilung Zehner-Position   Ziehungen: "},
        {"BitBtn30", "xxxx1", 5, "Zahlenverteilung Einer-Position   Ziehungen: "},
        {"BitBtn35", "12345", 6, "Zahlenverteilung Über alle Position   Ziehungen: "},
    };
    const stats::Window w = stats::settleWindow(m.statsStart, m.browseDate);
    int left = -1;
    for (const auto& r : rows) {
        auto* button = panel.findChild<QAbstractButton*>(r.button);
        ASSERT_TRUE(button) << r.button;
        EXPECT_EQ(button->text().toStdString(), r.caption);
        EXPECT_GT(button->x(), left) << r.button;
        left = button->x();
        button->click();
        EXPECT_EQ(m.plus5Chart, r.position
                                    ? stats::plus5Digits(m.draws.records(), w, r.position, stats::Plus5Mode::WieOft)
                                    : stats::plus5Sums(m.draws.records(), w))
            << r.button;
        EXPECT_EQ(m.plus5Chart.caption.rfind(r.captionStart, 0), 0u) << m.plus5Chart.caption;
        EXPECT_NE(m.plus5Chart.caption.find("    Quersumme: "), std::string::npos) << r.button;
    }
}

// Crowded charts (the cross sums span hundreds of sums) have bars narrower than a pixel; each of
// them must still show, at the design width and narrower, with no blank bands.
TEST(BarChart, EveryBarShowsWhenBarsAreThinnerThanAPixel) {
    ChartData data;
    for (int x = 300; x < 1100; ++x) data.points.push_back({x, 1.0, BarColour::Series});
    data.axisMax = 1;
    for (int width : {642, 500}) {
        BarChartView view("Series2", QColor(0, 0, 255));
        view.resize(width, 300);
        view.draw(data);
        view.show();
        QApplication::processEvents();
        const QImage image = view.grab().toImage();
        const QRectF plot = view.chart()->plotArea();
        ASSERT_LT(plot.width(), 800) << "the bars must be thinner than a pixel here";
        const int row = int(plot.bottom()) - 3;
        int blank = 0;
        for (int x = int(plot.left()) + 2; x < int(plot.right()) - 2; ++x)
            if (image.pixelColor(x, row) != view.barSet()->color()) ++blank;
        EXPECT_EQ(blank, 0) << "width " << width;
    }
}

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
