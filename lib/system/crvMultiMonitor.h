#pragma once

#include "lib/TesseraExport.h"
#include "lib/system/Monitor.h"
#include "lib/system/MonitorFromFlags.h"
#include "platform/Collection.h"

#include <optional>

class QScreen;
class QWidget;

namespace tessera {

/// Lists the display monitors (Qt's screens) and finds the monitor that holds
/// a window, a point or a rectangle. Every answer is a Monitor, a copy made at
/// the time of the call.
///
/// Lookups follow the platform's rules: a point belongs to the monitor whose
/// rectangle contains it (the right and bottom edges lie outside); a
/// rectangle or a window belongs to the monitor it overlaps most, the first
/// one in enumeration order on a tie; a rectangle without area counts as the
/// pixel at its left-top corner. When no monitor matches, Flags decides:
/// mffDefaultToNull gives none, mffDefaultToPrimary the primary monitor, and
/// mffDefaultToNearest the monitor at the shortest straight distance from the
/// point or rectangle (between their closest pixels; the first on a tie).
/// Any other Flags value counts as mffDefaultToNull.
///
/// Where the platform lacks the multi-monitor functions, every question gets
/// one pseudo-monitor named "DISPLAY": the primary screen's rectangle and work
/// area, flagged primary. Whether they are there is decided once per thread,
/// on first use: they are missing on the old systems that
/// cs::csIsHostWin95(), csIsHostWinNT40() and csIsHostWinNT351() report, and
/// when the environment variable TESSERA_NO_MULTIMON is set and not empty (so
/// that a host or a test can ask for the single-monitor answers).
///
/// Without a GUI application there are no screens: GetAllMonitors() is empty
/// and every lookup gives none.
///
///     tessera::crvMultiMonitor monitors;
///     auto m = monitors.MonitorFromWindow(window, tessera::mffDefaultToNearest);
///     window->move(m->WorkAreaLeft(), m->WorkAreaTop());
class TESSERA_EXPORT crvMultiMonitor
{
public:
    /// Every monitor, as Monitor values in a QVariant each, in the window
    /// system's order (Qt puts the primary screen first).
    Collection GetAllMonitors();

    /// The monitor that \a hWnd overlaps most: a top-level window with its
    /// frame, a child widget with its own rectangle. A null window matches no
    /// monitor; then mffDefaultToNull gives none and the other flags the
    /// primary monitor.
    std::optional<Monitor> MonitorFromWindow(const QWidget *hWnd, MonitorFromFlags Flags);
    std::optional<Monitor> MonitorFromPoint(qint32 X, qint32 Y, MonitorFromFlags Flags);
    std::optional<Monitor> MonitorFromRect(qint32 Left, qint32 Top, qint32 Right, qint32 Bottom,
                                           MonitorFromFlags Flags);
    /// As MonitorFromRect with right = Left + Width and bottom = Top + Height;
    /// raises the overflow error 6 when a sum does not fit 32 bits.
    std::optional<Monitor> MonitorFromNewRect(qint32 Left, qint32 Top, qint32 Width, qint32 Height,
                                              MonitorFromFlags Flags);

private:
    // The record of \a screen, or the pseudo-monitor made from it; none
    // without a screen.
    static std::optional<Monitor> answer(const QScreen *screen, bool pseudo = false);
};

} // namespace tessera
