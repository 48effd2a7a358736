#include "ui/platform/qt_clock.h"

#include <QDateTime>

namespace volmara {

DateTime fromQDateTime(const QDateTime& value)
{
    const QDate d = value.date();
    const QTime t = value.time();
    return DateTime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

DateTime QtClock::now() const { return fromQDateTime(QDateTime::currentDateTime()); }

} // namespace volmara
