#include "platform/VariantConvert.h"

#include "platform/RuntimeError.h"
#include "platform/VariantValue_p.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>

namespace tessera {

namespace detail {

namespace {

// The platform's dates count days from 30 December 1899; the time of day is
// the fraction.
constexpr qint64 msecsPerDay = 86400000;

long double dayNumber(QDate date, QTime time)
{
    static const qint64 epoch = QDate(1899, 12, 30).toJulianDay();
    const qint64 days = date.isValid() ? date.toJulianDay() - epoch : 0;
    const qint64 msecs = time.isValid() ? time.msecsSinceStartOfDay() : 0;
    return static_cast<long double>(days) + static_cast<long double>(msecs) / msecsPerDay;
}

template <typename T> const T &stored(const QVariant &value)
{
    return *static_cast<const T *>(value.constData());
}

} // namespace

VariantValue classifyVariant(const QVariant &value)
{
    using Kind = VariantValue::Kind;
    VariantValue v;
    const QMetaType type = value.metaType();
    if (!type.isValid())
        return v;
    const auto number = [&v](long double n) {
        v.kind = Kind::Number;
        v.number = n;
        return v;
    };
    switch (type.id()) {
    case QMetaType::Nullptr:
        v.kind = Kind::Null;
        return v;
    case QMetaType::Bool:
        v.isBoolean = true;
        return number(stored<bool>(value) ? -1 : 0);
    case QMetaType::Char:
        return number(stored<char>(value));
    case QMetaType::SChar:
        return number(stored<signed char>(value));
    case QMetaType::UChar:
        return number(stored<uchar>(value));
    case QMetaType::Short:
        return number(stored<short>(value));
    case QMetaType::UShort:
        return number(stored<ushort>(value));
    case QMetaType::Int:
        return number(stored<int>(value));
    case QMetaType::UInt:
        return number(stored<uint>(value));
    case QMetaType::Long:
        return number(stored<long>(value));
    case QMetaType::ULong:
        return number(stored<ulong>(value));
    case QMetaType::LongLong:
        return number(stored<qlonglong>(value));
    case QMetaType::ULongLong:
        return number(stored<qulonglong>(value));
    case QMetaType::Float:
        v.isSingle = true;
        return number(stored<float>(value));
    case QMetaType::Double:
        return number(stored<double>(value));
    case QMetaType::QDate:
        v.isDate = true;
        return number(dayNumber(stored<QDate>(value), QTime()));
    case QMetaType::QTime:
        v.isDate = true;
        return number(dayNumber(QDate(), stored<QTime>(value)));
    case QMetaType::QDateTime: {
        const QDateTime &dt = stored<QDateTime>(value);
        v.isDate = true;
        return number(dayNumber(dt.date(), dt.time()));
    }
    case QMetaType::QString:
        v.kind = Kind::Text;
        v.text = stored<QString>(value);
        return v;
    case QMetaType::QChar:
        v.kind = Kind::Text;
        v.text = QStringView(&stored<QChar>(value), 1);
        return v;
    default:
        break;
    }
    if (type.flags().testFlag(QMetaType::PointerToQObject))
        v.kind = stored<QObject *>(value) ? Kind::Object : Kind::Nothing;
    else
        v.kind = Kind::Other;
    return v;
}

void raiseNoValue(const VariantValue &value)
{
    switch (value.kind) {
    case VariantValue::Kind::Object:
        throw RuntimeError(RuntimeError::ObjectDoesntSupport);
    case VariantValue::Kind::Nothing:
        throw RuntimeError(RuntimeError::ObjectVariableNotSet);
    default:
        throw RuntimeError(RuntimeError::TypeMismatch);
    }
}

double numberOfText(QStringView text)
{
    const std::optional<double> parsed = textToNumber(text.toString());
    if (!parsed)
        throw RuntimeError(RuntimeError::TypeMismatch);
    return *parsed;
}

} // namespace detail

using detail::VariantValue;

std::optional<double> textToNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    double n = QLocale().toDouble(trimmed, &ok);
    if (!ok)
        n = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(n))
        return std::nullopt;
    return n;
}

QString variantToText(const QVariant &value)
{
    const VariantValue v = detail::classifyVariant(value);
    switch (v.kind) {
    case VariantValue::Kind::Empty:
        return QString();
    case VariantValue::Kind::Text:
        return v.text.toString();
    case VariantValue::Kind::Number:
        break;
    default:
        detail::raiseNoValue(v);
    }
    if (v.isBoolean)
        return v.number != 0 ? QStringLiteral("True") : QStringLiteral("False");
    if (v.isDate) {
        const QLocale locale;
        switch (value.metaType().id()) {
        case QMetaType::QDate:
            return locale.toString(value.toDate(), QLocale::ShortFormat);
        case QMetaType::QTime:
            return locale.toString(value.toTime(), QLocale::ShortFormat);
        default:
            return locale.toString(value.toDateTime(), QLocale::ShortFormat);
        }
    }
    switch (value.metaType().id()) {
    case QMetaType::Float:
    case QMetaType::Double:
        break;
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QString::number(value.toULongLong());
    default: // every other integer fits in 64 signed bits
        return QString::number(static_cast<qint64>(v.number));
    }
    QString text = QString::number(double(v.number), 'G', v.isSingle ? 7 : 15);
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

qint32 variantToLong(const QVariant &value)
{
    const VariantValue v = detail::classifyVariant(value);
    long double n = 0;
    switch (v.kind) {
    case VariantValue::Kind::Empty:
        return 0;
    case VariantValue::Kind::Number:
        n = v.number;
        break;
    case VariantValue::Kind::Text:
        n = detail::numberOfText(v.text);
        break;
    default:
        detail::raiseNoValue(v);
    }
    // rint rounds half to even under the default rounding mode, as the platform does.
    const long double rounded = std::rint(n);
    if (!(rounded >= std::numeric_limits<qint32>::min() && rounded <= std::numeric_limits<qint32>::max()))
        throw RuntimeError(RuntimeError::Overflow);
    return static_cast<qint32>(rounded);
}

} // namespace tessera
