#include "support/csWindows.h"

#include "tests/common/RaisedError.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace cs;
using corvid::test::raisedNumber;

namespace {

QRect screenArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Centres of two rectangles agree to within rounding of an odd size.
void expectSameCentre(const QRect &a, const QRect &b)
{
    EXPECT_LE(std::abs(a.center().x() - b.center().x()), 1) << "x: " << a.center().x() << " vs " << b.center().x();
    EXPECT_LE(std::abs(a.center().y() - b.center().y()), 1) << "y: " << a.center().y() << " vs " << b.center().y();
}

} // namespace

TEST(csWindowsScreen, OffscreenMetrics)
{
    // The offscreen platform reports one 96-dpi screen.
    const QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(csScreenWidthPx(), screen->geometry().width());
    EXPECT_EQ(csScreenHeightPx(), screen->geometry().height());
    EXPECT_GT(csScreenWidthPx(), 0);
    EXPECT_DOUBLE_EQ(csScreenTwipsPerPixelX(), 15.0);
    EXPECT_DOUBLE_EQ(csScreenTwipsPerPixelY(), 15.0);
}

TEST(csCenterFormEx, CentresOnTheScreen)
{
    QWidget hidden;
    hidden.resize(200, 100);
    csCenterFormEx(&hidden);
    expectSameCentre(hidden.frameGeometry(), screenArea());
    EXPECT_EQ(hidden.size(), QSize(200, 100));

    // A shown window has a frame; the frame is what gets centred.
    QWidget shown;
    shown.resize(301, 151);
    shown.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
    csCenterFormEx(&shown);
    expectSameCentre(shown.frameGeometry(), screenArea());
}

TEST(csCenterFormEx, CentresOnTheOwnerAndStaysOnTheScreen)
{
    QWidget owner;
    owner.setGeometry(100, 120, 400, 300);
    QWidget window;
    window.resize(200, 100);
    csCenterFormEx(&window, &owner);
    expectSameCentre(window.frameGeometry(), owner.frameGeometry());

    // An owner hanging over the bottom-right corner would push the window off.
    const QRect area = screenArea();
    owner.move(area.right() - 150, area.bottom() - 80);
    csCenterFormEx(&window, &owner);
    EXPECT_TRUE(area.contains(window.frameGeometry()))
        << window.frameGeometry().x() << "," << window.frameGeometry().y();
    EXPECT_EQ(window.frameGeometry().right(), area.right());
    EXPECT_EQ(window.frameGeometry().bottom(), area.bottom());
}

TEST(csCenterFormEx, LargerThanTheScreenShowsItsTopLeft)
{
    const QRect area = screenArea();
    QWidget window;
    window.resize(area.width() + 300, area.height() + 50);
    csCenterFormEx(&window);
    EXPECT_EQ(window.frameGeometry().topLeft(), area.topLeft());
    EXPECT_EQ(window.size(), QSize(area.width() + 300, area.height() + 50));
}

TEST(csCenterFormEx, RefusesMissingOrChildWindows)
{
    EXPECT_EQ(raisedNumber([] { csCenterFormEx(nullptr); }), 5);
    QWidget parent;
    QWidget *child = new QWidget(&parent);
    EXPECT_EQ(raisedNumber([&] { csCenterFormEx(child); }), 5);
}

TEST(csNormalizeRect, LeavesVisibleRectanglesAlone)
{
    QRect inside(100, 100, 200, 100);
    csNormalizeRect(inside);
    EXPECT_EQ(inside, QRect(100, 100, 200, 100));

    // A screen's own rectangle (as the monitor list stores it) stays whole.
    QRect whole = QGuiApplication::primaryScreen()->geometry();
    csNormalizeRect(whole);
    EXPECT_EQ(whole, QGuiApplication::primaryScreen()->geometry());
}

