#include "platform/HiveFileModes_p.h"
#include "platform/HiveFile_p.h"
#include "platform/Win32Error.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <iterator>
#include <sqlite3.h>
#include <utility>

namespace tessera {

namespace {

constexpr int SchemaVersion = 1;

// How long a write waits for another process's transaction before it gives up.
constexpr int BusyTimeoutMs = 10000;

constexpr const char *SchemaSql = R"(
CREATE TABLE keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER,
    name TEXT NOT NULL,
    path TEXT NOT NULL UNIQUE,
    sortkey TEXT NOT NULL);
CREATE INDEX keys_children ON keys(parent, sortkey, path);
CREATE TABLE vals(
    id INTEGER PRIMARY KEY,
    key INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(key, folded));
CREATE INDEX vals_order ON vals(key, id);
INSERT INTO keys(id, parent, name, path, sortkey) VALUES(1, NULL, '', '', '');
PRAGMA user_version = 1;
)";

// Key ids come from AUTOINCREMENT, so an id is never reused: a handle to a
// deleted key keeps answering KeyDeleted even after a key of the same name is
// made again. A key's descendants are the paths between "path\" and "path]"
// (']' follows '\' in code order).
constexpr const char *StatementSql[] = {
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
    "SAVEPOINT hive_write",
    "RELEASE hive_write",
    "ROLLBACK TO hive_write",
    "SELECT id FROM keys WHERE path = ?1",
    "SELECT 1 FROM keys WHERE id = ?1",
    "SELECT path FROM keys WHERE id = ?1",
    "INSERT INTO keys(parent, name, path, sortkey) VALUES(?1, ?2, ?3, ?4)",
    "SELECT EXISTS(SELECT 1 FROM keys WHERE parent = ?1) OR EXISTS(SELECT 1 FROM vals WHERE key = ?1)",
    "DELETE FROM vals WHERE key IN (SELECT id FROM keys WHERE path = ?1 OR (path > ?1 || '\\' AND path < ?1 || ']'))",
    "DELETE FROM keys WHERE path = ?1 OR (path > ?1 || '\\' AND path < ?1 || ']')",
    "SELECT type, data FROM vals WHERE key = ?1 AND folded = ?2",
    ("INSERT INTO vals(key, name, folded, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
     "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data"),
    "DELETE FROM vals WHERE key = ?1 AND folded = ?2",
    "SELECT name FROM keys WHERE parent = ?1 ORDER BY sortkey, path LIMIT 1 OFFSET ?2",
    "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY id LIMIT 1 OFFSET ?2",
    "SELECT name FROM keys WHERE parent = ?1 ORDER BY sortkey, path",
    "SELECT name, length(data) FROM vals WHERE key = ?1 ORDER BY id",
};

// Every SQLite failure reaches the caller through this one mapping; an
// unknown code is a failure, never success.
qint32 win32FromSqlite(int rc)
{
    switch (rc & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return Win32Error::Success;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Win32Error::Busy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN: // the file or its folder is not ours to open or create
        return Win32Error::AccessDenied;
    case SQLITE_NOMEM:
        return Win32Error::NotEnoughMemory;
    case SQLITE_FULL:
        return Win32Error::DiskFull;
    case SQLITE_TOOBIG:
        return Win32Error::InvalidParameter;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA:
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
        return Win32Error::RegistryCorrupt;
    case SQLITE_IOERR:
    default:
        return Win32Error::RegistryIoFailed;
    }
}

// What a step that looked for one row means: Success for a row, \a none for
// no row, else the mapped failure.
qint32 rowFound(int step, qint32 none)
{
    if (step == SQLITE_ROW)
        return Win32Error::Success;
    return step == SQLITE_DONE ? none : win32FromSqlite(step);
}

} // namespace

// Binds, steps and reads one of the hive's cached statements; resets it when
// done so the next use starts clean. The first failure, preparing the
// statement or binding a parameter, is kept and returned by step().
class HiveFile::Query
{
public:
    Query(HiveFile &hive, Statement which) { m_stmt = hive.statement(which, &m_rc); }
    ~Query()
    {
        // A failure here repeats the one step() already returned.
        if (m_stmt) {
            sqlite3_reset(m_stmt);
            sqlite3_clear_bindings(m_stmt);
        }
    }
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;

