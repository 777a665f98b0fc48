#include "app/common/LineEditTextHolder.h"

#include <QLineEdit>

namespace quillon {

LineEditTextHolder::LineEditTextHolder(QLineEdit *box)
    : m_box(box)
{ }

QString LineEditTextHolder::text() const
{
    return m_box ? m_box->text() : QString();
}

void LineEditTextHolder::setText(const QString &text)
{
    if (m_box)
        m_box->setText(text);
}

} // namespace quillon
