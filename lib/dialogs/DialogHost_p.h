#pragma once

#include <QApplication>
#include <QThread>

namespace tessera {

// Qt can only show a dialog from the thread of a widget application; without
// one the dialog wrappers report cderrInitialization instead of crashing.
inline bool canShowDialogs()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return qobject_cast<const QApplication *>(app) && QThread::currentThread() == app->thread();
}

} // namespace tessera
