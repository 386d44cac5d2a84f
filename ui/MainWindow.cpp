#include "ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "ui/pages/DatenbankPage.h"
#include "ui/pages/DiagrammTab.h"
#include "ui/pages/InternetOptionsPage.h"
#include "ui/pages/OptionsPage.h"
#include "ui/pages/PlayersPage.h"
#include "ui/pages/Plus5Page.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf {

namespace {

// Seven captions in a row: a little smaller than the pages, so that all tabs show at the design width.
constexpr double kTabPoints = 10.5;

} // namespace

MainWindow::MainWindow(Session& session, std::string home, QWidget* parent)
    : QMainWindow(parent), session_(session), home_(std::move(home)) {
    setObjectName("TForm1");
    setWindowTitle(QString::fromLatin1(kCaption));

    tabs_ = ui::make<QTabWidget>(this, "PageControl1");
    ui::setDesignFont(tabs_, ui::pageFont(ui::kPagePoints));
    ui::setDesignFont(tabs_->tabBar(), ui::pageFont(kTabPoints));
    tabs_->setDocumentMode(false);
    setCentralWidget(tabs_);

    kenoTipp_ = addPage<ui::KenoTippPage>("Keno-Tipp");
    session_.setEventPump([] { QApplication::processEvents(); });
    session_.app.chartsAtStart = true;
    session_.app.updateAtStart = false; // runs once the window shows, see showEvent
    options_ = addPage<ui::OptionsPage>("Optionen");
    diagramm_ = addPage<ui::DiagrammTab>("Diagramm");
    datenbank_ = addPage<ui::DatenbankPage>("Datenbank");
    plus5_ = addPage<ui::Plus5Page>("Plus 5");
    internetOptions_ = addPage<ui::InternetOptionsPage>("Internet-Optionen");
    players_ = addPage<ui::PlayersPage>("Mitspieler");
    buildStatusBar();

    // From here on the pages hear of every change of the model.
    session_.model.listener = [this](unsigned what) { refresh(what); };
    ui::scaleTree(tabs_, scale_);
    applyWindowFont();
    refresh(ChangeAll & ~ChangeWindow);
    setMinimumSize(kMinWidth, kDesignHeight);
    resize(kDesignWidth, kDesignHeight);
}

MainWindow::~MainWindow() {
    session_.model.listener = nullptr;
    // The widgets die after the model and the controllers: a widget losing focus on its way out
    // must not call back into them.
    for (QObject* child : findChildren<QObject*>()) child->blockSignals(true);
}

template <class Page> Page* MainWindow::addPage(const char* caption) {
    // Built inside the tab widget, so that the page's widgets measure themselves in the pages' font.
    auto* page = new Page(session_, tabs_);
    tabs_->addTab(page, caption);
    return page;
}

void MainWindow::buildStatusBar() {
    auto* bar = ui::make<QStatusBar>(this, "StatusBar1");
    for (int i = 0; i < 2; ++i) {
        statusPanels_[i] = ui::make<QLabel>(bar, i == 0 ? "StatusBar1Panel0" : "StatusBar1Panel1");
        statusPanels_[i]->setTextFormat(Qt::PlainText);
        statusPanels_[i]->setFrameShape(QFrame::StyledPanel);
        statusPanels_[i]->setFrameShadow(QFrame::Sunken);
    }
    for (QLabel* panel : statusPanels_) ui::setDesignFont(panel, panel->font());
    statusPanels_[0]->setFixedWidth(150);
    bar->addWidget(statusPanels_[0], 0);
    bar->addWidget(statusPanels_[1], 1);
    setStatusBar(bar);
}

void MainWindow::refresh(unsigned what) {
    kenoTipp_->refresh(what);
    options_->refresh(what);
    diagramm_->refresh(what);
    datenbank_->refresh(what);
    plus5_->refresh(what);
    internetOptions_->refresh(what);
    players_->refresh(what);
    const Model& m = session_.model;
    if (what & ChangeStatus)
        for (size_t i = 0; i < 2; ++i) statusPanels_[i]->setText(QString::fromStdString(m.status[i]));
    if (what & ChangeFont) applyWindowFont();
    if ((what & ChangeWindow) && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        resize(std::max(m.width, kMinWidth), std::max(m.height, kDesignHeight));
    if (what & ChangePage)
        for (int i = 0; i < tabs_->count(); ++i)
            if (tabs_->tabText(i).toStdString() == m.pageRequest) tabs_->setCurrentIndex(i);
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void MainWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (shown_) return;
    shown_ = true;
    session_.app.start(home_, height());
    const std::string report = session_.app.problemReport();
    // After the window is on screen, so that the message has a window to stand over.
    if (!report.empty()) QTimer::singleShot(0, this, [this, report] { session_.services.prompter.message(report); });
    // The update waits for the server with the window painted and usable, and its stop button shown.
    QTimer::singleShot(0, this, [this] { session_.app.runStartUpdate(); });
}

void MainWindow::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() != QEvent::ActivationChange || !isActiveWindow() || !shown_ || closed_) return;
    // A message box shown by the activation activates the window again when it closes.
    if (activating_) return;
    activating_ = true;
    session_.app.activate();
    activating_ = false;
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (session_.update && session_.update->running()) {
        // The update ends after the day it is on; every draw stored so far stays.
        session_.update->stop();
        e->ignore();
        QTimer::singleShot(50, this, &QWidget::close);
        return;
    }
    if (session_.tipSearch.running()) {
        // The walk ends before its next draw; then the window closes.
        session_.tipSearch.stop();
        e->ignore();
        QTimer::singleShot(50, this, &QWidget::close);
        return;
    }
    if (session_.backtest.running()) {
        // The test ends at its next step without a report; then the window closes.
        session_.backtest.stop();
        e->ignore();
        QTimer::singleShot(50, this, &QWidget::close);
        return;
    }
    if (session_.generator.running()) {
        // Let the run end at its next slice, then close: the tip list is written complete.
        session_.generator.toggleRun();
        e->ignore();
        QTimer::singleShot(50, this, &QWidget::close);
        return;
    }
    if (shown_ && !closed_) {
        closed_ = true;
        session_.model.windowNormal =
            !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
        if (session_.model.windowNormal) {
            session_.model.height = height();
            session_.model.width = width();
        }
        session_.app.close();
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
    if (h == session_.model.scaledHeight || session_.model.scaledHeight <= 0) return;
    scale_ *= static_cast<double>(h) / session_.model.scaledHeight;
    ui::scaleTree(tabs_, scale_);
    ui::scaleTree(statusBar(), scale_);
    statusPanels_[0]->setFixedWidth(static_cast<int>(std::lround(150 * scale_)));
    for (const auto& w : scaledWindows_)
        if (w) ui::scaleTree(w, scale_);
    session_.model.scaledHeight = h;
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
// Window font

void MainWindow::applyWindowFont() {
    setFont(ui::fontOf(session_.model.font));
    // The colour is kept as 0x00BBGGRR.
    const auto c = static_cast<uint32_t>(session_.model.font.color);
    QPalette pal = statusBar()->palette();
    pal.setColor(QPalette::WindowText, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    statusBar()->setPalette(pal);
}

} // namespace zf
