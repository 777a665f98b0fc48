// The timed error box on the offscreen platform.
#include "lib/errors/frmError500.h"

#include "lib/errors/modError500.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "support/csWindows.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

using tessera::frmError500;
using tessera::modError500::ShowErrorBox;

namespace {

frmError500 *shownBox()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<frmError500 *>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// Runs show() and hands the box, once it is up, to handle(). A box still
// open after ten seconds is closed so that a failing test cannot hang.
qint32 withBox(const std::function<void(frmError500 *)> &handle, const std::function<qint32()> &show)
{
    QTimer::singleShot(0, [&] {
        if (frmError500 *box = shownBox())
            handle(box);
        else
            ADD_FAILURE() << "no box is shown";
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (frmError500 *box = shownBox()) {
            ADD_FAILURE() << "the box was left open";
            box->done(0);
        }
    });
    watchdog.start(10000);
    return show();
}

QStringList visibleCaptions(const frmError500 &box)
{
    QStringList captions;
    for (int i = 0; i < 3; ++i) {
        if (!box.cmdButton(i)->isHidden())
            captions << box.cmdButton(i)->text();
    }
    return captions;
}

TEST(frmError500, CountdownRunsInTheDefaultButtonsCaption)
{
    frmError500 box;
    box.prepare(QStringLiteral("Text"), 2, QStringLiteral("T"), -1, -1, 2);
    EXPECT_EQ(visibleCaptions(box), (QStringList {"&Abort", "&Retry (2)", "&Ignore"}));
    EXPECT_EQ(box.TimeoutButtonCaption(), QStringLiteral("&Retry"));
    auto *timer = box.findChild<QTimer *>(QStringLiteral("tmrTimeout"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);
    box.tmrTimeout_Timer();
    EXPECT_EQ(box.cmdButton(1)->text(), QStringLiteral("&Retry (1)"));
    box.tmrTimeout_Timer();
    EXPECT_EQ(box.cmdButton(1)->text(), QStringLiteral("&Retry (0)"));
    EXPECT_EQ(timer->interval(), 250) << "closes a quarter second after 0";
    box.tmrTimeout_Timer();
    EXPECT_EQ(box.RC(), 1);
    EXPECT_EQ(box.resultNumber(), 4);
    EXPECT_FALSE(timer->isActive());

    frmError500 zero;
    zero.prepare(QStringLiteral("Text"), 0, QStringLiteral("T"), -1, -1, -5);
    EXPECT_EQ(zero.TimeoutValue(), 1);
    EXPECT_EQ(visibleCaptions(zero), QStringList {"Ok (1)"});
}

TEST(frmError500, TimeOutPressesTheDefaultButton)
{
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ShowErrorBox(QStringLiteral("Retry?"), 2, QStringLiteral("T"), -1, -1, 1), 4);
    EXPECT_GE(clock.elapsed(), 1100) << "shows 1, then 0 for a quarter second";
    EXPECT_LT(clock.elapsed(), 5000);

    // Style 3 with the default moved to Cancel; the countdown stepped by hand.
    QString caption;
    EXPECT_EQ(withBox(
                  [&](frmError500 *box) {
                      caption = box->cmdButton(2)->text();
                      while (box->isVisible())
                          box->tmrTimeout_Timer();
                  },
                  [] { return ShowErrorBox(QStringLiteral("Save?"), 3, QStringLiteral("T"), 2, -1, 30); }),
              2);
    EXPECT_EQ(caption, QStringLiteral("&Cancel (30)"));
}

TEST(frmError500, KeysButtonsAndTheCloseCommandAnswer)
{
    const struct {
        const char *name;
        qint32 style;
        qint32 cancelIndex;
        std::function<void(frmError500 *)> act;
        qint32 result;
    } table[] = {
        {"Escape on Yes/No", 4, -1, [](frmError500 *b) { QTest::keyClick(b, Qt::Key_Escape); }, 7},
        {"Escape on Abort/Retry/Ignore", 2, -1, [](frmError500 *b) { QTest::keyClick(b, Qt::Key_Escape); }, 3},
        {"Escape with a chosen cancel button", 1, 0, [](frmError500 *b) { QTest::keyClick(b, Qt::Key_Escape); }, 1},
        {"close command", 3, -1, [](frmError500 *b) { b->close(); }, 2},
        {"Enter", 4, -1, [](frmError500 *b) { QTest::keyClick(b->focusWidget(), Qt::Key_Return); }, 6},
        {"click", 3, -1, [](frmError500 *b) { QTest::mouseClick(b->cmdButton(1), Qt::LeftButton); }, 7},
        {"no button set of the platform", 7, -1, [](frmError500 *b) { QTest::keyClick(b, Qt::Key_Escape); }, 0},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(
            withBox(row.act, [&] { return ShowErrorBox(QStringLiteral("Text"), row.style, {}, -1, row.cancelIndex); }),
            row.result);
    }
}

TEST(frmError500, IndicesOutsideTheButtonSetAreIgnored)
{
    const struct {
        qint32 style, defaultIndex, cancelIndex, expectedDefault;
    } table[] = {
        {1, 3, 3, 0}, {1, 1, -1, 1}, {1, -5, -7, 0}, {2, -1, -1, 1}, {5, 2, 2, 0},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.style * 100 + row.defaultIndex);
        frmError500 box;
        box.prepare(QStringLiteral("x"), row.style, QStringLiteral("T"), row.defaultIndex, row.cancelIndex, 5);
        EXPECT_EQ(box.TimeoutButtonIndex(), row.expectedDefault);
        EXPECT_TRUE(box.cmdButton(row.expectedDefault)->isDefault());
        box.reject();
        EXPECT_EQ(box.RC(), row.style == 2 ? 0 : 1) << "the table's cancel button";
    }
}

