#include "lib/system/tools/RegFile.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {

using namespace tessera;
using namespace tessera::regtool;

QByteArray utf16(const QString &text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return encoder.encode(text);
}

QByteArray utf16WithBom(const QString &text)
{
    return QByteArray("\xFF\xFE") + utf16(text);
}

TEST(RegFileTest, ReadsTheRegistryEditorsOwnUtf16Files)
{
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                        "; exported by the platform's editor\r\n"
                                        "[HKEY_CURRENT_USER\\Software\\Ключ]\r\n"
                                        "@=\"Значение \\\"в кавычках\\\" \\\\ конец\"\r\n"
                                        "\"Count\"=dword:0000002A\r\n"
                                        "\"Path\"=hex(2):25,00,41,00,\\\r\n"
                                        "  25,00,00,00\r\n"
                                        "\"Empty\"=hex:\r\n\r\n"
                                        "[hkcu\\Software\\Ключ\\Sub\\]\r\n");
    QString error;
    const std::optional<QList<RegKey>> keys = RegFile::parse(utf16WithBom(text), &error);
    ASSERT_TRUE(keys) << qPrintable(error);
    ASSERT_EQ(keys->size(), 2);
    EXPECT_EQ(keys->at(0).path.root, Registry::HKEY_CURRENT_USER);
    EXPECT_EQ(keys->at(0).path.subKey, QStringLiteral("Software\\Ключ"));
    EXPECT_EQ(keys->at(1).path.subKey, QStringLiteral("Software\\Ключ\\Sub"));
    const QList<RegValue> expected = {
        {QString(), Registry::REG_SZ, QStringLiteral("Значение \"в кавычках\" \\ конец").toUtf8() + '\0'},
        {QStringLiteral("Count"), Registry::REG_DWORD, QByteArray("\x2A\0\0\0", 4)},
        {QStringLiteral("Path"), Registry::REG_EXPAND_SZ, QByteArray("%\0A\0%\0\0\0", 8)},
        {QStringLiteral("Empty"), Registry::REG_BINARY, QByteArray()},
    };
    EXPECT_EQ(keys->at(0).values, expected);
}

TEST(RegFileTest, RejectsEveryDamagedFileWhole)
{
    const QByteArray header = "Windows Registry Editor Version 5.00\n";
    const struct {
        QByteArray file;
        int line;
    } cases[] = {
        {"", 0},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n", 1},
        {header + "\"a\"=\"b\"\n", 2},
        {header + "[HKEY_CURRENT_USER\\A\n", 2},
        {header + "[HKEY_NOWHERE\\A]\n", 2},
        {header + "[HKCU\\\\A]\n", 2},
        {header + "[-HKEY_CURRENT_USER\\A]\n", 2},
        {header + "[HKCU\\A]\n\"a\"=-\n", 3},
        {header + "[HKCU\\A]\n\"a\"=\"unterminated\n", 3},
        {header + "[HKCU\\A]\n\"a\"=\"bad \\n escape\"\n", 3},
        {header + "[HKCU\\A]\n\"a\"=\"text\" trailing\n", 3},
        {header + "[HKCU\\A]\n\"a\" \"b\"\n", 3},
        {header + "[HKCU\\A]\n\"a\"=dword:123456789\n", 3},
        {header + "[HKCU\\A]\n\"a\"=dword:\n", 3},
        {header + "[HKCU\\A]\n\"a\"=hex:01,2g\n", 3},
        {header + "[HKCU\\A]\n\"a\"=hex:01,,02\n", 3},
        {header + "[HKCU\\A]\n\"a\"=hex:100\n", 3},
        {header + "[HKCU\\A]\n\"a\"=hex(1:01\n", 3},
        {header + "[HKCU\\A]\n\"a\"=hex:01,\\\n", 4},
        {header + "[HKCU\\A]\n\"a\"=string\n", 3},
        {header + "[HKCU\\A]\nname=\"x\"\n", 3},
        {header + "[HKCU\\A]\n\"a\"=\"\xC3\x28\"\n", 0}, // not UTF-8
        {"\xFF\xFE" + QByteArray("W\0i\0", 4) + "\0", 0}, // odd UTF-16
        // Unpaired surrogates: no UTF-8 can carry them, so an export would not read back
        {utf16WithBom(QString::fromLatin1(header + "[HKCU\\A]\n\"a")) + "\xCE\xDD" + utf16("\"=\"x\"\n"), 0},
        {utf16WithBom(QString::fromLatin1(header + "[HKCU\\A]\n\"a\"=\"")) + "\x3D\xD8" + utf16("\"\n"), 0},
        {utf16WithBom(QString::fromLatin1(header + "[HKCU\\A]\n")) + "\x3D\xD8", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.constData());
        QString error;
        EXPECT_FALSE(RegFile::parse(c.file, &error));
        if (c.line > 0)
            EXPECT_TRUE(error.startsWith(QStringLiteral("line %1:").arg(c.line))) << qPrintable(error);
        else
            EXPECT_FALSE(error.isEmpty());
    }
}

