// libFuzzer target: CommandLineParser::SetNewCommandLine on any text.
//
// The first byte chooses how the rest becomes text (UTF-8, where spaces and
// quotes are easy to reach, or raw UTF-16 code units, unpaired surrogates and
// NULs included) and whether the program's name goes first. Besides running
// under the sanitizers, every parse is checked against a literal reading of
// the rule (trim the whole rest after every token), against the invariants of
// the token grammar, and the parser's index checks.
#include "lib/data/CommandLineParser.h"
#include "platform/RuntimeError.h"
#include "support/csSystem.h"
#include "support/csText.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

QStringList referenceParse(const QString &line)
{
    QStringList items;
    QString s = cs::csTrimEx(line);
    while (!s.isEmpty()) {
        QString rest;
        if (s.front() == QLatin1Char('"')) {
            s.remove(0, 1);
            const qsizetype close = s.indexOf(QLatin1Char('"'));
            if (close < 0) {
                items.append(s);
                break;
            }
            items.append(s.left(close));
            rest = s.mid(close + 1);
        } else {
            const qsizetype space = s.indexOf(QLatin1Char(' '));
            if (space < 0) {
                items.append(s);
                break;
            }
            items.append(s.left(space));
            rest = s.mid(space);
        }
        s = cs::csTrimEx(rest);
    }
    return items;
}

bool raises9(const tessera::CommandLineParser &parser, qint32 index)
{
    try {
        parser.Item(index);
    } catch (const tessera::RuntimeError &e) {
        return e.Number() == tessera::RuntimeError::SubscriptOutOfRange;
    }
    return false;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t mode = data[0];
    ++data;
    --size;
    QString line;
    if (mode & 1) {
        line.resize(qsizetype(size / 2));
        std::memcpy(line.data(), data, line.size() * sizeof(char16_t));
    } else {
        line = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    }
    const bool addName = mode & 2;

    static tessera::CommandLineParser parser; // reads this process's command line once
    static const QString programName = cs::csGetEXEModulePrettyFileName();
    parser.SetNewCommandLine(line, addName);

    QStringList expected = referenceParse(line);
    qsizetype characters = 0;
    for (const QString &item : expected) {
        // A token holds spaces only when quoted, and a quoted one holds no quote.
        check(!(item.contains(QLatin1Char(' ')) && item.contains(QLatin1Char('"'))));
        characters += item.size();
    }
    check(characters <= line.size());
    if (addName)
        expected.prepend(programName);

    if (expected.isEmpty()) {
        check(parser.Count() == 0);
        check(parser.Item(-1) == programName);
    } else {
        check(parser.Count() == expected.size() - 1);
        for (qint32 i = -1; i < parser.Count(); ++i)
            check(parser.Item(i) == expected.at(i + 1));
    }
    check(raises9(parser, -2));
    check(raises9(parser, parser.Count()));
    return 0;
}
