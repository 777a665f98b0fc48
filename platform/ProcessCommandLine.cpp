#include "platform/ProcessCommandLine.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QtEndian>

namespace tessera {

namespace {

QString quoteArgument(const QString &argument)
{
    if (argument.isEmpty() || argument.contains(QLatin1Char(' ')) || argument.contains(QLatin1Char('\t')))
        return QLatin1Char('"') + argument + QLatin1Char('"');
    return argument;
}

QString readCommandLine()
{
    // The kernel keeps the arguments as NUL-terminated strings, one after the other.
    QFile file(QStringLiteral("/proc/self/cmdline"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QByteArray raw = file.readAll();
    if (raw.isEmpty())
        return QString();
    if (raw.endsWith('\0'))
        raw.chop(1);
    QStringList arguments;
    for (const QByteArray &argument : raw.split('\0'))
        arguments.append(quoteArgument(QString::fromUtf8(argument)));
    return arguments.join(QLatin1Char(' '));
}

} // namespace

QByteArray processCommandLine()
{
    static const QByteArray buffer = [] {
        const QString line = readCommandLine();
        QByteArray bytes((line.size() + 1) * 2, '\0'); // the last unit stays NUL
        qToLittleEndian<char16_t>(line.utf16(), line.size(), bytes.data());
        return bytes;
    }();
    return buffer;
}

} // namespace tessera
