#pragma once

#include "app/common/TextHolder.h"

namespace quillon {

/// A TextHolder over a text of its own, for callers without a window.
///
///     StringTextHolder folder(QStringLiteral(" /tmp/out "));
///     modMail::MakePostMail(folder, from, to, caption, picture);
///     // folder.text() is now "/tmp/out"
class StringTextHolder : public TextHolder
{
public:
    explicit StringTextHolder(const QString &text = {})
        : m_text(text)
    { }

    QString text() const override { return m_text; }
    void setText(const QString &text) override { m_text = text; }

private:
    QString m_text;
};

} // namespace quillon
