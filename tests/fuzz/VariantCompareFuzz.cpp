// libFuzzer target: the comparison of dynamically typed values and the sorts
// built on it.
//
// The input is read as a short list of values of every kind the comparison
// knows (integers of each width, doubles with NaN, Booleans, texts, Empty,
// Null, dates). Every pair must compare the same way both ways round and
// every value must equal itself; both sorts must keep every element, and
// where the values have a consistent order (no Empty among numbers and texts
// at once) their result must be ascending.
#include "lib/data/crvSort.h"
#include "platform/VariantCompare.h"

#include <QDate>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class Reader
{
public:
    Reader(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    { }
    bool atEnd() const { return m_pos >= m_size; }
    template <typename T> T take()
    {
        T value {};
        const size_t n = std::min(sizeof(T), m_size - m_pos);
        std::memcpy(&value, m_data + m_pos, n);
        m_pos += n;
        return value;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

QVariant readValue(Reader &in)
{
    switch (in.take<uint8_t>() % 12) {
    case 0:
        return QVariant();
    case 1:
        return QVariant::fromValue(nullptr);
    case 2:
        return bool(in.take<uint8_t>() & 1);
    case 3:
        return QVariant::fromValue(in.take<uint8_t>());
    case 4:
        return QVariant::fromValue(in.take<qint16>());
    case 5:
        return in.take<qint32>();
    case 6:
        return in.take<qint64>();
    case 7:
        return in.take<quint64>();
    case 8:
        return in.take<double>(); // any bit pattern: NaNs, infinities, denormals
    case 9:
        return QDate::fromJulianDay(in.take<qint32>());
    case 10:
        return QChar(in.take<char16_t>());
    default: {
        QString text(in.take<uint8_t>() % 4, Qt::Uninitialized);
        for (QChar &c : text)
            c = QChar(in.take<char16_t>() % 4 == 0 ? in.take<char16_t>() : char16_t(u'0' + in.take<uint8_t>() % 4));
        return text;
    }
    }
}

int sign(int n)
{
    return (n > 0) - (n < 0);
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

QString signature(const QVariant &v)
{
    return QString::fromLatin1(v.typeName()) + QLatin1Char(':') + v.toString();
}

QStringList signatures(const std::vector<QVariant> &values)
{
    QStringList list;
    for (const QVariant &v : values)
        list.append(signature(v));
    list.sort();
    return list;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Reader in(data, size);
    std::vector<QVariant> values;
    while (!in.atEnd() && values.size() < 64)
        values.push_back(readValue(in));

    bool hasEmpty = false;
    bool hasNumber = false;
    bool hasText = false;
    for (const QVariant &v : values) {
        const int type = v.metaType().id();
        hasEmpty |= !v.isValid();
        hasText |= type == QMetaType::QString || type == QMetaType::QChar;
        hasNumber
            |= v.isValid() && type != QMetaType::QString && type != QMetaType::QChar && type != QMetaType::Nullptr;
    }
    for (const QVariant &a : values) {
        check(tessera::compareVariants(a, a) == 0);
        for (const QVariant &b : values)
            check(sign(tessera::compareVariants(a, b)) == -sign(tessera::compareVariants(b, a)));
    }

    const bool consistent = !(hasEmpty && hasNumber && hasText);
    for (const bool quick : {false, true}) {
        auto array = tessera::BoundedArray<QVariant>::fromValues(-3, values);
        if (quick)
            tessera::crvSort::global().QuickSort(array);
        else
            tessera::crvSort::global().InsertionSort(array);
        const std::vector<QVariant> &sorted = array.elements();
        check(signatures(sorted) == signatures(values));
        if (consistent) {
            for (size_t i = 1; i < sorted.size(); ++i)
                check(tessera::compareVariants(sorted[i - 1], sorted[i]) <= 0);
        }
    }
    return 0;
}
