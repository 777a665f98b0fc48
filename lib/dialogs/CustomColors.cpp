#include "lib/dialogs/CustomColors.h"

#include "platform/HexDigits.h"
#include "platform/RuntimeError.h"
#include "support/csText.h"

#include <QStringList>

#include <array>
#include <optional>

namespace tessera {

namespace {

constexpr qint32 SlotCount = 16;
constexpr qint32 LargestColor = 0xFFFFFF;

// A field as the platform reads "&H" + field: hexadecimal digits only. Values
// past 0xFFFFFF are no colours (and longer fields would not fit 32 bits), so
// they fail as well.
std::optional<qint32> colorOf(const QString &field)
{
    if (const std::optional<quint32> value = hexDigitsValue(field, LargestColor))
        return qint32(*value);
    return std::nullopt;
}

} // namespace

class CustomColors::Private
{
public:
    std::array<qint32, SlotCount> colors {};
};

CustomColors::CustomColors()
    : d(std::make_unique<Private>())
{ }

CustomColors::~CustomColors() = default;

qint32 CustomColors::Item(qint32 Index) const
{
    if (Index < 0 || Index >= SlotCount)
        throw RuntimeError(RuntimeError::SubscriptOutOfRange);
    return d->colors[Index];
}

void CustomColors::setItem(qint32 Index, qint32 Color)
{
    if (Index < 0 || Index >= SlotCount)
        throw RuntimeError(RuntimeError::SubscriptOutOfRange);
    d->colors[Index] = Color;
}

qint32 CustomColors::Count() const
{
    return SlotCount;
}

QString CustomColors::toString() const
{
    QStringList fields;
    for (const qint32 color : d->colors)
        fields.append(cs::csHex4(quint32(color)));
    return fields.join(QLatin1Char(' '));
}

bool CustomColors::fromString(const QString &Colors)
{
    if (Colors.isEmpty())
        return false;
    qint32 slot = 0;
    for (const QString &piece : Colors.split(QLatin1Char(' '))) {
        if (slot == SlotCount)
            break;
        const QString field = cs::csTrimEx(piece);
        if (field.isEmpty())
            continue;
        d->colors[slot++] = colorOf(field).value_or(0);
    }
    return true;
}

} // namespace tessera