TEST(frmError500, TitleRulesAndTheAnswererSeam)
{
    tessera::ScopedMessageBoxAnswerer answerer(tessera::MessageBox::Ignore);
    EXPECT_EQ(ShowErrorBox(QStringLiteral("a")), tessera::MessageBox::Ignore);
    ShowErrorBox(QStringLiteral("b"), 16, QVariant(QString()));
    ShowErrorBox(QStringLiteral("c"), 16, QVariant(42));
    ASSERT_EQ(answerer.requests().size(), 3);
    EXPECT_EQ(answerer.requests().at(0).title, cs::csGetThunderMainTitle());
    EXPECT_EQ(answerer.requests().at(1).title, QStringLiteral(" "));
    EXPECT_EQ(answerer.requests().at(2).title, QStringLiteral("42"));
    EXPECT_EQ(answerer.requests().at(0).style, 16);
}

TEST(frmError500, LayoutClosesTheIconGapAndKeepsButtonsRightAligned)
{
    frmError500 withIcon;
    withIcon.prepare(QStringLiteral("Short"), 16 | 1, QStringLiteral("T"), -1, -1, 5);
    frmError500 plain;
    plain.prepare(QStringLiteral("Short"), 0, QStringLiteral("T"), -1, -1, 5);

    EXPECT_FALSE(withIcon.iconRect().isEmpty());
    EXPECT_TRUE(plain.iconRect().isEmpty());
    const int shift = qRound(810 / cs::csScreenTwipsPerPixelX());
    EXPECT_EQ(withIcon.messageRect().left() - plain.messageRect().left(), shift);
    EXPECT_EQ(withIcon.width() - plain.width(), shift);
    const auto rightMargin
        = [](const frmError500 &box, int last) { return box.width() - box.cmdButton(last)->geometry().right(); };
    EXPECT_EQ(rightMargin(plain, 0), rightMargin(withIcon, 1));
    EXPECT_GT(rightMargin(plain, 0), 0);
}

TEST(frmError500, ALongTextWidensTheBoxButStaysOnTheScreen)
{
    const int screenWidth = cs::csScreenWidthPx();
    const int screenHeight = cs::csScreenHeightPx();
    for (qint32 style : {0, 48}) {
        SCOPED_TRACE(style);
        frmError500 box;
        box.prepare(QString(20000, QLatin1Char('w')) + QStringLiteral(" end"), style, QStringLiteral("T"), -1, -1, 5);
        EXPECT_LE(box.messageRect().width(), screenWidth - 300);
        EXPECT_GT(box.messageRect().width(), 400) << "the long word is broken at the widest line";
        EXPECT_EQ(box.messageRect().height(), screenHeight - 200) << "cut at the screen's height less 200";
        EXPECT_LE(box.messageRect().right(), box.cmdButton(2)->geometry().right()) << "the text runs past the edge";
        EXPECT_LT(box.messageRect().bottom(), box.cmdButton(0)->geometry().top());
        EXPECT_LE(box.width(), screenWidth);
        EXPECT_LE(box.height(), screenHeight);
    }
}

TEST(frmError500, RendersALongCyrillicTextWithTheQuestionIcon)
{
    const QString text = QStringLiteral(
        "Не удалось сохранить письмо в папку вывода. Проверьте, что папка существует и что у вас есть права на "
        "запись в неё, затем повторите попытку.\r\n\r\nПодробности: файл «Mail 2024-05-17 12-30-45 0001.EML» "
        "занят другой программой; закройте её или выберите другую папку. Если ошибка повторяется, перезапустите "
        "программу — несохранённые подписи останутся в истории.");
    frmError500 box;
    box.prepare(text, 32 | 3, QStringLiteral("Quillon"), -1, -1, 15);
    box.show();
    const QImage image = box.grab().toImage();
    box.done(0);
    const QString output = QStringLiteral(CORVID_BINARY_DIR "/test-output");
    QDir().mkpath(output);
    ASSERT_TRUE(image.save(output + QStringLiteral("/frmError500-question-cyrillic.png")));

    const QRgb background = image.pixel(1, 1);
    const auto inkIn = [&](const QRect &rect) {
        int ink = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x)
                ink += image.pixel(x, y) != background;
        }
        return ink;
    };
    EXPECT_GT(inkIn(box.iconRect()), box.iconRect().width() * box.iconRect().height() / 8) << "the icon is drawn";
    const QRect message = box.messageRect();
    EXPECT_GT(inkIn(message), message.width() * message.height() / 50) << "the text is drawn";
    EXPECT_GT(message.height(), 5 * box.fontMetrics().height()) << "the text is wrapped";
    // Nothing is drawn between the text and the buttons, nor left of the icon.
    EXPECT_EQ(inkIn(QRect(message.left(), message.bottom() + 2, message.width(),
                          box.cmdButton(0)->geometry().top() - message.bottom() - 3)),
              0);
    EXPECT_EQ(visibleCaptions(box), (QStringList {"&Yes (15)", "&No", "&Cancel"}));
}

} // namespace
