#pragma once

#include <QString>

namespace quillon {

/// A box of text the program reads and writes back, such as the main
/// window's output-folder box: the composer trims the folder in place, so
/// the window, batch mode and the command-line tool all see the trimmed
/// text. LineEditTextHolder holds a window's box, StringTextHolder a plain
/// text.
class TextHolder
{
public:
    virtual ~TextHolder() = default;

    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;
};

} // namespace quillon
