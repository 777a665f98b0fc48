#pragma once

#include <QByteArray>
#include <QRect>

#include <optional>

class QWidget;

namespace tessera {

/// The platform's 44-byte window-placement record (little-endian): length,
/// flags, show command, minimised and maximised positions, and the normal
/// rectangle (left, top, right, bottom; right and bottom exclusive).
///
/// Here the normal rectangle is the window's client area in screen
/// coordinates (QWidget::normalGeometry / setGeometry), not its frame: Qt
/// learns the frame only once the window manager has decorated a shown
/// window, so a frame rectangle would drift by the frame on every save and
/// restore. A rectangle taken from a window and applied back is the same.
struct WindowPlacement {
    static constexpr qsizetype RecordSize = 44;

    // Show commands and flags of the record.
    static constexpr qint32 SW_HIDE = 0;
    static constexpr qint32 SW_SHOWNORMAL = 1;
    static constexpr qint32 SW_SHOWMINIMIZED = 2;
    static constexpr qint32 SW_SHOWMAXIMIZED = 3;
    static constexpr qint32 SW_MINIMIZE = 6;
    static constexpr qint32 WPF_RESTORETOMAXIMIZED = 2;

    /// Edges and extents beyond this many pixels are far off any screen.
    static constexpr qint32 MaxCoordinate = 1 << 29;

    qint32 flags = 0;
    qint32 showCommand = SW_SHOWNORMAL;
    qint32 minX = -1, minY = -1;
    qint32 maxX = -1, maxY = -1;
    qint32 left = 0, top = 0, right = 0, bottom = 0;

    /// The record of \a window as the platform reports it: show command 1
    /// (normal), 2 (minimised, flag 2 when it restores to maximised) or 3
    /// (maximised or full screen); no minimised or maximised position (-1).
    static WindowPlacement of(const QWidget *window);

    /// The record in \a data; none unless it holds exactly 44 bytes and its
    /// length field says 44.
    static std::optional<WindowPlacement> fromBytes(const QByteArray &data);
    QByteArray toBytes() const;

    /// The normal rectangle. Edges beyond +-MaxCoordinate are pulled in to
    /// that bound first, so that widths never overflow.
    QRect normalRect() const;
    void setNormalRect(const QRect &rect);

    /// Gives \a window the normal rectangle and the state of the show command
    /// (hidden, normal, minimised or maximised). A hidden window stays hidden
    /// and takes the state when it is shown. False, leaving the window alone,
    /// for a show command the platform does not know.
    bool applyTo(QWidget *window) const;
};

} // namespace tessera
