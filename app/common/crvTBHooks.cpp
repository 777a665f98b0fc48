#include "app/common/crvTBHooks.h"

#include "platform/RuntimeError.h"
#include "support/csWindows.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace quillon {

crvTBHooks::crvTBHooks(QObject *parent)
    : QObject(parent)
{ }

crvTBHooks::~crvTBHooks()
{
    setTextBox(nullptr);
}

QWidget *crvTBHooks::TextBox() const
{
    return m_textBox;
}

void crvTBHooks::setTextBox(QWidget *textBox)
{
    if (textBox && !qobject_cast<QLineEdit *>(textBox) && !qobject_cast<QPlainTextEdit *>(textBox))
        throw tessera::RuntimeError(tessera::RuntimeError::TypeMismatch);
    if (m_textBox)
        m_textBox->removeEventFilter(this);
    m_textBox = textBox;
    if (textBox)
        textBox->installEventFilter(this);
}

void crvTBHooks::InitSelectAllHook()
{
    m_selectAllEnabled = true;
}

bool crvTBHooks::eventFilter(QObject *watched, QEvent *event)
{
    if (m_selectAllEnabled && watched == m_textBox && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_A && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
            cs::csHighlightText(m_textBox);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillon
