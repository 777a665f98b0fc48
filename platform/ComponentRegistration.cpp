#include "platform/ComponentRegistration.h"

#include "platform/ComponentFactory.h"
#include "platform/ComponentKeys_p.h"
#include "platform/Registry.h"
#include "platform/Win32Error.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QUuid>

namespace tessera {

namespace {

struct ComponentClass {
    QString progId;
    QString braceGuid;
};

qint32 fail(qint32 code, const QString &reason, QString *errorText)
{
    if (errorText)
        *errorText = reason;
    return code;
}

// The classes declared by the module; 0 or a Win32 code.
qint32 declaredClasses(const QString &modulePath, QList<ComponentClass> *classes, QString *errorText)
{
    if (!QFileInfo(modulePath).isFile())
        return fail(Win32Error::FileNotFound, QStringLiteral("%1 does not exist").arg(modulePath), errorText);
    // metaData() reads the plugin's metadata without running its code.
    const QJsonObject metaData = QPluginLoader(modulePath).metaData();
    if (metaData.value(QLatin1String("IID")).toString() != QLatin1String(TesseraComponentFactory_iid))
        return fail(Win32Error::InvalidData, QStringLiteral("%1 is not a component module").arg(modulePath), errorText);
    const QJsonArray declared
        = metaData.value(QLatin1String("MetaData")).toObject().value(QLatin1String("Classes")).toArray();
    if (declared.isEmpty())
        return fail(Win32Error::InvalidData, QStringLiteral("%1 declares no classes").arg(modulePath), errorText);
    for (const QJsonValue &entry : declared) {
        const QString progId = entry.toObject().value(QLatin1String("ProgID")).toString();
        const QUuid clsid(entry.toObject().value(QLatin1String("CLSID")).toString());
        // A ProgID is one key name: no backslash, as the platform requires.
        if (progId.isEmpty() || progId.contains(QLatin1Char('\\')) || clsid.isNull())
            return fail(Win32Error::InvalidData,
                        QStringLiteral("%1 declares a class without a valid ProgID and CLSID").arg(modulePath),
                        errorText);
        classes->append({progId, clsid.toString(QUuid::WithBraces).toUpper()});
    }
    return Win32Error::Success;
}

qint32 openClasses(ComponentRegistration::Scope scope, HKEY *classesKey, QString *errorText)
{
    const HKEY root
        = scope == ComponentRegistration::Scope::Machine ? Registry::HKEY_LOCAL_MACHINE : Registry::HKEY_CURRENT_USER;
    const qint32 rc
        = Registry::RegCreateKeyEx(root, QStringLiteral("Software\\Classes"), Registry::KEY_ALL_ACCESS, classesKey);
    return rc == Win32Error::Success
        ? rc
        : fail(rc, QStringLiteral("the classes key cannot be opened (error %1)").arg(rc), errorText);
}

qint32 writeClass(HKEY classes, const ComponentClass &entry, const QString &modulePath)
{
    namespace keys = componentkeys;
    qint32 rc = keys::writeDefault(classes, keys::progIdKey(entry.progId), entry.braceGuid);
    if (rc == Win32Error::Success)
        rc = keys::writeDefault(classes, keys::classIdKey(entry.braceGuid) + QLatin1String("\\ProgID"), entry.progId);
    if (rc == Win32Error::Success)
        rc = keys::writeDefault(classes, keys::serverKey(entry.braceGuid), modulePath);
    return rc;
}

qint32 removeClass(HKEY classes, const ComponentClass &entry)
{
    namespace keys = componentkeys;
    qint32 rc = Registry::SHDeleteKey(classes, keys::classIdKey(entry.braceGuid));
    if (rc != Win32Error::Success && rc != Win32Error::FileNotFound)
        return rc;
    const std::optional<QString> registered = keys::readDefault(classes, keys::progIdKey(entry.progId));
    if (!registered || QUuid(*registered) != QUuid(entry.braceGuid))
        return Win32Error::Success;
    rc = Registry::SHDeleteKey(classes, entry.progId);
    return rc == Win32Error::FileNotFound ? Win32Error::Success : rc;
}

// Applies \a change to every class the module declares, in the classes root
// of \a scope, stopping at the first failure, which \a failure ("registered",
// "unregistered") describes; 0 or a Win32 code.
template <typename Change>
qint32 changeClasses(const QString &modulePath, ComponentRegistration::Scope scope, const QString &failure,
                     QString *errorText, Change change)
{
    QList<ComponentClass> classes;
    qint32 rc = declaredClasses(modulePath, &classes, errorText);
    HKEY classesKey = 0;
    if (rc == Win32Error::Success)
        rc = openClasses(scope, &classesKey, errorText);
    if (rc != Win32Error::Success)
        return rc;
    for (const ComponentClass &entry : std::as_const(classes)) {
        rc = change(classesKey, entry);
        if (rc != Win32Error::Success) {
            fail(rc, QStringLiteral("%1 cannot be %2 (error %3)").arg(entry.progId, failure, QString::number(rc)),
                 errorText);
            break;
        }
    }
    Registry::RegCloseKey(classesKey);
    return rc;
}

} // namespace

qint32 ComponentRegistration::registerModule(const QString &modulePath, Scope scope, QString *errorText)
{
    const QString absolutePath = QFileInfo(modulePath).absoluteFilePath();
    return changeClasses(
        modulePath, scope, QStringLiteral("registered"), errorText,
        [&](HKEY classes, const ComponentClass &entry) { return writeClass(classes, entry, absolutePath); });
}

qint32 ComponentRegistration::unregisterModule(const QString &modulePath, Scope scope, QString *errorText)
{
    return changeClasses(modulePath, scope, QStringLiteral("unregistered"), errorText, removeClass);
}

} // namespace tessera
