// Prints the process's command line as processCommandLine() gives it, for
// the test that starts this program with chosen arguments.
#include "platform/ProcessCommandLine.h"

#include <QString>
#include <QtEndian>

#include <cstdio>

int main()
{
    const QByteArray buffer = tessera::processCommandLine();
    QString line;
    for (qsizetype i = 0; i + 1 < buffer.size(); i += 2) {
        const char16_t unit = qFromLittleEndian<char16_t>(buffer.constData() + i);
        if (unit == 0)
            break;
        line.append(QChar(unit));
    }
    const QByteArray utf8 = line.toUtf8();
    return std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout) == size_t(utf8.size()) ? 0 : 1;
}
