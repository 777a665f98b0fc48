#include "lib/dialogs/SystemInfoTool_p.h"

#include "lib/system/crvRegistry.h"
#include "platform/ShellOpen.h"
#include "support/csFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace tessera::dialogs {

namespace {

QString registryText(const QString &subKey, const QString &valueName)
{
    crvRegistry registry;
    bool found = false;
    const QString text = registry.GetValue(HKEY_LOCAL_MACHINE, subKey, valueName, rtString, &found).toString();
    return found ? text : QString();
}

QString registeredTool()
{
    QString path = registryText(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH"));
    if (path.isEmpty()) {
        const QString folder
            = registryText(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"), QStringLiteral("MSINFO"));
        if (!folder.isEmpty())
            path = cs::csBuildFileName(folder, QStringLiteral("MSINFO32.EXE"));
    }
    return cs::csIsFileExist(path) ? path : QString();
}

QString systemMonitor()
{
    for (const char *name : SystemMonitors) {
        const QString program = QStandardPaths::findExecutable(QLatin1String(name));
        if (!program.isEmpty())
            return program;
    }
    return {};
}

} // namespace

bool StartSystemInfoTool()
{
    QString tool = registeredTool();
    if (tool.isEmpty())
        tool = systemMonitor();
    if (tool.isEmpty())
        return false;
    if (QFileInfo(tool).isExecutable())
        return QProcess::startDetached(tool, {}, QDir::currentPath());
    return ShellOpen(tool);
}

} // namespace tessera::dialogs
