#pragma once

#include <QString>

namespace tessera::dialogs {

/// Starts the system-information tool for the about box's button: the tool
/// the registry names (under the machine's "SOFTWARE\Microsoft": the value
/// "PATH" of "Shared Tools\MSINFO", else MSINFO32.EXE in the folder of the
/// value "MSINFO" of "Shared Tools Location"), which must exist; when
/// there is none, the first desktop system monitor found on PATH. An
/// executable file is started as a program, another file is opened with the
/// desktop's handler. False when nothing was found or could be started.
bool StartSystemInfoTool();

/// The system monitors looked for on PATH, in this order.
inline const char *const SystemMonitors[] = {"gnome-system-monitor", "plasma-systemmonitor", "ksysguard",
                                             "mate-system-monitor",  "xfce4-taskmanager",    "lxtask"};

} // namespace tessera::dialogs
