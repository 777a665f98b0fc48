// tessera-reg as users run it: export and import between hives, the
// all-or-nothing import, and the single-value operations.
#include "lib/system/tools/RegFile.h"
#include "platform/Win32Error.h"
#include "tests/lib/system/SettingsTestSupport.h"
#include "tests/platform/RegistryFixture.h"

#include <QDir>
#include <QFile>
#include <QMap>

#include <sys/stat.h>

namespace {

using corvid::test::RegistryFixture;
using corvid::test::runProgram;
using namespace tessera;
using namespace tessera::regtool;

const QString Tool = QStringLiteral("tessera-reg");

// Every key below \a path and its values, keyed by folded path.
using Tree = QMap<QString, QList<RegValue>>;

void collect(HKEY root, const QString &path, Tree *tree)
{
    Registry::ScopedKey key;
    ASSERT_EQ(Registry::RegOpenKeyEx(root, path, Registry::KEY_READ, &key.handle), 0) << qPrintable(path);
    QList<RegValue> &values = (*tree)[path];
    RegValue value;
    for (quint32 i = 0; Registry::RegEnumValue(key.handle, i, &value.name, &value.type, &value.data) == 0; ++i)
        values.append(value);
    QString name;
    for (quint32 i = 0; Registry::RegEnumKey(key.handle, i, &name) == 0; ++i)
        collect(root, path + u'\\' + name, tree);
}

class RegToolTest : public RegistryFixture
{
protected:
    QString file(const QString &name) const { return path(name); }

