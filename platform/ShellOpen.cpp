#include "platform/ShellOpen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QUrl>

namespace tessera {

namespace {

QUrl urlFor(const QString &target)
{
    if (!QFileInfo::exists(target)) {
        // A scheme has at least two letters, so a drive letter never counts.
        static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
        if (scheme.match(target).hasMatch())
            return QUrl(target, QUrl::TolerantMode);
    }
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

} // namespace

bool ShellOpen(const QString &target)
{
    if (target.isEmpty() || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return false;
    const QUrl url = urlFor(target);
    if (!url.isValid())
        return false;
    // The platform fails for a missing document; the desktop's launcher
    // would only report that it started.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return false;
    return QDesktopServices::openUrl(url);
}

} // namespace tessera
