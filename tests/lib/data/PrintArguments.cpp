// Prints what a new CommandLineParser finds in this process's command line:
// the argument count, then the program name and every argument, one a line.
#include "lib/data/CommandLineParser.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    tessera::CommandLineParser parser;
    QString out = QString::number(parser.Count()) + QLatin1Char('\n');
    for (qint32 i = -1; i < parser.Count(); ++i)
        out += parser.Item(i) + QLatin1Char('\n');
    const QByteArray utf8 = out.toUtf8();
    return std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout) == size_t(utf8.size()) ? 0 : 1;
}
