#include "lib/dialogs/AboutPageTexts_p.h"

#include "platform/RuntimeError.h"
#include "platform/SystemTime.h"
#include "support/csSystemTimeText.h"
#include "support/csText.h"

#include <QDateTime>

#include <algorithm>
#include <limits>

namespace tessera::dialogs {

namespace {

const QString NotAvailable = QStringLiteral("N/A");
const QString ConversionError = QStringLiteral("*Error*");
constexpr qsizetype SizeField = 14;
constexpr qint64 FileTimePerMs = 10000;

QString startText(qint64 creation)
{
    if (creation == 0)
        return NotAvailable;
    const QDateTime when = FileTimeToDateTime(creation);
    if (!when.isValid())
        return ConversionError;
    try {
        const SystemTime local = SystemTime::fromDateTime(when.toLocalTime());
        return cs::csSystemTimeToStringDate(local) + QLatin1String(", ") + cs::csSystemTimeToStringTime(local);
    } catch (const RuntimeError &) {
        return ConversionError;
    }
}

QString durationText(std::optional<qint64> duration)
{
    if (duration == 0)
        return NotAvailable;
    if (!duration || *duration < 0)
        return ConversionError;
    const qint64 ms = *duration / FileTimePerMs;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(ms / 3600000)
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000);
}

std::optional<qint64> difference(qint64 later, qint64 earlier)
{
    qint64 result = 0;
    if (qSubOverflow(later, earlier, &result))
        return std::nullopt;
    return result;
}

std::optional<qint64> sum(qint64 a, qint64 b)
{
    qint64 result = 0;
    if (qAddOverflow(a, b, &result))
        return std::nullopt;
    return result;
}

} // namespace

QStringList moduleLines(const QList<AboutModuleEntry> &modules)
{
    qsizetype nameWidth = 0;
    qsizetype addressWidth = 0;
    for (const AboutModuleEntry &module : modules) {
        nameWidth = std::max(nameWidth, module.Name.size());
        addressWidth = std::max(
            {addressWidth, cs::csHexEx4(module.BaseAddress).size(), cs::csHexEx4(module.PrefferedAddress).size()});
    }
    QStringList lines;
    for (const AboutModuleEntry &module : modules) {
        QString line = module.Name.leftJustified(nameWidth) + QLatin1String("  ")
            + cs::csHexEx4(module.BaseAddress).leftJustified(addressWidth) + QLatin1String("  ");
        if (module.PrefferedAddress == module.BaseAddress)
            line += QString(addressWidth + 4, QLatin1Char(' '));
        else
            line += QLatin1Char('(') + cs::csHexEx4(module.PrefferedAddress).leftJustified(addressWidth)
                + QLatin1String(")  ");
        const QString size = module.BaseSize <= quint64(std::numeric_limits<qint64>::max())
            ? cs::csFormatInt64(qint64(module.BaseSize))
            : QString::number(module.BaseSize);
        line += size.leftJustified(SizeField) + QLatin1String("  ") + module.FileName;
        lines.append(line);
    }
    return lines;
}

QStringList processTimesTexts(const ProcessTimes &times, qint64 now)
{
    const qint64 end = times.ExitTime != 0 ? times.ExitTime : now;
    // A creation time that does not convert gives no running time either.
    std::optional<qint64> running = 0;
    if (times.CreationTime < 0)
        running.reset();
    else if (times.CreationTime > 0)
        running = difference(end, times.CreationTime);
    return {startText(times.CreationTime), durationText(running), durationText(times.KernelTime),
            durationText(times.UserTime), durationText(sum(times.KernelTime, times.UserTime))};
}

QStringList memoryTexts(const cs::MEMORYSTATUS &status)
{
    const auto bytes = [](quint64 size) {
        return cs::csFormatByteSizeEx(qint64(std::min<quint64>(size, std::numeric_limits<qint64>::max())));
    };
    return {bytes(status.dwAvailPhys) + QLatin1String(" (")
                + QString::number(100 - qint64(std::min<quint32>(status.dwMemoryLoad, 100))) + QLatin1String("%)"),
            bytes(status.dwTotalPageFile - std::min(status.dwAvailPageFile, status.dwTotalPageFile)),
            bytes(status.dwTotalVirtual - std::min(status.dwAvailVirtual, status.dwTotalVirtual))};
}

} // namespace tessera::dialogs
