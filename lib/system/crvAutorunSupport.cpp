#include "lib/system/crvAutorunSupport.h"

#include "lib/data/CommandLineParser.h"
#include "lib/system/crvRegistry.h"
#include "platform/DesktopEntry.h"
#include "platform/WholeFile.h"
#include "platform/Win32Error.h"
#include "support/csSystem.h"
#include "support/csText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace tessera {

namespace {

const QString runKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");

QString autostartFolder(RegistryRoot_Const root)
{
    if (root == HKEY_LOCAL_MACHINE) {
        const QString overridden = qEnvironmentVariable("TESSERA_MACHINE_AUTOSTART_DIR");
        return overridden.isEmpty() ? QStringLiteral("/etc/xdg/autostart") : overridden;
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
}

// The program and its arguments. A path with blanks stored without quotes
// (as the program's own path is) still names one program.
QStringList commandArguments(const QString &commandLine)
{
    const QString trimmed = cs::csTrimEx(commandLine);
    if (trimmed.isEmpty())
        return {};
    if (QDir::isAbsolutePath(trimmed) && QFileInfo(trimmed).isFile())
        return {trimmed};
    CommandLineParser parser;
    parser.SetNewCommandLine(commandLine, false);
    QStringList arguments {parser.Item(-1)};
    for (qint32 i = 0; i < parser.Count(); ++i)
        arguments << parser.Item(i);
    return arguments;
}

QByteArray entryText(const QString &appGuid, const QStringList &arguments)
{
    QString name = QFileInfo(arguments.first()).fileName();
    if (name.isEmpty())
        name = appGuid;
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "X-Sablewing-AppGUID=%3\n")
        .arg(DesktopEntry::stringValue(name), DesktopEntry::execValue(arguments), DesktopEntry::stringValue(appGuid))
        .toUtf8();
}

// The autostart entry of one AppGUID, with what it held before a change so
// that a failed change can be undone.
class AutostartEntry
{
public:
    AutostartEntry(RegistryRoot_Const root, const QString &appGuid)
        : m_folder(autostartFolder(root))
        , m_path(QDir(m_folder).filePath(QString::fromLatin1(appGuid.toUtf8().toPercentEncoding("{}"))
                                         + QStringLiteral(".desktop")))
    { }

    // Remembers the present state; false when the entry cannot be read.
    bool snapshot()
    {
        QFile file(m_path);
        if (!file.exists()) {
            m_before.reset();
            return true;
        }
        if (!file.open(QIODevice::ReadOnly))
            return false;
        m_before = file.readAll();
        return file.error() == QFileDevice::NoError;
    }

    bool write(const QByteArray &text) { return QDir().mkpath(m_folder) && WholeFile::write(m_path, text); }

    bool remove() { return !QFileInfo::exists(m_path) || QFile::remove(m_path); }

    void restore()
    {
        if (m_before)
            write(*m_before);
        else
            remove();
    }

private:
    QString m_folder;
    QString m_path;
    std::optional<QByteArray> m_before;
};

} // namespace

crvAutorunSupport::crvAutorunSupport() = default;

crvAutorunSupport &crvAutorunSupport::global()
{
    thread_local crvAutorunSupport instance;
    return instance;
}

bool crvAutorunSupport::ForCurrentUserOnly() const
{
    return m_root == HKEY_CURRENT_USER;
}

void crvAutorunSupport::setForCurrentUserOnly(bool ForCurrentUserOnly)
{
    m_root = ForCurrentUserOnly ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

bool crvAutorunSupport::IsInAutorun(const QString &AppGUID)
{
    return !cs::csTrimEx(GetAutorunString(AppGUID)).isEmpty();
}

QString crvAutorunSupport::GetAutorunString(const QString &AppGUID)
{
    if (AppGUID.isEmpty())
        return {};
    crvRegistry registry;
    return registry.GetValue(m_root, runKey, AppGUID, rtString).toString();
}

bool crvAutorunSupport::AddToAutorun(const QString &AppGUID, const QString &CommandLine)
{
    if (AppGUID.isEmpty())
        return false;
    const QString commandLine = CommandLine.isEmpty() ? cs::csGetEXEModulePrettyFileName() : CommandLine;
    const QStringList arguments = commandArguments(commandLine);
    AutostartEntry entry(m_root, AppGUID);
    if (!entry.snapshot() || !(arguments.isEmpty() ? entry.remove() : entry.write(entryText(AppGUID, arguments))))
        return false;
    crvRegistry registry;
    if (registry.SetValue(m_root, runKey, AppGUID, rtString, commandLine))
        return true;
    entry.restore();
    return false;
}

bool crvAutorunSupport::DeleteFromAutorun(const QString &AppGUID)
{
    if (AppGUID.isEmpty())
        return false;
    AutostartEntry entry(m_root, AppGUID);
    if (!entry.snapshot() || !entry.remove())
        return false;
    crvRegistry registry;
    if (registry.DeleteValue(m_root, runKey, AppGUID))
        return true;
    // Without a value the entry was a stray and stays removed.
    if (registry.LastRegError() != Win32Error::FileNotFound)
        entry.restore();
    return false;
}

} // namespace tessera
