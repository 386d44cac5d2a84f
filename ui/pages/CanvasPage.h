#pragma once
// A tab page whose contents keep their design positions on a canvas of the design size. A window
// narrower than the scaled contents scrolls instead of cutting them off; a wider one centres them.
#include <QScrollArea>

namespace zf::ui {

class CanvasPage : public QScrollArea {
public:
    // Size of the canvas at the design size of the window. Slightly smaller than the page itself, so
    // that no scroll bar appears while the window is at least as large as the design.
    static constexpr int kCanvasWidth = 634;
    static constexpr int kCanvasHeight = 506;

    // `name` is the tab sheet's control name ("TabSheet1"); the canvas is "<name>Canvas".
    CanvasPage(const char* name, QWidget* parent);

    // The page's contents go here, placed in design coordinates.
    QWidget* canvas() const { return canvas_; }

private:
    QWidget* canvas_;
};

} // namespace zf::ui
