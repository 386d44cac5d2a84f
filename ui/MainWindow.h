#pragma once
// The main window: the tabs (one page class each, under ui/pages), the status bar, the scaling of
// the pages with the window's height, the window font and the start, activation and close of the
// program. It tells the pages what changed in the model.
#include <QMainWindow>
#include <QPointer>
#include <string>
#include <vector>

#include "app/Session.h"
#include "ui/pages/KenoTippPage.h"

class QLabel;
class QTabWidget;

namespace zf {
namespace ui {
class DatenbankPage;
class DiagrammTab;
class InternetOptionsPage;
class OptionsPage;
class PlayersPage;
class Plus5Page;
} // namespace ui

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 642; // client area at 96 dpi
    static constexpr int kDesignHeight = 573;
    static constexpr int kMinWidth = 597;
    static constexpr const char* kCaption = "Orvane's Zahlfuchs  Tippen Sie 2-10 aus 70";

    MainWindow(Session& session, std::string home, QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return session_; }
    Model& model() { return session_.model; }
    AppController& app() { return session_.app; }
    TipListController& tips() { return session_.tips; }
    GeneratorController& generator() { return session_.generator; }
    UpdateController& update() { return *session_.update; }
    Services& services() { return session_.services; }

    // Windows that scale together with the tab pages whenever the window's height changes
    // (the number dialog and the game options dialog). They are brought to the current scale at once.
    void addScaledWindow(QWidget* window);
    // The factor the tab pages are scaled by, relative to the design (Groesse : design height).
    double scale() const { return scale_; }

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    template <class Page> Page* addPage(const char* caption);
    void buildStatusBar();
    void refresh(unsigned what);
    void rescale();
    void applyWindowFont();

    Session& session_;
    std::string home_;

    bool shown_ = false;
    bool activating_ = false;
    bool closed_ = false;
    double scale_ = 1.0;
    std::vector<QPointer<QWidget>> scaledWindows_;

    QTabWidget* tabs_ = nullptr; // PageControl1
    ui::KenoTippPage* kenoTipp_ = nullptr;
    ui::OptionsPage* options_ = nullptr;
    ui::DiagrammTab* diagramm_ = nullptr;
    ui::DatenbankPage* datenbank_ = nullptr;
    ui::Plus5Page* plus5_ = nullptr;
    ui::InternetOptionsPage* internetOptions_ = nullptr;
    ui::PlayersPage* players_ = nullptr;
    QLabel* statusPanels_[2] = {nullptr, nullptr}; // StatusBar1Panel0, StatusBar1Panel1
};

} // namespace zf
