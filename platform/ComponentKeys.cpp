#include "platform/ComponentKeys_p.h"
#include "platform/Win32Error.h"

namespace tessera::componentkeys {

QString progIdKey(const QString &progId)
{
    return progId + QLatin1String("\\CLSID");
}

QString classIdKey(const QString &braceGuid)
{
    return QLatin1String("CLSID\\") + braceGuid;
}

QString serverKey(const QString &braceGuid)
{
    return classIdKey(braceGuid) + QLatin1String("\\InprocServer32");
}

std::optional<QString> readDefault(HKEY root, const QString &subKey)
{
    HKEY key = 0;
    if (Registry::RegOpenKeyEx(root, subKey, Registry::KEY_QUERY_VALUE, &key) != Win32Error::Success)
        return std::nullopt;
    quint32 type = 0;
    quint32 size = 0;
    QByteArray data;
    qint32 rc = Registry::RegQueryValueEx(key, QString(), &type, nullptr, &size);
    if (rc == Win32Error::Success)
        rc = Registry::RegQueryValueEx(key, QString(), &type, &data, &size);
    Registry::RegCloseKey(key);
    if (rc != Win32Error::Success || (type != Registry::REG_SZ && type != Registry::REG_EXPAND_SZ))
        return std::nullopt;
    const qsizetype end = data.indexOf('\0');
    return QString::fromUtf8(end < 0 ? data : data.left(end));
}

qint32 writeDefault(HKEY root, const QString &subKey, const QString &text)
{
    HKEY key = 0;
    qint32 rc = Registry::RegCreateKeyEx(root, subKey, Registry::KEY_WRITE, &key);
    if (rc != Win32Error::Success)
        return rc;
    rc = Registry::RegSetValueEx(key, QString(), Registry::REG_SZ, text.toUtf8() + '\0');
    Registry::RegCloseKey(key);
    return rc;
}

} // namespace tessera::componentkeys
