#include "ui/pages/Plus5Page.h"

#include <QFrame>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/Session.h"
#include "ui/stats/Plus5StatsPanel.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {

Plus5Page::Plus5Page(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
    setObjectName("TabSheet5");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* drawPanel = make<QFrame>(this, "Panel16");
    drawPanel->setFrameShape(QFrame::StyledPanel);
    placeFixedHeight(drawPanel, 52);
    layout->addWidget(drawPanel);

    Browser& browser = session_.browser;
    auto* previous = toolButton(drawPanel, "SpeedButton30", {6, 5, 26, 40}, "Vorherige Ziehung");
    previous->setArrowType(Qt::LeftArrow);
    connect(previous, &QToolButton::clicked, this, [&browser] { browser.previous(); });
    plus5Line_ = infoLabel(drawPanel, "Label30", {36, 5, 260, 40}, Qt::AlignCenter);
    auto* next = toolButton(drawPanel, "SpeedButton18", {300, 5, 26, 40}, "Nächste Ziehung");
    next->setArrowType(Qt::RightArrow);
    connect(next, &QToolButton::clicked, this, [&browser] { browser.next(); });
    digitSum_ = label(drawPanel, "Label31", "QS", {334, 5, 100, 40});

    // The bundled history has no Plus 5 numbers: an empty chart needs a word on where they come from.
    noPlus5Hint_ = make<QLabel>(this, "Plus5Hint");
    noPlus5Hint_->setText(
        "Mitgelieferte Ziehungen haben keine Plus 5-Zahlen; neue kommen per Aktualisierung oder „Eingeben“.");
    noPlus5Hint_->setWordWrap(true);
    noPlus5Hint_->setContentsMargins(6, 2, 6, 2);
    noPlus5Hint_->hide();
    layout->addWidget(noPlus5Hint_);

    auto* area = make<QWidget>(this, "Plus5Area");
    layout->addWidget(area, 1);
    statistics_ = new Plus5StatsPanel(session_.model, session_.stats, area);
    auto* fill = new QVBoxLayout(area);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->setSpacing(0);
    fill->addWidget(statistics_);
}

void Plus5Page::refresh(unsigned what) {
    const Model& m = session_.model;
    if (what & ChangeDraw) {
        plus5Line_->setText(QString::fromStdString(m.plus5Text));
        digitSum_->setText(QString::fromStdString(m.plus5SumText));
        const auto& draws = m.draws.records();
        noPlus5Hint_->setVisible(
            std::none_of(draws.begin(), draws.end(), [](const DrawRecord& r) { return r.hasPlus5(); }));
    }
    statistics_->modelChanged(what);
}

} // namespace zf::ui
