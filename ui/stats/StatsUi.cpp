#include "ui/stats/StatsUi.h"

#include <QAbstractButton>
#include <QVBoxLayout>
#include <QWidget>

#include "app/AppController.h"
#include "app/Model.h"
#include "ui/stats/DiagrammPage.h"
#include "ui/stats/Plus5StatsPanel.h"
#include "ui/stats/StatsWidgets.h"

namespace zf::ui {
namespace {

// Puts `content` into the placeholder so that it fills it.
void fill(QWidget* placeholder, QWidget* content) {
    auto* layout = new QVBoxLayout(placeholder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(content);
}

} // namespace

StatsUi::StatsUi(QWidget* window, Model& m, StatsController& stats) : QObject(window), stats_(stats) {
    setObjectName("StatsUi");
    if (auto* area = window->findChild<QWidget*>("DiagrammArea")) {
        diagramm_ = new DiagrammPage(m, stats_, area);
        fill(area, diagramm_);
    }
    if (auto* area = window->findChild<QWidget*>("Plus5Area")) {
        plus5_ = new Plus5StatsPanel(m, stats_, area);
        fill(area, plus5_);
    }

    struct Binding {
        const char* button;
        bool (StatsController::*command)();
    };
    static const Binding bindings[] = {{"Button2", &StatsController::showPairs},
                                       {"Button3", &StatsController::showTriples},
                                       {"Button4", &StatsController::showQuads},
                                       {"Button5", &StatsController::showOverdue}};
    for (const auto& b : bindings)
        if (auto* button = window->findChild<QAbstractButton*>(b.button)) {
            const auto command = b.command;
            connect(button, &QAbstractButton::clicked, this, [this, command] {
                BusyCursor busy;
                (stats_.*command)();
            });
        }
    if (auto* button = window->findChild<QAbstractButton*>("Button6"))
        connect(button, &QAbstractButton::clicked, this, [this] {
            BusyCursor busy;
            stats_.showTipDistribution();
        });

}

void StatsUi::modelChanged(unsigned what) {
    if (diagramm_) diagramm_->modelChanged(what);
    if (plus5_) plus5_->modelChanged(what);
}

} // namespace zf::ui