TEST(RegFileTest, WritesTextThatReadsBackByteForByte)
{
    const QList<RegValue> values = {
        {QString(), Registry::REG_SZ, QByteArray("plain \"quoted\" \\ text", 22)},
        {QStringLiteral("Юникод \"name\" \\"), Registry::REG_SZ, QStringLiteral("✓ 𝄞").toUtf8() + '\0'},
        {QStringLiteral("no nul"), Registry::REG_SZ, QByteArray("abc")},
        {QStringLiteral("byte order mark"), Registry::REG_SZ,
         QByteArray("\xEF\xBB\xBF"
                    "def\0",
                    7)},
        {QStringLiteral("two nuls"), Registry::REG_SZ, QByteArray("a\0b\0", 4)},
        {QStringLiteral("not utf-8"), Registry::REG_SZ, QByteArray("\xC3\x28\0", 3)},
        {QStringLiteral("line break"), Registry::REG_SZ, QByteArray("a\r\nb\0", 5)},
        {QStringLiteral("empty"), Registry::REG_SZ, QByteArray()},
        {QStringLiteral("dword"), Registry::REG_DWORD, QByteArray("\x01\x02\x03\x04", 4)},
        {QStringLiteral("short dword"), Registry::REG_DWORD, QByteArray("\x01\x02", 2)},
        {QStringLiteral("long binary"), Registry::REG_BINARY, QByteArray(300, '\xAB')},
        {QStringLiteral("odd type"), 0xDEADBEEF, QByteArray("x")},
        {QStringLiteral("  spaced  "), Registry::REG_NONE, QByteArray()},
    };
    const QList<RegKey> keys = {
        {{Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\A ] B")}, values},
        {{Registry::HKEY_LOCAL_MACHINE, QString()}, {}},
        {{Registry::HKEY_CLASSES_ROOT, QStringLiteral(".x")}, {}},
    };
    QString error;
    const std::optional<QByteArray> file = RegFile::write(keys, &error);
    ASSERT_TRUE(file) << qPrintable(error);
    for (const QByteArray &line : file->split('\n'))
        EXPECT_LE(line.size(), 80) << line.constData();
    EXPECT_TRUE(file->contains("@=\"plain \\\"quoted\\\" \\\\ text\"\n"));
    EXPECT_TRUE(file->contains("\"dword\"=dword:04030201\n"));
    EXPECT_TRUE(file->contains("\"not utf-8\"=hex(1):c3,28,00\n"));

    const std::optional<QList<RegKey>> back = RegFile::parse(*file, &error);
    ASSERT_TRUE(back) << qPrintable(error);
    ASSERT_EQ(back->size(), keys.size());
    for (qsizetype i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(back->at(i).path.root, keys.at(i).path.root);
        EXPECT_EQ(back->at(i).path.subKey, keys.at(i).path.subKey);
        EXPECT_EQ(back->at(i).values, keys.at(i).values);
    }

    EXPECT_FALSE(RegFile::write({{{Registry::HKEY_CURRENT_USER, QStringLiteral("A")},
                                  {{QStringLiteral("line\nbreak"), Registry::REG_SZ, QByteArray("x\0", 2)}}}},
                                &error));
    EXPECT_TRUE(error.contains(QStringLiteral("line break")));
}

} // namespace