    static QByteArray readFile(const QString &fileName)
    {
        QFile f(fileName);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    static void writeFile(const QString &fileName, const QByteArray &data)
    {
        QFile f(fileName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
};

TEST_F(RegToolTest, ExportThenImportIntoAnEmptyHiveReproducesEveryValue)
{
    const QString base = QStringLiteral("Software\\Sablewing\\Backup");
    const HKEY key = create(Registry::HKEY_CURRENT_USER, base);
    set(key, QString(), QStringLiteral("default ✓").toUtf8() + '\0', Registry::REG_SZ);
    set(key, QStringLiteral("Quote \" and \\ and ]"), QByteArray("\"[x]\"\0", 6), Registry::REG_SZ);
    set(key, QStringLiteral("Bad UTF-8"), QByteArray("\xFF\xFE\0", 3), Registry::REG_SZ);
    set(key, QStringLiteral("Inner NUL"), QByteArray("a\0b\0", 4), Registry::REG_SZ);
    set(key, QStringLiteral("Lines"), QByteArray("one\r\ntwo\0", 9), Registry::REG_SZ);
    set(key, QStringLiteral("Empty"), QByteArray(), Registry::REG_SZ);
    set(key, QStringLiteral("Number"), QByteArray("\x2A\0\0\x80", 4), Registry::REG_DWORD);
    set(key, QStringLiteral("Short number"), QByteArray("\x2A", 1), Registry::REG_DWORD);
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    set(key, QStringLiteral("All bytes"), all, Registry::REG_BINARY);
    set(key, QStringLiteral("Odd type"), QByteArray("xyz"), 0x12345);
    set(create(Registry::HKEY_CURRENT_USER, base + QStringLiteral("\\Ключ\\Deeper")), QStringLiteral("Имя"), "v",
        Registry::REG_EXPAND_SZ);
    create(Registry::HKEY_CURRENT_USER, base + QStringLiteral("\\Empty key"));
    create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Sablewing\\Other")); // not exported

    Tree before;
    collect(Registry::HKEY_CURRENT_USER, base, &before);
    const QString exported = file(QStringLiteral("backup.reg"));
    // The key as typed in another case: the file keeps the stored spelling.
    const auto run
        = runProgram(Tool, {QStringLiteral("export"), QStringLiteral("hkcu\\SOFTWARE\\sablewing\\backup"), exported});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_TRUE(readFile(exported).contains("[HKEY_CURRENT_USER\\Software\\Sablewing\\Backup]\n"));

    pointHivesAt(path(QStringLiteral("empty-user")), path(QStringLiteral("empty-machine")));
    const auto imported = runProgram(Tool, {QStringLiteral("import"), exported});
    ASSERT_EQ(imported.exitCode, 0) << qPrintable(imported.err);
    Tree after;
    collect(Registry::HKEY_CURRENT_USER, base, &after);
    EXPECT_EQ(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        SCOPED_TRACE(qPrintable(it.key()));
        EXPECT_EQ(after.value(it.key()), it.value());
    }
    EXPECT_EQ(open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Sablewing\\Other")), 0u);
}

TEST_F(RegToolTest, AnImportWritesAllOrNothing)
{
    const QByteArray good = "Windows Registry Editor Version 5.00\n\n"
                            "[HKEY_CURRENT_USER\\Software\\Import]\n\"a\"=\"1\"\n\n"
                            "[HKEY_LOCAL_MACHINE\\Software\\Import]\n\"m\"=dword:00000001\n";
    const struct {
        const char *what;
        QByteArray tail;
    } broken[] = {
        {"a damaged last line", "\"b\"=hex:zz\n"},
        // Parses, but the platform refuses to write there: what came before is rolled back.
        {"a root that is not kept", "\n[HKEY_USERS\\.DEFAULT\\Software]\n\"c\"=\"3\"\n"},
    };
    for (const auto &c : broken) {
        SCOPED_TRACE(c.what);
        writeFile(file(QStringLiteral("broken.reg")), good + c.tail);
        const auto run = runProgram(Tool, {QStringLiteral("import"), file(QStringLiteral("broken.reg"))});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(QStringLiteral("Nothing was imported"))) << qPrintable(run.err);
        EXPECT_EQ(open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Import")), 0u);
        EXPECT_EQ(open(Registry::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Import")), 0u);
    }
    writeFile(file(QStringLiteral("good.reg")), good);
    EXPECT_EQ(runProgram(Tool, {QStringLiteral("import"), file(QStringLiteral("good.reg"))}).exitCode, 0);
    EXPECT_EQ(get(open(Registry::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Import")), QStringLiteral("m")),
              QByteArray("\1\0\0\0", 4));
}

TEST_F(RegToolTest, AnImportReadsOnlyRegularFilesUpTo64MB)
{
    constexpr qint64 Limit = 64 * 1024 * 1024;
    const QString fifo = file(QStringLiteral("pipe.reg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = file(QStringLiteral("folder.reg"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const auto sparse = [this](const QString &name, qint64 size) {
        QFile f(file(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(size));
        return f.fileName();
    };
    const struct {
        QString fileName;
        QString reason; // empty: read, and refused as no registry file
    } cases[] = {
        // Nobody writes into the pipe: opening it must not wait for a writer.
        {fifo, QStringLiteral("not a regular file")},
        {folder, QStringLiteral("not a regular file")},
        {QStringLiteral("/dev/zero"), QStringLiteral("not a regular file")},
        {sparse(QStringLiteral("over.reg"), Limit + 1), QStringLiteral("larger than 64 MB")},
        {sparse(QStringLiteral("limit.reg"), Limit), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.fileName));
        const auto run = runProgram(Tool, {QStringLiteral("import"), c.fileName});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.count(u'\n'), 1) << qPrintable(run.err);
        EXPECT_TRUE(run.err.contains(QStringLiteral("Nothing was imported"))) << qPrintable(run.err);
        if (c.reason.isEmpty())
            EXPECT_FALSE(run.err.contains(QStringLiteral("64 MB"))) << qPrintable(run.err);
        else
            EXPECT_TRUE(run.err.contains(c.fileName + QStringLiteral(": ") + c.reason)) << qPrintable(run.err);
    }
}

TEST_F(RegToolTest, AddQueryAndDeleteSingleValues)
{
    const QString key = QStringLiteral("HKCU\\Software\\Tool");
    EXPECT_EQ(runProgram(Tool,
                         {QStringLiteral("add"), key, QStringLiteral("/v"), QStringLiteral("Text"),
                          QStringLiteral("/d"), QStringLiteral("Привет")})
                  .exitCode,
              0);
    EXPECT_EQ(runProgram(Tool,
                         {QStringLiteral("add"), key, QStringLiteral("/v"), QStringLiteral("N"), QStringLiteral("/t"),
                          QStringLiteral("REG_DWORD"), QStringLiteral("/d"), QStringLiteral("0xFFFFFFFF")})
                  .exitCode,
              0);
    EXPECT_EQ(runProgram(Tool,
                         {QStringLiteral("add"), key, QStringLiteral("/ve"), QStringLiteral("/t"),
                          QStringLiteral("REG_BINARY"), QStringLiteral("/d"), QStringLiteral("00ff10")})
                  .exitCode,
              0);
    const HKEY handle = open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Tool"));
    EXPECT_EQ(get(handle, QStringLiteral("Text")), QStringLiteral("Привет").toUtf8() + '\0');
    EXPECT_EQ(get(handle, QStringLiteral("N")), QByteArray("\xFF\xFF\xFF\xFF", 4));
    EXPECT_EQ(get(handle, QString()), QByteArray("\x00\xFF\x10", 3));

    for (const QStringList &refused :
         {QStringList {"add", key, "/v", "N", "/t", "REG_DWORD", "/d", "4294967296"},
          QStringList {"add", key, "/v", "B", "/t", "REG_BINARY", "/d", "0g"},
          QStringList {"add", key, "/v", "B", "/t", "REG_MULTI_SZ"}, QStringList {"add", key, "/v"},
          QStringList {"query", "HKXX\\Software"}, QStringList {"query", key, "/x"}})
        EXPECT_EQ(runProgram(Tool, refused).exitCode, 1) << qPrintable(refused.join(u' '));

    // An existing value is replaced only when the user agrees (or /f).
    const QStringList overwrite = {"add", key, "/v", "Text", "/d", "new"};
    EXPECT_EQ(runProgram(Tool, overwrite, "no\n").exitCode, 1);
    EXPECT_EQ(runProgram(Tool, overwrite).exitCode, 1); // no answer at all
    EXPECT_EQ(get(handle, QStringLiteral("Text")), QStringLiteral("Привет").toUtf8() + '\0');
    EXPECT_EQ(runProgram(Tool, overwrite, "yes\n").exitCode, 0);
    EXPECT_EQ(get(handle, QStringLiteral("Text")), QByteArray("new\0", 4));

    const auto query = runProgram(Tool, {QStringLiteral("query"), key});
    EXPECT_EQ(query.exitCode, 0);
    EXPECT_TRUE(query.out.contains(QStringLiteral("    Text    REG_SZ    new\n"))) << qPrintable(query.out);
    EXPECT_TRUE(query.out.contains(QStringLiteral("    N    REG_DWORD    0xffffffff\n")));
    EXPECT_TRUE(query.out.contains(QStringLiteral("    (Default)    REG_BINARY    00FF10\n")));

    EXPECT_EQ(runProgram(Tool, {"delete", key, "/v", "N", "/f"}).exitCode, 0);
    EXPECT_EQ(get(handle, QStringLiteral("N")), std::nullopt);
    EXPECT_EQ(runProgram(Tool, {"delete", key, "/v", "N", "/f"}).exitCode, 1);
    EXPECT_EQ(runProgram(Tool, {"delete", key}, "n\n").exitCode, 1);
    EXPECT_NE(open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Tool")), 0u);
    EXPECT_EQ(runProgram(Tool, {"delete", key, "/f"}).exitCode, 0);
    EXPECT_EQ(open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Tool")), 0u);
}

} // namespace
