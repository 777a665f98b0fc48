#include "support/csWindows.h"
#include "tests/common/RaisedError.h"

#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

using namespace cs;
using corvid::test::raisedNumber;

// The test resource CS_TEST (csTestIcons.qrc) is red at 32 px and has a blue
// hand-drawn 16 px form.
namespace {

const QColor red(200, 0, 0);
const QColor blue(0, 0, 200);

QColor middleColour(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// Every test leaves the application without an icon, as it found it.
class csIcons : public ::testing::Test
{
protected:
    void TearDown() override { QApplication::setWindowIcon(QIcon()); }
};

} // namespace

TEST_F(csIcons, LoadsResourceIconsInBothSizes)
{
    const QPixmap large = csLoadResIconEx(QStringLiteral("CS_TEST"));
    ASSERT_FALSE(large.isNull());
    EXPECT_EQ(large.deviceIndependentSize().toSize(), QSize(32, 32));
    EXPECT_EQ(middleColour(large), red);

    const QPixmap small = csLoadResIconSmallEx(QStringLiteral("CS_TEST"));
    ASSERT_FALSE(small.isNull());
    EXPECT_EQ(small.deviceIndependentSize().toSize(), QSize(16, 16));
    EXPECT_EQ(middleColour(small), blue) << "the hand-drawn small form wins over scaling";
}

TEST_F(csIcons, MissingResourcesGiveNothing)
{
    for (const char *name : {"NO_SUCH_ICON", "", "cs_test", "../icons/CS_TEST"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(csLoadResIcon(QString::fromLatin1(name)).isNull());
        EXPECT_TRUE(csLoadResIconEx(QString::fromLatin1(name)).isNull());
        EXPECT_TRUE(csLoadResIconSmallEx(QString::fromLatin1(name)).isNull());
    }
}

TEST_F(csIcons, SetsReadsAndRemovesAWindowIcon)
{
    QWidget window;
    EXPECT_TRUE(csGetWindowIcon(&window).isNull()) << "no icon of its own and none for the application";

    EXPECT_FALSE(csSetWindowResIconAll(&window, QStringLiteral("NO_SUCH_ICON")));
    EXPECT_TRUE(window.windowIcon().isNull());

    ASSERT_TRUE(csSetWindowResIconAll(&window, QStringLiteral("CS_TEST")));
    EXPECT_EQ(middleColour(csGetWindowIcon(&window)), red);
    EXPECT_EQ(middleColour(csGetWindowIconSmall(&window)), blue);
    EXPECT_TRUE(QApplication::windowIcon().isNull()) << "an ordinary window keeps its icon to itself";

    csSetWindowIconAll(&window, QIcon());
    EXPECT_TRUE(csGetWindowIcon(&window).isNull());
    EXPECT_TRUE(csGetWindowIconSmall(&window).isNull());
}

TEST_F(csIcons, TheOwnersIconIsTheApplications)
{
    ASSERT_TRUE(csSetWindowResIconAll(csGetThunderMainHandle(), QStringLiteral("CS_TEST")));
    QWidget later;
    EXPECT_EQ(middleColour(csGetWindowIcon(&later)), red) << "windows without an icon show the application's";
}

TEST_F(csIcons, RefuseMissingWindows)
{
    EXPECT_EQ(raisedNumber([] { csGetWindowIcon(nullptr); }), 5);
    EXPECT_EQ(raisedNumber([] { csGetWindowIconSmall(nullptr); }), 5);
    EXPECT_EQ(raisedNumber([] { csSetWindowIconAll(nullptr, QIcon()); }), 5);
    EXPECT_EQ(raisedNumber([] { csSetWindowResIconAll(nullptr, QStringLiteral("CS_TEST")); }), 5);
}

TEST_F(csIcons, IconsAndCursorsBecomePictures)
{
    EXPECT_EQ(middleColour(csGetIconFromHandle(csLoadResIcon(QStringLiteral("CS_TEST")))), red);
    EXPECT_TRUE(csGetIconFromHandle(QIcon()).isNull());

    QPixmap arrow(8, 8);
    arrow.fill(Qt::green);
    EXPECT_EQ(middleColour(csGetIconFromHandle(QCursor(arrow))), QColor(Qt::green));

    // Two-colour cursor: left half set (black), right half clear (white),
    // bottom half masked out.
    QBitmap bits(8, 8);
    bits.fill(Qt::color0);
    QBitmap mask(8, 8);
    mask.fill(Qt::color0);
    {
        QPainter p(&bits);
        p.fillRect(0, 0, 4, 8, Qt::color1);
        QPainter m(&mask);
        m.fillRect(0, 0, 8, 4, Qt::color1);
    }
    const QImage picture = csGetIconFromHandle(QCursor(bits, mask)).toImage();
    ASSERT_EQ(picture.size(), QSize(8, 8));
    EXPECT_EQ(picture.pixelColor(1, 1), QColor(Qt::black));
    EXPECT_EQ(picture.pixelColor(6, 1), QColor(Qt::white));
    EXPECT_EQ(picture.pixelColor(1, 6).alpha(), 0);

    EXPECT_TRUE(csGetIconFromHandle(QCursor(Qt::ArrowCursor)).isNull());
}
