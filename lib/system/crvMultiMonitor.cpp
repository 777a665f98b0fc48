#include "lib/system/crvMultiMonitor.h"

#include "platform/CodePage.h"
#include "platform/RuntimeError.h"
#include "support/csSystem.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <limits>

namespace tessera {

namespace {

enum class MultiMonitorFunctions { Undecided, Present, Missing };

// Decided on the first use in each thread, as the platform check was.
thread_local MultiMonitorFunctions t_functions = MultiMonitorFunctions::Undecided;

bool multiMonitorFunctionsMissing()
{
    if (t_functions == MultiMonitorFunctions::Undecided) {
        const bool missing = cs::csIsHostWin95() || cs::csIsHostWinNT40() || cs::csIsHostWinNT351()
            || !qEnvironmentVariableIsEmpty("TESSERA_NO_MULTIMON");
        t_functions = missing ? MultiMonitorFunctions::Missing : MultiMonitorFunctions::Present;
    }
    return t_functions == MultiMonitorFunctions::Missing;
}

// A rectangle with right and bottom outside, in 64 bits so that no sum of
// 32-bit coordinates overflows.
struct Edges {
    qint64 left;
    qint64 top;
    qint64 right;
    qint64 bottom;
};

Edges edgesOf(const QRect &rect)
{
    return {rect.x(), rect.y(), qint64(rect.x()) + rect.width(), qint64(rect.y()) + rect.height()};
}

qint64 overlap(qint64 from1, qint64 to1, qint64 from2, qint64 to2)
{
    return std::max<qint64>(0, std::min(to1, to2) - std::max(from1, from2));
}

// The distance between the closest pixels of two spans; 0 when they overlap.
qint64 gap(qint64 from1, qint64 to1, qint64 from2, qint64 to2)
{
    if (to1 <= from2)
        return from2 - (to1 - 1);
    if (to2 <= from1)
        return from1 - (to2 - 1);
    return 0;
}

const QScreen *nearestTo(const Edges &area, const QList<QScreen *> &screens)
{
    const QScreen *nearest = nullptr;
    double shortest = std::numeric_limits<double>::infinity();
    for (const QScreen *screen : screens) {
        const Edges e = edgesOf(screen->geometry());
        const double dx = double(gap(area.left, area.right, e.left, e.right));
        const double dy = double(gap(area.top, area.bottom, e.top, e.bottom));
        const double squared = dx * dx + dy * dy;
        if (squared < shortest) {
            shortest = squared;
            nearest = screen;
        }
    }
    return nearest;
}

// The screen that \a area (none for a missing window) overlaps most, else
// the one Flags names.
const QScreen *screenFor(std::optional<Edges> area, MonitorFromFlags flags)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (area) {
        if (area->right <= area->left || area->bottom <= area->top)
            area = Edges {area->left, area->top, area->left + 1, area->top + 1};
        const QScreen *best = nullptr;
        qint64 largest = 0;
        for (const QScreen *screen : screens) {
            const Edges e = edgesOf(screen->geometry());
            const qint64 common
                = overlap(area->left, area->right, e.left, e.right) * overlap(area->top, area->bottom, e.top, e.bottom);
            if (common > largest) {
                largest = common;
                best = screen;
            }
        }
        if (best)
            return best;
    }
    switch (flags) {
    case mffDefaultToPrimary:
        return QGuiApplication::primaryScreen();
    case mffDefaultToNearest:
        return area ? nearestTo(*area, screens) : QGuiApplication::primaryScreen();
    case mffDefaultToNull:
        break;
    }
    return nullptr;
}

} // namespace

std::optional<Monitor> crvMultiMonitor::answer(const QScreen *screen, bool pseudo)
{
    if (!screen)
        return std::nullopt;
    const auto rectOf = [](const QRect &r) {
        return Monitor::Rect {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
    };
    Monitor::Info info;
    info.monitor = rectOf(screen->geometry());
    info.work = rectOf(screen->availableGeometry());
    info.flags = pseudo || screen == QGuiApplication::primaryScreen() ? 1u : 0u;
    const QByteArray name = pseudo ? QByteArrayLiteral("DISPLAY") : CodePage::toAnsi(screen->name());
    std::memcpy(info.deviceName, name.constData(), std::min<size_t>(name.size(), sizeof info.deviceName - 1));
    return Monitor(info);
}

Collection crvMultiMonitor::GetAllMonitors()
{
    Collection monitors;
    if (multiMonitorFunctionsMissing()) {
        if (const auto pseudo = answer(QGuiApplication::primaryScreen(), true))
            monitors.Add(QVariant::fromValue(*pseudo));
        return monitors;
    }
    for (const QScreen *screen : QGuiApplication::screens())
        monitors.Add(QVariant::fromValue(*answer(screen)));
    return monitors;
}

std::optional<Monitor> crvMultiMonitor::MonitorFromWindow(const QWidget *hWnd, MonitorFromFlags Flags)
{
    if (multiMonitorFunctionsMissing())
        return answer(QGuiApplication::primaryScreen(), true);
    std::optional<Edges> area;
    if (hWnd)
        area = edgesOf(hWnd->isWindow() ? hWnd->frameGeometry() : QRect(hWnd->mapToGlobal(QPoint(0, 0)), hWnd->size()));
    return answer(screenFor(area, Flags));
}

std::optional<Monitor> crvMultiMonitor::MonitorFromPoint(qint32 X, qint32 Y, MonitorFromFlags Flags)
{
    if (multiMonitorFunctionsMissing())
        return answer(QGuiApplication::primaryScreen(), true);
    return answer(screenFor(Edges {X, Y, qint64(X) + 1, qint64(Y) + 1}, Flags));
}

std::optional<Monitor> crvMultiMonitor::MonitorFromRect(qint32 Left, qint32 Top, qint32 Right, qint32 Bottom,
                                                        MonitorFromFlags Flags)
{
    if (multiMonitorFunctionsMissing())
        return answer(QGuiApplication::primaryScreen(), true);
    return answer(screenFor(Edges {Left, Top, Right, Bottom}, Flags));
}

std::optional<Monitor> crvMultiMonitor::MonitorFromNewRect(qint32 Left, qint32 Top, qint32 Width, qint32 Height,
                                                           MonitorFromFlags Flags)
{
    if (multiMonitorFunctionsMissing())
        return answer(QGuiApplication::primaryScreen(), true);
    const qint64 right = qint64(Left) + Width;
    const qint64 bottom = qint64(Top) + Height;
    constexpr qint64 low = std::numeric_limits<qint32>::min();
    constexpr qint64 high = std::numeric_limits<qint32>::max();
    if (right < low || right > high || bottom < low || bottom > high)
        throw RuntimeError(RuntimeError::Overflow);
    return MonitorFromRect(Left, Top, qint32(right), qint32(bottom), Flags);
}

} // namespace tessera
