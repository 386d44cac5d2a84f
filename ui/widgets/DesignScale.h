#pragma once
// Proportional scaling of widget trees laid out in design coordinates.
// Every widget keeps its design geometry and font as properties, and each scaling starts again from
// the design, so that many resizes in a row never pile up rounding errors.
#include <QFont>
#include <QRect>

class QTableView;
class QWidget;
template <typename T> class QList;

namespace zf::ui {

// Puts `w` at a design position; the current scale of its tree is applied at once.
void place(QWidget* w, int x, int y, int width, int height);
// A widget whose position is left to others (a scroll area, a window manager) but whose size scales.
void placeSize(QWidget* w, int width, int height);
// A widget in a layout whose height is fixed in design pixels.
void placeFixedHeight(QWidget* w, int height);
// Column widths of a table in design pixels, scaling with the tree like its font.
void placeColumns(QTableView* table, const QList<int>& widths);
// A font in design points that scales with the tree; all properties count as set, so nothing of the
// parent's font (bold, italic) leaks in.
void setDesignFont(QWidget* w, QFont font);
QFont designFont(const QWidget* w);

// The factor the tree of `w` is currently scaled by (1 = design).
double scaleOf(const QWidget* w);
// Scales `root` and everything below it to `factor` times the design.
void scaleTree(QWidget* root, double factor);

} // namespace zf::ui