    Query &bind(qint64 value)
    {
        if (m_rc == SQLITE_OK)
            m_rc = sqlite3_bind_int64(m_stmt, ++m_index, value);
        return *this;
    }
    Query &bind(const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        if (m_rc == SQLITE_OK)
            m_rc = sqlite3_bind_text64(m_stmt, ++m_index, utf8.constData(), sqlite3_uint64(utf8.size()),
                                       SQLITE_TRANSIENT, SQLITE_UTF8);
        return *this;
    }
    Query &bindBlob(const QByteArray &data)
    {
        // constData() is never null, so an empty array binds a zero-length blob, not NULL.
        if (m_rc == SQLITE_OK)
            m_rc = sqlite3_bind_blob64(m_stmt, ++m_index, data.constData(), sqlite3_uint64(data.size()),
                                       SQLITE_TRANSIENT);
        return *this;
    }

    /// SQLITE_ROW, SQLITE_DONE or the failure.
    int step() { return m_rc != SQLITE_OK ? m_rc : sqlite3_step(m_stmt); }

    /// Steps through every row, handing each to \a row; 0 or the mapped failure.
    template <typename Row> qint32 forEachRow(Row row)
    {
        int rc;
        while ((rc = step()) == SQLITE_ROW)
            row(*this);
        return rc == SQLITE_DONE ? Win32Error::Success : win32FromSqlite(rc);
    }
    /// Runs a statement that returns no rows (or whose rows are not needed).
    qint32 runToEnd()
    {
        return forEachRow([](const Query &) {});
    }

    qint64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    QString text(int column) const
    {
        const auto *chars = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
        return QString::fromUtf8(chars, sqlite3_column_bytes(m_stmt, column));
    }
    QByteArray blob(int column) const
    {
        const auto *bytes = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
        return QByteArray(bytes, bytes ? sqlite3_column_bytes(m_stmt, column) : 0);
    }

private:
    sqlite3_stmt *m_stmt = nullptr;
    int m_index = 0;
    int m_rc = SQLITE_OK;
};

// BEGIN IMMEDIATE takes the write lock at once (waiting up to the busy
// timeout), so two writers never both read and then collide on commit. Rolls
// back unless committed. Inside a scope the first write opens the scope's
// transaction and every write is a savepoint in it, so a failing write still
// leaves nothing of itself behind. The schema is laid out by a transaction of
// its own (Standalone): a scope that rolls back must not take the tables with it.
class HiveTransaction
{
public:
    enum class Kind { Scoped, Standalone };

    explicit HiveTransaction(HiveFile &hive, Kind kind = Kind::Scoped)
        : m_hive(hive)
    {
        if (kind == Kind::Scoped && hive.m_scope == HiveFile::Scope::Pending) {
            if ((m_rc = hive.run(HiveFile::Statement::Begin)))
                return;
            hive.m_scope = HiveFile::Scope::Open;
        }
        m_savepoint = kind == Kind::Scoped && hive.m_scope == HiveFile::Scope::Open;
        m_rc = hive.run(m_savepoint ? HiveFile::Statement::Savepoint : HiveFile::Statement::Begin);
    }
    ~HiveTransaction()
    {
        if (m_rc == Win32Error::Success && !m_done)
            undo();
    }
    HiveTransaction(const HiveTransaction &) = delete;
    HiveTransaction &operator=(const HiveTransaction &) = delete;

    qint32 begun() const { return m_rc; }
    qint32 commit()
    {
        m_done = true;
        const qint32 rc = m_hive.run(m_savepoint ? HiveFile::Statement::ReleaseSavepoint : HiveFile::Statement::Commit);
        if (rc != Win32Error::Success)
            undo();
        return rc;
    }

private:
    void undo()
    {
        if (m_savepoint) {
            m_hive.run(HiveFile::Statement::RollbackToSavepoint);
            m_hive.run(HiveFile::Statement::ReleaseSavepoint);
        } else {
            m_hive.run(HiveFile::Statement::Rollback);
        }
    }

    HiveFile &m_hive;
    qint32 m_rc = Win32Error::Success;
    bool m_savepoint = false;
    bool m_done = false;
};

void HiveFile::DatabaseCloser::operator()(sqlite3 *db) const
{
    sqlite3_close_v2(db);
}

void HiveFile::StatementFinalizer::operator()(sqlite3_stmt *stmt) const
{
    sqlite3_finalize(stmt);
}

HiveFile::HiveFile(QString fileName, HiveReaders readers)
    : m_fileName(std::move(fileName))
    , m_readers(readers)
{ }

