#include "lib/errors/CAppStub.h"

#include "platform/CallByName.h"

#include <QMetaProperty>

#include <gtest/gtest.h>

using tessera::CallByName;
using tessera::CallType;
using tessera::CAppStub;

namespace {

TEST(CAppStub, AnswersItsTitleAndVersionAndNothingElse)
{
    CAppStub app;
    app.Init(QStringLiteral("Quillon"), 2, 5, 0);
    EXPECT_EQ(CallByName(&app, QStringLiteral("Title"), CallType::Get), QVariant(QStringLiteral("Quillon")));
    EXPECT_EQ(CallByName(&app, QStringLiteral("Major"), CallType::Get).toInt(), 2);
    EXPECT_EQ(CallByName(&app, QStringLiteral("Minor"), CallType::Get).toInt(), 5);
    EXPECT_EQ(CallByName(&app, QStringLiteral("Revision"), CallType::Get).toInt(), 0);

    const QMetaObject *meta = app.metaObject();
    const QStringList own = {"Title", "Major", "Minor", "Revision"};
    int neutral = 0;
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const QString name = QLatin1String(property.name());
        if (own.contains(name))
            continue;
        SCOPED_TRACE(qPrintable(name));
        if (property.isWritable()) // writes are accepted and dropped
            CallByName(&app, name, CallType::Let,
                       {property.metaType().id() == QMetaType::QString ? QVariant("x") : QVariant(1)});
        const QVariant value = CallByName(&app, name, CallType::Get);
        EXPECT_TRUE(value == QVariant(QString()) || value == QVariant(0) || value == QVariant(false))
            << qPrintable(value.toString());
        ++neutral;
    }
    EXPECT_EQ(neutral, 26) << "the whole application-object interface";
    CallByName(&app, QStringLiteral("LogEvent"), CallType::Method, {QStringLiteral("text"), 4});
    CallByName(&app, QStringLiteral("StartLogging"), CallType::Method, {QStringLiteral("/tmp/log"), 1});
}

TEST(CAppStub, TitleCanBeRewritten)
{
    CAppStub app;
    app.Init(QStringLiteral("Old"), 1, 0, 0);
    CallByName(&app, QStringLiteral("Title"), CallType::Let, {QStringLiteral("New")});
    EXPECT_EQ(app.Title(), QStringLiteral("New"));
    EXPECT_EQ(app.Major(), 1);
}

} // namespace
