#pragma once
// The main window: binds the widgets of the tab pages to the application model and its controllers.
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "app/AppController.h"
#include "app/Session.h"
#include "app/Model.h"
#include "platform/Services.h"
#include "draws/Export.h"
#include "draws/Update.h"
#include "generator/GeneratorController.h"
#include "tips/TipListController.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFontDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace zf::ui {
class TipListModel;
class HitsListModel;
}

namespace zf {
namespace ui {
class GeneratorOptionsPage;
}

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 642;   // client area at 96 dpi
    static constexpr int kDesignHeight = 573;
    static constexpr int kMinWidth = 597;
    static constexpr const char* kCaption = "Orvane's Zahlfuchs  Tippen Sie 2-10 aus 70";
    static constexpr const char* kProductAddress = "https://www.zahlfuchs.de";

    MainWindow(Session& session, std::string home, QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return session_; }
    Model& model() { return model_; }
    AppController& app() { return app_; }
    TipListController& tips() { return tips_; }
    GeneratorController& generator() { return *generator_; }
    UpdateController& update() { return *update_; }
    Services& services() { return services_; }

    // Windows that scale together with the tab pages whenever the window's height changes
    // (the number dialog and the game options dialog). They are brought to the current scale at once.
    void addScaledWindow(QWidget* window);
    // The factor the tab pages are scaled by, relative to the design (Groesse : design height).
    double scale() const { return scale_; }

    // Handlers, named after their controls.
    void seekDate();  // seek the date of DateTimePicker1
    void previous();  // previous draw
    void next();  // next draw
    void deleteDraw();       // delete the current draw
    void chooseFont();
    void openProductPage();                 // the program's web page
    void openLink(QLabel* sender);   // a link label opens its own caption

signals:
    // Sent after the window has refreshed itself from the model; further widgets (charts) hang in here.
    void modelChanged(unsigned what);

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QScrollArea* addCanvasPage(const QString& caption, const char* name, QWidget** canvas);
    void buildKenoTipp();
    void buildOptionen();
    void buildDiagramm();
    void buildDatenbank();
    void buildPlus5();
    void buildInternetOptionen();
    void buildMitspieler();
    void bindOptions();

    void refresh(unsigned what);
    void refreshOptions();
    void rescale();
    void applyWindowFont();
    void syncSelection(QListView* from, QListView* to);
    void updateSelectionLabels();
    QFont windowFontFromModel() const;

    Session& session_;
    Services& services_ = session_.services;
    std::string home_;
    Model& model_ = session_.model;
    AppController& app_ = session_.app;
    TipListController& tips_ = session_.tips;
    GeneratorController* generator_ = &session_.generator;
    UpdateController* update_ = session_.update.get();
    DrawExport* exporter_ = &session_.exporter;
    QWidget* SpeedButton10 = nullptr;
    QWidget* BitBtn1 = nullptr;
    QWidget* SpeedButton8 = nullptr;
    QLineEdit* DownloadServerEdit = nullptr;
    std::vector<ui::GeneratorOptionsPage*> optionPages_;
    QPushButton* BitBtn4 = nullptr;

    bool shown_ = false;
    bool activating_ = false;
    bool closed_ = false;
    bool syncing_ = false;
    double scale_ = 1.0;
    std::vector<QPointer<QWidget>> scaledWindows_;

    std::unique_ptr<ui::TipListModel> tipModel_;
    std::unique_ptr<ui::HitsListModel> hitsModel_;

    QTabWidget* PageControl1 = nullptr;
    QTabWidget* PageControl2 = nullptr;
    // Keno-Tipp
    QLabel* Label35 = nullptr;
    QLabel* Label13 = nullptr;
    QListView* ListBox1 = nullptr;
    QListView* ListBox2 = nullptr;
    QCheckBox* CheckBox28 = nullptr;
    QSpinBox* UpDown18 = nullptr;
    QSpinBox* UpDown8 = nullptr;
    QSpinBox* UpDown9 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* Label23 = nullptr;
    QLabel* Label24 = nullptr;
    QPushButton* ErzeugenBtn = nullptr;
    QMenu* PopupMenu1 = nullptr;
    // Datenbank
    QDateEdit* DateTimePicker1 = nullptr;
    QLabel* Label29 = nullptr;
    QPushButton* BitBtn8 = nullptr;
    // Plus 5
    QLabel* Label30 = nullptr;
    QLabel* Label31 = nullptr;
    // Optionen, Internet-Optionen, Mitspieler
    QCheckBox* CheckBox36 = nullptr;
    QCheckBox* CheckBox16 = nullptr;
    QCheckBox* CheckBox35 = nullptr;
    QLineEdit* ProxyHostEdit = nullptr;
    QLineEdit* ProxyPortEdit = nullptr;
    QLineEdit* Edit3 = nullptr;
    std::vector<QWidget*> webPageOpeners_;  // Label43, Label44, Panel9, Panel10
    std::vector<QLabel*> linkLabels_;       // Label52, Label54, Label56, Label63, Label66
    // status bar
    QLabel* statusPanel_[2] = {nullptr, nullptr};
};

} // namespace zf
