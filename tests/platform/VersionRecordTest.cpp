// The version record read back from executables: one that carries it (built
// by corvid_version_record), this test program, which does not, and images
// made here in every ELF class and byte order, whole and broken.
#include "platform/VersionRecord.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using tessera::VersionRecord;

namespace {

// An ELF image: a header, one program-header table and the notes of one
// PT_NOTE segment, in either class and byte order.
struct ImageSpec {
    bool wide = true;
    bool bigEndian = false;
    quint16 type = 3; // ET_DYN
    quint32 noteAlign = 4;
    QList<QByteArray> notes; // whole notes, each already padded
    quint64 segmentSizeDelta = 0; // added to the true size of the notes
    qsizetype cutAt = -1; // the image ends here
};

template <typename T> void put(QByteArray &image, qsizetype at, T value, bool bigEndian)
{
    if (image.size() < at + qsizetype(sizeof(T)))
        image.resize(at + qsizetype(sizeof(T)), '\0');
    uchar *p = reinterpret_cast<uchar *>(image.data()) + at;
    bigEndian ? qToBigEndian(value, p) : qToLittleEndian(value, p);
}

QByteArray note(const QByteArray &owner, quint32 type, const QByteArray &description, bool bigEndian,
                qsizetype align = 4)
{
    QByteArray n;
    put<quint32>(n, 0, quint32(owner.size() + 1), bigEndian);
    put<quint32>(n, 4, quint32(description.size()), bigEndian);
    put<quint32>(n, 8, type, bigEndian);
    n += owner + '\0';
    while (n.size() % align)
        n += '\0';
    n += description;
    while (n.size() % align)
        n += '\0';
    return n;
}

QByteArray image(const ImageSpec &s)
{
    const qsizetype headerSize = s.wide ? 64 : 52;
    const qsizetype entrySize = s.wide ? 56 : 32;
    const qsizetype notesAt = headerSize + 2 * entrySize;
    QByteArray notes;
    for (const QByteArray &n : s.notes)
        notes += n;
    QByteArray elf("\x7F"
                   "ELF",
                   4);
    elf += char(s.wide ? 2 : 1);
    elf += char(s.bigEndian ? 2 : 1);
    elf += char(1);
    const bool be = s.bigEndian;
    put<quint16>(elf, 16, s.type, be);
    if (s.wide) {
        put<quint64>(elf, 32, quint64(headerSize), be);
        put<quint16>(elf, 54, quint16(entrySize), be);
        put<quint16>(elf, 56, 2, be);
    } else {
        put<quint32>(elf, 28, quint32(headerSize), be);
        put<quint16>(elf, 42, quint16(entrySize), be);
        put<quint16>(elf, 44, 2, be);
    }
    elf.resize(headerSize, '\0');
    // A PT_LOAD first, then the PT_NOTE.
    put<quint32>(elf, headerSize, 1, be);
    const qsizetype entry = headerSize + entrySize;
    put<quint32>(elf, entry, 4, be);
    const quint64 size = quint64(notes.size()) + s.segmentSizeDelta;
    if (s.wide) {
        put<quint64>(elf, entry + 8, quint64(notesAt), be);
        put<quint64>(elf, entry + 32, size, be);
        put<quint64>(elf, entry + 48, s.noteAlign, be);
    } else {
        put<quint32>(elf, entry + 4, quint32(notesAt), be);
        put<quint32>(elf, entry + 16, quint32(size), be);
        put<quint32>(elf, entry + 28, s.noteAlign, be);
    }
    elf.resize(notesAt, '\0');
    elf += notes;
    if (s.cutAt >= 0)
        elf.truncate(s.cutAt);
    return elf;
}

// Texts each ended by a zero byte, as a record holds them.
QByteArray texts(std::initializer_list<const char *> list)
{
    QByteArray bytes;
    for (const char *text : list)
        bytes += QByteArray(text) + '\0';
    return bytes;
}

const QByteArray Pairs = texts({"InternalName", "Quillon", "FileVersion", "1.0.39"});

TEST(VersionRecord, ReadsTheRecordOfABuiltProgramAndNoneFromOneWithout)
{
    const std::optional<VersionRecord> probe = VersionRecord::fromFile(QStringLiteral(CORVID_VERSION_RECORD_PROBE));
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->value(QStringLiteral("InternalName")), QStringLiteral("Probe"));
    EXPECT_EQ(probe->value(QStringLiteral("FileVersion")), QStringLiteral("2.3.4"));
    EXPECT_EQ(probe->value(QStringLiteral("ProductName")), QStringLiteral("Corvid"));
    EXPECT_EQ(probe->value(QStringLiteral("FileDescription")), QStringLiteral("Проба записи"));
    EXPECT_EQ(probe->value(QStringLiteral("Comments")), std::nullopt);

