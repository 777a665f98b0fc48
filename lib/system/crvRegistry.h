#pragma once

#include "lib/TesseraExport.h"
#include "lib/system/RegistryRoot_Const.h"
#include "lib/system/RegistryType_Const.h"
#include "platform/Collection.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

namespace tessera {

/// Typed access to the registry: single values of the four RegistryType_Const
/// types, keys created, tested and deleted, and the names of a key's sub-keys
/// and values. Every operation opens and closes its own key; the object keeps
/// no open handle between calls (the registry keeps its hive connections).
///
/// Nothing raises on a registry failure: operations return false, the empty
/// value of the type ("", 0, an empty byte array, false) with *Success false,
/// or no collection, and LastRegError() keeps the Win32 code (2 for a missing
/// key or value, 5 access denied, 6 for a root that is not kept, ...) of the
/// last registry call. Operations that fail before calling the registry (an
/// invalid type, a value of the wrong kind) leave LastRegError() as it was. A
/// root number outside RegistryRoot_Const fails as the platform fails an
/// unknown handle, with 6.
///
/// Text is stored as UTF-8 followed by one NUL byte, so every character
/// survives; reading stops at the first NUL. Booleans are stored as "True" or
/// "False"; on reading, the text trimmed of blanks (csTrimEx) is true exactly
/// when it is "1" or "TRUE" in any case. The stored type is not compared with
/// the type asked for: the bytes are read as asked.
///
/// Stored data of zero bytes, and rtLong data shorter than four bytes, read
/// as the empty value of the type with *Success false. An empty byte array
/// may be written as rtBinary; it reads back as such a failure.
///
///     crvRegistry reg;
///     reg.SetValue(HKEY_CURRENT_USER, "Software\\Sablewing\\Test", "Count", rtLong, 5);
///     bool ok = false;
///     int n = reg.GetValue(HKEY_CURRENT_USER, "Software\\Sablewing\\Test", "Count", rtLong, &ok).toInt();
class TESSERA_EXPORT crvRegistry
{
public:
    crvRegistry();
    ~crvRegistry();
    crvRegistry(const crvRegistry &) = delete;
    crvRegistry &operator=(const crvRegistry &) = delete;

    /// The Win32 code of the last registry call of this object; 0 at first.
    qint32 LastRegError() const;

    /// Reads the value ValueName (empty: the key's default value) of SubKey.
    /// Returns QString, qint32, QByteArray or bool by ValueType; the empty
    /// value of the type with *Success false on failure, an invalid QVariant
    /// for an invalid type.
    QVariant GetValue(RegistryRoot_Const RegistryRoot, const QString &SubKey, const QString &ValueName = {},
                      RegistryType_Const ValueType = rtString, bool *Success = nullptr);

    /// Writes Value as ValueType, creating SubKey and the keys above it when
    /// missing; *KeyAlreadyExist tells whether SubKey was there before.
    /// Value must be text for rtString, a byte array for rtBinary, a Boolean
    /// for rtBoolean, and an 8-bit unsigned (uchar), 16-bit (short) or 32-bit
    /// (int) integer for rtLong; anything else returns false and writes
    /// nothing.
    bool SetValue(RegistryRoot_Const RegistryRoot, const QString &SubKey, const QString &ValueName = {},
                  RegistryType_Const ValueType = rtString, const QVariant &Value = QString(),
                  bool *KeyAlreadyExist = nullptr);

    bool DeleteValue(RegistryRoot_Const RegistryRoot, const QString &SubKey, const QString &ValueName = {});

    /// Deletes SubKey when it has neither sub-keys nor values (1020 otherwise).
    bool DeleteKey(RegistryRoot_Const RegistryRoot, const QString &SubKey);

    /// Deletes SubKey with everything below it.
    bool DeleteKeyRecurse(RegistryRoot_Const RegistryRoot, const QString &SubKey);

    /// The names of SubKey's sub-keys (in the registry's order) or values (in
    /// creation order) as texts; an empty collection for a key without any,
    /// no collection when the key cannot be opened or the listing fails.
    std::optional<Collection> GetSubKeysNames(RegistryRoot_Const RegistryRoot, const QString &SubKey);
    std::optional<Collection> GetValuesNames(RegistryRoot_Const RegistryRoot, const QString &SubKey);

    /// Creates SubKey (and the keys above it) unless it exists; true when it
    /// is there afterwards. *KeyAlreadyExist tells whether it was there before.
    bool CreateKey(RegistryRoot_Const RegistryRoot, const QString &SubKey, bool *KeyAlreadyExist = nullptr);

    bool IsKeyExist(RegistryRoot_Const RegistryRoot, const QString &SubKey);

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
