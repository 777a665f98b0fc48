#pragma once

#include "app/history/CHistory.h"
#include "app/main/modMain.h"
#include "lib/system/crvCorvidSettings.h"
#include "lib/system/crvRegistry.h"

#include <QDir>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace corvid::test {

/// Quillon as on its first run in this sandbox: no stored settings, no
/// history files.
inline void forgetQuillon()
{
    tessera::crvRegistry().DeleteKeyRecurse(tessera::HKEY_CURRENT_USER,
                                            tessera::crvCorvidSettings().GetSettingPath2(quillon::modMain::App()));
    QDir(quillon::CHistory::DataFolder()).removeRecursively();
}

/// Writes a small picture \a name into \a folder (format from the name's
/// extension) and returns its path.
inline QString makePicture(const QString &folder, const QString &name)
{
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(QColor(40, 120, 160));
    const QString path = QDir(folder).filePath(name);
    EXPECT_TRUE(image.save(path, QFileInfo(name).suffix().toUpper().toLatin1().constData())) << qPrintable(path);
    return path;
}

/// The .EML files of \a folder.
inline QStringList mailsIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.EML")}, QDir::Files);
}

/// The control \a name of \a window; fails the test when there is none.
template <class T> T *control(const QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << "no control " << name;
    return found;
}

} // namespace corvid::test
