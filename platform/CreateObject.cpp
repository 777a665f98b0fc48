#include "platform/CreateObject.h"

#include "platform/ComponentFactory.h"
#include "platform/ComponentKeys_p.h"
#include "platform/RuntimeError.h"

#include <QFileInfo>
#include <QPluginLoader>
#include <QUuid>

#include <new>
#include <stdexcept>

namespace tessera {

namespace {

[[noreturn]] void cannotCreate(const QString &progId, const QString &reason)
{
    throw RuntimeError(RuntimeError::CantCreateObject,
                       RuntimeError::standardDescription(RuntimeError::CantCreateObject) + QLatin1String(" (") + reason
                           + QLatin1Char(')'),
                       progId);
}

std::unique_ptr<QObject> createFromModule(const QString &progId, const QString &modulePath, const QUuid &classId,
                                          const QString &braceGuid)
{
    QPluginLoader loader(modulePath);
    // Objects of the module may live as long as the process.
    loader.setLoadHints(QLibrary::PreventUnloadHint);
    auto *factory = qobject_cast<ComponentFactory *>(loader.instance());
    if (!factory) {
        cannotCreate(progId,
                     loader.isLoaded()
                         ? QStringLiteral("%1 is not a component module").arg(modulePath)
                         : QStringLiteral("module %1 does not load: %2").arg(modulePath, loader.errorString()));
    }
    std::unique_ptr<QObject> object(factory->create(classId));
    if (!object)
        cannotCreate(progId, QStringLiteral("module %1 does not create class %2").arg(modulePath, braceGuid));
    return object;
}

} // namespace

std::unique_ptr<QObject> CreateObject(const QString &progId)
{
    namespace keys = componentkeys;
    const HKEY root = Registry::HKEY_CLASSES_ROOT;
    // An empty name would address the classes root itself.
    const std::optional<QString> clsid
        = progId.isEmpty() ? std::nullopt : keys::readDefault(root, keys::progIdKey(progId));
    if (!clsid)
        cannotCreate(progId, QStringLiteral("\"%1\" is not registered").arg(progId));
    const QUuid classId(*clsid);
    if (classId.isNull())
        cannotCreate(progId, QStringLiteral("\"%1\" is not a class identifier").arg(*clsid));
    const QString braceGuid = classId.toString(QUuid::WithBraces).toUpper();
    const std::optional<QString> modulePath = keys::readDefault(root, keys::serverKey(braceGuid));
    if (!modulePath || modulePath->isEmpty())
        cannotCreate(progId, QStringLiteral("class %1 has no module").arg(braceGuid));
    if (!QFileInfo(*modulePath).isFile())
        cannotCreate(progId, QStringLiteral("module %1 does not exist").arg(*modulePath));

    // The module's code may throw anything; what is not a run-time error
    // becomes one, so callers that must not raise can catch it.
    try {
        return createFromModule(progId, *modulePath, classId, braceGuid);
    } catch (const RuntimeError &) {
        throw;
    } catch (const std::bad_alloc &) {
        throw RuntimeError(RuntimeError::OutOfMemory, {}, progId);
    } catch (const std::exception &e) {
        cannotCreate(progId,
                     QStringLiteral("module %1 failed to create class %2: %3")
                         .arg(*modulePath, braceGuid, QString::fromLocal8Bit(e.what())));
    } catch (...) {
        cannotCreate(progId, QStringLiteral("module %1 failed to create class %2").arg(*modulePath, braceGuid));
    }
}

} // namespace tessera
