#include "lib/system/crvRegistry.h"

#include "platform/Registry.h"
#include "platform/Win32Error.h"
#include "support/csText.h"

#include <QtEndian>

namespace tessera {

namespace {

using ScopedKey = Registry::ScopedKey;

bool isValidType(RegistryType_Const type)
{
    return type >= rtString && type <= rtBoolean;
}

QVariant emptyValue(RegistryType_Const type)
{
    switch (type) {
    case rtString:
        return QString();
    case rtLong:
        return qint32(0);
    case rtBinary:
        return QByteArray();
    case rtBoolean:
        return false;
    }
    return {};
}

// Stored text: UTF-8 up to the first NUL.
QString storedText(const QByteArray &data)
{
    const qsizetype nul = data.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? data : data.left(nul));
}

QByteArray textData(const QString &text)
{
    return text.toUtf8() + '\0';
}

// The registry type and bytes of a value, or false when Value is not of a
// kind that ValueType accepts.
bool encode(RegistryType_Const type, const QVariant &value, quint32 *regType, QByteArray *data)
{
    const int kind = value.typeId();
    switch (type) {
    case rtString:
        if (kind != QMetaType::QString)
            return false;
        *regType = Registry::REG_SZ;
        *data = textData(value.toString());
        return true;
    case rtLong: {
        if (kind != QMetaType::UChar && kind != QMetaType::Short && kind != QMetaType::Int)
            return false;
        *regType = Registry::REG_DWORD;
        data->resize(4);
        qToLittleEndian<qint32>(value.toInt(), data->data());
        return true;
    }
    case rtBinary:
        if (kind != QMetaType::QByteArray)
            return false;
        *regType = Registry::REG_BINARY;
        *data = value.toByteArray();
        return true;
    case rtBoolean:
        if (kind != QMetaType::Bool)
            return false;
        *regType = Registry::REG_SZ;
        *data = textData(value.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
        return true;
    }
    return false;
}

// The value of the stored bytes as ValueType asks; false for data too short
// to hold one (nothing at all, or fewer than four bytes for rtLong).
bool decode(RegistryType_Const type, const QByteArray &data, QVariant *value)
{
    if (data.isEmpty() || (type == rtLong && data.size() < 4))
        return false;
    switch (type) {
    case rtString:
        *value = storedText(data);
        return true;
    case rtLong:
        *value = qFromLittleEndian<qint32>(data.constData());
        return true;
    case rtBinary:
        *value = data;
        return true;
    case rtBoolean: {
        const QString text = cs::csTrimEx(storedText(data)).toUpper();
        *value = text == QLatin1String("1") || text == QLatin1String("TRUE");
        return true;
    }
    }
    return false;
}

} // namespace

class crvRegistry::Private
{
public:
    qint32 lastRegError = Win32Error::Success;

    /// Keeps \a rc as the last registry result and returns it.
    qint32 keep(qint32 rc)
    {
        lastRegError = rc;
        return rc;
    }

    /// The platform handle of a root; an unknown root fails as an unknown
    /// handle would, and never reaches a key opened elsewhere in the process.
    bool root(RegistryRoot_Const root, HKEY *handle)
    {
        const auto number = quint32(root);
        if (number < Registry::HKEY_CLASSES_ROOT || number > Registry::HKEY_DYN_DATA) {
            keep(Win32Error::InvalidHandle);
            return false;
        }
        *handle = number;
        return true;
    }

    bool open(RegistryRoot_Const rootKey, const QString &subKey, quint32 access, ScopedKey *key)
    {
        HKEY handle = 0;
        return root(rootKey, &handle) && keep(Registry::RegOpenKeyEx(handle, subKey, access, &key->handle)) == 0;
    }

    bool create(RegistryRoot_Const rootKey, const QString &subKey, ScopedKey *key, bool *keyAlreadyExist)
    {
        HKEY handle = 0;
        quint32 disposition = 0;
        if (!root(rootKey, &handle)
            || keep(Registry::RegCreateKeyEx(handle, subKey, Registry::KEY_SET_VALUE, &key->handle, &disposition)))
            return false;
        if (keyAlreadyExist)
            *keyAlreadyExist = disposition == Registry::REG_OPENED_EXISTING_KEY;
        return true;
    }

