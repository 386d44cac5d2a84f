#include "ui/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "evaluation/TipCheck.h"
#include "ui/DesignScale.h"
#include "ui/TipPanel.h"
#include "draws/ManualEntry.h"
#include "platform/qt/QtHttpClient.h"
#include <QFileDialog>
#include "ui/generator/GeneratorOptionsPage.h"
#include "ui/TipListModels.h"
#include "ui/stats/StatsUi.h"

namespace zf {

using ui::place;

namespace {

// Size of the scrolled canvas of a tab page at the design size of the window. Slightly smaller than
// the page itself, so that no scroll bar appears while the window is at least as large as the design.
constexpr int kCanvasWidth = 634;
constexpr int kCanvasHeight = 506;
constexpr double kTabPoints = 10.5;

const QDate kDateBase(1899, 12, 30);

QDate toQDate(double value) { return kDateBase.addDays(static_cast<qint64>(std::floor(value))); }
double toDateValue(const QDate& d) { return static_cast<double>(kDateBase.daysTo(d)); }

// The tab pages use Arial Narrow; where that is missing, any narrow face keeps the long captions
// of the pages within their buttons.
QString narrowFamily() {
    const QStringList families = QFontDatabase::families();
    for (const char* wanted : {"Arial Narrow", "Liberation Sans Narrow", "Nimbus Sans Narrow", "DejaVu Sans Condensed"})
        if (families.contains(QString::fromLatin1(wanted))) return QString::fromLatin1(wanted);
    for (const QString& f : families)
        if (f.contains("Narrow", Qt::CaseInsensitive) || f.contains("Condensed", Qt::CaseInsensitive)) return f;
    return QApplication::font().family();
}

QFont pageFont(double points) {
    QFont f(narrowFamily());
    f.setPointSizeF(points);
    f.setStretch(QFont::AnyStretch);
    f.setBold(false);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    return f;
}

template <class W>
W* make(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// A command whose handler belongs to a later part of the program: it is shown where it belongs but
// stays disabled until its handler exists, so no button does nothing.
void notYetBuilt(QWidget* w) { w->setEnabled(false); }

QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect r, const QString& hint = {}) {
    auto* b = make<QPushButton>(parent, name);
    b->setText(text);
    if (!hint.isEmpty()) b->setToolTip(hint);
    place(b, r.x(), r.y(), r.width(), r.height());
    return b;
}

QToolButton* toolButton(QWidget* parent, const char* name, QRect r, const QString& hint = {}) {
    auto* b = make<QToolButton>(parent, name);
    if (!hint.isEmpty()) b->setToolTip(hint);
    b->setAutoRaise(false);
    place(b, r.x(), r.y(), r.width(), r.height());
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect r,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = make<QLabel>(parent, name);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    l->setAlignment(align);
    place(l, r.x(), r.y(), r.width(), r.height());
    return l;
}

// A label drawn like a sunken field with the info background: the draw lines.
QLabel* infoLabel(QWidget* parent, const char* name, QRect r, Qt::Alignment align) {
    QLabel* l = label(parent, name, QString(), r, align);
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAutoFillBackground(true);
    l->setBackgroundRole(QPalette::ToolTipBase);
    l->setForegroundRole(QPalette::ToolTipText);
    l->setWordWrap(true);
    l->setMargin(2);
    return l;
}

QFrame* panel(QWidget* parent, const char* name, QRect r) {
    auto* p = make<QFrame>(parent, name);
    p->setFrameShape(QFrame::StyledPanel);
    p->setFrameShadow(QFrame::Raised);
    place(p, r.x(), r.y(), r.width(), r.height());
    return p;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, QRect r, const QString& hint = {}) {
    auto* c = make<QCheckBox>(parent, name);
    c->setText(text);
    if (!hint.isEmpty()) c->setToolTip(hint);
    place(c, r.x(), r.y(), r.width(), r.height());
    return c;
}

// An up-down control with its buddy edit: one spin box carrying both names.
QSpinBox* upDown(QWidget* parent, const char* name, const char* editName, QRect r) {
    auto* s = make<QSpinBox>(parent, name);
    if (auto* e = s->findChild<QLineEdit*>()) e->setObjectName(QString::fromLatin1(editName));
    s->setAlignment(Qt::AlignRight);
    s->setKeyboardTracking(false);
    place(s, r.x(), r.y(), r.width(), r.height());
    return s;
}

QLineEdit* lineEdit(QWidget* parent, const char* name, QRect r) {
    auto* e = make<QLineEdit>(parent, name);
    place(e, r.x(), r.y(), r.width(), r.height());
    return e;
}

// The banners beside the tip lists spell their text letter by letter from top to bottom.
QString vertical(const QString& text) {
    QStringList letters;
    for (QChar c : text) letters << (c == ' ' ? QString() : QString(c));
    return letters.join('\n');
}

void setChecked(QCheckBox* c, bool on) {
    const QSignalBlocker block(c);
    c->setChecked(on);
}

void setUpDown(QSpinBox* s, const UpDownState& u) {
    const QSignalBlocker block(s);
    s->setRange(u.min, u.max);
    s->setValue(u.pos);
}

void setText(QLineEdit* e, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (e->text() == t) return;
    const QSignalBlocker block(e);
    e->setText(t);
}

} // namespace

MainWindow::MainWindow(Session& session, std::string home, QWidget* parent)
    : QMainWindow(parent), session_(session), home_(std::move(home)) {
    setObjectName("TForm1");
    setWindowTitle(QString::fromLatin1(kCaption));
    model_.listener = [this](unsigned what) { refresh(what); };

    PageControl1 = make<QTabWidget>(this, "PageControl1");
    ui::setDesignFont(PageControl1, pageFont(12));
    // Seven captions in a row: a little smaller than the pages, so that all tabs show at the design width.
    ui::setDesignFont(PageControl1->tabBar(), pageFont(kTabPoints));
    PageControl1->setDocumentMode(false);
    setCentralWidget(PageControl1);

    buildKenoTipp();
    session_.setEventPump([] { QApplication::processEvents(); });
    app_.chartsAtStart = true;
    app_.updateAtStart = update_ != nullptr;
    buildOptionen();
    buildDiagramm();
    buildDatenbank();
    buildPlus5();
    buildInternetOptionen();
    buildMitspieler();

    auto* bar = make<QStatusBar>(this, "StatusBar1");
    for (int i = 0; i < 2; ++i) {
        statusPanel_[i] = make<QLabel>(bar, i == 0 ? "StatusBar1Panel0" : "StatusBar1Panel1");
        statusPanel_[i]->setTextFormat(Qt::PlainText);
        statusPanel_[i]->setFrameShape(QFrame::StyledPanel);
        statusPanel_[i]->setFrameShadow(QFrame::Sunken);
    }
    statusPanel_[0]->setFixedWidth(150);
    bar->addWidget(statusPanel_[0], 0);
    bar->addWidget(statusPanel_[1], 1);
    setStatusBar(bar);

    bindOptions();
    // The statistics fill the placeholders DiagrammArea and Plus5Area and bind Button2..Button6.
    auto* stats = new ui::StatsUi(this, model_, session_.stats);
    connect(this, &MainWindow::modelChanged, stats, &ui::StatsUi::modelChanged);
    ui::scaleTree(PageControl1, scale_);
    applyWindowFont();
    refresh(ChangeAll & ~ChangeWindow);
    setMinimumSize(kMinWidth, kDesignHeight);
    resize(kDesignWidth, kDesignHeight);
}

MainWindow::~MainWindow() {
    model_.listener = nullptr;
    // The widgets die after the model and the controllers: a widget losing focus on its way out
    // must not call back into them.
    for (QObject* child : findChildren<QObject*>()) child->blockSignals(true);
}

// ---------------------------------------------------------------------------------------------
// Pages

QScrollArea* MainWindow::addCanvasPage(const QString& caption, const char* name, QWidget** canvas) {
    // The page contents keep their design positions; a window narrower than the scaled contents
    // scrolls instead of cutting them off, a wider one centres them.
    auto* page = make<QScrollArea>(nullptr, name);
    page->setFrameShape(QFrame::NoFrame);
    page->setWidgetResizable(false);
    page->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    page->viewport()->setAutoFillBackground(false);
    auto* c = make<QWidget>(page, (std::string(name) + "Canvas").c_str());
    c->setAutoFillBackground(false);
    page->setWidget(c);
    PageControl1->addTab(page, caption);
    ui::placeSize(c, kCanvasWidth, kCanvasHeight);
    *canvas = c;
    return page;
}

void MainWindow::buildKenoTipp() {
    QWidget* p = nullptr;
    addCanvasPage("Keno-Tipp", "TabSheet1", &p);

    // draw panel
    QFrame* drawPanel = panel(p, "Panel1", {2, 2, 630, 52});
    auto* sb10 = toolButton(drawPanel, "SpeedButton10", {6, 5, 36, 40},
                            QString("Aktualisieren der Lottozahlen aus dem Internet ") + kProductAddress);
    sb10->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    sb10->setIconSize({22, 22});
    SpeedButton10 = sb10;
    connect(sb10, &QToolButton::clicked, this, [this] { update_->runUpdate(); });
    auto* sb6 = toolButton(drawPanel, "SpeedButton6", {46, 5, 26, 40}, "Vorherige Ziehung");
    sb6->setArrowType(Qt::LeftArrow);
    connect(sb6, &QToolButton::clicked, this, &MainWindow::previous);
    Label35 = infoLabel(drawPanel, "Label35", {76, 5, 414, 40}, Qt::AlignCenter);
    Label35->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu1 = make<QMenu>(this, "PopupMenu1");
    QAction* systemschrift = PopupMenu1->addAction("Systemschrift");
    systemschrift->setObjectName("Systemschrift1");
    connect(systemschrift, &QAction::triggered, this, &MainWindow::chooseFont);
    connect(Label35, &QLabel::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(Label35->mapToGlobal(pos)); });
    auto* sb7 = toolButton(drawPanel, "SpeedButton7", {494, 5, 26, 40}, "Nächste Ziehung");
    sb7->setArrowType(Qt::RightArrow);
    connect(sb7, &QToolButton::clicked, this, &MainWindow::next);
    Label13 = label(drawPanel, "Label13", "Quersumme", {522, 5, 104, 40}, Qt::AlignCenter);
    Label13->setWordWrap(true);

