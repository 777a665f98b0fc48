#include "app/common/LocalFileDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace quillon {

LocalFileDrop::LocalFileDrop(QWidget *form, Accepts accepts, Take take)
    : QObject(form)
    , m_accepts(std::move(accepts))
    , m_take(std::move(take))
{
    form->setAcceptDrops(true);
    form->installEventFilter(this);
    const QList<QWidget *> controls = form->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (control->acceptDrops())
            control->installEventFilter(this);
    }
}

QString LocalFileDrop::acceptedPath(const QMimeData *data, const Accepts &accepts)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile() && accepts(url.toLocalFile()))
            return url.toLocalFile();
    }
    return {};
}

bool LocalFileDrop::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (acceptedPath(drag->mimeData(), m_accepts).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = acceptedPath(drop->mimeData(), m_accepts);
        if (path.isEmpty())
            return false;
        drop->acceptProposedAction();
        m_take(path);
        return true;
    }
    default:
        return false;
    }
}

} // namespace quillon
