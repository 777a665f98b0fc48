// Started by crvCorvidSettingsTest: shows a window named "frmSaved" at the
// geometry and in the state given, and saves its placement for the program
// "Placement App" 2.5.
//   tessera_placement_saver X Y WIDTH HEIGHT normal|maximized|minimized
#include "lib/system/crvCorvidSettings.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6)
        return 2;
    QWidget window;
    window.setObjectName(QStringLiteral("frmSaved"));
    window.setGeometry(args.at(1).toInt(), args.at(2).toInt(), args.at(3).toInt(), args.at(4).toInt());
    window.show();
    if (args.at(5) == QLatin1String("maximized"))
        window.showMaximized();
    else if (args.at(5) == QLatin1String("minimized"))
        window.showMinimized();
    QApplication::processEvents();
    tessera::crvCorvidSettings settings;
    return settings.SaveFormPlacement(&window, {}, QStringLiteral("Window placement"), QStringLiteral("Placement App"),
                                      2, 5)
        ? 0
        : 1;
}
