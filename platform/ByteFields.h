#pragma once

#include <QByteArrayView>

namespace tessera {

/// Calls \a visit with each piece of \a text between the separators \a sep,
/// empty pieces left out, until \a visit returns false: the lines of a
/// /proc file, the blank-separated fields of one of its lines.
template <typename Visit> void forEachByteField(QByteArrayView text, char sep, Visit visit)
{
    while (!text.isEmpty()) {
        qsizetype end = text.indexOf(sep);
        if (end < 0)
            end = text.size();
        if (end > 0 && !visit(text.first(end)))
            return;
        text = text.sliced(end < text.size() ? end + 1 : end);
    }
}

} // namespace tessera
