#include "support/csHostOS.h"

#include <QFile>
#include <QHash>

#include <sys/utsname.h>

namespace cs {

namespace {

// os-release is a small file of KEY=value lines; values may be quoted with
// double or single quotes and use backslash escapes inside double quotes.
QHash<QByteArray, QString> parseOsRelease(const QByteArray &text)
{
    QHash<QByteArray, QString> fields;
    for (const QByteArray &rawLine : text.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (line.isEmpty() || line.startsWith('#') || eq <= 0)
            continue;
        const QByteArray key = line.left(eq);
        QByteArray value = line.mid(eq + 1);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            const bool doubleQuoted = value.front() == '"';
            value = value.mid(1, value.size() - 2);
            if (doubleQuoted) {
                QByteArray unescaped;
                for (qsizetype i = 0; i < value.size(); ++i) {
                    if (value[i] == '\\' && i + 1 < value.size())
                        ++i;
                    unescaped += value[i];
                }
                value = unescaped;
            }
        }
        fields.insert(key, QString::fromUtf8(value));
    }
    return fields;
}

QString kernelText(const HostOSFacts &facts, bool withMachine)
{
    QStringList parts;
    for (const QString &part : {facts.kernelName, facts.kernelRelease, withMachine ? facts.machine : QString()})
        if (!part.isEmpty())
            parts << part;
    return parts.join(QLatin1Char(' '));
}

// Keeps a User-Agent comment well formed: printable ASCII without the
// comment's own delimiters or the quoting backslash.
QString asCommentText(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7e || u == '(' || u == ')' || u == '\\')
            continue;
        out += c;
    }
    return out.simplified();
}

HostOSFacts machineFacts()
{
    HostOSFacts facts;
    for (const char *path : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile file(QString::fromLatin1(path));
        // The file is a few hundred bytes; a cap keeps a hostile one harmless.
        if (file.open(QIODevice::ReadOnly)) {
            facts.osRelease = file.read(64 * 1024);
            break;
        }
    }
    utsname names {};
    if (uname(&names) == 0) {
        facts.kernelName = QString::fromUtf8(names.sysname);
        facts.kernelRelease = QString::fromUtf8(names.release);
        facts.machine = QString::fromUtf8(names.machine);
    }
    return facts;
}

} // namespace

QString csHostOSFullNameFrom(const HostOSFacts &facts)
{
    const auto fields = parseOsRelease(facts.osRelease);
    QString distribution = fields.value("PRETTY_NAME");
    if (distribution.isEmpty())
        distribution = (fields.value("NAME") + QLatin1Char(' ') + fields.value("VERSION")).trimmed();
    const QString kernel = kernelText(facts, true);
    if (distribution.isEmpty())
        return kernel;
    if (kernel.isEmpty())
        return distribution;
    return distribution + QStringLiteral(", ") + kernel;
}

QString csHostOSShortNameFrom(const HostOSFacts &facts)
{
    const auto fields = parseOsRelease(facts.osRelease);
    QString name = asCommentText((fields.value("NAME") + QLatin1Char(' ') + fields.value("VERSION_ID")).trimmed());
    if (name.isEmpty())
        name = asCommentText(kernelText(facts, false));
    return name;
}

QString csGetHostOSFullName()
{
    return csHostOSFullNameFrom(machineFacts());
}

QString csGetHostOSShortName()
{
    return csHostOSShortNameFrom(machineFacts());
}

} // namespace cs
