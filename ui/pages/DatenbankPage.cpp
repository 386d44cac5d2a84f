#include "ui/pages/DatenbankPage.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

#include "app/Session.h"
#include "base/GermanFormat.h"
#include "core/evaluation/BacktestReport.h"
#include "ui/widgets/GermanDateEdit.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {

DatenbankPage::DatenbankPage(Session& session, QWidget* parent) : CanvasPage("TabSheet4", parent), session_(session) {
    QWidget* p = canvas();
    Browser& browser = session_.browser;
    DrawExport& exporter = session_.exporter;
    UpdateController* update = session_.update.get();

    updateButton_ = button(p, "BitBtn1", "Datenbank aktualisieren", {8, 8, 220, 32});
    connect(updateButton_, &QPushButton::clicked, this, [update] {
        if (update) update->runUpdate();
    });
    stopButton_ = toolButton(p, "SpeedButton8", {232, 8, 32, 32}, "Stoppt das Einlesen");
    stopButton_->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    stopButton_->hide();
    connect(stopButton_, &QToolButton::clicked, this, [update] {
        if (update) update->stop();
    });
    auto* recreate = button(p, "BitBtn2", "Datenbank neu anlegen", {268, 8, 200, 32},
                            "Beim neu anlegen der Datenbank, wird mit dem Einlesen bei dem Eingestellten Datum "
                            "begonnen. Ein Datum bis 1955 ist möglich.");
    recreate->hide();
    connect(recreate, &QPushButton::clicked, this, [update] {
        if (update) update->rebuildHistory();
    });

    // Draws from a file, for a history that must reach today without a draw server. It sits where the
    // hidden "Datenbank neu anlegen" would.
    auto* importDraws = button(p, "DrawImportButton", "Ziehungen importieren", {268, 8, 236, 32},
                               "Ziehungen aus einer Textdatei (CSV) übernehmen, z. B. von einer Lotterie-Seite");
    connect(importDraws, &QPushButton::clicked, this, [this] { session_.importer.importDraws(); });

    browseDatePicker_ = make<GermanDateEdit>(p, "DateTimePicker1");
    browseDatePicker_->setLocale(QLocale(QLocale::German, QLocale::Germany));
    browseDatePicker_->setDisplayFormat("dd.MM.yyyy");
    browseDatePicker_->setCalendarPopup(true);
    browseDatePicker_->setMinimumDate(toQDate(Model::browseDateMin));
    browseDatePicker_->setMaximumDate(QDate(9999, 12, 31));
    place(browseDatePicker_, 8, 48, 136, 32);
    connect(browseDatePicker_, &QDateEdit::dateChanged, this,
            [this](const QDate& d) { session_.model.setBrowseDate(toDateValue(d)); });
    auto* seek = button(p, "SpeedButton5", "Suchen", {148, 48, 80, 32},
                        "Ziehungsdaten afür das gewählte Datu aus der Datenbank heraussuchen");
    connect(seek, &QPushButton::clicked, this, [&browser] { browser.seekDate(); });
    connect(button(p, "BitBtn3", "Export nach Text", {240, 48, 150, 32}), &QPushButton::clicked, this,
            [&exporter] { exporter.exportText(); });
    auto* remove = button(p, "BitBtn6", "Löschen", {394, 48, 110, 32});
    // Deleting cannot be undone: the window asks first, "Nein" by default (the batch command does not ask).
    connect(remove, &QPushButton::clicked, this, [this, &browser] {
        const Model& m = session_.model;
        if (m.drawDate > 0 &&
            !session_.services.prompter.questionDefaultNo("Die Ziehung vom " + formatDate(m.drawDate) + " löschen?"))
            return;
        browser.deleteCurrent();
    });
    entryButton_ = button(p, "BitBtn8", "Eingeben", {508, 48, 118, 32});
    connect(entryButton_, &QPushButton::clicked, this, [this] { session_.entry.enterDraw(); });
    auto* exportAll = button(p, "ExportAlles", "Export", {508, 8, 118, 32});
    exportAll->hide();
    connect(exportAll, &QPushButton::clicked, this, [&exporter] { exporter.exportSingleFiles(); });

    drawLine_ = infoLabel(p, "Label29", {8, 86, 618, 50}, Qt::AlignLeft | Qt::AlignVCenter);
    buildStatistics(p);
}

