#include "lib/data/DropFilesBlock.h"

#include <QtEndian>

#include <gtest/gtest.h>

using tessera::DropFilesBlock;

TEST(DropFilesBlock, BuildsTheHeaderAndTheListInEitherEncoding)
{
    const QStringList names {QStringLiteral("/tmp/a.txt"), QStringLiteral("/tmp/Жб")};
    const QByteArray wide = DropFilesBlock::build(names, true);
    EXPECT_EQ(wide.size(), 20 + 2 * (10 + 7 + 3));
    EXPECT_EQ(qFromLittleEndian<quint32>(wide.constData()), 20u);
    EXPECT_EQ(wide.mid(4, 12), QByteArray(12, '\0'));
    EXPECT_EQ(qFromLittleEndian<quint32>(wide.constData() + 16), 1u);
    EXPECT_EQ(wide.mid(20, 4), QByteArray("/\0t\0", 4)) << "UTF-16, low byte first";
    EXPECT_EQ(wide.right(4), QByteArray(4, '\0'));
    EXPECT_EQ(DropFilesBlock::read(wide), names);

    const QByteArray narrow = DropFilesBlock::build(names, false);
    EXPECT_EQ(narrow.size(), 20 + 10 + 7 + 3);
    EXPECT_EQ(qFromLittleEndian<quint32>(narrow.constData() + 16), 0u);
    EXPECT_EQ(narrow.mid(20 + 11 + 5, 2), "\xC6\xE1") << "Windows-1251";
    EXPECT_EQ(DropFilesBlock::read(narrow), names);
}

TEST(DropFilesBlock, ReadsForeignAndDamagedBlocks)
{
    EXPECT_EQ(DropFilesBlock::read(QByteArray(19, '\0')), std::nullopt);
    QByteArray header(20, '\0');
    header[0] = 20;
    EXPECT_EQ(DropFilesBlock::read(header), QStringList());

    QByteArray inside = header + QByteArray("a\0\0", 3);
    inside[0] = 8;
    EXPECT_EQ(DropFilesBlock::read(inside), std::nullopt) << "a list offset inside the header";

    QByteArray far = header + QByteArray("a\0\0", 3);
    far[0] = char(200);
    EXPECT_EQ(DropFilesBlock::read(far), QStringList());

    // A larger header, blank names dropped, others kept untrimmed, no final NUL.
    QByteArray longer(24, '\0');
    longer[0] = 24;
    longer += QByteArray(" x \0  \0\0y", 9);
    EXPECT_EQ(DropFilesBlock::read(longer), (QStringList {QStringLiteral(" x "), QStringLiteral("y")}));
}
