#include "app/common/modCommon.h"

#include <QComboBox>

#include <gtest/gtest.h>

using namespace quillon::modCommon;

namespace {

QStringList items(const QComboBox &combo)
{
    QStringList list;
    for (int i = 0; i < combo.count(); ++i)
        list << combo.itemText(i);
    return list;
}

TEST(ListTexts, ComboToTextJoinsTrimmedItemsWithCrLf)
{
    QComboBox combo;
    EXPECT_EQ(ComboToText(&combo), QString());
    combo.addItems({QStringLiteral(" a@b.org "), QStringLiteral("c@d.org\t")});
    EXPECT_EQ(ComboToText(&combo), QLatin1String("a@b.org\r\nc@d.org"));
}

TEST(ListTexts, TextToComboKeepsTrimmedNonEmptyLinesAndSelectsTheFirst)
{
    QComboBox combo;
    combo.addItem(QStringLiteral("old"));
    TextToCombo(QStringLiteral("\r\n  x@y.org \r\n\r\n \t \r\nz@w.org\r\nx@y.org\r\n"), &combo);
    EXPECT_EQ(items(combo),
              (QStringList {QStringLiteral("x@y.org"), QStringLiteral("z@w.org"), QStringLiteral("x@y.org")}));
    EXPECT_EQ(combo.currentIndex(), 0);

    TextToCombo(QStringLiteral(" \r\n"), &combo);
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(combo.currentIndex(), -1);
}

TEST(MakeCaption, PrefixesTheShortTitle)
{
    EXPECT_EQ(MakeCaption(QString()), QLatin1String("Quillon"));
    EXPECT_EQ(MakeCaption(QStringLiteral("Batch mode :: 3")), QLatin1String("Quillon :: Batch mode :: 3"));
}

} // namespace
