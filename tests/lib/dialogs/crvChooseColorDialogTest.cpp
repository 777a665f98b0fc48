#include "lib/dialogs/crvChooseColorDialog.h"

#include "lib/dialogs/CustomColors.h"
#include "tests/common/RaisedError.h"
#include "tests/lib/dialogs/ShownDialog.h"

#include <QColorDialog>

#include <gtest/gtest.h>

using namespace tessera;
using corvid::test::whenShown;

namespace {

QList<qint32> colorsOf(const CustomColors &colors)
{
    QList<qint32> values;
    for (qint32 i = 0; i < colors.Count(); ++i)
        values.append(colors.Item(i));
    return values;
}

void fill(CustomColors &colors, qint32 first)
{
    for (qint32 i = 0; i < colors.Count(); ++i)
        colors.setItem(i, first + i);
}

} // namespace

TEST(CustomColors, TextFormRoundTrip)
{
    CustomColors colors;
    const QString zeros = QStringLiteral("00000000 ").repeated(15) + QStringLiteral("00000000");
    EXPECT_EQ(colors.toString(), zeros);

    colors.setItem(0, 0xFFFFFF);
    colors.setItem(7, 0x0A0B0C);
    colors.setItem(15, 0x123456);
    CustomColors copy;
    fill(copy, 99);
    ASSERT_TRUE(copy.fromString(colors.toString()));
    EXPECT_EQ(colorsOf(copy), colorsOf(colors));

    EXPECT_EQ(corvid::test::raisedNumber([&] { colors.Item(16); }), 9);
    EXPECT_EQ(corvid::test::raisedNumber([&] { colors.setItem(-1, 0); }), 9);
}

TEST(CustomColors, FromStringSkipsBlanksAndStoresZeroForBadFields)
{
    const struct {
        const char *text;
        QList<qint32> firstSlots; // then slots keep 100 + index
        bool result;
    } cases[] = {
        {"", {}, false},
        {"ff  00ff00   0000ff", {0xFF, 0xFF00, 0xFF}, true},
        {"1 1000000 2", {1, 0, 2}, true},
        {"1 FFFFFFFF 2", {1, 0, 2}, true},
        {"1 xyz 0x10 -5 3", {1, 0, 0, 0, 3}, true},
        {"   ", {}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        CustomColors colors;
        fill(colors, 100);
        EXPECT_EQ(colors.fromString(QString::fromLatin1(c.text)), c.result);
        QList<qint32> expected = c.firstSlots;
        for (qint32 i = qint32(expected.size()); i < 16; ++i)
            expected.append(100 + i);
        EXPECT_EQ(colorsOf(colors), expected);
    }

    CustomColors colors;
    ASSERT_TRUE(colors.fromString(QStringLiteral("1 ").repeated(20)));
    EXPECT_EQ(colorsOf(colors), QList<qint32>(16, 1)) << "reading stops after slot 15";
}

TEST(ChooseColorDialog, ShowsAndKeepsTheCustomColours)
{
    crvChooseColorDialog dlg;
    dlg.setColor(0x0000FF);
    auto custom = dlg.CustomColors();
    custom->setItem(3, 0xFF0000); // blue

    QColor initial;
    QColor shownCustom;
    whenShown<QColorDialog>([&](QColorDialog *dialog) {
        initial = dialog->currentColor();
        shownCustom = QColorDialog::customColor(3);
        QColorDialog::setCustomColor(5, QColor(0, 255, 0));
        dialog->setCurrentColor(QColor(0x10, 0x20, 0x30));
        dialog->reject();
    });
    EXPECT_FALSE(dlg.Show());
    EXPECT_EQ(initial, QColor(255, 0, 0));
    EXPECT_EQ(shownCustom, QColor(0, 0, 255));
    EXPECT_EQ(dlg.Color(), 0x0000FF) << "a cancel keeps the colour";
    EXPECT_EQ(dlg.LastDlgError(), 0);
    EXPECT_EQ(custom->Item(5), 0x00FF00) << "edits stay even after a cancel";
    EXPECT_EQ(custom->Item(3), 0xFF0000);

    whenShown<QColorDialog>([](QColorDialog *dialog) {
        dialog->setCurrentColor(QColor(0x10, 0x20, 0x30));
        dialog->accept();
    });
    ASSERT_TRUE(dlg.Show());
    EXPECT_EQ(dlg.Color(), 0x302010);

    dlg.setCustomColors(nullptr);
    ASSERT_NE(dlg.CustomColors(), nullptr);
    EXPECT_NE(dlg.CustomColors(), custom);
    EXPECT_EQ(colorsOf(*dlg.CustomColors()), QList<qint32>(16, 0));
}
