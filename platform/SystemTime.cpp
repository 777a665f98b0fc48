#include "platform/SystemTime.h"

namespace tessera {

SystemTime SystemTime::fromDateTime(const QDateTime &when)
{
    SystemTime t;
    if (!when.isValid())
        return t;
    const QDate date = when.date();
    const QTime time = when.time();
    t.Year = quint16(date.year());
    t.Month = quint16(date.month());
    t.DayOfWeek = quint16(date.dayOfWeek() % 7); // Qt counts Monday 1 .. Sunday 7
    t.Day = quint16(date.day());
    t.Hour = quint16(time.hour());
    t.Minute = quint16(time.minute());
    t.Second = quint16(time.second());
    t.Milliseconds = quint16(time.msec());
    return t;
}

QString InternetTimeFromSystemTime(const SystemTime &time)
{
    static const char *const weekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char *const months[]
        = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (time.DayOfWeek > 6 || time.Month < 1 || time.Month > 12 || time.Day < 1 || time.Day > 31 || time.Year > 9999
        || time.Hour > 23 || time.Minute > 59 || time.Second > 59)
        return {};
    const auto two = [](quint16 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return QLatin1String(weekdays[time.DayOfWeek]) + QLatin1String(", ") + two(time.Day) + QLatin1Char(' ')
        + QLatin1String(months[time.Month - 1]) + QLatin1Char(' ')
        + QStringLiteral("%1").arg(time.Year, 4, 10, QLatin1Char('0')) + QLatin1Char(' ') + two(time.Hour)
        + QLatin1Char(':') + two(time.Minute) + QLatin1Char(':') + two(time.Second) + QLatin1String(" GMT");
}

} // namespace tessera
