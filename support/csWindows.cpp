#include "support/csWindows.h"

#include "platform/RuntimeError.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegion>
#include <QScreen>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>

namespace cs {

namespace {

QWidget *applicationOwner = nullptr;

void requireWindow(const QWidget *window)
{
    if (!window)
        throw tessera::RuntimeError(tessera::RuntimeError::InvalidProcedureCall);
}

// Places a w x h rectangle inside \a area: shrunk to fit, then moved by the
// least amount that brings it in (an empty one at least to a visible pixel).
QRect fitInto(const QRect &area, int x, int y, int w, int h)
{
    w = std::min(w, area.width());
    h = std::min(h, area.height());
    x = std::clamp(x, area.left(), area.left() + area.width() - std::max(w, 1));
    y = std::clamp(y, area.top(), area.top() + area.height() - std::max(h, 1));
    return QRect(x, y, w, h);
}

qint64 distanceSquared(const QRect &area, const QPoint &p)
{
    const qint64 dx = p.x() < area.left() ? area.left() - p.x() : (p.x() > area.right() ? p.x() - area.right() : 0);
    const qint64 dy = p.y() < area.top() ? area.top() - p.y() : (p.y() > area.bottom() ? p.y() - area.bottom() : 0);
    return dx * dx + dy * dy;
}

QScreen *bestScreenFor(const QRect &probe, const QList<QScreen *> &screens)
{
    QScreen *best = nullptr;
    qint64 bestArea = 0;
    for (QScreen *screen : screens) {
        const QRect common = screen->geometry().intersected(probe);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            bestArea = area;
            best = screen;
        }
    }
    if (best)
        return best;
    qint64 bestDistance = -1;
    for (QScreen *screen : screens) {
        const qint64 d = distanceSquared(screen->geometry(), probe.center());
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = screen;
        }
    }
    return best;
}

double twipsPerPixel(qreal dpi)
{
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

} // namespace

void csCenterFormEx(QWidget *window, QWidget *owner)
{
    requireWindow(window);
    if (!window->isWindow())
        throw tessera::RuntimeError(tessera::RuntimeError::InvalidProcedureCall);

    const QSize size = window->frameGeometry().size();
    QScreen *screen = owner ? owner->screen() : window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect around = owner
        ? (owner->isWindow() ? owner->frameGeometry() : QRect(owner->mapToGlobal(QPoint(0, 0)), owner->size()))
        : area;
    const int x = around.x() + (around.width() - size.width()) / 2;
    const int y = around.y() + (around.height() - size.height()) / 2;
    // Only the position changes: a window larger than the screen keeps its size
    // and shows its top-left corner.
    const QRect placed = fitInto(area, x, y, size.width(), size.height());
    window->move(placed.topLeft());
}

bool csHighlightText(QWidget *widget)
{
    requireWindow(widget);
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        edit->selectAll();
        return true;
    }
    if (auto *edit = qobject_cast<QPlainTextEdit *>(widget)) {
        edit->selectAll();
        return true;
    }
    if (auto *edit = qobject_cast<QTextEdit *>(widget)) {
        edit->selectAll();
        return true;
    }
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        if (!combo->lineEdit())
            return false;
        combo->lineEdit()->selectAll();
        return true;
    }
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget)) {
        spin->selectAll();
        return true;
    }
    return false;
}

void csPaintDesktop2(QWidget *window)
{
    requireWindow(window);
    const QRect all = window->rect();
    const QColor base = window->palette().color(QPalette::Window);
    // Measured against the whole window, not the repainted part, so partial
    // repaints join without seams.
    QLinearGradient gradient(all.topLeft(), all.bottomLeft());
    gradient.setColorAt(0.0, base.lighter(106));
    gradient.setColorAt(1.0, base.darker(108));
    QPainter painter(window);
    painter.fillRect(all, gradient);
}

bool csUnloadForm(QWidget *window)
{
    requireWindow(window);
    if (!window->close())
        return false;
    window->deleteLater();
    return true;
}

QWidget *csGetThunderMainHandle()
{
    if (applicationOwner)
        return applicationOwner;
    // Never shown and never deleted before the end of the run: it stands for
    // the application, as the original's hidden owner window did.
    applicationOwner = new QWidget(nullptr, Qt::Window);
    applicationOwner->setObjectName(QStringLiteral("csApplicationOwner"));
    applicationOwner->setWindowTitle(csGetThunderMainTitle());
    QObject::connect(qGuiApp, &QGuiApplication::applicationDisplayNameChanged, applicationOwner,
                     [] { applicationOwner->setWindowTitle(csGetThunderMainTitle()); });
    QObject::connect(applicationOwner, &QObject::destroyed, [] { applicationOwner = nullptr; });
    return applicationOwner;
}

QString csGetThunderMainTitle()
{
    return QGuiApplication::applicationDisplayName();
}

void csSetWindowIconAll(QWidget *window, const QIcon &icon)
{
    requireWindow(window);
    window->setWindowIcon(icon);
    if (window == applicationOwner)
        QApplication::setWindowIcon(icon);
}

qint32 csScreenWidthPx()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

qint32 csScreenHeightPx()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

double csScreenTwipsPerPixelX()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return twipsPerPixel(screen ? screen->logicalDotsPerInchX() : 0);
}

double csScreenTwipsPerPixelY()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return twipsPerPixel(screen ? screen->logicalDotsPerInchY() : 0);
}

void csNormalizeRect(QRect &rect)
{
    // Edges as the platform keeps them (right and bottom exclusive), so that
    // turning a reversed rectangle around keeps its extent exactly.
    qint64 left = rect.x(), top = rect.y();
    qint64 right = left + rect.width(), bottom = top + rect.height();
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    const QRect ordered(int(left), int(top), int(right - left), int(bottom - top));
    rect = ordered;

    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return;
    // An empty rectangle still has a place that must be visible.
    const QRect probe(ordered.topLeft(), QSize(std::max(1, ordered.width()), std::max(1, ordered.height())));
    QRegion desktop;
    for (const QScreen *screen : screens)
        desktop += screen->geometry();
    if (QRegion(probe).subtracted(desktop).isEmpty())
        return;

    const QRect area = bestScreenFor(probe, screens)->availableGeometry();
    rect = fitInto(area, ordered.x(), ordered.y(), ordered.width(), ordered.height());
}

} // namespace cs