void DatenbankPage::buildStatistics(QWidget* p) {
    // Each statistic draws its chart and brings the tab "Diagramm" to the front.
    struct Statistic {
        const char* name;
        const char* text;
        int x;
        bool (StatsController::*command)();
    };
    const Statistic statistics[] = {{"Button2", "Paare suchen", 8, &StatsController::showPairs},
                                    {"Button3", "Dreier suchen", 164, &StatsController::showTriples},
                                    {"Button4", "Vierer suchen", 320, &StatsController::showQuads},
                                    {"Button5", "Ausstehende", 476, &StatsController::showOverdue}};
    StatsController& stats = session_.stats;
    for (const Statistic& s : statistics)
        connect(button(p, s.name, s.text, {s.x, 144, 150, 32}), &QPushButton::clicked, this,
                [&stats, command = s.command] {
                    BusyCursor busy;
                    (stats.*command)();
                });

    label(p, "Label38", "Historische Analyse der Parameter beginnenden mit oben gewähltem Datum", {8, 184, 618, 24});
    label(p, "Label39", "Historische Analyse  beginnen mit dem obigen Datum", {8, 276, 618, 24});
    struct Test {
        BacktestKind kind;
        const char* caption;
        QRect place;
    };
    const Test tests[] = {
        {BacktestKind::TipsUntilToday,
         "Tipp berechnen und Test welchen Erfolg dieser bis Heute hätte",
         {8, 208, 618, 30}},
        {BacktestKind::TipsPerDraw,
         "Tipp berechnen und jeweils den Erfolg in der nächsten Ziehung testen",
         {8, 240, 618, 30}},
        {BacktestKind::NextDraw,
         "Test wie oft die gezogenen Zahlen in der jeweils nächsten Ziehung auftreten",
         {8, 300, 618, 30}},
        {BacktestKind::SecondNextDraw,
         "Test wie oft die Zahlen in der jeweils übernächsten Ziehung auftreten",
         {8, 332, 618, 30}},
        {BacktestKind::ThirdNextDraw,
         "Test wie oft die Zahlen in der jeweils überübernächsten Ziehung auftreten",
         {8, 364, 618, 30}},
        {BacktestKind::NextThreeDraws,
         "Test wie oft die Zahlen in den nächsten 3 Ziehungen vorkommen",
         {8, 396, 618, 30}},
        {BacktestKind::LastThreeDraws,
         "Test wie oft die Zahlen in den letzten 3 Ziehungen vorkommen",
         {8, 428, 618, 30}},
    };
    Backtest& backtest = session_.backtest;
    for (const Test& t : tests) {
        auto* b = button(p, std::string(backtestName(t.kind)).c_str(), t.caption, t.place);
        b->setProperty("caption", QString::fromUtf8(t.caption));
        backtestButtons_.push_back(b);
        // While a test runs its button stops it; the other tests wait.
        connect(b, &QPushButton::clicked, this, [&backtest, kind = t.kind] {
            if (backtest.running()) {
                backtest.stop();
                return;
            }
            BusyCursor busy;
            backtest.run(kind);
        });
    }
    // Analyse-Zufall.txt is written after every test; the box decides only about the window.
    chanceBox_ = checkBox(p, "ChanceComparisonBox", "Vergleich mit dem Zufall zeigen", {8, 464, 618, 24},
                          "Nach jedem Test die Treffer neben denen zufälliger Ziehungen zeigen, mit Urteil");
    connect(chanceBox_, &QCheckBox::toggled, this, [this](bool on) { session_.model.showChanceComparison = on; });
}

void DatenbankPage::refresh(unsigned what) {
    const Model& m = session_.model;
    if (what & ChangeDraw) drawLine_->setText(QString::fromStdString(m.drawText));
    if (what & ChangeOptions) {
        updateButton_->setEnabled(m.updateButtonEnabled);
        stopButton_->setVisible(m.stopUpdateVisible);
        entryButton_->setEnabled(m.entryEnabled);
        setChecked(chanceBox_, m.showChanceComparison);
        for (QPushButton* b : backtestButtons_) {
            const bool mine = m.backtestRunning && b->objectName().toStdString() == backtestName(*m.backtestRunning);
            b->setText(mine ? QStringLiteral("Test stoppen") : b->property("caption").toString());
            b->setEnabled(!m.backtestRunning || mine);
        }
    }
    if (what & ChangeDates) {
        const QSignalBlocker block(browseDatePicker_);
        if (m.browseDate >= Model::browseDateMin) browseDatePicker_->setDate(toQDate(m.browseDate));
    }
}

} // namespace zf::ui
