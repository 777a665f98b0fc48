#include "tests/common/TestSandbox.h"

#include <QDir>
#include <QFile>

namespace corvid::test {

namespace {
QString g_root;
}

QString sandboxDir()
{
    return g_root;
}

void enterSandbox(const QString &root)
{
    g_root = root;
    const QDir dir(root);
    const auto place = [&](const char *variable, const QString &sub) {
        dir.mkpath(sub);
        qputenv(variable, dir.filePath(sub).toUtf8());
    };
    place("HOME", QStringLiteral("home"));
    place("XDG_CONFIG_HOME", QStringLiteral("home/.config"));
    place("XDG_DATA_HOME", QStringLiteral("home/.local/share"));
    place("XDG_CACHE_HOME", QStringLiteral("home/.cache"));
    place("XDG_RUNTIME_DIR", QStringLiteral("runtime"));
    place("TESSERA_USER_HIVE_DIR", QStringLiteral("hive/user"));
    place("TESSERA_MACHINE_HIVE_DIR", QStringLiteral("hive/machine"));
    place("TESSERA_MUTEX_DIR", QStringLiteral("locks"));
    place("TESSERA_MACHINE_AUTOSTART_DIR", QStringLiteral("xdg/autostart"));
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString builtProgram(const QString &name)
{
    return QStringLiteral(CORVID_BINARY_DIR "/bin/") + name;
}

QString sourceFile(const QString &relativePath)
{
    return QStringLiteral(CORVID_SOURCE_DIR "/") + relativePath;
}

} // namespace corvid::test
