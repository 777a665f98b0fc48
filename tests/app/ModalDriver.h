#pragma once

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <gtest/gtest.h>

namespace corvid::test {

/// Runs \a action on the modal window that the caller is about to show,
/// from that window's own event loop. Should the action leave the window
/// open, it is hidden a moment later and the test fails, so exec() returns.
inline void whenModalShown(const std::function<void(QWidget *)> &action)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        poll->deleteLater();
        action(modal);
        QTimer::singleShot(1000, modal, [modal] {
            if (modal->isVisible()) {
                ADD_FAILURE() << "the modal window stayed open";
                modal->hide();
            }
        });
    });
    poll->start(10);
}

/// Saves a picture of \a window in the build's screenshot folder, for
/// people to look at; true when it was written.
inline bool saveScreenshot(QWidget *window, const QString &name)
{
    const QImage image = window->grab().toImage();
    return QDir().mkpath(QStringLiteral(CORVID_SCREENSHOT_DIR)) && image.size() == window->size()
        && image.save(QStringLiteral(CORVID_SCREENSHOT_DIR "/") + name + QLatin1String(".png"));
}

} // namespace corvid::test
