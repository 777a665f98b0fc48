#pragma once

#include "platform/PlatformExport.h"

#include <QByteArray>
#include <QString>

namespace tessera {

/// A registry key handle: one of the predefined roots or a handle returned by
/// Registry::RegOpenKeyEx / Registry::RegCreateKeyEx.
using HKEY = quint32;

/// The original platform's registry functions over SQLite hive files.
///
/// Every function returns a Win32 code (platform/Win32Error.h): 0 on success,
/// 2 for a missing key or value, 5 when the handle lacks the access right or
/// the hive cannot be written, 6 for a handle that is not open, 87 for a
/// missing output argument, 161 for a malformed key path, 234 when a value's
/// data exceed the stated buffer size, 259 past the end of an enumeration,
/// 1018 for a handle whose key has been deleted, 1020 when SHDeleteEmptyKey
/// meets a key with sub-keys or values, 170 when another process held the
/// hive locked past the busy timeout, 1015/1016 for a damaged or unreadable
/// hive file.
///
/// Names: key and value names compare with Unicode simple case folding
/// ("КЛЮЧ" is "ключ") and keep the spelling they were created with. A key
/// path is names joined with backslashes; a leading backslash or an empty
/// name between two backslashes gives 161, trailing backslashes are ignored,
/// and an empty path names the key of the handle itself. Value names may hold
/// any character; the empty name is the key's default value. Sub-keys
/// enumerate in the order of their upper-cased names, values in creation order
/// (overwriting a value keeps its place).
///
/// Data are stored as given, with any type number; the caller decides the
/// encoding.
///
/// Roots: HKEY_CURRENT_USER is the file user.hive in $TESSERA_USER_HIVE_DIR,
/// else in QStandardPaths::GenericConfigLocation + "/Sablewing/registry";
/// HKEY_LOCAL_MACHINE is machine.hive in $TESSERA_MACHINE_HIVE_DIR, else in
/// /var/lib/sablewing/registry. A hive file that does not exist reads as an
/// empty root and is created, folder included, by the first write; a hive that
/// cannot be created or written gives 5 to every write and to opens asking for
/// write rights, and is still read when its file exists. HKEY_CLASSES_ROOT is
/// the merged view of Software\Classes of both: a key exists when either hive
/// has it; its sub-keys are the union (the user's spelling wins); its values
/// are those of the user's copy when there is one, else the machine's, and
/// value writes and key deletions go to that same copy; new keys are created
/// in the machine hive. HKEY_USERS, HKEY_PERFORMANCE_DATA,
/// HKEY_CURRENT_CONFIG and HKEY_DYN_DATA are not kept here: every call on
/// them gives 6, as the original answers for a predefined key that the system
/// does not provide (RegCloseKey of any predefined root gives 0).
///
/// Access: handles carry the rights asked for at open. Reading values and
/// RegQueryInfoKey need KEY_QUERY_VALUE, RegEnumKey KEY_ENUMERATE_SUB_KEYS,
/// writing and deleting values KEY_SET_VALUE, creating a new sub-key
/// KEY_CREATE_SUB_KEY on the parent handle; opening an existing key or
/// deleting a sub-key needs no right on the parent. The predefined roots have
/// every right.
///
/// Handles come from a process-wide table and may be used from any thread.
/// Each thread keeps its own connection to each hive file; the environment is
/// read when a thread first uses a hive. Every write is one SQLite transaction
/// (WAL journal, BEGIN IMMEDIATE, a busy timeout of ten seconds), so a crash
/// never leaves half a value and concurrent writers from several processes
/// lose nothing.
///
///     HKEY key = 0;
///     if (Registry::RegOpenKeyEx(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Sablewing"),
///                                Registry::KEY_QUERY_VALUE, &key) == 0) {
///         quint32 size = 0;
///         Registry::RegQueryValueEx(key, QStringLiteral("Name"), nullptr, nullptr, &size); // size probe
///         QByteArray data;
///         Registry::RegQueryValueEx(key, QStringLiteral("Name"), nullptr, &data, &size);
///         Registry::RegCloseKey(key);
///     }
class TESSERA_PLATFORM_EXPORT Registry
{
public:
    Registry() = delete;

    // Predefined root keys.
    static constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
    static constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
    static constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
    static constexpr HKEY HKEY_USERS = 0x80000003u;
    static constexpr HKEY HKEY_PERFORMANCE_DATA = 0x80000004u;
    static constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
    static constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

    // Access rights.
    static constexpr quint32 KEY_QUERY_VALUE = 0x0001;
    static constexpr quint32 KEY_SET_VALUE = 0x0002;
    static constexpr quint32 KEY_CREATE_SUB_KEY = 0x0004;
    static constexpr quint32 KEY_ENUMERATE_SUB_KEYS = 0x0008;
    static constexpr quint32 KEY_NOTIFY = 0x0010;
    static constexpr quint32 KEY_CREATE_LINK = 0x0020;
    static constexpr quint32 DELETE = 0x00010000;
    static constexpr quint32 READ_CONTROL = 0x00020000;
    static constexpr quint32 WRITE_DAC = 0x00040000;
    static constexpr quint32 WRITE_OWNER = 0x00080000;
    static constexpr quint32 KEY_READ = READ_CONTROL | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;
    static constexpr quint32 KEY_WRITE = READ_CONTROL | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
    static constexpr quint32 KEY_ALL_ACCESS = 0x000F003F;