    // left banner
    QFrame* panel9 = panel(p, "Panel9", {2, 58, 24, 370});
    panel9->setCursor(Qt::PointingHandCursor);
    panel9->setAutoFillBackground(true);
    QPalette bannerPalette = panel9->palette();
    bannerPalette.setColor(QPalette::Window, QColor(0x1f, 0x4e, 0x79));
    bannerPalette.setColor(QPalette::WindowText, Qt::white);
    panel9->setPalette(bannerPalette);
    QFont bannerFont = pageFont(9);
    bannerFont.setBold(true);
    QLabel* label43 = label(panel9, "Label43", vertical("zahlfuchs.de"), {0, 0, 24, 370}, Qt::AlignCenter);
    ui::setDesignFont(label43, bannerFont);
    label43->setToolTip(kProductAddress);
    label43->setCursor(Qt::PointingHandCursor);

    // tip list and hits column
    label(p, "Panel2", "                Spielreihen", {30, 58, 270, 24}, Qt::AlignCenter)
        ->setFrameShape(QFrame::StyledPanel);
    ListBox1 = make<QListView>(p, "ListBox1");
    place(ListBox1, 30, 82, 270, 316);
    // The header's trailing blanks only push the caption to the left; a narrow column would cut it.
    label(p, "Panel3", "Richtige           ", {304, 58, 92, 24}, Qt::AlignLeft | Qt::AlignVCenter)->setFrameShape(QFrame::StyledPanel);
    ListBox2 = make<QListView>(p, "ListBox2");
    place(ListBox2, 304, 82, 92, 316);
    tipModel_ = std::make_unique<ui::TipListModel>(model_.tipLines);
    hitsModel_ = std::make_unique<ui::HitsListModel>(model_.hits);
    for (auto [view, model] : {std::pair<QListView*, QAbstractItemModel*>{ListBox1, tipModel_.get()},
                               {ListBox2, hitsModel_.get()}}) {
        view->setModel(model);
        view->setUniformItemSizes(true);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    connect(ListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { syncSelection(ListBox1, ListBox2); });
    connect(ListBox2->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { syncSelection(ListBox2, ListBox1); });
    // Line i of both lists belongs to the same tip: scroll them together.
    connect(ListBox1->verticalScrollBar(), &QScrollBar::valueChanged, ListBox2->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(ListBox2->verticalScrollBar(), &QScrollBar::valueChanged, ListBox1->verticalScrollBar(),
            &QScrollBar::setValue);
    CheckBox28 = checkBox(p, "CheckBox28", "Löschen vor Berechnung", {30, 402, 270, 24},
                          "Wollen Sie weitere Tipps mit veränderten Optionen berechnen, löschen Sie die Markierung");

    // tip panel
    QFrame* tipPanel = panel(p, "Panel4", {400, 58, 204, 370});
    auto addUpDown = [&](const char* labelName, const QString& caption, const char* name, const char* edit, int y) {
        QLabel* l = label(tipPanel, labelName, caption, {8, y, 124, 28});
        QSpinBox* s = upDown(tipPanel, name, edit, {136, y, 60, 28});
        l->setBuddy(s);
        return s;
    };
    UpDown18 = addUpDown("Label20", "Zahlen pro Tipp", "UpDown18", "Edit5", 8);
    UpDown8 = addUpDown("Label21", "Tipps pro Schein", "UpDown8", "Edit80", 40);
    {
        QLabel* l = label(tipPanel, "Label22", "Gesamt-Tipps", {8, 72, 124, 28});
        auto* box = make<ui::GesamtTippsBox>(tipPanel, "UpDown9");
        if (auto* e = box->findChild<QLineEdit*>()) e->setObjectName("Edit1");
        box->setAlignment(Qt::AlignRight);
        box->setKeyboardTracking(true);
        place(box, 136, 72, 60, 28);
        l->setBuddy(box);
        UpDown9 = box;
    }
    if (auto* l = tipPanel->findChild<QLabel*>("Label22")) l->setToolTip("Wieviele Tipps wollen Sie berechnen?");
    ComboBox1 = make<QComboBox>(tipPanel, "ComboBox1");
    ComboBox1->addItems({"1 EUR", "2 EUR", "5 EUR", "10 EUR"});
    place(ComboBox1, 8, 106, 188, 28);
    Label23 = label(tipPanel, "Label23", QString(), {8, 140, 90, 24});
    Label24 = label(tipPanel, "Label24", QString(), {104, 140, 92, 24}, Qt::AlignRight | Qt::AlignVCenter);
    auto bindTip = [this](QPushButton* b, void (TipListController::*handler)()) {
        connect(b, &QPushButton::clicked, this, [this, handler] { (tips_.*handler)(); });
    };
    bindTip(button(tipPanel, "auswertung", "Gewinne", {8, 170, 188, 32}, "Auswertung und Ermittlung der Gewinnsumme"),
            &TipListController::showWinnings);
    bindTip(button(tipPanel, "SpeedEdit", "Bearbeiten", {8, 208, 188, 32},
                   "Zahlen des gewählten Tipps bearbeiten oder ändern"),
            &TipListController::editTip);
    bindTip(button(tipPanel, "SpeedButton11", "Löschen", {8, 246, 188, 32}, "Löschen aller Tipps"),
            &TipListController::deleteAll);
    bindTip(button(tipPanel, "SpeedButton36", "+", {8, 284, 92, 32}, "Einen neuen Tipp zur Liste hinzufügen"),
            &TipListController::addTip);
    bindTip(button(tipPanel, "SpeedButton32", "\u2212", {104, 284, 92, 32}, "Löscht den ausgewählten Tipp"),
            &TipListController::deleteTip);

    // right banner
    QFrame* panel10 = panel(p, "Panel10", {608, 58, 24, 370});
    panel10->setCursor(Qt::PointingHandCursor);
    panel10->setAutoFillBackground(true);
    panel10->setPalette(bannerPalette);
    QLabel* label44 = label(panel10, "Label44", vertical("Orvane Zahlfuchs 2.20"), {0, 0, 24, 370}, Qt::AlignCenter);
    ui::setDesignFont(label44, bannerFont);
    label44->setToolTip(kProductAddress);
    label44->setCursor(Qt::PointingHandCursor);
    webPageOpeners_ = {label43, label44, panel9, panel10};

    // commands
    auto* sb15 = toolButton(p, "SpeedButton15", {2, 434, 34, 34}, "Speichern des berechneten Tipps in einer Datei");
    sb15->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    connect(sb15, &QToolButton::clicked, this, [this] { tips_.saveTipFileAs(); });
    auto* sb16 = toolButton(p, "SpeedButton16", {40, 434, 34, 34}, "Laden eines Tipps aus einer Datei");
    sb16->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    connect(sb16, &QToolButton::clicked, this, [this] { tips_.openTipFile(); });
    notYetBuilt(button(p, "SpeedButton4", "Tipps in DB suchen", {78, 434, 160, 34},
                       "Hier können Sie suchen ob dieser Tipp schon einmal gezagen würde"));
    connect(button(p, "SpeedButton13", "Glückszahl", {242, 434, 112, 34},
                   "Hier können Sie den Zufall etwas nachhelfen und wirklich Ihren Tipp generieren"),
            &QPushButton::clicked, this, [this] { generator_->askLuckyNumber(); });
    connect(button(p, "BitBtn7", "Tipp drucken", {358, 434, 120, 34},
                   "Der Tipp wurd als Textgespeichert und angezeigt. Kann natürlich auch gedrucktwerden und "
                   "zur annahmestelle gebracht werden."),
            &QPushButton::clicked, this, [this] { tips_.printTips(); });
    QPushButton* calc = button(p, "BitBtn4", "Tipps berechnen", {482, 434, 150, 34});
    QFont bold = pageFont(12);
    bold.setBold(true);
    ui::setDesignFont(calc, bold);
    BitBtn4 = calc;
    // During a run the same button says "Stoppen" and asks the run to end.
    connect(calc, &QPushButton::clicked, this, [this] {
        generator_->toggleRun();
        refresh(ChangeOptions);
    });
    auto* close = button(p, "BitBtn5", "Schließen", {2, 472, 112, 34});
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    button(p, "Button6", "Tippverteilung", {118, 472, 130, 34}, "Hier sehen Sie ein Diagramm der Zahlenverteilung des Tipps");
    ErzeugenBtn = button(p, "ErzeugenBtn", "Tipps erzeugen", {252, 472, 130, 34},
                         "Es werden alle möglichen Tipp erzeugt und mit den Parametern überprüft");
    notYetBuilt(ErzeugenBtn);
    notYetBuilt(button(p, "SpeedButton12", "Tipps in den Warenkorb", {386, 472, 246, 34},
                       "Hier können Sie den Tipp Online abgeben"));
}

void MainWindow::buildOptionen() {
    QWidget* p = nullptr;
    addCanvasPage("Optionen", "TabSheet2", &p);
    PageControl2 = make<QTabWidget>(p, "PageControl2");
    place(PageControl2, 2, 2, 630, 502);
    const char* names[] = {"TabSheetStatistisch", "TabSheetScheinOptimierung", "TabSheetMathematisch",
                           "TabSheetAllgemein"};
    const char* captions[] = {"Statistisch", "Schein Optimierung", "Mathematisch", "Allgemein"};
    QWidget* allgemein = nullptr;
    for (int i = 0; i < 4; ++i) {
        auto* page = make<QWidget>(nullptr, names[i]);
        PageControl2->addTab(page, captions[i]);
        allgemein = page;
    }
    CheckBox36 = checkBox(allgemein, "CheckBox36", "Gewinn Sound spielen", {12, 12, 300, 26});
    const OptionPage pages[] = {OptionPage::Statistisch, OptionPage::ScheinOptimierung, OptionPage::Mathematisch,
                                OptionPage::Allgemein};
    for (int i = 0; i < 4; ++i)
        optionPages_.push_back(new ui::GeneratorOptionsPage(model_, *generator_, PageControl2->widget(i), pages[i]));
}

void MainWindow::buildDiagramm() {
    // The chart fills the whole page whatever the window's size.
    auto* page = make<QWidget>(nullptr, "TabSheet3");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(make<QWidget>(page, "DiagrammArea"));
    PageControl1->addTab(page, "Diagramm");
}

void MainWindow::buildDatenbank() {
    QWidget* p = nullptr;
    addCanvasPage("Datenbank", "TabSheet4", &p);

    auto* update = button(p, "BitBtn1", "Datenbank aktualisieren", {8, 8, 220, 32});
    BitBtn1 = update;
    connect(update, &QPushButton::clicked, this, [this] { update_->runUpdate(); });
    auto* stop = toolButton(p, "SpeedButton8", {232, 8, 32, 32}, "Stoppt das Einlesen");
    stop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    stop->hide();
    SpeedButton8 = stop;
    connect(stop, &QToolButton::clicked, this, [this] { update_->stop(); });
    auto* recreate = button(p, "BitBtn2", "Datenbank neu anlegen", {268, 8, 200, 32},
                            "Beim neu anlegen der Datenbank, wird mit dem Einlesen bei dem Eingestellten Datum "
                            "begonnen. Ein Datum bis 1955 ist möglich.");
    recreate->hide();
    connect(recreate, &QPushButton::clicked, this, [this] { update_->rebuildHistory(); });

    DateTimePicker1 = make<QDateEdit>(p, "DateTimePicker1");
    DateTimePicker1->setLocale(QLocale(QLocale::German, QLocale::Germany));
    DateTimePicker1->setDisplayFormat("dd.MM.yyyy");
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setMinimumDate(toQDate(Model::browseDateMin));
    DateTimePicker1->setMaximumDate(QDate(9999, 12, 31));
    place(DateTimePicker1, 8, 48, 136, 32);
    connect(DateTimePicker1, &QDateEdit::dateChanged, this,
            [this](const QDate& d) { model_.setBrowseDate(toDateValue(d)); });
    auto* seek = button(p, "SpeedButton5", "Suchen", {148, 48, 80, 32},
                        "Ziehungsdaten afür das gewählte Datu aus der Datenbank heraussuchen");
    connect(seek, &QPushButton::clicked, this, &MainWindow::seekDate);
    connect(button(p, "BitBtn3", "Export nach Text", {240, 48, 150, 32}), &QPushButton::clicked, this,
            [this] { exporter_->exportText(); });
    auto* del = button(p, "BitBtn6", "Löschen", {394, 48, 110, 32});
    connect(del, &QPushButton::clicked, this, &MainWindow::deleteDraw);
    BitBtn8 = button(p, "BitBtn8", "Eingeben", {508, 48, 118, 32});
    connect(BitBtn8, &QPushButton::clicked, this,
            [this] { ManualEntry(model_, services_, app_.browser()).enterDraw(); });
    auto* exportAll = button(p, "ExportAlles", "Export", {508, 8, 118, 32});
    exportAll->hide();
    connect(exportAll, &QPushButton::clicked, this, [this] { exporter_->exportSingleFiles(); });

    Label29 = infoLabel(p, "Label29", {8, 86, 618, 50}, Qt::AlignLeft | Qt::AlignVCenter);

    button(p, "Button2", "Paare suchen", {8, 144, 150, 32});
    button(p, "Button3", "Dreier suchen", {164, 144, 150, 32});
    button(p, "Button4", "Vierer suchen", {320, 144, 150, 32});
    button(p, "Button5", "Ausstehende", {476, 144, 150, 32});

    label(p, "Label38", "Historische Analyse der Parameter beginnenden mit oben gewähltem Datum", {8, 184, 618, 24});
    notYetBuilt(button(p, "BitBtn9", "Tipp berechnen und Test welchen Erfolg dieser bis Heute hätte", {8, 208, 618, 30}));
    notYetBuilt(button(p, "Erfolgstest", "Tipp berechnen und jeweils den Erfolg in der nächsten Ziehung testen",
                       {8, 240, 618, 30}));
    label(p, "Label39", "Historische Analyse  beginnen mit dem obigen Datum", {8, 276, 618, 24});
    const char* names[] = {"Button7", "Button8", "Button9", "Button10", "Button11"};
    const char* captions[] = {"Test wie oft die gezogenen Zahlen in der jeweils nächsten Ziehung auftreten",
                              "Test wie oft die Zahlen in der jeweils übernächsten Ziehung auftreten",
                              "Test wie oft die Zahlen in der jeweils überübernächsten Ziehung auftreten",
                              "Test wie oft die Zahlen in den nächsten 3 Ziehungen vorkommen",
                              "Test wie oft die Zahlen in den letzten 3 Ziehungen vorkommen"};
    for (int i = 0; i < 5; ++i) notYetBuilt(button(p, names[i], captions[i], {8, 300 + 32 * i, 618, 30}));
}

void MainWindow::buildPlus5() {
    auto* page = make<QWidget>(nullptr, "TabSheet5");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* panel16 = make<QFrame>(page, "Panel16");
    panel16->setFrameShape(QFrame::StyledPanel);
    ui::placeFixedHeight(panel16, 52);
    layout->addWidget(panel16);
    auto* sb30 = toolButton(panel16, "SpeedButton30", {6, 5, 26, 40}, "Vorherige Ziehung");
    sb30->setArrowType(Qt::LeftArrow);
    connect(sb30, &QToolButton::clicked, this, &MainWindow::previous);
    Label30 = infoLabel(panel16, "Label30", {36, 5, 260, 40}, Qt::AlignCenter);
    auto* sb18 = toolButton(panel16, "SpeedButton18", {300, 5, 26, 40}, "Nächste Ziehung");
    sb18->setArrowType(Qt::RightArrow);
    connect(sb18, &QToolButton::clicked, this, &MainWindow::next);
    Label31 = label(panel16, "Label31", "QS", {334, 5, 100, 40});
    layout->addWidget(make<QWidget>(page, "Plus5Area"), 1);
    PageControl1->addTab(page, "Plus 5");
}

void MainWindow::buildInternetOptionen() {
    QWidget* p = nullptr;
    addCanvasPage("Internet-Optionen", "TabSheet6", &p);

    QFrame* proxy = panel(p, "Panel11", {8, 8, 618, 128});
    label(proxy, "Label47", "Proxy-Server", {10, 10, 130, 28})->setBuddy(ProxyHostEdit = lineEdit(proxy, "ProxyHostEdit", {144, 10, 300, 28}));
    label(proxy, "Label48", "Porxy-Port", {10, 46, 130, 28})->setBuddy(ProxyPortEdit = lineEdit(proxy, "ProxyPortEdit", {144, 46, 80, 28}));
    label(proxy, "LabelDownloadServer", "Download-Server", {236, 46, 124, 28})
        ->setBuddy(DownloadServerEdit = lineEdit(proxy, "DownloadServerEdit", {360, 46, 250, 28}));
    DownloadServerEdit->setToolTip("Adresse des Servers, der die Ziehungen liefert (zahlen/keno.asp?Datei=JJJJMMTT.txt)");
    label(proxy, "Label49", "Bearb.gebühr:", {10, 82, 130, 28})->setBuddy(Edit3 = lineEdit(proxy, "Edit3", {144, 82, 80, 28}));
    label(proxy, "Label50", "EUR je Abgabe", {230, 82, 200, 28});
    CheckBox16 = checkBox(p, "CheckBox16", "Abgabeprotokoll erstellen und Spieleinsätz eintragen", {8, 144, 618, 28});

    struct Link {
        const char* introName;
        const char* intro;
        const char* name;
        const char* address;
    };
    const Link links[] = {
        {"Label51", "Zahlfuchs im Internet:", "Label52", "https://www.zahlfuchs.de"},
        {"Label53", "Neuigkeiten und Updates:", "Label54", "https://www.zahlfuchs.de/neuigkeiten"},
        {"Label55", "Weitere Programme von Orvane:", "Label56", "https://www.orvane.de"},
        {"Label62", "Hilfe und Fragen zu Zahlfuchs:", "Label63", "https://www.zahlfuchs.de/hilfe"},
        {"Label65", "Die offiziellen KENO-Seiten:", "Label66", "https://www.lotto.de/keno"},
    };
    QFrame* linkPanel = panel(p, "Panel12", {8, 180, 618, 300});
    int y = 10;
    for (const Link& l : links) {
        label(linkPanel, l.introName, QString::fromUtf8(l.intro), {10, y, 598, 24});
        QLabel* link = label(linkPanel, l.name, QString::fromLatin1(l.address), {28, y + 24, 580, 26});
        link->setCursor(Qt::PointingHandCursor);
        QPalette pal = link->palette();
        pal.setColor(QPalette::WindowText, pal.color(QPalette::Link));
        link->setPalette(pal);
        QFont f = ui::designFont(PageControl1);
        f.setUnderline(true);
        ui::setDesignFont(link, f);
        linkLabels_.push_back(link);
        y += 56;
    }
}

void MainWindow::buildMitspieler() {
    QWidget* p = nullptr;
    addCanvasPage("Mitspieler", "TabSheet7", &p);
    auto* grid = make<QTableWidget>(p, "StringGrid1");
    grid->setColumnCount(6);
    grid->setRowCount(49);
    grid->setHorizontalHeaderLabels({"Spieler", "An.", "Guthaben", "Gewinne", "Einsatz", "Email-Adresse"});
    const int widths[] = {93, 22, 69, 71, 63, 121};
    for (int c = 0; c < 6; ++c) grid->setColumnWidth(c, widths[c] + 16);
    grid->horizontalHeader()->setStretchLastSection(true);
    place(grid, 8, 8, 618, 320);
    notYetBuilt(grid);

    label(p, "Label32", "0 Spieler", {8, 332, 250, 28});
    label(p, "Label33", "0,00 €", {174, 332, 92, 28}, Qt::AlignRight | Qt::AlignVCenter);
    label(p, "Label34", "0,00 €", {260, 332, 92, 28}, Qt::AlignRight | Qt::AlignVCenter);
    label(p, "Label45", "0,00 €", {340, 332, 92, 28}, Qt::AlignRight | Qt::AlignVCenter);

    notYetBuilt(button(p, "BitBtn12", "Einsatz eintragen", {8, 366, 200, 32},
                       "Spieleinsatz auf jeden Mitspieler entsprechend seines  Anteils verteilen"));
    notYetBuilt(button(p, "BitBtn13", "Gewinn eintragen", {212, 366, 200, 32},
                       "Spielgewinn auf jeden Mitspieler entsprechend seines  Anteils verteilen"));
    notYetBuilt(button(p, "BitBtn17", "Löschen", {416, 366, 210, 32}, "Löschen des gewählten Mitspielers"));
    notYetBuilt(button(p, "BitBtn15", "Für alle Ein- oder Auszahlung", {8, 402, 306, 32},
                       "Ein- bzw. Auszahlung in das Guthaben aller Mitspieler"));
    notYetBuilt(button(p, "BitBtn16", "Ein-/Auzahlung für akt.Mitspieler", {318, 402, 308, 32},
                       "Ein- bzw. Auszahlung für das Guthaben eines Mitspielers"));
    notYetBuilt(button(p, "BitBtn14", "neu Laden", {8, 438, 140, 32}, "neu Laden der Daten"));
    notYetBuilt(button(p, "Protokoll", "Protokoll anzeigen", {152, 438, 170, 32}));
    notYetBuilt(button(p, "BitBtn18", "Email senden", {326, 438, 150, 32}));
    CheckBox35 = checkBox(p, "CheckBox35", "Direkt senden", {484, 438, 142, 32});
}

// ---------------------------------------------------------------------------------------------
// Binding

void MainWindow::bindOptions() {
    auto bindCheck = [this](QCheckBox* c, int n) {
        connect(c, &QCheckBox::toggled, this, [this, n](bool on) { model_.checkBoxes[static_cast<size_t>(n)] = on; });
    };
    bindCheck(CheckBox28, 28);
    bindCheck(CheckBox36, 36);
    bindCheck(CheckBox16, 16);
    bindCheck(CheckBox35, 35);

    connect(UpDown18, &QSpinBox::valueChanged, this, [this](int v) {
        model_.num(Num::KenoType).set(v);
        // The Keno type decides how many numbers of each tip count: the hits column must follow.
        checkAllTips(model_, services_.sound);
    });
    connect(UpDown8, &QSpinBox::valueChanged, this, [this](int v) {
        model_.num(Num::TipsPerTicket).set(v);
        updateSelectionLabels();
    });
    // "Gesamt-Tipps": typed text follows the typing rule; the arrows move inside the up-down's range.
    connect(UpDown9, &QSpinBox::valueChanged, this, [this](int v) { tips_.totalTipsTyped(std::to_string(v)); });
    connect(UpDown9, &QSpinBox::editingFinished, this, [this] { tips_.totalTipsLeft(); });
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this](int i) {
        model_.stakeItem = i;
        tips_.applyStake();
    });
    connect(ProxyHostEdit, &QLineEdit::textEdited, this, [this](const QString& t) { model_.proxyHost = t.toStdString(); });
    connect(ProxyPortEdit, &QLineEdit::textEdited, this, [this](const QString& t) { model_.proxyPort = t.toStdString(); });
    connect(Edit3, &QLineEdit::textEdited, this, [this](const QString& t) { model_.feeText = t.toStdString(); });
    connect(DownloadServerEdit, &QLineEdit::textEdited, this,
            [this](const QString& t) { model_.downloadServer = t.toStdString(); });

