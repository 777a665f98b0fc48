#pragma once

#include "lib/TesseraExport.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace tessera {

/// The paste guard that crvMain::AddTextBoxInsertHook puts on a text box: it
/// keeps Shift+Insert from pasting into the box while the box is locked
/// (read-only). Ctrl+V, Ctrl+Shift+Insert, every other key and an unlocked
/// box pass unchanged.
///
/// It watches the box's key events as an event filter; binding another box,
/// binding nothing or destroying the guard lets the box go.
class TESSERA_EXPORT CTextBoxInsertHook : public QObject
{
    Q_OBJECT

public:
    explicit CTextBoxInsertHook(QObject *parent = nullptr);
    ~CTextBoxInsertHook() override;

    /// The bound text box; nullptr when none is bound or it was destroyed.
    QWidget *CurrentHook() const;
    /// Binds the guard to \a textBox, a QLineEdit or a QPlainTextEdit, or
    /// unbinds it with nullptr. Raises 13 (type mismatch) for any other widget.
    void setCurrentHook(QWidget *textBox);

    /// Whether \a widget is a text box a guard can be bound to.
    static bool isTextBox(const QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_textBox;
};

} // namespace tessera
