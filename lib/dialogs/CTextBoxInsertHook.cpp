#include "lib/dialogs/CTextBoxInsertHook.h"

#include "platform/RuntimeError.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace tessera {

namespace {

bool isLocked(const QObject *textBox)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(textBox))
        return line->isReadOnly();
    if (const auto *text = qobject_cast<const QPlainTextEdit *>(textBox))
        return text->isReadOnly();
    return false;
}

} // namespace

CTextBoxInsertHook::CTextBoxInsertHook(QObject *parent)
    : QObject(parent)
{ }

CTextBoxInsertHook::~CTextBoxInsertHook()
{
    setCurrentHook(nullptr);
}

QWidget *CTextBoxInsertHook::CurrentHook() const
{
    return m_textBox;
}

void CTextBoxInsertHook::setCurrentHook(QWidget *textBox)
{
    if (textBox && !isTextBox(textBox))
        throw RuntimeError(RuntimeError::TypeMismatch);
    if (m_textBox)
        m_textBox->removeEventFilter(this);
    m_textBox = textBox;
    if (textBox)
        textBox->installEventFilter(this);
}

bool CTextBoxInsertHook::isTextBox(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget);
}

bool CTextBoxInsertHook::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_textBox && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Insert && modifiers == Qt::ShiftModifier && isLocked(watched))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tessera
