#include "lib/dialogs/crvChooseFontDialog.h"

#include "lib/dialogs/FontRules_p.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "tests/lib/dialogs/ShownDialog.h"

#include <QFontDialog>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace tessera;
using corvid::test::whenShown;

namespace {

// Makes \a font the dialog's choice, as picking it in the lists would, and
// presses OK. The widget dialog's choice is the font of its sample box, which
// can also hold weights no font file in the test machine has.
void chooseFont(QFontDialog *dialog, const QFont &font)
{
    auto *sample = dialog->findChild<QLineEdit *>(QStringLiteral("qt_fontDialog_sampleEdit"));
    ASSERT_NE(sample, nullptr);
    sample->setFont(font);
    dialog->accept();
}

QFont font(const char *family, double points, int weight)
{
    QFont f(QString::fromLatin1(family));
    f.setPointSizeF(points);
    f.setWeight(QFont::Weight(weight));
    return f;
}

} // namespace

TEST(ChooseFontDialog, StartingFontFollowsThePlatformRules)
{
    crvChooseFontDialog dlg;
    dlg.setFaceName(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234567890123"));
    const QFont start = dialogs::initialFont(dlg, 96);
    EXPECT_EQ(start.family(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"));
    EXPECT_EQ(start.pixelSize(), 12) << "9 points at 96 dpi";
    EXPECT_EQ(dialogs::logicalHeight(9, 96), -12);
    EXPECT_EQ(dialogs::logicalHeight(10, 120), -16) << "truncated towards zero, not rounded";
    EXPECT_EQ(dialogs::logicalHeight(8.25, 96), -11) << "the product is rounded first";

    dlg.setHeight(-20);
    EXPECT_EQ(dialogs::initialFont(dlg, 96).pixelSize(), 20) << "a set Height wins over Size";

    EXPECT_FALSE(dialogs::hasSizeLimits(8, 0));
    EXPECT_FALSE(dialogs::hasSizeLimits(0, 12));
    EXPECT_FALSE(dialogs::hasSizeLimits(12, 8));
    EXPECT_FALSE(dialogs::hasSizeLimits(8, 8));
    EXPECT_TRUE(dialogs::hasSizeLimits(8, 12));
}

TEST(ChooseFontDialog, ShowStartsWithThePropertiesAndReadsTheChoiceBack)
{
    crvChooseFontDialog dlg;
    dlg.setFaceName(QStringLiteral("DejaVu Sans"));
    dlg.setCharset(0x1CC);
    dlg.setColor(0x123456);
    QFont shown;
    whenShown<QFontDialog>([&shown](QFontDialog *dialog) {
        shown = dialog->currentFont();
        QFont chosen = font("DejaVu Serif", 12, 551);
        chosen.setUnderline(true);
        chooseFont(dialog, chosen);
    });
    ASSERT_TRUE(dlg.Show());
    EXPECT_EQ(shown.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(shown.pointSize(), 9);

    EXPECT_EQ(dlg.FaceName(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(dlg.Size(), 12.0);
    EXPECT_EQ(dlg.Height(), dialogs::logicalHeight(12, dialogs::screenDpiY()));
    EXPECT_EQ(dlg.Width(), 0);
    EXPECT_TRUE(dlg.Bold()) << "weight 551";
    EXPECT_TRUE(dlg.Underline());
    EXPECT_FALSE(dlg.Italic());
    EXPECT_EQ(dlg.Charset(), 0xCC);
    EXPECT_EQ(dlg.Color(), 0x123456);
    EXPECT_EQ(dlg.LastDlgError(), 0);

    dlg.setBold(true);
    whenShown<QFontDialog>([](QFontDialog *dialog) { chooseFont(dialog, font("DejaVu Sans", 10.25, 550)); });
    ASSERT_TRUE(dlg.Show());
    EXPECT_FALSE(dlg.Bold()) << "weight 550";
    EXPECT_EQ(dlg.Size(), 10.3) << "tenths of a point";
}

TEST(ChooseFontDialog, SizeLimitsOnlyWhenBothAreSetAndOrdered)
{
    const struct {
        qint32 sizeMin, sizeMax;
        bool refused;
    } cases[] = {{8, 12, true}, {8, 0, false}, {12, 8, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.sizeMin << ".." << c.sizeMax);
        crvChooseFontDialog dlg;
        dlg.setSizeMin(c.sizeMin);
        dlg.setSizeMax(c.sizeMax);
        ScopedMessageBoxAnswerer answerer;
        bool stayedOpen = false;
        whenShown<QFontDialog>([&stayedOpen](QFontDialog *dialog) {
            chooseFont(dialog, font("DejaVu Sans", 20, 400));
            stayedOpen = dialog->isVisible();
        });
        EXPECT_EQ(dlg.Show(), !c.refused);
        EXPECT_EQ(stayedOpen, c.refused);
        ASSERT_EQ(answerer.requests().size(), c.refused ? 1 : 0);
        if (c.refused) {
            EXPECT_EQ(answerer.requests().first().text, QStringLiteral("Size must be between 8 and 12 points."));
        }
    }
}

TEST(ChooseFontDialog, CancelChangesNothing)
{
    crvChooseFontDialog dlg;
    dlg.setFaceName(QStringLiteral("DejaVu Sans Mono"));
    dlg.setSize(11.5);
    dlg.setHeight(-17);
    dlg.setBold(true);
    dlg.setItalic(true);
    dlg.setCharset(0x1CC);
    whenShown<QFontDialog>([](QFontDialog *dialog) {
        QFont other = font("DejaVu Serif", 30, 400);
        auto *sample = dialog->findChild<QLineEdit *>(QStringLiteral("qt_fontDialog_sampleEdit"));
        ASSERT_NE(sample, nullptr);
        sample->setFont(other);
        dialog->reject();
    });
    EXPECT_FALSE(dlg.Show());
    EXPECT_EQ(dlg.LastDlgError(), 0);
    EXPECT_EQ(dlg.FaceName(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(dlg.Size(), 11.5);
    EXPECT_EQ(dlg.Height(), -17);
    EXPECT_TRUE(dlg.Bold());
    EXPECT_TRUE(dlg.Italic());
    EXPECT_EQ(dlg.Charset(), 0x1CC);
}

TEST(ChooseFontDialog, SetFontAndGetFont)
{
    crvChooseFontDialog dlg;
    QFont source = font("DejaVu Serif", 11.5, 700);
    source.setItalic(true);
    source.setStrikeOut(true);
    dlg.SetFont(source);
    EXPECT_EQ(dlg.FaceName(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(dlg.Size(), 11.5);
    EXPECT_TRUE(dlg.Bold());
    EXPECT_TRUE(dlg.Italic());
    EXPECT_TRUE(dlg.Strikethrough());
    EXPECT_FALSE(dlg.Underline());
    EXPECT_EQ(dlg.Charset(), 204);

    const QFont made = dlg.GetFont();
    EXPECT_EQ(made.family(), source.family());
    EXPECT_EQ(made.pointSizeF(), 11.5);
    EXPECT_EQ(made.weight(), QFont::Bold);
    EXPECT_TRUE(made.italic());
    EXPECT_TRUE(made.strikeOut());

    QFont pixels(QStringLiteral("DejaVu Sans"));
    pixels.setPixelSize(16);
    dlg.SetFont(pixels);
    EXPECT_NEAR(dlg.Size(), 16 * 72.0 / dialogs::screenDpiY(), 0.0001);
    EXPECT_FALSE(dlg.Bold());
}
