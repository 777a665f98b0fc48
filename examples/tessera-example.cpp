// A program of one's own on Tessera0301: it counts its runs in the settings
// store, writes and reads a registry value, sorts a list and shows an error
// in the library's timed error box, which closes itself after SECONDS.
//
//     tessera-example [SECONDS]     (10 by default)
#include "lib/data/crvSort.h"
#include "lib/errors/crvErr.h"
#include "lib/system/crvCorvidSettings.h"
#include "lib/system/crvRegistry.h"
#include "platform/Collection.h"
#include "platform/RuntimeError.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>

using namespace tessera;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString title = QStringLiteral("Tessera example");
    QApplication::setApplicationDisplayName(title);
    const qint32 seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10;

    crvCorvidSettings settings;
    const qint32 runs = settings.LoadSetting({}, QStringLiteral("Runs"), rtLong, title, 1, 0, 0).toInt() + 1;
    const bool saved = settings.SaveSetting({}, QStringLiteral("Runs"), rtLong, runs, title, 1, 0);
    std::printf("run %d, %s in %s\n", runs, saved ? "saved" : "NOT saved",
                qPrintable(settings.GetSettingPath(title, 1, 0)));

    crvRegistry registry;
    const QString key = QStringLiteral("Software\\Sablewing\\Example");
    registry.SetValue(HKEY_CURRENT_USER, key, QStringLiteral("Greeting"), rtString, QStringLiteral("Hello"));
    bool read = false;
    const QString greeting
        = registry.GetValue(HKEY_CURRENT_USER, key, QStringLiteral("Greeting"), rtString, &read).toString();
    std::printf("registry: %s (error %d)\n", read ? qPrintable(greeting) : "-", registry.LastRegError());

    Collection fruit;
    for (const char *name : {"pear", "Apple", "fig"})
        fruit.Add(QString::fromLatin1(name));
    crvSort::global().QuickSortC_ByString(&fruit);
    QStringList sorted;
    for (const QVariant &item : fruit.values())
        sorted.append(item.toString());
    std::printf("sorted: %s\n", qPrintable(sorted.join(u' ')));

    // Sorting fruit as numbers fails: the library raises "Type mismatch" (13).
    qint32 answer = 0;
    try {
        crvSort::global().QuickSortC_ByLong(&fruit);
    } catch (const RuntimeError &error) {
        answer = crvErr::global().ShowErrorBox(crvErr::global().GetErrorMessage(error), 16, title, -1, -1, seconds);
        std::printf("error %d shown, answered %d\n", error.Number(), answer);
    }
    return saved && read && greeting == QLatin1String("Hello") && answer == 1 ? 0 : 1;
}
