#pragma once

#include "lib/TesseraExport.h"

#include <QMetaType>
#include <QString>

namespace tessera {

/// One display monitor as crvMultiMonitor found it: a copy of the platform's
/// monitor information record (72 bytes) with the monitor's full rectangle,
/// its work area (the part that panels and docks leave free), its flags and
/// its device name. Rectangles are in virtual-desktop pixels (Qt's
/// device-independent pixels); right and bottom lie just outside, so width is
/// right - left.
///
/// Monitors are made by crvMultiMonitor only; a default-constructed Monitor
/// is an empty record (all zero, no name). Monitors are values: they can be
/// copied and kept in a QVariant (and so in a Collection).
///
///     tessera::crvMultiMonitor monitors;
///     if (auto m = monitors.MonitorFromPoint(10, 10, tessera::mffDefaultToPrimary))
///         qDebug() << m->DeviceName() << m->WorkAreaWidth();
class TESSERA_EXPORT Monitor
{
public:
    Monitor();

    /// Bit 0 of Flags(): this is the primary monitor.
    bool Primary() const;
    qint32 Flags() const;
    /// The device name: the output's name as the window system reports it
    /// ("HDMI-1", "DP-2", ...), in the ANSI code page and cut to 31 bytes;
    /// "DISPLAY" for the pseudo-monitor.
    QString DeviceName() const;

    qint32 MonitorLeft() const;
    qint32 MonitorTop() const;
    /// MonitorRight() - MonitorLeft(); raises the overflow error 6 when that
    /// does not fit 32 bits. MonitorHeight() and the work-area sizes likewise.
    qint32 MonitorWidth() const;
    qint32 MonitorHeight() const;
    qint32 MonitorRight() const;
    qint32 MonitorBottom() const;

    qint32 WorkAreaLeft() const;
    qint32 WorkAreaTop() const;
    qint32 WorkAreaWidth() const;
    qint32 WorkAreaHeight() const;
    qint32 WorkAreaRight() const;
    qint32 WorkAreaBottom() const;

private:
    friend class crvMultiMonitor;

    struct Rect {
        qint32 left = 0;
        qint32 top = 0;
        qint32 right = 0;
        qint32 bottom = 0;
    };
    // The platform's extended monitor information record, ANSI form.
    struct Info {
        quint32 size = 72;
        Rect monitor;
        Rect work;
        quint32 flags = 0;
        char deviceName[32] = {};
    };
    static_assert(sizeof(Info) == 72);

    /// Keeps \a info with both rectangles normalised (csNormalizeRect).
    explicit Monitor(const Info &info);

    Info m_info;
};

} // namespace tessera

Q_DECLARE_METATYPE(tessera::Monitor)
