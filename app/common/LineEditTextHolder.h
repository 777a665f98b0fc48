#pragma once

#include "app/common/TextHolder.h"

#include <QPointer>

class QLineEdit;

namespace quillon {

/// A TextHolder over a window's one-line text box. Once the box is
/// destroyed it reads as empty and writes go nowhere.
class LineEditTextHolder : public TextHolder
{
public:
    explicit LineEditTextHolder(QLineEdit *box);

    QString text() const override;
    void setText(const QString &text) override;

private:
    QPointer<QLineEdit> m_box;
};

} // namespace quillon
