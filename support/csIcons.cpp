#include "platform/RuntimeError.h"
#include "support/csWindows.h"

#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QFile>
#include <QPainter>
#include <QStyle>
#include <QWidget>

namespace cs {

namespace {

int iconSize(QStyle::PixelMetric metric)
{
    return QApplication::style()->pixelMetric(metric);
}

QPixmap pictureOf(const QIcon &icon, QStyle::PixelMetric metric)
{
    if (icon.isNull())
        return {};
    const int side = iconSize(metric);
    return icon.pixmap(QSize(side, side));
}

QPixmap windowIcon(QWidget *window, QStyle::PixelMetric metric)
{
    if (!window)
        throw tessera::RuntimeError(tessera::RuntimeError::InvalidProcedureCall);
    return pictureOf(window->windowIcon(), metric);
}

} // namespace

QIcon csLoadResIcon(const QString &resourceName)
{
    const QString base = QStringLiteral(":/icons/") + resourceName;
    const QString main = base + QStringLiteral(".png");
    // Names are plain identifiers; a path could reach other resources.
    if (resourceName.isEmpty() || resourceName.contains(QLatin1Char('/')) || !QFile::exists(main))
        return {};
    QIcon icon(main);
    const QString small = base + QStringLiteral("-16.png");
    if (QFile::exists(small))
        icon.addFile(small, QSize(16, 16));
    return icon;
}

QPixmap csLoadResIconEx(const QString &resourceName)
{
    return pictureOf(csLoadResIcon(resourceName), QStyle::PM_LargeIconSize);
}

QPixmap csLoadResIconSmallEx(const QString &resourceName)
{
    return pictureOf(csLoadResIcon(resourceName), QStyle::PM_SmallIconSize);
}

bool csSetWindowResIconAll(QWidget *window, const QString &resourceName)
{
    if (!window)
        throw tessera::RuntimeError(tessera::RuntimeError::InvalidProcedureCall);
    const QIcon icon = csLoadResIcon(resourceName);
    if (icon.isNull())
        return false;
    csSetWindowIconAll(window, icon);
    return true;
}

QPixmap csGetWindowIcon(QWidget *window)
{
    return windowIcon(window, QStyle::PM_LargeIconSize);
}

QPixmap csGetWindowIconSmall(QWidget *window)
{
    return windowIcon(window, QStyle::PM_SmallIconSize);
}

QPixmap csGetIconFromHandle(const QIcon &icon)
{
    return pictureOf(icon, QStyle::PM_LargeIconSize);
}

QPixmap csGetIconFromHandle(const QCursor &cursor)
{
    if (!cursor.pixmap().isNull())
        return cursor.pixmap();
    const QBitmap bits = cursor.bitmap();
    if (bits.isNull())
        return {};
    // A two-colour cursor: set bits are black, clear bits white, and the mask
    // says what is drawn at all.
    QPixmap picture(bits.size());
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.setPen(Qt::black);
        painter.drawPixmap(0, 0, bits);
    }
    picture.setMask(cursor.mask());
    return picture;
}

} // namespace cs
