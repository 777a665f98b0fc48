#include "support/csSystem.h"

#include "platform/RuntimeError.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSysInfo>

#include <cmath>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace cs {

namespace {

Q_LOGGING_CATEGORY(lcDebugOutput, "corvid.support.debugoutput", QtInfoMsg)

[[noreturn]] void raiseOverflow()
{
    throw tessera::RuntimeError(tessera::RuntimeError::Overflow);
}

bool fitsInWord(qint32 value)
{
    return value >= -32768 && value <= 65535;
}

} // namespace

qint32 csGetRnd(qint32 low, qint32 high)
{
    if (low > high)
        throw tessera::RuntimeError(tessera::RuntimeError::InvalidProcedureCall);
    // 64-bit bounds so that high = INT32_MAX is still reachable (the upper bound is exclusive).
    return static_cast<qint32>(QRandomGenerator::global()->bounded(qint64(low), qint64(high) + 1));
}

bool csIsInIDE()
{
    return false;
}

bool csIsHostWin95()
{
    return false;
}

bool csIsHostWin98_OrHigher()
{
    return false;
}

bool csIsHostWin9x()
{
    return false;
}

bool csIsHostWinNT()
{
    return true;
}

bool csIsHostWinNT351()
{
    return false;
}

bool csIsHostWinNT40()
{
    return false;
}

bool csIsHostWin2000_OrHigher()
{
    return true;
}

QString csGetUserName()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    passwd entry {};
    passwd *found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        return QString::fromLocal8Bit(found->pw_name);
    return qEnvironmentVariable("USER");
}

QString csGetFullUserName(bool withDomain)
{
    const QString login = csGetUserName();
    return withDomain ? csGetComputerName() + QLatin1Char('\\') + login : login;
}

QString csGetComputerName()
{
    return QSysInfo::machineHostName();
}

QString csGetEXEModuleFullFileName()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

QString csGetEXEModulePrettyFileName()
{
    const QString full = csGetEXEModuleFullFileName();
    const QString canonical = QFileInfo(full).canonicalFilePath();
    return canonical.isEmpty() ? full : canonical;
}

qint32 csMakeLong(qint32 low, qint32 high)
{
    if (!fitsInWord(low) || !fitsInWord(high))
        raiseOverflow();
    return qint32((quint32(high) << 16) | (quint32(low) & 0xFFFFu));
}

qint32 csLoWord(qint32 value)
{
    return qint32(quint32(value) & 0xFFFFu);
}

double csLargeIntegerToDouble(quint32 lowPart, quint32 highPart)
{
    return double(highPart) * 4294967296.0 + double(lowPart);
}

double csLargeIntegerToDouble(qint64 value)
{
    return double(value);
}

qint64 csDoubleToLargeInteger(double value)
{
    const double rounded = std::nearbyint(value);
    // 2^63 itself is already out of range; NaN fails both comparisons.
    if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
        raiseOverflow();
    return qint64(rounded);
}

void csOutputDebugString(const QString &text)
{
    QString line = text;
    if (line.endsWith(QLatin1Char('\n')))
        line.chop(line.endsWith(QLatin1String("\r\n")) ? 2 : 1);
    qCDebug(lcDebugOutput).noquote() << line;
}

void csDebugPrint(const QString &text)
{
    const QString program = QFileInfo(csGetEXEModuleFullFileName()).fileName();
    csOutputDebugString(
        QStringLiteral("%1[%2]: %3").arg(program, QString::number(QCoreApplication::applicationPid()), text));
}

} // namespace cs
