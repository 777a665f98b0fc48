#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace quillon {

/// Ctrl+A for a text box: once InitSelectAllHook was called, Ctrl+A (Ctrl
/// the only modifier) selects the box's whole text (csHighlightText) and
/// the key goes no further, so nothing is typed; Ctrl+Shift+A and every
/// other key pass unchanged. The key press that carries Ctrl+A is also the
/// one that carries its character, so swallowing it swallows both.
///
/// The hook watches the box's key events as an event filter; attaching
/// another box, or destroying the hook, lets the box go.
///
///     crvTBHooks hooks;
///     hooks.setTextBox(txtCaption);
///     hooks.InitSelectAllHook();
class crvTBHooks : public QObject
{
    Q_OBJECT

public:
    explicit crvTBHooks(QObject *parent = nullptr);
    ~crvTBHooks() override;

    /// The attached text box; nullptr when none is attached or it was
    /// destroyed.
    QWidget *TextBox() const;
    /// Attaches \a textBox, a QLineEdit or a QPlainTextEdit, or detaches
    /// with nullptr. Raises RuntimeError 13 (type mismatch) for any other
    /// widget.
    void setTextBox(QWidget *textBox);

    /// Turns the select-all behaviour on.
    void InitSelectAllHook();
    /// False until InitSelectAllHook.
    bool SelectAllEnabled() const { return m_selectAllEnabled; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_textBox;
    bool m_selectAllEnabled = false;
};

} // namespace quillon
