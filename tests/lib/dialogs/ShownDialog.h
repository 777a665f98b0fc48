#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

namespace corvid::test {

/// Runs \a action on the dialog of type T once the code under test shows it;
/// call it before the call that shows the dialog. Whatever the action leaves
/// open is rejected afterwards, so a failed check never leaves a modal loop
/// waiting. Returns a flag that is set once the action has run.
template <typename T> std::shared_ptr<bool> whenShown(std::function<void(T *)> action)
{
    auto ran = std::make_shared<bool>(false);
    auto poll = std::make_shared<std::function<void()>>();
    const QDeadlineTimer deadline(10000);
    *poll = [=] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            T *dialog = qobject_cast<T *>(widget);
            if (dialog && dialog->isVisible()) {
                *ran = true;
                action(dialog);
                if (dialog->isVisible())
                    dialog->reject();
                *poll = nullptr; // breaks the cycle of the lambda holding itself
                return;
            }
        }
        if (!deadline.hasExpired())
            QTimer::singleShot(10, *poll);
        else
            *poll = nullptr;
    };
    QTimer::singleShot(0, *poll);
    return ran;
}

} // namespace corvid::test
