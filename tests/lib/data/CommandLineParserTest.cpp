#include "lib/data/CommandLineParser.h"

#include "support/csSystem.h"
#include "tests/common/RaisedError.h"
#include "tests/common/TestSandbox.h"

#include <QProcess>

#include <gtest/gtest.h>

using corvid::test::raisedNumber;
using tessera::CommandLineParser;

namespace {

// The program name, then the arguments.
QStringList parse(const QString &line, bool addDummyName = false)
{
    CommandLineParser parser;
    parser.SetNewCommandLine(line, addDummyName);
    QStringList items;
    for (qint32 i = -1; i < parser.Count(); ++i)
        items.append(parser.Item(i));
    return items;
}

} // namespace

TEST(CommandLineParser, SplitsAtSpacesAndKeepsQuotedSpaces)
{
    struct {
        QString line;
        QStringList items;
    } const cases[] = {
        {QStringLiteral(R"(a "b c" d)"), {"a", "b c", "d"}},
        {QStringLiteral(R"(p x="y z")"), {"p", "x=\"y", "z\""}},
        {QStringLiteral(R"(p "" b)"), {"p", "", "b"}},
        {QStringLiteral(R"(p "unterminated arg)"), {"p", "unterminated arg"}},
        {QStringLiteral(R"("my prog" "a b"c)"), {"my prog", "a b", "c"}},
        {QStringLiteral("  p   a \t  b \r\n"), {"p", "a", "b"}},
        {QStringLiteral("p a\tb"), {"p", "a\tb"}},
        {QStringLiteral(R"(p a"b"c)"), {"p", "a\"b\"c"}},
        {QStringLiteral("\""), {""}},
        {QStringLiteral("single"), {"single"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.line));
        EXPECT_EQ(parse(c.line), c.items);
    }
}

TEST(CommandLineParser, CountsArgumentsWithoutTheProgramName)
{
    CommandLineParser parser;
    parser.SetNewCommandLine(QStringLiteral(R"(a "b c" d)"), false);
    EXPECT_EQ(parser.Item(-1), QStringLiteral("a"));
    EXPECT_EQ(parser.Count(), 2);
    EXPECT_EQ(parser.Item(0), QStringLiteral("b c"));
    EXPECT_EQ(parser.Item(1), QStringLiteral("d"));
    EXPECT_EQ(raisedNumber([&] { parser.Item(2); }), 9);
    EXPECT_EQ(raisedNumber([&] { parser.Item(-2); }), 9);
}

TEST(CommandLineParser, CanPutTheProgramsNameFirst)
{
    const QString name = cs::csGetEXEModulePrettyFileName();
    EXPECT_EQ(parse(QStringLiteral("one two"), true), QStringList({name, "one", "two"}));
    EXPECT_EQ(parse(QString(), true), QStringList({name}));
}

TEST(CommandLineParser, ABlankLineGivesNoItems)
{
    CommandLineParser parser;
    parser.SetNewCommandLine(QStringLiteral(" \t \r\n "), false);
    EXPECT_EQ(parser.Count(), 0);
    EXPECT_EQ(parser.Item(-1), cs::csGetEXEModulePrettyFileName());
    EXPECT_EQ(raisedNumber([&] { parser.Item(0); }), 9);
    EXPECT_EQ(raisedNumber([&] { parser.Item(-2); }), 9);
}

TEST(CommandLineParser, ALongLineParsesInLinearTime)
{
    // 200 000 tokens: trimming a copy of the rest after every token would
    // move some 40 billion characters.
    QString line;
    for (int i = 0; i < 200000; ++i)
        line += QStringLiteral("ab ");
    CommandLineParser parser;
    parser.SetNewCommandLine(line, false);
    EXPECT_EQ(parser.Count(), 199999);
    EXPECT_EQ(parser.Item(199998), QStringLiteral("ab"));
}

TEST(CommandLineParser, StartsWithTheProcesssCommandLine)
{
    const QString program = corvid::test::builtProgram(QStringLiteral("tessera_print_arguments"));
    QProcess process;
    process.start(program, {QStringLiteral("one"), QStringLiteral("two words"), QString(), QStringLiteral("last")});
    ASSERT_TRUE(process.waitForFinished(30000)) << qPrintable(process.errorString());
    ASSERT_EQ(process.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
    EXPECT_EQ(lines, QStringList({QStringLiteral("4"), program, "one", "two words", "", "last", ""}));
}
