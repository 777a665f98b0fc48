#pragma once

#include <QString>

class QLineEdit;
class QObject;
class QWidget;

/// Quillon's start-up routine and the few things every window of the
/// program shares: its application-information object and its command line.
namespace quillon::modMain {

/// The program's application-information object (a tessera::CAppStub):
/// Title "Corvid - Quillon", Major 1, Minor 0, Revision 39. The settings
/// store keys the program's values by it. Lives for the whole run.
QObject *App();

/// The program's arguments as one text, joined with single blanks: a
/// picture path given unquoted with blanks in it arrives whole again. Empty
/// without arguments.
QString Command();

/// Trims \a Path (csTrimEx) in the caller's variable; when the result names
/// an existing file, puts it into \a Box, moves the caret to its end and
/// returns true. Otherwise returns false and leaves the box alone. A named
/// pipe, device or socket is refused with a message box that says what it
/// is (reading one as a picture would hang the program or act on the
/// device); a folder is passed over silently, as any non-file.
bool SetFileIfExists(QString &Path, QLineEdit *Box);

/// The library's about box for \a Window (Shift+F1 in every window of the
/// program): its icon, the program's application object, no description and
/// no picture, with the picture's tool tip "Соррель".
void ShowAboutBox(QWidget *Window);

/// The start-up routine: registers the program with the desktop
/// (csRegisterAppPath), gives the application's owner window the icon
/// "A_MAIN", starts the optional Skylark toolbar and shows a new main window
/// (not modal) that deletes itself when closed. The process ends when the
/// last window closes. Needs a QApplication.
void Main();

} // namespace quillon::modMain