    // Value types.
    static constexpr quint32 REG_NONE = 0;
    static constexpr quint32 REG_SZ = 1;
    static constexpr quint32 REG_EXPAND_SZ = 2;
    static constexpr quint32 REG_BINARY = 3;
    static constexpr quint32 REG_DWORD = 4;
    static constexpr quint32 REG_MULTI_SZ = 7;
    static constexpr quint32 REG_QWORD = 11;

    // Dispositions of RegCreateKeyEx.
    static constexpr quint32 REG_CREATED_NEW_KEY = 1;
    static constexpr quint32 REG_OPENED_EXISTING_KEY = 2;

    /// Opens the existing key \a subKey below \a key with the rights \a samDesired.
    static qint32 RegOpenKeyEx(HKEY key, const QString &subKey, quint32 samDesired, HKEY *result);

    /// Opens \a subKey below \a key, creating it and any missing keys on its
    /// path; \a disposition tells REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY.
    static qint32 RegCreateKeyEx(HKEY key, const QString &subKey, quint32 samDesired, HKEY *result,
                                 quint32 *disposition = nullptr);

    /// Reads a value. \a dataSize is the size of the caller's buffer on entry
    /// and the size of the data on return. Without \a data it only reports the
    /// size (and \a type); with a buffer smaller than the data it gives 234 and
    /// the size needed, leaving \a data untouched. \a data without \a dataSize
    /// gives 87.
    static qint32 RegQueryValueEx(HKEY key, const QString &valueName, quint32 *type, QByteArray *data,
                                  quint32 *dataSize);

    /// Writes a value, replacing the type and data of an existing one.
    static qint32 RegSetValueEx(HKEY key, const QString &valueName, quint32 type, const QByteArray &data);

    static qint32 RegDeleteValue(HKEY key, const QString &valueName);

    /// Counts the sub-keys and values and measures the longest sub-key name,
    /// value name (in QString characters, without a terminating NUL) and value
    /// data (bytes). Every output is optional.
    static qint32 RegQueryInfoKey(HKEY key, quint32 *subKeys, quint32 *maxSubKeyLen, quint32 *values,
                                  quint32 *maxValueNameLen, quint32 *maxValueLen = nullptr);

    /// The name of the sub-key at \a index; 259 past the last one.
    static qint32 RegEnumKey(HKEY key, quint32 index, QString *name);

    /// The value at \a index (name, and optionally type and data); 259 past the last one.
    static qint32 RegEnumValue(HKEY key, quint32 index, QString *name, quint32 *type = nullptr,
                               QByteArray *data = nullptr);

    static qint32 RegCloseKey(HKEY key);

    /// Deletes \a subKey below \a key when it has neither sub-keys nor values
    /// (1020 otherwise). A root cannot be deleted (5).
    static qint32 SHDeleteEmptyKey(HKEY key, const QString &subKey);

    /// Deletes \a subKey below \a key with everything under it. A root cannot be deleted (5).
    static qint32 SHDeleteKey(HKEY key, const QString &subKey);

    /// Closes the calling thread's hive connections, so that the next call
    /// reads the hive folders from the environment again. Open handles stay
    /// valid and refer to the same key ids in whatever files are then used.
    /// Inside a Transaction it drops the writes made so far, and the
    /// transaction can then no longer commit.
    static void closeAllHives();

    /// Holds an open key and closes it when it goes.
    struct ScopedKey {
        HKEY handle = 0;
        ScopedKey() = default;
        ScopedKey(const ScopedKey &) = delete;
        ScopedKey &operator=(const ScopedKey &) = delete;
        ~ScopedKey()
        {
            if (handle)
                RegCloseKey(handle);
        }
    };

    /// Makes the registry writes of the calling thread, from its construction
    /// to commit(), one unit: they are kept when commit() succeeds and dropped
    /// when it fails or the scope ends without it. Other processes and threads
    /// see none of them before the commit; the thread itself reads its own
    /// writes. Each hive's transaction opens with the first write to it and
    /// holds that hive's write lock until the end, so keep scopes short.
    ///
    /// The user and machine hives are two files: a scope that wrote to both
    /// commits them one after the other, and should the second commit fail
    /// after the first succeeded, the first stays committed.
    ///
    /// A scope begun while another is open on the thread does nothing: the
    /// writes belong to the outer one, and its commit() gives 6701.
    ///
    ///     Registry::Transaction tx;
    ///     ... RegCreateKeyEx / RegSetValueEx ...
    ///     if (tx.commit() != 0) { /* nothing was written */ }
    class TESSERA_PLATFORM_EXPORT Transaction
    {
    public:
        Transaction();
        /// Rolls back unless committed.
        ~Transaction();
        Transaction(const Transaction &) = delete;
        Transaction &operator=(const Transaction &) = delete;

        /// Commits the writes: 0, or the failure (6701 when closeAllHives()
        /// dropped them, or the scope is nested or already ended), after which
        /// nothing of the scope was kept (but see the two hives above).
        qint32 commit();

    private:
        bool m_active;
    };
};

} // namespace tessera
