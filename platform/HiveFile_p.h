#pragma once

#include "platform/HiveFileModes_p.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace tessera {

/// One registry hive: an SQLite file holding a tree of keys with typed
/// values, used by one thread. The registry keeps one open instance per hive
/// per thread, so connections and prepared statements live across calls.
///
/// A hive whose file does not exist reads as an empty tree (only the root
/// key); the file and its folder are created by the first write, with the
/// modes its \a readers need (HiveFileModes_p.h), and an owner-only hive made
/// readable by others is tightened when it is first opened. A file that
/// cannot be created or written makes every write fail with AccessDenied,
/// while reads still work when the file exists.
///
/// Keys are found by their folded path: the case-folded names from the root
/// down, joined with backslashes, the root being the empty path. Every
/// operation returns a Win32 code: 0, FileNotFound for a missing key or value,
/// KeyDeleted for a key id that no longer exists, KeyHasChildren,
/// NoMoreItems, AccessDenied, or the mapped SQLite failure.
///
/// Every write is atomic on its own. Inside a scope (beginScope() ..
/// endScope()) the writes of this hive also share one transaction, opened by
/// the first of them, so the scope commits or drops them together.
class HiveFile
{
public:
    static constexpr qint64 RootKey = 1;

    HiveFile(QString fileName, HiveReaders readers);
    ~HiveFile();
    HiveFile(const HiveFile &) = delete;
    HiveFile &operator=(const HiveFile &) = delete;

    /// The registry's notion of equal names: Unicode simple case folding.
    static QString fold(const QString &name) { return name.toCaseFolded(); }

    /// Creates the file when needed; AccessDenied when the hive cannot be written.
    qint32 checkWritable();

    qint32 findKey(const QString &foldedPath, qint64 *id);
    /// Creates the missing keys of \a components (names as spelled) below the
    /// key \a parent, whose folded path is \a parentPath. \a created tells
    /// whether the last key was made by this call.
    qint32 createKey(qint64 parent, const QString &parentPath, const QStringList &components, qint64 *id,
                     bool *created);
    /// Deletes the key with everything below it; with \a onlyIfEmpty a key
    /// that has sub-keys or values is kept and KeyHasChildren returned.
    qint32 deleteKey(qint64 key, bool onlyIfEmpty);

    qint32 queryValue(qint64 key, const QString &name, quint32 *type, QByteArray *data);
    qint32 setValue(qint64 key, const QString &name, quint32 type, const QByteArray &data);
    qint32 deleteValue(qint64 key, const QString &name);

    /// Sub-keys in case-insensitive name order; NoMoreItems past the last.
    qint32 subKeyAt(qint64 key, quint32 index, QString *name);
    /// Values in creation order; NoMoreItems past the last.
    qint32 valueAt(qint64 key, quint32 index, QString *name, quint32 *type, QByteArray *data);
    qint32 subKeyNames(qint64 key, QStringList *names);
    qint32 valueNames(qint64 key, QStringList *names, quint32 *maxDataSize);

    /// Starts a scope: the writes from here on stay in one transaction.
    void beginScope();
    /// Ends the scope, committing its transaction when \a commit, else
    /// rolling it back; 0 when the scope wrote nothing.
    qint32 endScope(bool commit);

private:
    enum class Statement {
        Begin,
        Commit,
        Rollback,
        Savepoint,
        ReleaseSavepoint,
        RollbackToSavepoint,
        FindKey,
        KeyExists,
        KeyPath,
        InsertKey,
        CountChildren,
        DeleteTreeValues,
        DeleteTreeKeys,
        QueryValue,
        UpsertValue,
        DeleteValue,
        SubKeyAt,
        ValueAt,
        SubKeyNames,
        ValueNames,
        Count
    };
    enum class Access { Read, Write };
    enum class Scope {
        None, // every write commits by itself
        Pending, // in a scope that has not written to this hive yet
        Open // in a scope whose transaction is open
    };
    struct DatabaseCloser {
        void operator()(sqlite3 *db) const;
    };
    struct StatementFinalizer {
        void operator()(sqlite3_stmt *stmt) const;
    };
    class Query;
    friend class HiveTransaction;

    qint32 open(Access access);
    qint32 connect(Access access, bool immutable);
    qint32 prepareForWriting();
    qint32 readSchemaVersion(int *version);
    qint32 exec(const char *sql);
    qint32 run(Statement which);
    /// The cached statement, prepared on first use; nullptr with the SQLite
    /// failure in \a rc when it cannot be prepared.
    sqlite3_stmt *statement(Statement which, int *rc);
    /// Reads the one row \a which finds for \a key and \a arg through \a read;
    /// \a missing when there is none (or no file), KeyDeleted when \a key is gone.
    template <typename Arg, typename Read>
    qint32 readRow(Statement which, qint64 key, const Arg &arg, qint32 missing, Read read);
    /// Hands every row \a which finds for \a key to \a read; nothing for no file.
    template <typename Read> qint32 readRows(Statement which, qint64 key, Read read);
    /// Runs \a change as one write below the existing key \a key: in a
    /// transaction of its own (a savepoint inside a scope), committed when
    /// \a change returns 0 and rolled back otherwise.
    template <typename Change> qint32 writeTo(qint64 key, Change change);
    qint32 checkKey(qint64 key);
    qint32 insertKey(qint64 parent, const QString &name, const QString &path, qint64 *id);

    QString m_fileName;
    HiveReaders m_readers;
    std::unique_ptr<sqlite3, DatabaseCloser> m_db;
    std::array<std::unique_ptr<sqlite3_stmt, StatementFinalizer>, size_t(Statement::Count)> m_statements;
    bool m_readOnly = false;
    bool m_ready = false; // the schema is present and of our version
    Scope m_scope = Scope::None;
};

} // namespace tessera