    for (QWidget* w : webPageOpeners_) w->installEventFilter(this);
    for (QLabel* l : linkLabels_) l->installEventFilter(this);
}

void MainWindow::refreshOptions() {
    setChecked(CheckBox28, model_.on(Opt::ClearBeforeRun));
    setChecked(CheckBox36, model_.on(Opt::WinSound));
    setChecked(CheckBox16, model_.on(Opt::WriteProtocol));
    setChecked(CheckBox35, model_.on(Opt::SendDirectly));
    setUpDown(UpDown18, model_.num(Num::KenoType));
    setUpDown(UpDown8, model_.num(Num::TipsPerTicket));
    {
        const QSignalBlocker block(UpDown9);
        static_cast<ui::GesamtTippsBox*>(UpDown9)->setArrowRange(model_.num(Num::TotalTips).min, model_.num(Num::TotalTips).max);
        UpDown9->setValue(model_.totalTips());
    }
    {
        const QSignalBlocker block(ComboBox1);
        ComboBox1->setCurrentIndex(model_.stakeItem >= 0 && model_.stakeItem < ComboBox1->count() ? model_.stakeItem : -1);
    }
    setText(ProxyHostEdit, model_.proxyHost);
    setText(ProxyPortEdit, model_.proxyPort);
    setText(Edit3, model_.feeText);
    setText(DownloadServerEdit, model_.downloadServer);
    SpeedButton10->setEnabled(model_.mainUpdateEnabled);
    BitBtn1->setEnabled(model_.updateButtonEnabled);
    SpeedButton8->setVisible(model_.stopUpdateVisible);
    BitBtn8->setEnabled(model_.entryEnabled);
    ErzeugenBtn->setVisible(model_.enumerateVisible);
    updateSelectionLabels();
}

