#include "ui/pages/CanvasPage.h"

#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {

CanvasPage::CanvasPage(const char* name, QWidget* parent) : QScrollArea(parent) {
    setObjectName(QString::fromLatin1(name));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    viewport()->setAutoFillBackground(false);
    canvas_ = make<QWidget>(this, (std::string(name) + "Canvas").c_str());
    canvas_->setAutoFillBackground(false);
    setWidget(canvas_);
    placeSize(canvas_, kCanvasWidth, kCanvasHeight);
}

} // namespace zf::ui