TEST(csNormalizeRect, CorrectsRectanglesThatCannotBeSeen)
{
    const QRect a = screenArea();
    struct Case {
        const char *what;
        QRect in;
        QRect out;
    };
    const Case cases[] = {
        {"reversed edges", QRect(300, 200, -200, -100), QRect(100, 100, 200, 100)},
        {"far right", QRect(a.right() + 2000, a.top() + 100, 200, 100),
         QRect(a.left() + a.width() - 200, a.top() + 100, 200, 100)},
        {"partly below and right", QRect(a.right() - 100, a.bottom() - 50, 200, 100),
         QRect(a.left() + a.width() - 200, a.top() + a.height() - 100, 200, 100)},
        {"above and left", QRect(a.left() - 500, a.top() - 40, 120, 80), QRect(a.left(), a.top(), 120, 80)},
        {"larger than the screen", QRect(a.left() - 50, a.top() - 50, a.width() + 200, a.height() * 2), a},
        {"empty, far away", QRect(a.right() + 5000, a.bottom() + 5000, 0, 0), QRect(a.right(), a.bottom(), 0, 0)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QRect r = c.in;
        csNormalizeRect(r);
        EXPECT_EQ(r, c.out) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    }
}

TEST(csHighlightText, SelectsAllTextOfEveryTextControl)
{
    QLineEdit line(QStringLiteral("C:\\Pictures"));
    line.setCursorPosition(0);
    EXPECT_TRUE(csHighlightText(&line));
    EXPECT_EQ(line.selectedText(), QStringLiteral("C:\\Pictures"));

    QPlainTextEdit plain(QStringLiteral("first line\nsecond line"));
    EXPECT_TRUE(csHighlightText(&plain));
    EXPECT_EQ(plain.textCursor().selectedText(), QStringLiteral("first line\u2029second line"));

    QTextEdit rich;
    rich.setPlainText(QStringLiteral("caption\ntext"));
    EXPECT_TRUE(csHighlightText(&rich));
    EXPECT_EQ(rich.textCursor().selectedText(), QStringLiteral("caption\u2029text"));

    QComboBox editable;
    editable.setEditable(true);
    editable.addItem(QStringLiteral("someone@example.com"));
    EXPECT_TRUE(csHighlightText(&editable));
    EXPECT_EQ(editable.lineEdit()->selectedText(), QStringLiteral("someone@example.com"));

    QSpinBox spin;
    spin.setValue(42);
    EXPECT_TRUE(csHighlightText(&spin));
    EXPECT_EQ(spin.findChild<QLineEdit *>()->selectedText(), QStringLiteral("42"));
}

TEST(csHighlightText, IgnoresOtherWidgets)
{
    QComboBox list;
    list.addItem(QStringLiteral("only choice"));
    EXPECT_FALSE(csHighlightText(&list));
    QPushButton button(QStringLiteral("Ok"));
    EXPECT_FALSE(csHighlightText(&button));
    EXPECT_EQ(raisedNumber([] { csHighlightText(nullptr); }), 5);
}

namespace {

class DesktopForm : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override { csPaintDesktop2(this); }
};

int lightness(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y).lightness();
}

} // namespace

TEST(csPaintDesktop2, PaintsAQuietGradientFromThePalette)
{
    for (const QColor window : {QColor(0xEF, 0xEF, 0xEF), QColor(0x30, 0x34, 0x38)}) {
        SCOPED_TRACE(window.name().toStdString());
        DesktopForm form;
        QPalette palette = form.palette();
        palette.setColor(QPalette::Window, window);
        form.setPalette(palette);
        form.resize(120, 200);
        const QImage image = form.grab().toImage();
        ASSERT_EQ(image.height(), 200);

        // Covered everywhere, each row one colour, darkening from top to bottom.
        for (int y = 0; y < image.height(); ++y) {
            ASSERT_EQ(image.pixelColor(0, y).alpha(), 255);
            ASSERT_EQ(image.pixel(0, y), image.pixel(image.width() - 1, y)) << "row " << y;
            if (y > 0) {
                ASSERT_LE(lightness(image, 0, y), lightness(image, 0, y - 1)) << "row " << y;
            }
        }
        EXPECT_GT(lightness(image, 0, 0), lightness(image, 0, 199));
        // Quiet: never far from the palette's window colour.
        for (const int y : {0, 100, 199}) {
            const QColor c = image.pixelColor(0, y);
            EXPECT_LE(std::abs(c.red() - window.red()) + std::abs(c.green() - window.green())
                          + std::abs(c.blue() - window.blue()),
                      60)
                << "row " << y << ": " << c.name().toStdString();
        }
    }
    EXPECT_EQ(raisedNumber([] { csPaintDesktop2(nullptr); }), 5);
}

namespace {

class EscapeForm : public QWidget
{
public:
    bool refuseClose = false;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape)
            csUnloadForm(this);
    }
    void closeEvent(QCloseEvent *event) override { event->setAccepted(!refuseClose); }
};

void runDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(csUnloadForm, ClosesAndDeletesTheWindow)
{
    QPointer<EscapeForm> form = new EscapeForm;
    form->show();
    EXPECT_TRUE(csUnloadForm(form));
    EXPECT_FALSE(form.isNull()) << "deleted only once control returns to the event loop";
    EXPECT_FALSE(form->isVisible());
    runDeferredDeletes();
    EXPECT_TRUE(form.isNull());
}

TEST(csUnloadForm, AWindowMayUnloadItselfFromItsOwnHandler)
{
    QPointer<EscapeForm> form = new EscapeForm;
    form->show();
    QTest::keyClick(form.data(), Qt::Key_Escape);
    runDeferredDeletes();
    EXPECT_TRUE(form.isNull());
}

TEST(csUnloadForm, ARefusedCloseKeepsTheWindow)
{
    EscapeForm form;
    form.refuseClose = true;
    form.show();
    EXPECT_FALSE(csUnloadForm(&form));
    runDeferredDeletes();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(raisedNumber([] { csUnloadForm(nullptr); }), 5);
}

TEST(csGetThunderMainHandle, IsOneHiddenOwnerTitledAfterTheApplication)
{
    const QString before = QGuiApplication::applicationDisplayName();
    QWidget *owner = csGetThunderMainHandle();
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(csGetThunderMainHandle(), owner);
    EXPECT_TRUE(owner->isWindow());
    EXPECT_FALSE(owner->isVisible());
    EXPECT_EQ(owner->windowTitle(), before);

    QGuiApplication::setApplicationDisplayName(QStringLiteral("Corvid - Quillon"));
    EXPECT_EQ(csGetThunderMainTitle(), QStringLiteral("Corvid - Quillon"));
    EXPECT_EQ(owner->windowTitle(), QStringLiteral("Corvid - Quillon"));
    QGuiApplication::setApplicationDisplayName(before);
    EXPECT_EQ(owner->windowTitle(), before);
}
