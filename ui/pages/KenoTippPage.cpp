#include "ui/pages/KenoTippPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

#include "app/Session.h"
#include "app/evaluation/TipCheck.h"
#include "ui/widgets/GesamtTippsBox.h"
#include "ui/widgets/TipListModels.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {

KenoTippPage::KenoTippPage(Session& session, QWidget* parent) : CanvasPage("TabSheet1", parent), session_(session) {
    // Built from top to bottom, left to right: the order is the keyboard's order too.
    QWidget* p = canvas();
    buildDrawPanel(p);
    banner(p, "Panel9", "Label43", "zahlfuchs.de", 2);
    buildTipLists(p);
    buildTipPanel(p);
    banner(p, "Panel10", "Label44", "Orvane Zahlfuchs 2.20", 608);
    buildCommands(p);
}

void KenoTippPage::buildDrawPanel(QWidget* p) {
    QFrame* drawPanel = panel(p, "Panel1", {2, 2, 630, 52});
    // The hint names the download server (refreshOptions), where the update really goes.
    updateButton_ =
        toolButton(drawPanel, "SpeedButton10", {6, 5, 36, 40}, "Aktualisieren der Lottozahlen aus dem Internet");
    updateButton_->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    updateButton_->setIconSize({22, 22});
    connect(updateButton_, &QToolButton::clicked, this, [this] {
        if (session_.update) session_.update->runUpdate();
    });
    auto* previous = toolButton(drawPanel, "SpeedButton6", {46, 5, 26, 40}, "Vorherige Ziehung");
    previous->setArrowType(Qt::LeftArrow);
    connect(previous, &QToolButton::clicked, this, [this] { session_.browser.previous(); });

    drawLine_ = infoLabel(drawPanel, "Label35", {76, 5, 414, 40}, Qt::AlignCenter);
    drawLine_->setContextMenuPolicy(Qt::CustomContextMenu);
    drawLineMenu_ = make<QMenu>(this, "PopupMenu1");
    QAction* systemFont = drawLineMenu_->addAction("Systemschrift");
    systemFont->setObjectName("Systemschrift1");
    connect(systemFont, &QAction::triggered, this, &KenoTippPage::chooseFont);
    connect(drawLine_, &QLabel::customContextMenuRequested, this,
            [this](const QPoint& pos) { drawLineMenu_->popup(drawLine_->mapToGlobal(pos)); });

    auto* next = toolButton(drawPanel, "SpeedButton7", {494, 5, 26, 40}, "Nächste Ziehung");
    next->setArrowType(Qt::RightArrow);
    connect(next, &QToolButton::clicked, this, [this] { session_.browser.next(); });
    crossSum_ = label(drawPanel, "Label13", "Quersumme", {522, 5, 104, 40}, Qt::AlignCenter);
    crossSum_->setWordWrap(true);
}

void KenoTippPage::banner(QWidget* p, const char* panelName, const char* labelName, const char* text, int x) {
    QFrame* frame = panel(p, panelName, {x, 58, 24, 370});
    frame->setCursor(Qt::PointingHandCursor);
    frame->setAutoFillBackground(true);
    QPalette colours = frame->palette();
    colours.setColor(QPalette::Window, QColor(0x1f, 0x4e, 0x79));
    colours.setColor(QPalette::WindowText, Qt::white);
    frame->setPalette(colours);
    QFont font = pageFont(9);
    font.setBold(true);
    QLabel* letters = label(frame, labelName, vertical(text), {0, 0, 24, 370}, Qt::AlignCenter);
    setDesignFont(letters, font);
    letters->setCursor(Qt::PointingHandCursor);
    // A banner opens the program's page (a setting; by default the help that comes with the program),
    // its letters as well as the panel around them.
    for (QWidget* opener : {static_cast<QWidget*>(letters), static_cast<QWidget*>(frame)})
        onClick(opener, [this] {
            const Model& m = session_.model;
            session_.services.shell.open(m.linkTarget(m.productLink));
        });
}

