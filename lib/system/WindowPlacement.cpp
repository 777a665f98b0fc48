#include "lib/system/WindowPlacement_p.h"

#include <QWidget>
#include <QtEndian>

#include <algorithm>

namespace tessera {

namespace {

qint32 bounded(qint64 value)
{
    return qint32(std::clamp<qint64>(value, -WindowPlacement::MaxCoordinate, WindowPlacement::MaxCoordinate));
}

} // namespace

WindowPlacement WindowPlacement::of(const QWidget *window)
{
    WindowPlacement placement;
    const Qt::WindowStates state = window->windowState();
    if (state & Qt::WindowMinimized) {
        placement.showCommand = SW_SHOWMINIMIZED;
        if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
            placement.flags = WPF_RESTORETOMAXIMIZED;
    } else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        placement.showCommand = SW_SHOWMAXIMIZED;
    }
    // A child widget, or a window that never had a state, has no separate
    // normal geometry: its geometry is the normal one.
    const QRect normal = window->normalGeometry();
    placement.setNormalRect(normal.isValid() ? normal : window->geometry());
    return placement;
}

std::optional<WindowPlacement> WindowPlacement::fromBytes(const QByteArray &data)
{
    if (data.size() != RecordSize)
        return std::nullopt;
    qint32 fields[RecordSize / 4];
    for (qsizetype i = 0; i < RecordSize / 4; ++i)
        fields[i] = qFromLittleEndian<qint32>(data.constData() + 4 * i);
    if (fields[0] != RecordSize)
        return std::nullopt;
    WindowPlacement p;
    p.flags = fields[1];
    p.showCommand = fields[2];
    p.minX = fields[3];
    p.minY = fields[4];
    p.maxX = fields[5];
    p.maxY = fields[6];
    p.left = fields[7];
    p.top = fields[8];
    p.right = fields[9];
    p.bottom = fields[10];
    return p;
}

QByteArray WindowPlacement::toBytes() const
{
    const qint32 fields[] = {qint32(RecordSize), flags, showCommand, minX, minY, maxX, maxY, left, top, right, bottom};
    static_assert(sizeof(fields) == RecordSize);
    QByteArray data(RecordSize, '\0');
    for (qsizetype i = 0; i < RecordSize / 4; ++i)
        qToLittleEndian<qint32>(fields[i], data.data() + 4 * i);
    return data;
}

QRect WindowPlacement::normalRect() const
{
    const qint32 x = bounded(left);
    const qint32 y = bounded(top);
    // A reversed rectangle keeps its negative extent for csNormalizeRect to turn around.
    return QRect(x, y, bounded(qint64(right) - x), bounded(qint64(bottom) - y));
}

void WindowPlacement::setNormalRect(const QRect &rect)
{
    left = rect.x();
    top = rect.y();
    right = bounded(qint64(rect.x()) + rect.width());
    bottom = bounded(qint64(rect.y()) + rect.height());
}

bool WindowPlacement::applyTo(QWidget *window) const
{
    Qt::WindowStates state = Qt::WindowNoState;
    bool hide = false;
    switch (showCommand) {
    case SW_HIDE:
        hide = true;
        break;
    case SW_SHOWNORMAL:
    case 4: // SW_SHOWNOACTIVATE
    case 5: // SW_SHOW
    case 8: // SW_SHOWNA
    case 9: // SW_RESTORE
    case 10: // SW_SHOWDEFAULT
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case 7: // SW_SHOWMINNOACTIVE
    case 11: // SW_FORCEMINIMIZE
        state = Qt::WindowMinimized;
        if (flags & WPF_RESTORETOMAXIMIZED)
            state |= Qt::WindowMaximized;
        break;
    case SW_SHOWMAXIMIZED:
        state = Qt::WindowMaximized;
        break;
    default:
        return false;
    }
    // The normal geometry is set in the normal state, so that a maximised
    // window keeps it as the place it restores to.
    window->setWindowState(Qt::WindowNoState);
    window->setGeometry(normalRect());
    window->setWindowState(state);
    if (hide)
        window->hide();
    return true;
}

} // namespace tessera
