#pragma once

#include <QDialog>
#include <QPointer>

#include <utility>

namespace tessera {

/// A dialog of type T made on the heap to be shown modally once. Its owner
/// window may go while it is open and take the dialog with it (a dialog on
/// the stack would then be deleted twice); held by QPointer, it is deleted
/// exactly once, and a dialog that went counts as cancelled.
///
///     ModalDialog<QColorDialog> dialog(initial, owner);
///     dialog->setOption(QColorDialog::DontUseNativeDialog);
///     if (dialog.exec())
///         use(dialog->selectedColor());
template <typename T> class ModalDialog
{
public:
    template <typename... Args>
    explicit ModalDialog(Args &&...args)
        : m_dialog(new T(std::forward<Args>(args)...))
    { }
    ~ModalDialog() { delete m_dialog.data(); }
    ModalDialog(const ModalDialog &) = delete;
    ModalDialog &operator=(const ModalDialog &) = delete;

    /// Shows the dialog modally; true when it was accepted and still exists.
    bool exec() { return m_dialog && m_dialog->exec() == QDialog::Accepted && m_dialog; }

    /// Whether the dialog still exists.
    explicit operator bool() const { return !m_dialog.isNull(); }
    T *get() const { return m_dialog.data(); }
    T *operator->() const { return m_dialog.data(); }

private:
    QPointer<T> m_dialog;
};

} // namespace tessera
