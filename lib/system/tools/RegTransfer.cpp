#include "lib/system/tools/RegTransfer.h"

#include "platform/Win32Error.h"
#include "support/csSystem.h"

namespace tessera::regtool::RegTransfer {

namespace {

using ScopedKey = Registry::ScopedKey;

bool failed(qint32 rc, const QString &what, QString *error)
{
    if (error)
        *error = QStringLiteral("%1: %2 (%3)").arg(what, cs::csGetAPIErrorDescription(rc)).arg(rc);
    return false;
}

// The path as its keys are spelled in the registry, found by listing each
// parent; FileNotFound when a key on it is missing.
qint32 storedSpelling(const RegKeyPath &path, RegKeyPath *spelled)
{
    *spelled = {path.root, {}};
    if (path.subKey.isEmpty())
        return Win32Error::Success;
    for (const QString &name : path.subKey.split(u'\\')) {
        ScopedKey parent;
        if (const qint32 rc
            = Registry::RegOpenKeyEx(path.root, spelled->subKey, Registry::KEY_ENUMERATE_SUB_KEYS, &parent.handle))
            return rc;
        QString stored;
        qint32 rc;
        for (quint32 i = 0; (rc = Registry::RegEnumKey(parent.handle, i, &stored)) == Win32Error::Success; ++i) {
            if (stored.toCaseFolded() == name.toCaseFolded())
                break;
        }
        if (rc)
            return rc == Win32Error::NoMoreItems ? Win32Error::FileNotFound : rc;
        *spelled = spelled->child(stored);
    }
    return Win32Error::Success;
}

bool exportKey(const RegKeyPath &path, QList<RegKey> *keys, QString *error)
{
    ScopedKey key;
    if (const qint32 rc = Registry::RegOpenKeyEx(path.root, path.subKey, Registry::KEY_READ, &key.handle))
        return failed(rc, path.fullName(), error);
    RegKey exported {path, {}};
    qint32 rc;
    for (quint32 i = 0;; ++i) {
        RegValue value;
        if ((rc = Registry::RegEnumValue(key.handle, i, &value.name, &value.type, &value.data)))
            break;
        exported.values.append(value);
    }
    if (rc != Win32Error::NoMoreItems)
        return failed(rc, path.fullName(), error);
    keys->append(exported);

    QString name;
    for (quint32 i = 0; (rc = Registry::RegEnumKey(key.handle, i, &name)) == Win32Error::Success; ++i) {
        if (!exportKey(path.child(name), keys, error))
            return false;
    }
    return rc == Win32Error::NoMoreItems || failed(rc, path.fullName(), error);
}

} // namespace

std::optional<QList<RegKey>> exportTree(const RegKeyPath &path, QString *error)
{
    RegKeyPath spelled;
    if (const qint32 rc = storedSpelling(path, &spelled)) {
        failed(rc, path.fullName(), error);
        return std::nullopt;
    }
    QList<RegKey> keys;
    if (!exportKey(spelled, &keys, error))
        return std::nullopt;
    return keys;
}

bool importKeys(const QList<RegKey> &keys, QString *error)
{
    Registry::Transaction transaction;
    for (const RegKey &key : keys) {
        ScopedKey handle;
        if (const qint32 rc = Registry::RegCreateKeyEx(
                key.path.root, key.path.subKey, Registry::KEY_SET_VALUE | Registry::KEY_CREATE_SUB_KEY, &handle.handle))
            return failed(rc, key.path.fullName(), error);
        for (const RegValue &value : key.values) {
            if (const qint32 rc = Registry::RegSetValueEx(handle.handle, value.name, value.type, value.data))
                return failed(rc, key.path.fullName() + QStringLiteral(" \"%1\"").arg(value.name), error);
        }
    }
    if (const qint32 rc = transaction.commit())
        return failed(rc, QStringLiteral("commit"), error);
    return true;
}

} // namespace tessera::regtool::RegTransfer
