#include "platform/ScopedMessageBoxAnswerer.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

using tessera::MessageBox;
using tessera::ScopedMessageBoxAnswerer;

TEST(ScopedMessageBoxAnswerer, RecordsEachRequestAndAnswersInsteadOfABox)
{
    const QString previousName = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Corvid - Quillon"));
    QWidget owner;
    {
        ScopedMessageBoxAnswerer answerer(MessageBox::No);
        EXPECT_EQ(ScopedMessageBoxAnswerer::active(), &answerer);
        EXPECT_EQ(MessageBox::show(QStringLiteral("Delete?"), MessageBox::YesNo | MessageBox::Question,
                                   QStringLiteral("Title"), &owner, QStringLiteral("/help.html"), 17),
                  MessageBox::No);
        EXPECT_EQ(MessageBox::show(QStringLiteral("Plain")), MessageBox::No);

        ASSERT_EQ(answerer.requests().size(), 2);
        const auto &first = answerer.requests().at(0);
        EXPECT_EQ(first.text, QStringLiteral("Delete?"));
        EXPECT_EQ(first.style, 36);
        EXPECT_EQ(first.title, QStringLiteral("Title"));
        EXPECT_EQ(first.owner, &owner);
        EXPECT_EQ(first.helpFile, QStringLiteral("/help.html"));
        EXPECT_EQ(first.helpContext, 17);
        const auto &second = answerer.requests().at(1);
        EXPECT_EQ(second.style, MessageBox::OkOnly);
        EXPECT_EQ(second.title, QStringLiteral("Corvid - Quillon")) << "boxes carry the program's title";
        EXPECT_EQ(second.owner, nullptr);
    }
    EXPECT_EQ(ScopedMessageBoxAnswerer::active(), nullptr);
    QGuiApplication::setApplicationDisplayName(previousName);
}

TEST(ScopedMessageBoxAnswerer, AnswersInTurnAndRepeatsTheLast)
{
    ScopedMessageBoxAnswerer answerer({MessageBox::Retry, MessageBox::Retry, MessageBox::Abort});
    QList<qint32> answers;
    for (int i = 0; i < 4; ++i)
        answers.append(MessageBox::show(QStringLiteral("Can't pack file to mail."), MessageBox::AbortRetryIgnore));
    EXPECT_EQ(answers, (QList<qint32> {4, 4, 3, 3}));
}

TEST(ScopedMessageBoxAnswerer, NestedAnswerersTakeTurns)
{
    ScopedMessageBoxAnswerer outer([](const ScopedMessageBoxAnswerer::Request &request) {
        return request.style & MessageBox::ButtonsMask ? qint32(MessageBox::Cancel) : qint32(MessageBox::Ok);
    });
    EXPECT_EQ(MessageBox::show(QStringLiteral("a"), MessageBox::OkCancel), MessageBox::Cancel);
    {
        ScopedMessageBoxAnswerer inner(MessageBox::Yes);
        EXPECT_EQ(MessageBox::show(QStringLiteral("b"), MessageBox::YesNo), MessageBox::Yes);
        EXPECT_EQ(inner.requests().size(), 1);
    }
    EXPECT_EQ(MessageBox::show(QStringLiteral("c")), MessageBox::Ok);
    EXPECT_EQ(outer.requests().size(), 2);
}

TEST(ScopedMessageBoxAnswerer, StylesThePlatformRejectsFailBeforeAnyAnswer)
{
    ScopedMessageBoxAnswerer answerer(MessageBox::Ok);
    for (qint32 buttons = 6; buttons <= 15; ++buttons)
        EXPECT_EQ(MessageBox::show(QStringLiteral("x"), buttons | MessageBox::Critical), MessageBox::Failed) << buttons;
    EXPECT_TRUE(answerer.requests().isEmpty());
}