void MainWindow::refresh(unsigned what) {
    if (what & ChangeDraw) {
        Label35->setText(QString::fromStdString(model_.drawTextMain));
        Label29->setText(QString::fromStdString(model_.drawText));
        Label13->setText(QString::fromStdString(model_.crossSumText));
        Label30->setText(QString::fromStdString(model_.plus5Text));
        Label31->setText(QString::fromStdString(model_.plus5SumText));
    }
    if (what & ChangeTips) {
        // A command that picked a line (a new tip) shows it selected; the reset would forget it.
        const int want = model_.selectedTip;
        tipModel_->refresh();
        if (want >= 0 && want < tipModel_->rowCount() && ListBox1->currentIndex().row() != want)
            ListBox1->setCurrentIndex(tipModel_->index(want, 0));
    }
    if (what & ChangeHits) {
        hitsModel_->refresh();
        // A rebuilt hits column lost its selection: give it the tip list's again.
        syncSelection(ListBox1, ListBox2);
    }
    if (what & ChangeStatus)
        for (int i = 0; i < 2; ++i) statusPanel_[i]->setText(QString::fromStdString(model_.status[static_cast<size_t>(i)]));
    if (what & ChangeOptions) {
        refreshOptions();
        for (auto* page : optionPages_) page->refresh();
        if (BitBtn4) BitBtn4->setText(QString::fromStdString(model_.runCaption));
    }
    if (what & ChangeDates) {
        const QSignalBlocker block(DateTimePicker1);
        if (model_.browseDate >= Model::browseDateMin) DateTimePicker1->setDate(toQDate(model_.browseDate));
    }
    if (what & ChangeFont) applyWindowFont();
    if ((what & ChangeWindow) && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        resize(std::max(model_.width, kMinWidth), std::max(model_.height, kDesignHeight));
    if (what & ChangePage)
        for (int i = 0; i < PageControl1->count(); ++i)
            if (PageControl1->tabText(i).toStdString() == model_.pageRequest) PageControl1->setCurrentIndex(i);
    emit modelChanged(what);
}

void MainWindow::syncSelection(QListView* from, QListView* to) {
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

void MainWindow::updateSelectionLabels() {
    const int row = ListBox1->currentIndex().row();
    model_.selectedTip = row;
    const int n = std::max(1, model_.num(Num::TipsPerTicket).pos);
    Label23->setText(row < 0 ? QString() : QString("%1.Schein").arg(row / n + 1));
    Label24->setText(row < 0 ? QString() : QString("%1.Tipp").arg(row % n + 1));
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void MainWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (shown_) return;
    shown_ = true;
    app_.start(home_, height());
    const std::string report = app_.problemReport();
    // After the window is on screen, so that the message has a window to stand over.
    if (!report.empty()) QTimer::singleShot(0, this, [this, report] { services_.prompter.message(report); });
}

void MainWindow::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() != QEvent::ActivationChange || !isActiveWindow() || !shown_ || closed_) return;
    // A message box shown by the activation activates the window again when it closes.
    if (activating_) return;
    activating_ = true;
    app_.activate();
    activating_ = false;
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (update_ && update_->running()) {
        // The update ends after the day it is on; every draw stored so far stays.
        update_->stop();
        e->ignore();
        QTimer::singleShot(50, this, &QWidget::close);
        return;
    }
    if (generator_ && generator_->running()) {
        // Let the run end at its next slice, then close: the tip list is written complete.
        generator_->toggleRun();
        e->ignore();
        QTimer::singleShot(50, this, &QWidget::close);
        return;
    }
    if (shown_ && !closed_) {
        closed_ = true;
        model_.windowNormal = !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
        if (model_.windowNormal) {
            model_.height = height();
            model_.width = width();
        }
        app_.close();
    }
    e->accept();
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    rescale();
}

