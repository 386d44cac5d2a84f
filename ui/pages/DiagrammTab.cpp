#include "ui/pages/DiagrammTab.h"

#include <QVBoxLayout>

#include "app/Session.h"
#include "ui/stats/DiagrammPage.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {

DiagrammTab::DiagrammTab(Session& session, QWidget* parent) : QWidget(parent) {
    setObjectName("TabSheet3");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* area = make<QWidget>(this, "DiagrammArea");
    layout->addWidget(area);

    statistics_ = new DiagrammPage(session.model, session.stats, area);
    auto* fill = new QVBoxLayout(area);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->setSpacing(0);
    fill->addWidget(statistics_);
}

void DiagrammTab::refresh(unsigned what) { statistics_->modelChanged(what); }

} // namespace zf::ui
