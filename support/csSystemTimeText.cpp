#include "support/csSystemTimeText.h"

#include "platform/RuntimeError.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace cs {

namespace {

[[noreturn]] void raiseInvalid()
{
    throw tessera::RuntimeError(tessera::RuntimeError::InvalidProcedureCall);
}

// The locale's long time format less its time-zone fields ("t" to "tttt")
// and the blanks they leave.
QString timeFormatWithoutZone(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar c : std::as_const(format)) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('t'))
            kept += c;
    }
    return kept.simplified();
}

} // namespace

QString csSystemTimeToStringDate(const tessera::SystemTime &time)
{
    const QDate date(time.Year, time.Month, time.Day);
    if (!date.isValid())
        raiseInvalid();
    return QLocale().toString(date, QLocale::ShortFormat);
}

QString csSystemTimeToStringTime(const tessera::SystemTime &time)
{
    const QTime clock(time.Hour, time.Minute, time.Second, time.Milliseconds);
    if (!clock.isValid())
        raiseInvalid();
    const QLocale locale;
    return locale.toString(clock, timeFormatWithoutZone(locale));
}

} // namespace cs
