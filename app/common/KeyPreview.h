#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;
class QWidget;

namespace quillon {

/// Lets a window see every key press before its controls do, as a form
/// with KeyPreview set: each key press that reaches the window or one of
/// the controls it has when the preview is made is offered to \a handler
/// before the control; a handler that returns true swallows the key. (A
/// key that the control then leaves alone goes on to its parents and is
/// offered again there, so a handler acts only on keys it swallows.)
/// Controls of other windows (a combo box's drop-down list) are not
/// previewed.
class KeyPreview : public QObject
{
public:
    using Handler = std::function<bool(QKeyEvent *)>;

    KeyPreview(QWidget *form, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_form;
    Handler m_handler;
};

} // namespace quillon
