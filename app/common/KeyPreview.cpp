#include "app/common/KeyPreview.h"

#include <QKeyEvent>
#include <QWidget>

namespace quillon {

KeyPreview::KeyPreview(QWidget *form, Handler handler)
    : QObject(form)
    , m_form(form)
    , m_handler(std::move(handler))
{
    form->installEventFilter(this);
    const QList<QWidget *> controls = form->findChildren<QWidget *>();
    for (QWidget *control : controls)
        control->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || static_cast<QWidget *>(watched)->window() != m_form)
        return false;
    return m_handler(static_cast<QKeyEvent *>(event));
}

} // namespace quillon
