#include "app/main/modMain.h"

#include "app/common/ProgramInfo.h"
#include "app/common/modSkylark.h"
#include "app/mail/RegularFileReader.h"
#include "app/main/frmMain.h"
#include "lib/errors/CAppStub.h"
#include "lib/system/crvMain.h"
#include "platform/MessageBox.h"
#include "support/csFiles.h"
#include "support/csSystem.h"
#include "support/csText.h"
#include "support/csWindows.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace quillon::modMain {

QObject *App()
{
    static tessera::CAppStub *const app = [] {
        auto *stub = new tessera::CAppStub;
        stub->Init(ProgramInfo::Title(), ProgramInfo::Major, ProgramInfo::Minor, ProgramInfo::Revision);
        return stub;
    }();
    return app;
}

QString Command()
{
    return QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
}

bool SetFileIfExists(QString &Path, QLineEdit *Box)
{
    Path = cs::csTrimEx(Path);
    if (Path.isEmpty() || !cs::csIsFileExist(Path))
        return false;
    // A pipe, device or socket would hang or act when read as a picture.
    if (const QString kind = RegularFileReader::nonRegularKind(Path); !kind.isEmpty()) {
        tessera::MessageBox::show(
            Path + QLatin1String("\r\n\r\nThis is ") + kind
                + QLatin1String(", not a picture file. Pictures are read from regular files only."),
            tessera::MessageBox::Critical, ProgramInfo::Title());
        return false;
    }
    Box->setText(Path);
    Box->end(false);
    return true;
}

void ShowAboutBox(QWidget *Window)
{
    tessera::crvMain::global().ShowAboutBox(Window, App(), {}, {}, QStringLiteral("Соррель"));
}

void Main()
{
    cs::csRegisterAppPath();
    if (!cs::csIsInIDE())
        cs::csSetWindowResIconAll(cs::csGetThunderMainHandle(), QStringLiteral("A_MAIN"));
    modSkylark::ShowSkylarkToolbar();
    auto *main = new frmMain(Command());
    main->setAttribute(Qt::WA_DeleteOnClose);
    main->show();
}

} // namespace quillon::modMain
