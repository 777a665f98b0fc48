#include "support/csSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QStandardPaths>

namespace cs {

namespace {

// Marks the entries this library writes, so that it never overwrites an entry
// that the user or a package installed under the same name.
const QLatin1String ownerMark("X-Corvid-AppPath=true");

// A string value of a desktop entry: backslash escapes for the characters the
// format reserves.
QString escapeValue(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The program as one quoted argument of an Exec line: inside the quotes
// '"', '`', '$' and '\' take a backslash, and '%' (a field code) is doubled.
QString execArgument(const QString &path)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        else if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

} // namespace

bool csRegisterAppPath()
{
    const QString program = csGetEXEModulePrettyFileName();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    if (program.isEmpty() || folder.isEmpty())
        return false;
    const QString exeName = QFileInfo(program).fileName();
    const QString title = QGuiApplication::applicationDisplayName();

    const QByteArray entry
        = QStringLiteral("[Desktop Entry]\n"
                         "Type=Application\n"
                         "Name=%1\n"
                         "Exec=%2\n"
                         "NoDisplay=true\n"
                         "%3\n")
              .arg(escapeValue(title.isEmpty() ? exeName : title), escapeValue(execArgument(program)), ownerMark)
              .toUtf8();

    const QString path = QDir(folder).filePath(exeName + QStringLiteral(".desktop"));
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            return false;
        const QByteArray present = existing.readAll();
        if (present == entry)
            return true;
        if (!present.split('\n').contains(QByteArray(ownerMark.data(), ownerMark.size())))
            return false;
    }
    if (!QDir().mkpath(folder))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(entry) != entry.size())
        return false;
    return file.commit();
}

} // namespace cs
