#include "lib/data/CommandLineParser.h"

#include "platform/ProcessCommandLine.h"
#include "platform/RuntimeError.h"
#include "support/csSystem.h"
#include "support/csText.h"

#include <QStringList>

namespace tessera {

class CommandLineParser::Private
{
public:
    QStringList items; // the program name, then the arguments
};

namespace {

// Blanks are what csTrimEx removes; asking it keeps one definition of them.
bool isBlank(QChar ch)
{
    return cs::csTrimEx(QString(ch)).isEmpty();
}

} // namespace

CommandLineParser::CommandLineParser(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Private>())
{
    // The process's command line already starts with the program's name.
    SetNewCommandLine(cs::csGetStringFromPointerW(processCommandLine()), false);
}

CommandLineParser::~CommandLineParser() = default;

qint32 CommandLineParser::Count() const
{
    return d->items.isEmpty() ? 0 : qint32(d->items.size() - 1);
}

QString CommandLineParser::Item(qint32 Index) const
{
    if (Index < -1)
        throw RuntimeError(RuntimeError::SubscriptOutOfRange);
    if (d->items.isEmpty() && Index == -1)
        return cs::csGetEXEModulePrettyFileName();
    const qint64 position = qint64(Index) + 1;
    if (position >= d->items.size())
        throw RuntimeError(RuntimeError::SubscriptOutOfRange);
    return d->items.at(position);
}

void CommandLineParser::SetNewCommandLine(const QString &NewCommandLine, bool AddDummyEXEModuleName)
{
    QStringList items;
    if (AddDummyEXEModuleName)
        items.append(cs::csGetEXEModulePrettyFileName());

    const QChar quote = QLatin1Char('"');
    const QChar space = QLatin1Char(' ');
    // The line is trimmed once; after each token only the blanks at the front
    // of the rest need to go, since its end is the trimmed end of the line.
    // Walking positions instead of trimming copies of every rest keeps the
    // parse linear in the length of the line.
    const QString s = cs::csTrimEx(NewCommandLine);
    const qsizetype length = s.size();
    qsizetype pos = 0;
    while (pos < length) {
        if (s.at(pos) == quote) {
            // A quoted token runs to the next quote, spaces and all.
            const qsizetype close = s.indexOf(quote, pos + 1);
            if (close < 0) {
                items.append(s.mid(pos + 1));
                break;
            }
            items.append(s.mid(pos + 1, close - pos - 1));
            pos = close + 1;
        } else {
            const qsizetype end = s.indexOf(space, pos);
            if (end < 0) {
                items.append(s.mid(pos));
                break;
            }
            items.append(s.mid(pos, end - pos));
            pos = end;
        }
        while (pos < length && isBlank(s.at(pos)))
            ++pos;
    }
    d->items = std::move(items);
}

} // namespace tessera