void MainWindow::rescale() {
    const int h = height();
    // Only the height scales: a window made just wider keeps its page contents as they are.
    if (h == model_.scaledHeight || model_.scaledHeight <= 0) return;
    scale_ *= static_cast<double>(h) / model_.scaledHeight;
    ui::scaleTree(PageControl1, scale_);
    for (const auto& w : scaledWindows_)
        if (w) ui::scaleTree(w, scale_);
    model_.scaledHeight = h;
    // Taller pages are wider pages too: widen the window so that they stay in view instead of
    // hiding their right part behind a scroll bar.
    const int needed = static_cast<int>(std::lround(kDesignWidth * scale_));
    if (isVisible() && width() < needed &&
        !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
        resize(needed, h);
}

void MainWindow::addScaledWindow(QWidget* window) {
    scaledWindows_.emplace_back(window);
    ui::scaleTree(window, scale_);
}

// ---------------------------------------------------------------------------------------------
// Font choice

QFont MainWindow::windowFontFromModel() const {
    QFont f(QString::fromStdString(model_.font.name));
    f.setPointSize(model_.font.size);
    f.setBold(model_.font.style & 1);
    f.setItalic(model_.font.style & 2);
    f.setUnderline(model_.font.style & 4);
    f.setStrikeOut(model_.font.style & 8);
    return f;
}

void MainWindow::applyWindowFont() {
    setFont(windowFontFromModel());
    // The colour is kept as 0x00BBGGRR.
    const auto c = static_cast<uint32_t>(model_.font.color);
    QPalette pal = statusBar()->palette();
    pal.setColor(QPalette::WindowText, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    statusBar()->setPalette(pal);
}

void MainWindow::chooseFont() {
    auto* FontDialog1 = new QFontDialog(this);
    FontDialog1->setObjectName("FontDialog1");
    FontDialog1->setOption(QFontDialog::DontUseNativeDialog);
    FontDialog1->setWindowTitle("Schriftart");
    // FontDialog1Show: the dialog starts from the window's font.
    const QFont before = windowFontFromModel();
    FontDialog1->setCurrentFont(before);
    const bool ok = FontDialog1->exec() == QDialog::Accepted;
    const QFont chosen = ok ? FontDialog1->selectedFont() : before;
    FontDialog1->deleteLater();

    // FontDialog1Close, after OK and Cancel alike: the window takes the dialog's font, and the draw
    // line its name and size in bold.
    model_.font.name = chosen.family().toStdString();
    model_.font.size = chosen.pointSize() > 0 ? chosen.pointSize() : model_.font.size;
    model_.font.style = static_cast<uint8_t>((chosen.bold() ? 1 : 0) | (chosen.italic() ? 2 : 0) |
                                             (chosen.underline() ? 4 : 0) | (chosen.strikeOut() ? 8 : 0));
    QFont drawLine = ui::designFont(Label35);
    drawLine.setFamily(chosen.family());
    drawLine.setPointSizeF(model_.font.size / scale_); // the size chosen is the size shown now
    drawLine.setBold(true);
    ui::setDesignFont(Label35, drawLine);
    model_.notify(ChangeFont);
}

// ---------------------------------------------------------------------------------------------
// Commands

void MainWindow::seekDate() { app_.browser().seekDate(); }
void MainWindow::previous() { app_.browser().previous(); }
void MainWindow::next() { app_.browser().next(); }
void MainWindow::deleteDraw() { app_.browser().deleteCurrent(); }

void MainWindow::openProductPage() { services_.shell.open(kProductAddress); }

void MainWindow::openLink(QLabel* sender) { services_.shell.open(sender->text().toStdString()); }

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
    const bool press = e->type() == QEvent::MouseButtonPress;
    if ((press || e->type() == QEvent::MouseButtonRelease) &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        auto* w = qobject_cast<QWidget*>(watched);
        // Take the press, so that the release comes here too; act on the release, like a button.
        if (press) return true;
        if (w && w->rect().contains(static_cast<QMouseEvent*>(e)->position().toPoint())) {
            for (QLabel* l : linkLabels_)
                if (l == w) {
                    openLink(l);
                    return true;
                }
            for (QWidget* o : webPageOpeners_)
                if (o == w) {
                    openProductPage();
                    return true;
                }
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

} // namespace zf
