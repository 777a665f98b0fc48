#pragma once

#include <QByteArray>
#include <QString>

namespace corvid::test {

/// The data the registry writer helper stores under value \a index: its
/// length and bytes both depend on the index, so a torn or mixed-up value
/// never matches.
inline QByteArray registryPayload(int index, int size)
{
    QByteArray data = QByteArray::number(index) + ':';
    data.reserve(size);
    for (int i = data.size(); i < size; ++i)
        data.append(char((index * 31 + i) % 251));
    return data;
}

inline QString registryValueName(const QString &prefix, int index)
{
    return prefix + QString::number(index);
}

} // namespace corvid::test