    /// Lists sub-key names (\a values false) or value names of an open key.
    std::optional<Collection> list(HKEY key, bool values)
    {
        quint32 subKeys = 0;
        quint32 valueCount = 0;
        if (keep(Registry::RegQueryInfoKey(key, &subKeys, nullptr, &valueCount, nullptr)))
            return std::nullopt;
        Collection names;
        const quint32 count = values ? valueCount : subKeys;
        for (quint32 i = 0; i < count; ++i) {
            QString name;
            const qint32 rc
                = keep(values ? Registry::RegEnumValue(key, i, &name) : Registry::RegEnumKey(key, i, &name));
            if (rc == Win32Error::NoMoreItems)
                break;
            if (rc)
                return std::nullopt;
            names.Add(name);
        }
        return names;
    }
};

crvRegistry::crvRegistry()
    : d(std::make_unique<Private>())
{ }

crvRegistry::~crvRegistry() = default;

qint32 crvRegistry::LastRegError() const
{
    return d->lastRegError;
}

QVariant crvRegistry::GetValue(RegistryRoot_Const RegistryRoot, const QString &SubKey, const QString &ValueName,
                               RegistryType_Const ValueType, bool *Success)
{
    if (Success)
        *Success = false;
    if (!isValidType(ValueType))
        return {};
    ScopedKey key;
    quint32 size = 0;
    QByteArray data;
    QVariant value;
    if (!d->open(RegistryRoot, SubKey, Registry::KEY_QUERY_VALUE, &key)
        || d->keep(Registry::RegQueryValueEx(key.handle, ValueName, nullptr, nullptr, &size))
        || d->keep(Registry::RegQueryValueEx(key.handle, ValueName, nullptr, &data, &size))
        || !decode(ValueType, data, &value))
        return emptyValue(ValueType);
    if (Success)
        *Success = true;
    return value;
}

bool crvRegistry::SetValue(RegistryRoot_Const RegistryRoot, const QString &SubKey, const QString &ValueName,
                           RegistryType_Const ValueType, const QVariant &Value, bool *KeyAlreadyExist)
{
    quint32 type = Registry::REG_NONE;
    QByteArray data;
    if (!isValidType(ValueType) || !encode(ValueType, Value, &type, &data))
        return false;
    ScopedKey key;
    return d->create(RegistryRoot, SubKey, &key, KeyAlreadyExist)
        && d->keep(Registry::RegSetValueEx(key.handle, ValueName, type, data)) == 0;
}

bool crvRegistry::DeleteValue(RegistryRoot_Const RegistryRoot, const QString &SubKey, const QString &ValueName)
{
    ScopedKey key;
    return d->open(RegistryRoot, SubKey, Registry::KEY_SET_VALUE, &key)
        && d->keep(Registry::RegDeleteValue(key.handle, ValueName)) == 0;
}

bool crvRegistry::DeleteKey(RegistryRoot_Const RegistryRoot, const QString &SubKey)
{
    HKEY root = 0;
    return d->root(RegistryRoot, &root) && d->keep(Registry::SHDeleteEmptyKey(root, SubKey)) == 0;
}

bool crvRegistry::DeleteKeyRecurse(RegistryRoot_Const RegistryRoot, const QString &SubKey)
{
    HKEY root = 0;
    return d->root(RegistryRoot, &root) && d->keep(Registry::SHDeleteKey(root, SubKey)) == 0;
}

std::optional<Collection> crvRegistry::GetSubKeysNames(RegistryRoot_Const RegistryRoot, const QString &SubKey)
{
    ScopedKey key;
    if (!d->open(RegistryRoot, SubKey, Registry::KEY_ENUMERATE_SUB_KEYS | Registry::KEY_QUERY_VALUE, &key))
        return std::nullopt;
    return d->list(key.handle, false);
}

std::optional<Collection> crvRegistry::GetValuesNames(RegistryRoot_Const RegistryRoot, const QString &SubKey)
{
    ScopedKey key;
    if (!d->open(RegistryRoot, SubKey, Registry::KEY_QUERY_VALUE, &key))
        return std::nullopt;
    return d->list(key.handle, true);
}

bool crvRegistry::CreateKey(RegistryRoot_Const RegistryRoot, const QString &SubKey, bool *KeyAlreadyExist)
{
    ScopedKey key;
    return d->create(RegistryRoot, SubKey, &key, KeyAlreadyExist);
}

bool crvRegistry::IsKeyExist(RegistryRoot_Const RegistryRoot, const QString &SubKey)
{
    ScopedKey key;
    return d->open(RegistryRoot, SubKey, Registry::KEY_QUERY_VALUE, &key);
}

} // namespace tessera
