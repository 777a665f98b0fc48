#include "app/mail/modWinInet.h"

#include "platform/SystemTime.h"
#include "platform/TimeZoneInformation.h"

#include <cstdlib>

namespace quillon::modWinInet {

QString FormatMailDate(const QDateTime &When)
{
    tessera::SystemTime time = tessera::SystemTime::fromDateTime(When.toLocalTime());
    time.Milliseconds = 0;
    QString text = tessera::InternetTimeFromSystemTime(time);

    tessera::TimeZoneInformation zone;
    const quint32 state = tessera::GetTimeZoneInformation(&zone, When);
    const qint32 bias = state == tessera::TimeZoneIdDaylight ? zone.Bias + zone.DaylightBias : zone.Bias;
    const qint32 minutes = std::abs(bias);
    const QString offset = QLatin1Char(bias <= 0 ? '+' : '-')
        + QStringLiteral("%1%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return text.replace(QLatin1String("GMT"), offset);
}

} // namespace quillon::modWinInet
