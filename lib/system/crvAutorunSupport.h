#pragma once

#include "lib/TesseraExport.h"
#include "lib/system/RegistryRoot_Const.h"

#include <QString>

namespace tessera {

/// The programs started at log-on: a string value named AppGUID under
/// "Software\Microsoft\Windows\CurrentVersion\Run" of the current user's
/// registry (ForCurrentUserOnly true, the initial state) or of the machine's
/// (false), whose text is the command line that starts the program.
///
/// So that the desktop really starts the program, AddToAutorun and
/// DeleteFromAutorun keep an XDG autostart entry in step with the value:
/// "<AppGUID>.desktop" (characters other than letters, digits, "-", "_", ".",
/// "~", "{" and "}" written as %XX) in $XDG_CONFIG_HOME/autostart for the
/// user, in /etc/xdg/autostart for the machine ($TESSERA_MACHINE_AUTOSTART_DIR
/// when set, which tests use). Its Exec line starts the command line: the
/// whole line as one program when it names an existing file, else split as
/// CommandLineParser splits (blanks between arguments, double quotes around
/// an argument with blanks). A command line of blanks only is not in autorun
/// and gets no entry. The entry is written whole or not at all; when either
/// half of a change fails, the other half is put back as it was.
///
/// IsInAutorun and GetAutorunString read the registry only.
///
/// Every operation with an empty AppGUID does nothing and answers false (or
/// the empty text). Failures are false results and empty texts; nothing is
/// raised. Without the right to write the machine's registry or its autostart
/// folder, AddToAutorun and DeleteFromAutorun answer false.
///
/// A global class: global() is the calling thread's application object.
///
///     auto &autorun = tessera::crvAutorunSupport::global();
///     autorun.AddToAutorun(QStringLiteral("{5A0C...}")); // this program, for this user
class TESSERA_EXPORT crvAutorunSupport
{
public:
    crvAutorunSupport();

    /// The application object of the calling thread.
    static crvAutorunSupport &global();

    bool ForCurrentUserOnly() const;
    void setForCurrentUserOnly(bool ForCurrentUserOnly);

    /// True when the value's text is not blank (csTrimEx).
    bool IsInAutorun(const QString &AppGUID);
    /// The value's text as stored; empty when there is none.
    QString GetAutorunString(const QString &AppGUID);
    /// Stores \a CommandLine (the running program's own path when empty) and
    /// writes the autostart entry; true when both are in place.
    bool AddToAutorun(const QString &AppGUID, const QString &CommandLine = {});
    /// Removes the value and the autostart entry; true when the value was
    /// there and is gone. A stray entry without a value is removed as well.
    bool DeleteFromAutorun(const QString &AppGUID);

private:
    RegistryRoot_Const m_root = HKEY_CURRENT_USER;
};

} // namespace tessera