HiveFile::~HiveFile()
{
    // Statements must go before their connection.
    for (auto &stmt : m_statements)
        stmt.reset();
}

qint32 HiveFile::connect(Access access, bool immutable)
{
    // Only a hive that was never written reconnects, so no open transaction is lost.
    Q_ASSERT(m_scope != Scope::Open);
    for (auto &stmt : m_statements)
        stmt.reset();
    m_db.reset();
    m_ready = false;

    QByteArray name = QFile::encodeName(m_fileName);
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (access == Access::Write)
        flags |= SQLITE_OPEN_CREATE;
    if (immutable) {
        // The last resort for a file we may only read whose WAL files are gone:
        // SQLite then reads the main file alone.
        name = QUrl::fromLocalFile(m_fileName).toEncoded() + "?immutable=1";
        flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
    }
    sqlite3 *raw = nullptr;
    int rc = sqlite3_open_v2(name.constData(), &raw, flags, nullptr);
    std::unique_ptr<sqlite3, DatabaseCloser> db(raw); // closed even when opening failed
    if (rc != SQLITE_OK)
        return win32FromSqlite(rc);
    if ((rc = sqlite3_busy_timeout(raw, BusyTimeoutMs)) != SQLITE_OK)
        return win32FromSqlite(rc);
    // Keep the -wal and -shm files after the last connection closes: a reader
    // without write permission (the machine hive for an ordinary user) can
    // only read a WAL database while they exist.
    int persist = 1;
    if (!immutable && (rc = sqlite3_file_control(raw, "main", SQLITE_FCNTL_PERSIST_WAL, &persist)) != SQLITE_OK)
        return win32FromSqlite(rc);
    m_readOnly = immutable || sqlite3_db_readonly(raw, "main") == 1;
    // In WAL mode NORMAL still commits atomically; a power cut may only lose
    // the newest transactions, never half of one. A connection that cannot
    // commit skips it: the pragma reads the schema, which may need the
    // immutable fallback of open() first.
    if (!m_readOnly && (rc = sqlite3_exec(raw, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr)) != SQLITE_OK)
        return win32FromSqlite(rc);
    m_db = std::move(db);
    return Win32Error::Success;
}