    EXPECT_FALSE(VersionRecord::fromFile(QCoreApplication::applicationFilePath())) << "the tests carry no record";
    EXPECT_FALSE(VersionRecord::fromFile(QStringLiteral("/nonexistent/program")));
    EXPECT_FALSE(VersionRecord::fromFile(QStringLiteral("/dev/null")));
    QTemporaryDir dir;
    QFile text(dir.filePath(QStringLiteral("text")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("InternalName\0Fake\0", 18);
    text.close();
    EXPECT_FALSE(VersionRecord::fromFile(text.fileName()));
}

TEST(VersionRecord, ReadsEveryClassAndByteOrderAndRefusesBrokenImages)
{
    struct Case {
        const char *what;
        ImageSpec spec;
        std::optional<QString> internalName;
    };
    const auto record = [](bool be, qsizetype align = 4) { return note("Tessera", 1, Pairs, be, align); };
    const QByteArray gnu = note("GNU", 3, QByteArray(20, 'b'), false);
    const QList<Case> cases = {
        {"64-bit little-endian", {true, false, 3, 4, {gnu, record(false)}}, QStringLiteral("Quillon")},
        {"64-bit big-endian", {true, true, 2, 4, {record(true)}}, QStringLiteral("Quillon")},
        {"32-bit little-endian", {false, false, 2, 4, {record(false)}}, QStringLiteral("Quillon")},
        {"32-bit big-endian", {false, true, 3, 4, {record(true)}}, QStringLiteral("Quillon")},
        {"8-byte note alignment",
         {true, false, 3, 8, {note("GNU", 5, "abcd", false, 8), record(false, 8)}},
         QStringLiteral("Quillon")},
        {"a record without InternalName",
         {true, false, 3, 4, {note("Tessera", 1, texts({"FileVersion", "1"}), false)}},
         std::nullopt},
        {"an unended text ends the pairs",
         {true, false, 3, 4, {note("Tessera", 1, QByteArray("InternalName\0Quil", 17), false)}},
         std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<VersionRecord> read = VersionRecord::fromImage(image(c.spec));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->value(QStringLiteral("InternalName")), c.internalName);
    }

    const QList<std::pair<const char *, ImageSpec>> broken = {
        {"no record, only other notes", {true, false, 3, 4, {gnu}}},
        {"another owner", {true, false, 3, 4, {note("Tesser", 1, Pairs, false)}}},
        {"another type", {true, false, 3, 4, {note("Tessera", 2, Pairs, false)}}},
        {"a relocatable object", {true, false, 1, 4, {record(false)}}},
        {"notes cut short", {true, false, 3, 4, {record(false)}, 0, 200}},
        {"a segment larger than the file", {true, false, 3, 4, {record(false)}, 4096}},
        {"a segment of 2^63 bytes", {true, false, 3, 4, {record(false)}, quint64(1) << 63}},
        {"a program-header table cut short", {false, false, 3, 4, {record(false)}, 0, 70}},
        {"a header cut short", {true, false, 3, 4, {record(false)}, 0, 40}},
    };
    for (const auto &[what, spec] : broken) {
        SCOPED_TRACE(what);
        EXPECT_FALSE(VersionRecord::fromImage(image(spec)));
    }

    // A note whose sizes run past its segment.
    QByteArray lying = note("Tessera", 1, Pairs, false);
    put<quint32>(lying, 4, 0x7FFFFFF0, false);
    EXPECT_FALSE(VersionRecord::fromImage(image({true, false, 3, 4, {lying}})));
    EXPECT_FALSE(VersionRecord::fromImage(QByteArray("\x7F"
                                                     "ELF")));
}

} // namespace
