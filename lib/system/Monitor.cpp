#include "lib/system/Monitor.h"

#include "platform/CodePage.h"
#include "platform/RuntimeError.h"
#include "support/csWindows.h"

#include <QRect>

#include <cstring>
#include <limits>

namespace tessera {

namespace {

bool fits32(qint64 value)
{
    return value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max();
}

// The platform's rectangles keep right and bottom outside; QRect keeps them
// inside. Sizes are taken in 64 bits so that no rectangle overflows here.
void normalize(qint32 *left, qint32 *top, qint32 *right, qint32 *bottom)
{
    const qint64 width = qint64(*right) - *left;
    const qint64 height = qint64(*bottom) - *top;
    if (!fits32(width) || !fits32(height))
        return; // beyond what a QRect holds; the size properties report it

    QRect rect(*left, *top, int(width), int(height));
    cs::csNormalizeRect(rect);
    *left = rect.x();
    *top = rect.y();
    *right = qint32(qint64(rect.x()) + rect.width());
    *bottom = qint32(qint64(rect.y()) + rect.height());
}

qint32 extent(qint32 from, qint32 to)
{
    const qint64 size = qint64(to) - from;
    if (!fits32(size))
        throw RuntimeError(RuntimeError::Overflow);
    return qint32(size);
}

} // namespace

Monitor::Monitor() = default;

Monitor::Monitor(const Info &info)
    : m_info(info)
{
    normalize(&m_info.monitor.left, &m_info.monitor.top, &m_info.monitor.right, &m_info.monitor.bottom);
    normalize(&m_info.work.left, &m_info.work.top, &m_info.work.right, &m_info.work.bottom);
}

bool Monitor::Primary() const
{
    return (m_info.flags & 1u) != 0;
}

qint32 Monitor::Flags() const
{
    return qint32(m_info.flags);
}

QString Monitor::DeviceName() const
{
    char name[sizeof m_info.deviceName];
    std::memcpy(name, m_info.deviceName, sizeof name);
    name[sizeof name - 1] = '\0';
    return CodePage::fromAnsi(QByteArrayView(name, qsizetype(std::strlen(name))));
}

qint32 Monitor::MonitorLeft() const
{
    return m_info.monitor.left;
}

qint32 Monitor::MonitorTop() const
{
    return m_info.monitor.top;
}

qint32 Monitor::MonitorWidth() const
{
    return extent(m_info.monitor.left, m_info.monitor.right);
}

qint32 Monitor::MonitorHeight() const
{
    return extent(m_info.monitor.top, m_info.monitor.bottom);
}

qint32 Monitor::MonitorRight() const
{
    return m_info.monitor.right;
}

qint32 Monitor::MonitorBottom() const
{
    return m_info.monitor.bottom;
}

qint32 Monitor::WorkAreaLeft() const
{
    return m_info.work.left;
}

qint32 Monitor::WorkAreaTop() const
{
    return m_info.work.top;
}

qint32 Monitor::WorkAreaWidth() const
{
    return extent(m_info.work.left, m_info.work.right);
}

qint32 Monitor::WorkAreaHeight() const
{
    return extent(m_info.work.top, m_info.work.bottom);
}

qint32 Monitor::WorkAreaRight() const
{
    return m_info.work.right;
}

qint32 Monitor::WorkAreaBottom() const
{
    return m_info.work.bottom;
}

} // namespace tessera
