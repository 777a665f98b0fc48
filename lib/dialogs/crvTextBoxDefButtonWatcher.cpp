#include "lib/dialogs/crvTextBoxDefButtonWatcher.h"

#include <QEvent>
#include <QPushButton>

namespace tessera {

crvTextBoxDefButtonWatcher::crvTextBoxDefButtonWatcher(QObject *parent)
    : QObject(parent)
{ }

crvTextBoxDefButtonWatcher::~crvTextBoxDefButtonWatcher()
{
    if (m_textBox)
        m_textBox->removeEventFilter(this);
}

void crvTextBoxDefButtonWatcher::Init(QPushButton *Global_CommandButton, QPushButton *Local_CommandButton,
                                      QWidget *This_TextBox)
{
    if (m_textBox)
        m_textBox->removeEventFilter(this);
    m_global = Global_CommandButton;
    m_local = Local_CommandButton;
    m_textBox = This_TextBox;
    if (m_textBox)
        m_textBox->installEventFilter(this);
}

bool crvTextBoxDefButtonWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_textBox) {
        if (event->type() == QEvent::FocusIn) {
            if (m_local)
                m_local->setDefault(true);
        } else if (event->type() == QEvent::FocusOut) {
            if (m_local)
                m_local->setDefault(false);
            if (m_global)
                m_global->setDefault(true);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tessera
