#pragma once
// Helpers the statistics widgets share.
#include <QApplication>
#include <QDate>

#include <cmath>

namespace zf::ui {

// Date values count days since 30.12.1899.
inline QDate qdateOf(double dateValue) {
    return QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(dateValue)));
}
inline double dateValueOf(const QDate& d) { return static_cast<double>(QDate(1899, 12, 30).daysTo(d)); }

// The hourglass while a statistic counts.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace zf::ui
