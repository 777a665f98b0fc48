#pragma once

#include <QObject>

#include <functional>

class QMimeData;
class QWidget;

namespace quillon {

/// Takes a file or folder dragged onto a window from a file manager (a
/// text/uri-list of local paths): the window accepts the drag when
/// \a accepts holds for one of the dropped paths, and the first such path
/// goes to \a take on the drop. The window's own controls take such drags
/// for the window, so a path dropped on a text box is not typed into it as
/// text; other drags (plain text) go to the controls as usual.
class LocalFileDrop : public QObject
{
public:
    using Accepts = std::function<bool(const QString &)>;
    using Take = std::function<void(const QString &)>;

    LocalFileDrop(QWidget *form, Accepts accepts, Take take);

    /// The first local path of \a data for which \a accepts holds; empty when
    /// there is none.
    static QString acceptedPath(const QMimeData *data, const Accepts &accepts);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Accepts m_accepts;
    Take m_take;
};

} // namespace quillon