void KenoTippPage::buildTipLists(QWidget* p) {
    label(p, "Panel2", "                Spielreihen", {30, 58, 270, 24}, Qt::AlignCenter)
        ->setFrameShape(QFrame::StyledPanel);
    tipList_ = make<QListView>(p, "ListBox1");
    place(tipList_, 30, 82, 270, 316);
    // The header's trailing blanks only push the caption to the left; a narrow column would cut it.
    label(p, "Panel3", "Richtige           ", {304, 58, 92, 24}, Qt::AlignLeft | Qt::AlignVCenter)
        ->setFrameShape(QFrame::StyledPanel);
    hitsList_ = make<QListView>(p, "ListBox2");
    place(hitsList_, 304, 82, 92, 316);

    Model& m = session_.model;
    tipModel_ = new TipListModel(m.tipLines, this);
    hitsModel_ = new HitsListModel(m.hits, this);
    for (auto [view, model] :
         {std::pair<QListView*, QAbstractItemModel*>{tipList_, tipModel_}, {hitsList_, hitsModel_}}) {
        view->setModel(model);
        view->setUniformItemSizes(true);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    connect(tipList_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { syncSelection(tipList_, hitsList_); });
    connect(hitsList_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { syncSelection(hitsList_, tipList_); });
    // Line i of both lists belongs to the same tip: scroll them together.
    connect(tipList_->verticalScrollBar(), &QScrollBar::valueChanged, hitsList_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(hitsList_->verticalScrollBar(), &QScrollBar::valueChanged, tipList_->verticalScrollBar(),
            &QScrollBar::setValue);

    clearBeforeRun_ =
        checkBox(p, "CheckBox28", "Löschen vor Berechnung", {30, 402, 270, 24},
                 "Wollen Sie weitere Tipps mit veränderten Optionen berechnen, löschen Sie die Markierung");
    connect(clearBeforeRun_, &QCheckBox::toggled, this, [&m](bool on) { m.checkBoxes[28] = on; });
}

void KenoTippPage::buildTipPanel(QWidget* p) {
    Model& m = session_.model;
    TipListController& tips = session_.tips;
    QFrame* tipPanel = panel(p, "Panel4", {400, 58, 204, 370});
    auto addUpDown = [&](const char* labelName, const QString& caption, const char* name, const char* edit, int y) {
        QLabel* l = label(tipPanel, labelName, caption, {8, y, 124, 28});
        QSpinBox* s = upDown(tipPanel, name, edit, {136, y, 60, 28});
        l->setBuddy(s);
        return s;
    };
    kenoType_ = addUpDown("Label20", "Zahlen pro Tipp", "UpDown18", "Edit5", 8);
    connect(kenoType_, &QSpinBox::valueChanged, this, [this](int v) {
        session_.model.num(Num::KenoType).set(v);
        // The Keno type decides how many numbers of each tip count: the hits column must follow.
        checkAllTips(session_.model, session_.services.sound);
    });
    tipsPerTicket_ = addUpDown("Label21", "Tipps pro Schein", "UpDown8", "Edit80", 40);
    connect(tipsPerTicket_, &QSpinBox::valueChanged, this, [this](int v) {
        session_.model.num(Num::TipsPerTicket).set(v);
        updateSelectionLabels();
    });

    // Wider than the other two: "Gesamt-Tipps" takes up to six digits (500000).
    QLabel* totalLabel = label(tipPanel, "Label22", "Gesamt-Tipps", {8, 72, 100, 28});
    totalTips_ = make<GesamtTippsBox>(tipPanel, "UpDown9");
    if (auto* e = totalTips_->findChild<QLineEdit*>()) e->setObjectName("Edit1");
    totalTips_->setAlignment(Qt::AlignRight);
    totalTips_->setKeyboardTracking(true);
    place(totalTips_, 110, 72, 86, 28);
    totalLabel->setBuddy(totalTips_);
    totalLabel->setToolTip("Wieviele Tipps wollen Sie berechnen?");
    // Typed text follows the typing rule; the arrows move inside the up-down's range.
    connect(totalTips_, &QSpinBox::valueChanged, this, [&tips](int v) { tips.totalTipsTyped(std::to_string(v)); });
    connect(totalTips_, &QSpinBox::editingFinished, this, [&tips] { tips.totalTipsLeft(); });

    stake_ = make<QComboBox>(tipPanel, "ComboBox1");
    stake_->addItems({"1 EUR", "2 EUR", "5 EUR", "10 EUR"});
    place(stake_, 8, 106, 188, 28);
    connect(stake_, &QComboBox::currentIndexChanged, this, [&m, &tips](int i) {
        m.stakeItem = i;
        tips.applyStake();
    });
    ticketLabel_ = label(tipPanel, "Label23", QString(), {8, 140, 90, 24});
    tipLabel_ = label(tipPanel, "Label24", QString(), {104, 140, 92, 24}, Qt::AlignRight | Qt::AlignVCenter);

    struct Command {
        const char* name;
        const char* text;
        QRect r;
        const char* hint;
        void (TipListController::*handler)();
    };
    const Command commands[] = {
        {"auswertung",
         "Gewinne",
         {8, 170, 92, 32},
         "Auswertung und Ermittlung der Gewinnsumme",
         &TipListController::showWinnings},
        {"OddsButton",
         "Chancen",
         {104, 170, 92, 32},
         "Chancen eines Tipps je Trefferzahl, Gewinne und was ein Einsatz im Mittel zurückbringt",
         &TipListController::showOdds},
        {"SpeedEdit",
         "Bearbeiten",
         {8, 208, 188, 32},
         "Zahlen des gewählten Tipps bearbeiten oder ändern",
         &TipListController::editTip},
        {"SpeedButton11", "Löschen", {8, 246, 188, 32}, "Löschen aller Tipps", &TipListController::deleteAll},
        {"SpeedButton36", "+", {8, 284, 92, 32}, "Einen neuen Tipp zur Liste hinzufügen", &TipListController::addTip},
        {"SpeedButton32", "\u2212", {104, 284, 92, 32}, "Löscht den ausgewählten Tipp", &TipListController::deleteTip},
    };
    for (const Command& c : commands)
        connect(button(tipPanel, c.name, QString::fromUtf8(c.text), c.r, QString::fromUtf8(c.hint)),
                &QPushButton::clicked, this, [&tips, handler = c.handler] { (tips.*handler)(); });
}

void KenoTippPage::buildCommands(QWidget* p) {
    TipListController& tips = session_.tips;
    auto* save = toolButton(p, "SpeedButton15", {2, 434, 34, 34}, "Speichern des berechneten Tipps in einer Datei");
    save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    connect(save, &QToolButton::clicked, this, [&tips] { tips.saveTipFileAs(); });
    auto* open = toolButton(p, "SpeedButton16", {40, 434, 34, 34}, "Laden eines Tipps aus einer Datei");
    open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    connect(open, &QToolButton::clicked, this, [&tips] { tips.openTipFile(); });
    connect(button(p, "SpeedButton4", "Tipps in DB suchen", {78, 434, 160, 34},
                   "Hier können Sie suchen ob dieser Tipp schon einmal gezagen würde"),
            &QPushButton::clicked, this, [this] { session_.tipSearch.run(); });
    connect(button(p, "SpeedButton13", "Glückszahl", {242, 434, 112, 34},
                   "Hier können Sie den Zufall etwas nachhelfen und wirklich Ihren Tipp generieren"),
            &QPushButton::clicked, this, [this] { session_.generator.askLuckyNumber(); });
    connect(button(p, "BitBtn7", "Tipp drucken", {358, 434, 120, 34},
                   "Der Tipp wurd als Textgespeichert und angezeigt. Kann natürlich auch gedrucktwerden und "
                   "zur annahmestelle gebracht werden."),
            &QPushButton::clicked, this, [&tips] { tips.printTips(); });

    runButton_ = button(p, "BitBtn4", "Tipps berechnen", {482, 434, 150, 34});
    QFont bold = pageFont(kPagePoints);
    bold.setBold(true);
    setDesignFont(runButton_, bold);
    // During a run the same button says "Stoppen" and asks the run to end; during a backtest it ends
    // the whole test, not only the run for one draw.
    connect(runButton_, &QPushButton::clicked, this, [this] {
        if (session_.backtest.running())
            session_.backtest.stop();
        else
            session_.generator.toggleRun();
        session_.model.notify(ChangeOptions);
    });
    auto* close = button(p, "BitBtn5", "Schließen", {2, 472, 112, 34});
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(close, &QPushButton::clicked, this, [this] { window()->close(); });
    auto* distribution = button(p, "Button6", "Tippverteilung", {118, 472, 130, 34},
                                "Hier sehen Sie ein Diagramm der Zahlenverteilung des Tipps");
    connect(distribution, &QPushButton::clicked, this, [this] {
        BusyCursor busy;
        session_.stats.showTipDistribution();
    });
    enumerateButton_ = button(p, "ErzeugenBtn", "Tipps erzeugen", {252, 472, 130, 34},
                              "Es werden alle möglichen Tipp erzeugt und mit den Parametern überprüft");
    // Every combination of the pool through the same run; during it the run button stops it.
    connect(enumerateButton_, &QPushButton::clicked, this, [this] {
        session_.generator.toggleEnumeration();
        session_.model.notify(ChangeOptions);
    });
    auto* handOver = button(p, "SpeedButton12", "Tipps in den Warenkorb", {386, 472, 246, 34},
                            "Hier können Sie den Tipp Online abgeben");
    connect(handOver, &QPushButton::clicked, this, [this] { session_.submission.handOver(); });
}

void KenoTippPage::refresh(unsigned what) {
    const Model& m = session_.model;
    if (what & ChangeDraw) {
        drawLine_->setText(QString::fromStdString(m.drawTextMain));
        crossSum_->setText(QString::fromStdString(m.crossSumText));
    }
    if (what & ChangeTips) {
        // A command that picked a line (a new tip) shows it selected; the reset would forget it.
        const int want = m.selectedTip;
        tipModel_->refresh();
        if (want >= 0 && want < tipModel_->rowCount() && tipList_->currentIndex().row() != want)
            tipList_->setCurrentIndex(tipModel_->index(want, 0));
    }
    if (what & ChangeHits) {
        hitsModel_->refresh();
        // A rebuilt hits column lost its selection: give it the tip list's again.
        syncSelection(tipList_, hitsList_);
    }
    if (what & ChangeOptions) refreshOptions();
}

void KenoTippPage::refreshOptions() {
    const Model& m = session_.model;
    updateButton_->setToolTip(
        QString::fromStdString("Aktualisieren der Lottozahlen aus dem Internet " + m.downloadServer));
    setChecked(clearBeforeRun_, m.on(Opt::ClearBeforeRun));
    setUpDown(kenoType_, m.num(Num::KenoType));
    setUpDown(tipsPerTicket_, m.num(Num::TipsPerTicket));
    {
        const QSignalBlocker block(totalTips_);
        totalTips_->setArrowRange(m.num(Num::TotalTips).min, m.num(Num::TotalTips).max);
        totalTips_->setValue(m.totalTips());
    }
    {
        const QSignalBlocker block(stake_);
        stake_->setCurrentIndex(m.stakeItem >= 0 && m.stakeItem < stake_->count() ? m.stakeItem : -1);
    }
    updateButton_->setEnabled(m.mainUpdateEnabled);
    enumerateButton_->setVisible(m.enumerateVisible);
    runButton_->setText(QString::fromStdString(m.runCaption));
    updateSelectionLabels();
}

void KenoTippPage::syncSelection(QListView* from, QListView* to) {
    if (syncing_) return;
    syncing_ = true;
    const int row = from->currentIndex().row();
    if (row >= 0 && row < to->model()->rowCount()) {
        const QModelIndex i = to->model()->index(row, 0);
        to->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    } else {
        to->selectionModel()->clearSelection();
    }
    syncing_ = false;
    updateSelectionLabels();
}

void KenoTippPage::updateSelectionLabels() {
    Model& m = session_.model;
    const int row = tipList_->currentIndex().row();
    m.selectedTip = row;
    const int n = std::max(1, m.num(Num::TipsPerTicket).pos);
    ticketLabel_->setText(row < 0 ? QString() : QString("%1.Schein").arg(row / n + 1));
    tipLabel_->setText(row < 0 ? QString() : QString("%1.Tipp").arg(row % n + 1));
}

namespace {

// The font dialog picks its style row by name; without one it may land on a condensed or italic
// style. Give the font the family's own name of its style: normal width, its weight and slant.
QFont withStyleName(QFont f) {
    const QString family = f.family();
    QString best;
    for (const QString& style : QFontDatabase::styles(family)) {
        if (QFontDatabase::italic(family, style) != f.italic()) continue;
        if (QFontDatabase::weight(family, style) != f.weight()) continue;
        // Of the styles that fit, the plainest name: "Book" before "Condensed Book".
        if (best.isEmpty() || style.size() < best.size()) best = style;
    }
    if (!best.isEmpty()) f.setStyleName(best);
    return f;
}

} // namespace

void KenoTippPage::chooseFont() {
    Model& m = session_.model;
    auto* dialog = new QFontDialog(window()); // FontDialog1
    dialog->setObjectName("FontDialog1");
    dialog->setOption(QFontDialog::DontUseNativeDialog);
    dialog->setWindowTitle("Schriftart");
    // The dialog starts from the window's font.
    const QFont before = withStyleName(fontOf(m.font));
    dialog->setCurrentFont(before);
    const bool ok = dialog->exec() == QDialog::Accepted;
    const QFont chosen = ok ? dialog->selectedFont() : before;
    dialog->deleteLater();

    // After OK and Cancel alike: the window takes the dialog's font, and the draw line its name and
    // size in bold.
    storeFont(m.font, chosen);
    QFont drawLineFont = designFont(drawLine_);
    drawLineFont.setFamily(chosen.family());
    drawLineFont.setPointSizeF(m.font.size / scaleOf(drawLine_)); // the size chosen is the size shown now
    drawLineFont.setBold(true);
    setDesignFont(drawLine_, drawLineFont);
    m.notify(ChangeFont);
}

} // namespace zf::ui