qint32 HiveFile::exec(const char *sql)
{
    char *message = nullptr;
    const int rc = sqlite3_exec(m_db.get(), sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    return win32FromSqlite(rc);
}

qint32 HiveFile::run(Statement which)
{
    return Query(*this, which).runToEnd();
}

qint32 HiveFile::readSchemaVersion(int *version)
{
    sqlite3_stmt *raw = nullptr;
    int rc = sqlite3_prepare_v2(m_db.get(), "PRAGMA user_version", -1, &raw, nullptr);
    const std::unique_ptr<sqlite3_stmt, StatementFinalizer> stmt(raw);
    if (rc != SQLITE_OK)
        return win32FromSqlite(rc);
    if (const qint32 found = rowFound(sqlite3_step(raw), Win32Error::RegistryCorrupt))
        return found;
    *version = sqlite3_column_int(raw, 0);
    return Win32Error::Success;
}

qint32 HiveFile::open(Access access)
{
    if (!m_db) {
        if (access == Access::Read && !QFileInfo::exists(m_fileName))
            return Win32Error::FileNotFound;
        // An earlier version made the user's hive readable by all.
        if (m_readers == HiveReaders::Owner)
            tightenPrivateHive(m_fileName);
        if (access == Access::Write && !makeHiveFile(m_fileName, m_readers))
            return Win32Error::AccessDenied;
        if (const qint32 rc = connect(access, false))
            return rc;
    }
    if (access == Access::Write)
        return m_readOnly ? Win32Error::AccessDenied : m_ready ? Win32Error::Success : prepareForWriting();
    if (m_ready)
        return Win32Error::Success;

    int version = 0;
    qint32 rc = readSchemaVersion(&version);
    if (rc != Win32Error::Success && m_readOnly) {
        if (const qint32 reopened = connect(Access::Read, true))
            return reopened;
        rc = readSchemaVersion(&version);
    }
    if (rc != Win32Error::Success)
        return rc;
    if (version == 0) // made by a writer that has not laid out its tables yet
        return Win32Error::FileNotFound;
    if (version != SchemaVersion)
        return Win32Error::BadDatabase;
    m_ready = true;
    return Win32Error::Success;
}

qint32 HiveFile::prepareForWriting()
{
    // Outside any transaction: the journal mode cannot change inside one.
    // It is stored in the file, so this is a no-op after the first time.
    if (const qint32 rc = exec("PRAGMA journal_mode = WAL"))
        return rc;
    HiveTransaction tx(*this, HiveTransaction::Kind::Standalone);
    if (const qint32 rc = tx.begun())
        return rc;
    int version = 0;
    if (const qint32 rc = readSchemaVersion(&version))
        return rc;
    if (version == 0) {
        if (const qint32 rc = exec(SchemaSql))
            return rc;
    } else if (version != SchemaVersion) {
        return Win32Error::BadDatabase;
    }
    if (const qint32 rc = tx.commit())
        return rc;
    m_ready = true;
    return Win32Error::Success;
}

sqlite3_stmt *HiveFile::statement(Statement which, int *rc)
{
    static_assert(std::size(StatementSql) == size_t(Statement::Count));
    auto &slot = m_statements[size_t(which)];
    *rc = SQLITE_OK;
    if (!slot) {
        sqlite3_stmt *raw = nullptr;
        *rc = sqlite3_prepare_v3(m_db.get(), StatementSql[size_t(which)], -1, SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
        slot.reset(raw);
        if (*rc != SQLITE_OK)
            slot.reset();
    }
    return slot.get();
}

template <typename Arg, typename Read>
qint32 HiveFile::readRow(Statement which, qint64 key, const Arg &arg, qint32 missing, Read read)
{
    if (qint32 rc = open(Access::Read))
        return rc == Win32Error::FileNotFound ? missing : rc;
    int step;
    {
        Query q(*this, which);
        if ((step = q.bind(key).bind(arg).step()) == SQLITE_ROW) {
            read(q);
            return Win32Error::Success;
        }
    }
    if (step != SQLITE_DONE)
        return win32FromSqlite(step);
    if (qint32 rc = checkKey(key))
        return rc;
    return missing;
}

template <typename Read> qint32 HiveFile::readRows(Statement which, qint64 key, Read read)
{
    if (qint32 rc = open(Access::Read))
        return rc == Win32Error::FileNotFound ? Win32Error::Success : rc;
    if (qint32 rc = checkKey(key))
        return rc;
    return Query(*this, which).bind(key).forEachRow(read);
}

template <typename Change> qint32 HiveFile::writeTo(qint64 key, Change change)
{
    if (qint32 rc = open(Access::Write))
        return rc;
    HiveTransaction tx(*this);
    if (qint32 rc = tx.begun())
        return rc;
    if (qint32 rc = checkKey(key))
        return rc;
    if (qint32 rc = change())
        return rc;
    return tx.commit();
}

qint32 HiveFile::checkWritable()
{
    return open(Access::Write);
}

qint32 HiveFile::checkKey(qint64 key)
{
    return rowFound(Query(*this, Statement::KeyExists).bind(key).step(), Win32Error::KeyDeleted);
}

qint32 HiveFile::findKey(const QString &foldedPath, qint64 *id)
{
    if (qint32 rc = open(Access::Read)) {
        if (rc == Win32Error::FileNotFound && foldedPath.isEmpty()) {
            *id = RootKey; // the root of an empty hive
            return Win32Error::Success;
        }
        return rc;
    }
    Query q(*this, Statement::FindKey);
    if (qint32 rc = rowFound(q.bind(foldedPath).step(), Win32Error::FileNotFound))
        return rc;
    *id = q.integer(0);
    return Win32Error::Success;
}

qint32 HiveFile::insertKey(qint64 parent, const QString &name, const QString &path, qint64 *id)
{
    Query q(*this, Statement::InsertKey);
    // Sub-keys are listed in the order of their upper-cased names, as the
    // original registry sorts them.
    if (qint32 rc = q.bind(parent).bind(name).bind(path).bind(name.toUpper()).runToEnd())
        return rc;
    *id = sqlite3_last_insert_rowid(m_db.get());
    return Win32Error::Success;
}

qint32 HiveFile::createKey(qint64 parent, const QString &parentPath, const QStringList &components, qint64 *id,
                           bool *created)
{
    qint64 current = parent;
    const qint32 rc = writeTo(parent, [&] {
        *created = false;
        QString path = parentPath;
        for (const QString &name : components) {
            if (!path.isEmpty())
                path += u'\\';
            path += fold(name);
            qint64 found = 0;
            const qint32 rc = findKey(path, &found);
            if (rc == Win32Error::Success) {
                current = found;
                *created = false;
                continue;
            }
            if (rc != Win32Error::FileNotFound)
                return rc;
            if (qint32 inserted = insertKey(current, name, path, &current))
                return inserted;
            *created = true;
        }
        return Win32Error::Success;
    });
    if (rc == Win32Error::Success)
        *id = current;
    return rc;
}

qint32 HiveFile::deleteKey(qint64 key, bool onlyIfEmpty)
{
    if (qint32 rc = open(Access::Read))
        return rc == Win32Error::FileNotFound ? Win32Error::KeyDeleted : rc;
    if (qint32 rc = open(Access::Write))
        return rc;
    HiveTransaction tx(*this);
    if (qint32 rc = tx.begun())
        return rc;
    QString path;
    {
        Query q(*this, Statement::KeyPath);
        if (qint32 rc = rowFound(q.bind(key).step(), Win32Error::KeyDeleted))
            return rc;
        path = q.text(0);
    }
    if (onlyIfEmpty) {
        Query q(*this, Statement::CountChildren);
        if (qint32 rc = rowFound(q.bind(key).step(), Win32Error::RegistryCorrupt))
            return rc;
        if (q.integer(0) != 0)
            return Win32Error::KeyHasChildren;
    }
    for (Statement which : {Statement::DeleteTreeValues, Statement::DeleteTreeKeys}) {
        if (qint32 rc = Query(*this, which).bind(path).runToEnd())
            return rc;
    }
    return tx.commit();
}

qint32 HiveFile::queryValue(qint64 key, const QString &name, quint32 *type, QByteArray *data)
{
    return readRow(Statement::QueryValue, key, fold(name), Win32Error::FileNotFound, [&](const Query &q) {
        *type = quint32(q.integer(0));
        *data = q.blob(1);
    });
}

qint32 HiveFile::setValue(qint64 key, const QString &name, quint32 type, const QByteArray &data)
{
    return writeTo(key, [&] {
        Query q(*this, Statement::UpsertValue);
        return q.bind(key).bind(name).bind(fold(name)).bind(qint64(type)).bindBlob(data).runToEnd();
    });
}

qint32 HiveFile::deleteValue(qint64 key, const QString &name)
{
    if (qint32 rc = open(Access::Read))
        return rc;
    return writeTo(key, [&] {
        if (qint32 rc = Query(*this, Statement::DeleteValue).bind(key).bind(fold(name)).runToEnd())
            return rc;
        return sqlite3_changes(m_db.get()) == 0 ? Win32Error::FileNotFound : Win32Error::Success;
    });
}

qint32 HiveFile::subKeyAt(qint64 key, quint32 index, QString *name)
{
    return readRow(Statement::SubKeyAt, key, qint64(index), Win32Error::NoMoreItems,
                   [&](const Query &q) { *name = q.text(0); });
}

qint32 HiveFile::valueAt(qint64 key, quint32 index, QString *name, quint32 *type, QByteArray *data)
{
    return readRow(Statement::ValueAt, key, qint64(index), Win32Error::NoMoreItems, [&](const Query &q) {
        *name = q.text(0);
        *type = quint32(q.integer(1));
        *data = q.blob(2);
    });
}

qint32 HiveFile::subKeyNames(qint64 key, QStringList *names)
{
    names->clear();
    return readRows(Statement::SubKeyNames, key, [&](const Query &q) { names->append(q.text(0)); });
}

qint32 HiveFile::valueNames(qint64 key, QStringList *names, quint32 *maxDataSize)
{
    names->clear();
    *maxDataSize = 0;
    return readRows(Statement::ValueNames, key, [&](const Query &q) {
        names->append(q.text(0));
        *maxDataSize = std::max(*maxDataSize, quint32(q.integer(1)));
    });
}

void HiveFile::beginScope()
{
    m_scope = Scope::Pending;
}

qint32 HiveFile::endScope(bool commit)
{
    const Scope scope = std::exchange(m_scope, Scope::None);
    if (scope != Scope::Open)
        return Win32Error::Success;
    if (!commit)
        return run(Statement::Rollback);
    const qint32 rc = run(Statement::Commit);
    if (rc != Win32Error::Success)
        run(Statement::Rollback);
    return rc;
}

} // namespace tessera
