#include "platform/DesktopEntry.h"
#include "platform/WholeFile.h"
#include "support/csSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>

namespace cs {

using tessera::DesktopEntry;
using tessera::WholeFile;

namespace {

// Marks the entries this library writes, so that it never overwrites an entry
// that the user or a package installed under the same name.
const QLatin1String ownerMark("X-Corvid-AppPath=true");

} // namespace

bool csRegisterAppPath()
{
    const QString program = csGetEXEModulePrettyFileName();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    if (program.isEmpty() || folder.isEmpty())
        return false;
    const QString exeName = QFileInfo(program).fileName();
    const QString title = QGuiApplication::applicationDisplayName();

    const QByteArray entry = QStringLiteral("[Desktop Entry]\n"
                                            "Type=Application\n"
                                            "Name=%1\n"
                                            "Exec=%2\n"
                                            "NoDisplay=true\n"
                                            "%3\n")
                                 .arg(DesktopEntry::stringValue(title.isEmpty() ? exeName : title),
                                      DesktopEntry::execValue({program}), ownerMark)
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
    return WholeFile::write(path, entry);
}

} // namespace cs
