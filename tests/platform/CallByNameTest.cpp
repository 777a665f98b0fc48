#include "platform/CallByName.h"

#include "platform/RuntimeError.h"
#include "tests/common/RaisedError.h"

#include <QObject>

#include <gtest/gtest.h>
#include <stdexcept>

using corvid::test::raisedNumber;
using tessera::CallByName;
using tessera::CallType;
using tessera::RuntimeError;

namespace {

// Sets a flag when it goes: shows that the frames between a throwing member
// and the caller were unwound properly.
struct Guard {
    bool *released;
    ~Guard() { *released = true; }
};

class Target : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint32 Count READ Count WRITE setCount)
    Q_PROPERTY(qint16 Small READ Small WRITE setSmall)
    Q_PROPERTY(QString Name READ Name)
    Q_PROPERTY(QVariant Anything READ Anything WRITE setAnything)

public:
    qint32 Count() const { return m_count; }
    void setCount(qint32 count) { m_count = count; }
    qint16 Small() const { return m_small; }
    void setSmall(qint16 value) { m_small = value; }
    QString Name() const { return QStringLiteral("target"); }
    QVariant Anything() const { return m_anything; }
    void setAnything(const QVariant &value) { m_anything = value; }

    Q_INVOKABLE QString Join(const QString &a, qint32 b, const QVariant &c = QStringLiteral("-")) const
    {
        return a + QString::number(b) + c.toString();
    }
    Q_INVOKABLE void Fail(qint32 number)
    {
        Guard guard {&released};
        throw RuntimeError(number, QStringLiteral("it failed"), QStringLiteral("Target"), QStringLiteral("h.html"), 7);
    }
    Q_INVOKABLE void FailForeign() { throw std::runtime_error("disk on fire"); }

    bool released = false;

private:
    qint32 m_count = 0;
    qint16 m_small = 0;
    QVariant m_anything;
};

TEST(CallByName, CallsMethodsAndPropertiesByNameWithoutRegardToCase)
{
    Target target;
    EXPECT_EQ(
        CallByName(&target, QStringLiteral("join"), CallType::Method, {QStringLiteral("a"), 2, QStringLiteral("c")}),
        QVariant(QStringLiteral("a2c")));
    // A method with a default argument is found with fewer arguments too.
    EXPECT_EQ(CallByName(&target, QStringLiteral("JOIN"), CallType::Method, {QStringLiteral("a"), 2}),
              QVariant(QStringLiteral("a2-")));
    CallByName(&target, QStringLiteral("count"), CallType::Let, {41});
    EXPECT_EQ(target.Count(), 41);
    EXPECT_EQ(CallByName(&target, QStringLiteral("Count"), CallType::Get), QVariant(41));
    EXPECT_EQ(CallByName(&target, QStringLiteral("Name"), CallType::Method), QVariant(QStringLiteral("target")));
    CallByName(&target, QStringLiteral("Anything"), CallType::Set, {QVariant::fromValue<QObject *>(&target)});
    EXPECT_EQ(target.Anything().value<QObject *>(), &target);
}

TEST(CallByName, ConvertsArgumentsWithThePlatformsRules)
{
    Target target;
    CallByName(&target, QStringLiteral("Count"), CallType::Let, {QStringLiteral(" 12 ")});
    EXPECT_EQ(target.Count(), 12);
    CallByName(&target, QStringLiteral("Count"), CallType::Let, {2.5}); // half to even
    EXPECT_EQ(target.Count(), 2);
    CallByName(&target, QStringLiteral("Count"), CallType::Let, {QVariant()}); // Empty
    EXPECT_EQ(target.Count(), 0);
    EXPECT_EQ(CallByName(&target, QStringLiteral("Join"), CallType::Method, {7, true}),
              QVariant(QStringLiteral("7-1-")))
        << "a number becomes text, a Boolean -1";
    CallByName(&target, QStringLiteral("Small"), CallType::Let, {-32768});
    EXPECT_EQ(target.Small(), -32768);
    EXPECT_EQ(raisedNumber([&] { CallByName(&target, QStringLiteral("Small"), CallType::Let, {40000}); }), 6);
    EXPECT_EQ(raisedNumber([&] { CallByName(&target, QStringLiteral("Count"), CallType::Let, {QStringLiteral("x")}); }),
              13);
}

TEST(CallByName, RaisesThePlatformsNumbersForBadCalls)
{
    Target target;
    const struct {
        const char *name;
        CallType type;
        QVariantList args;
        qint32 number;
    } table[] = {
        {"Missing", CallType::Method, {}, 438},
        {"Missing", CallType::Get, {}, 438},
        {"Missing", CallType::Let, {1}, 438},
        {"Name", CallType::Let, {QStringLiteral("x")}, 438}, // read-only
        {"deleteLater", CallType::Method, {}, 438}, // QObject's own members are not offered
        {"objectName", CallType::Get, {}, 438},
        {"Join", CallType::Method, {}, 450},
        {"Join", CallType::Method, {1, 2, 3, 4}, 450},
        {"Count", CallType::Get, {1}, 450},
        {"Count", CallType::Let, {}, 450},
        {"Count", CallType::Let, {1, 2}, 450},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(raisedNumber([&] { CallByName(&target, QLatin1String(row.name), row.type, row.args); }), row.number);
    }
    EXPECT_EQ(raisedNumber([] { CallByName(nullptr, QStringLiteral("Count"), CallType::Get); }), 91);
}

TEST(CallByName, PassesOnWhatTheMemberRaises)
{
    Target target;
    try {
        CallByName(&target, QStringLiteral("Fail"), CallType::Method, {tessera::RuntimeError::ObjectErrorBase + 5});
        FAIL() << "nothing raised";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.Number(), RuntimeError::ObjectErrorBase + 5);
        EXPECT_EQ(e.Description(), QStringLiteral("it failed"));
        EXPECT_EQ(e.Source(), QStringLiteral("Target"));
        EXPECT_EQ(e.HelpFile(), QStringLiteral("h.html"));
        EXPECT_EQ(e.HelpContext(), 7);
    }
    EXPECT_TRUE(target.released);

    try {
        CallByName(&target, QStringLiteral("FailForeign"), CallType::Method);
        FAIL() << "nothing raised";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.Number(), -2147467259);
        EXPECT_EQ(e.Description(), QStringLiteral("disk on fire"));
        EXPECT_EQ(e.Source(), QLatin1String(target.metaObject()->className()));
    }
}

} // namespace

#include "CallByNameTest.moc"
