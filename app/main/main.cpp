// quillon: the desktop program. Its start-up routine is modMain::Main.
#include "app/common/ProgramInfo.h"
#include "app/main/CommandLineHelp.h"
#include "app/main/TerminationSignals.h"
#include "app/main/modMain.h"
#include "support/csText.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // Before the application, which needs a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const std::optional<int> status = quillon::answerCommandLineRequest(arguments, stdout))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillon"));
    QApplication::setApplicationVersion(
        cs::csFormatVersion(quillon::ProgramInfo::Major, quillon::ProgramInfo::Minor, quillon::ProgramInfo::Revision));
    // Message boxes carry the program's title.
    QApplication::setApplicationDisplayName(quillon::ProgramInfo::Title());
    QGuiApplication::setDesktopFileName(QStringLiteral("sablewing-quillon"));

    const quillon::TerminationSignals signalWatch;
    quillon::modMain::Main();
    return QApplication::exec();
}
