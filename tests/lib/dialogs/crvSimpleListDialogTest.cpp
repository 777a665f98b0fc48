#include "lib/dialogs/crvSimpleListDialog.h"

#include "lib/dialogs/frmList.h"
#include "support/csWindows.h"
#include "tests/lib/dialogs/ShownDialog.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace tessera;

namespace {

struct Seen {
    QString caption;
    QStringList lines;
    QStringList tags;
    bool closed = false;
};

// Shows \a dialog, clicks each line in turn, then closes the window with \a key.
Seen show(crvSimpleListDialog &dialog, Qt::Key key = Qt::Key_Escape)
{
    Seen seen;
    const auto ran = corvid::test::whenShown<frmList>([&](frmList *window) {
        seen.caption = window->windowTitle();
        QListWidget *list = window->lstList();
        for (int row = 0; row < list->count(); ++row) {
            seen.lines << list->item(row)->text();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
            seen.tags << window->lblTag()->text();
        }
        EXPECT_EQ(list->font(), dialog.Font());
        EXPECT_EQ(window->lblTag()->font(), dialog.Font());
        QTest::keyClick(list, key);
        seen.closed = !window->isVisible();
    });
    dialog.Show();
    EXPECT_TRUE(*ran);
    return seen;
}

} // namespace

TEST(crvSimpleListDialog, ShowsTheLinesAndTheirValues)
{
    crvSimpleListDialog dialog;
    EXPECT_EQ(dialog.Elements().Count(), 0);
    EXPECT_EQ(dialog.Font().family(), QLatin1String("Tahoma"));
    EXPECT_EQ(dialog.Font().pointSize(), 9);
    EXPECT_FALSE(dialog.Font().bold());
    EXPECT_FALSE(dialog.Font().italic());
    EXPECT_FALSE(dialog.Font().underline());
    EXPECT_FALSE(dialog.Font().strikeOut());
    EXPECT_TRUE(dialog.ShowCountInCaption());
    EXPECT_TRUE(dialog.Caption().isEmpty());

    // An empty list still counts its lines.
    dialog.setCaption(QStringLiteral("Facts"));
    EXPECT_EQ(show(dialog).caption, QLatin1String("Facts [0]"));

    QObject notText;
    Collection elements;
    elements.Add(QStringLiteral("Size\t1,024 bytes\tand more"));
    elements.Add(42);
    elements.Add(QVariant::fromValue(&notText)); // no text: left out
    elements.Add(true);
    elements.Add(QStringLiteral("no tab"));
    dialog.setElements(elements);
    const Seen seen = show(dialog, Qt::Key_Return);
    EXPECT_TRUE(seen.closed) << "Enter closes the window";
    EXPECT_EQ(seen.caption, QLatin1String("Facts [4]"));
    EXPECT_EQ(seen.lines,
              QStringList({QStringLiteral("Size\t1,024 bytes\tand more"), QStringLiteral("42"), QStringLiteral("True"),
                           QStringLiteral("no tab")}));
    EXPECT_EQ(seen.tags,
              QStringList({QStringLiteral("1,024 bytes\tand more"), QStringLiteral("42"), QStringLiteral("True"),
                           QStringLiteral("no tab")}));

    dialog.setShowCountInCaption(false);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSize(12);
    dialog.setFont(font);
    const Seen plain = show(dialog);
    EXPECT_TRUE(plain.closed) << "Escape closes the window";
    EXPECT_EQ(plain.caption, QLatin1String("Facts"));
}

TEST(crvSimpleListDialog, TheListFillsTheWindowAboveItsLabel)
{
    frmList window;
    window.lstList()->addItems({QStringLiteral("Title\tCorvid - Quillon"), QStringLiteral("Version\t1.00.0039")});
    window.setWindowTitle(QStringLiteral("Facts [2]"));
    window.show();
    const int margin = qRound(60 / cs::csScreenTwipsPerPixelX());
    const int label = window.lblTag()->height();
    window.resize(300, 10);
    EXPECT_GE(window.height(), 2 * label + 2 * margin) << "the window keeps its least height";
    window.resize(320, 240);
    const QRect list = window.lstList()->geometry();
    const QRect tag = window.lblTag()->geometry();
    EXPECT_EQ(list.topLeft(), QPoint(margin, margin));
    EXPECT_EQ(list.width(), 320 - 2 * margin);
    EXPECT_EQ(tag.left(), margin);
    EXPECT_EQ(tag.width(), 320 - 2 * margin);
    EXPECT_EQ(tag.top(), list.bottom() + 1 + margin);
    EXPECT_EQ(tag.bottom() + 1 + margin, 240);

    window.lstList()->setCurrentRow(1);
    QDir().mkpath(QStringLiteral(CORVID_SCREENSHOT_DIR));
    EXPECT_TRUE(window.grab().save(QStringLiteral(CORVID_SCREENSHOT_DIR "/frmList.png")));
}
