#include "lib/dialogs/ucIconControl.h"

#include "support/csWindows.h"
#include "tests/common/RaisedError.h"

#include <QDir>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace tessera;
using corvid::test::raisedNumber;

namespace {

QColor buttonFace()
{
    return cs::csTranslateColor(0x8000000F);
}

QPixmap redSquare()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    return picture;
}

QColor at(ucIconControl &control, int x, int y)
{
    return control.grab().toImage().pixelColor(x, y);
}

} // namespace

TEST(ucIconControl, DrawsItsIconOnTheBackground)
{
    ucIconControl control;
    EXPECT_TRUE(control.Picture().isNull());
    EXPECT_EQ(control.BackColor(), -2147483633);
    EXPECT_TRUE(control.MouseIcon().isNull());
    EXPECT_EQ(control.MousePointer(), 0);
    control.resize(32, 32);
    EXPECT_EQ(at(control, 4, 4), buttonFace()) << "no picture: only the background";
    EXPECT_EQ(at(control, 31, 31), buttonFace());

    QSignalSpy changed(&control, &ucIconControl::PropertyChanged);
    control.setPicture(redSquare());
    EXPECT_EQ(at(control, 4, 4), QColor(Qt::red));
    EXPECT_EQ(at(control, 20, 20), buttonFace()) << "drawn at its own size, top left";
    control.setBackColor(0x00FF0000); // blue, as 0x00BBGGRR
    EXPECT_EQ(at(control, 4, 4), QColor(Qt::red)) << "the icon is drawn again on the new colour";
    EXPECT_EQ(at(control, 20, 20), QColor(Qt::blue));
    EXPECT_EQ(raisedNumber([&] { control.setBackColor(0x01000000); }), 380);
    EXPECT_EQ(control.BackColor(), 0x00FF0000);

    control.setMousePointer(11);
    EXPECT_EQ(control.cursor().shape(), Qt::WaitCursor);
    control.setMousePointer(ucIconControl::vbCustom);
    EXPECT_EQ(control.cursor().shape(), Qt::ArrowCursor) << "no custom picture yet";
    control.setMouseIcon(redSquare());
    EXPECT_EQ(control.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(raisedNumber([&] { control.setMousePointer(16); }), 380);
    EXPECT_EQ(raisedNumber([&] { control.setMousePointer(-1); }), 380);
    EXPECT_EQ(control.MousePointer(), ucIconControl::vbCustom);

    QStringList names;
    for (const QList<QVariant> &signal : std::as_const(changed))
        names << signal.at(0).toString();
    EXPECT_EQ(names,
              QStringList({QStringLiteral("Picture"), QStringLiteral("BackColor"), QStringLiteral("MousePointer"),
                           QStringLiteral("MousePointer"), QStringLiteral("MouseIcon")}));

    QDir().mkpath(QStringLiteral(CORVID_SCREENSHOT_DIR));
    ucIconControl shown;
    shown.setPicture(QPixmap(QStringLiteral(":/tessera0301/SORREL_0000.png")));
    shown.resize(48, 40);
    EXPECT_TRUE(shown.grab().save(QStringLiteral(CORVID_SCREENSHOT_DIR "/ucIconControl.png")));
}

TEST(ucIconControl, KeepsItsPropertiesInAPropertyBag)
{
    ucIconControl saved;
    saved.setPicture(redSquare());
    saved.setBackColor(0x0000FF00);
    saved.setMouseIcon(redSquare());
    saved.setMousePointer(2);
    QVariantMap bag;
    saved.WriteProperties(bag);
    EXPECT_EQ(bag.keys(),
              QStringList({QStringLiteral("BackColor"), QStringLiteral("MouseIcon"), QStringLiteral("MousePointer"),
                           QStringLiteral("Picture")}));

    ucIconControl loaded;
    loaded.ReadProperties(bag);
    EXPECT_EQ(loaded.Picture().toImage(), redSquare().toImage()) << "the same picture after loading";
    EXPECT_EQ(loaded.BackColor(), 0x0000FF00);
    EXPECT_EQ(loaded.MouseIcon().toImage(), redSquare().toImage());
    EXPECT_EQ(loaded.MousePointer(), 2);

    // Values that do not read are passed over; missing ones take the defaults.
    ucIconControl odd;
    odd.setMousePointer(3);
    odd.ReadProperties({{QStringLiteral("Picture"), QStringLiteral("no picture")},
                        {QStringLiteral("BackColor"), QStringLiteral("red")},
                        {QStringLiteral("MousePointer"), 50}});
    EXPECT_TRUE(odd.Picture().isNull());
    EXPECT_EQ(odd.BackColor(), ucIconControl::ButtonFace);
    EXPECT_EQ(odd.MousePointer(), 3);
    ucIconControl empty;
    empty.setBackColor(0x00FFFFFF);
    empty.setMousePointer(5);
    empty.ReadProperties({});
    EXPECT_EQ(empty.BackColor(), ucIconControl::ButtonFace);
    EXPECT_EQ(empty.MousePointer(), 0);
}

TEST(ucIconControl, PassesItsMouseEventsOn)
{
    ucIconControl control;
    control.resize(32, 32);
    control.show();
    QStringList events;
    const auto record = [&](const char *name) {
        return [&events, name](qint16 button, qint16 shift, float x, float y) {
            events << QStringLiteral("%1 %2 %3 %4,%5").arg(QLatin1String(name)).arg(button).arg(shift).arg(x).arg(y);
        };
    };
    QObject::connect(&control, &ucIconControl::MouseDown, record("down"));
    QObject::connect(&control, &ucIconControl::MouseUp, record("up"));
    QObject::connect(&control, &ucIconControl::MouseMove, record("move"));
    QObject::connect(&control, &ucIconControl::Click, [&] { events << QStringLiteral("click"); });
    QObject::connect(&control, &ucIconControl::DblClick, [&] { events << QStringLiteral("dblclick"); });

    QTest::mouseClick(&control, Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 4));
    QTest::mouseClick(&control, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, QPoint(5, 6));
    QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(7, 8));
    QTest::mouseDClick(&control, Qt::LeftButton, {}, QPoint(7, 8));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(7, 8));
    QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(1, 1));
    QMouseEvent move(QEvent::MouseMove, QPointF(9, 10), control.mapToGlobal(QPointF(9, 10)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&control, &move);
    // Released outside: no click.
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(events,
              QStringList({
                  QStringLiteral("down 1 1 3,4"), QStringLiteral("up 1 1 3,4"), QStringLiteral("click"),
                  QStringLiteral("down 2 6 5,6"), QStringLiteral("up 2 6 5,6"), QStringLiteral("down 1 0 7,8"),
                  QStringLiteral("up 1 0 7,8"), QStringLiteral("click"), QStringLiteral("dblclick"),
                  QStringLiteral("up 1 0 7,8"), QStringLiteral("down 1 0 1,1"), QStringLiteral("move 1 0 9,10"),
                  QStringLiteral("up 1 0 40,40"), // released outside: no click
              }))
        << events.join(QLatin1String(" | ")).toStdString();
}
