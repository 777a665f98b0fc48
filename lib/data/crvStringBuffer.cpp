#include "lib/data/crvStringBuffer.h"

#include "platform/RuntimeError.h"
#include "platform/VariantConvert.h"

#include <algorithm>
#include <limits>
#include <new>

namespace tessera {

class crvStringBuffer::Private
{
public:
    QString buffer;
    qint32 size = 0;
    qint64 writePosition = 1; // 1-based: the written length + 1, which may pass the 32-bit range by one

    // Size is a 32-bit count; a longer buffer cannot be described.
    static qint32 checkedLength(qint64 length)
    {
        if (length > std::numeric_limits<qint32>::max())
            throw RuntimeError(RuntimeError::Overflow);
        return qint32(length);
    }
};

namespace {

QChar fillerCharacter(const QVariant &character)
{
    switch (character.metaType().id()) {
    case QMetaType::QString: {
        const QString text = character.toString();
        if (text.isEmpty())
            throw RuntimeError(RuntimeError::InvalidProcedureCall);
        return text.front();
    }
    case QMetaType::QChar:
        return character.toChar();
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double: {
        const double code = character.toDouble();
        if (!(code >= 0 && code <= 0xFFFF))
            throw RuntimeError(RuntimeError::InvalidProcedureCall);
        return QChar(char16_t(variantToLong(character)));
    }
    default:
        throw RuntimeError(RuntimeError::InvalidProcedureCall);
    }
}

} // namespace

crvStringBuffer::crvStringBuffer(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Private>())
{ }

crvStringBuffer::~crvStringBuffer() = default;

void crvStringBuffer::Trim()
{
    d->buffer.truncate(d->writePosition - 1);
    d->size = qint32(d->buffer.size());
}

void crvStringBuffer::AddText(const QString &Text)
{
    const qint64 length = Text.size();
    if (length == 0)
        return;
    const qint64 position = d->writePosition;
    try {
        if (d->size < position) {
            // Full: append.
            const qint32 size = Private::checkedLength(d->buffer.size() + length);
            d->buffer.append(Text);
            d->size = size;
        } else if (d->size < position + length) {
            // The piece does not fit short of the filler's end: the filler goes.
            const qint32 size = Private::checkedLength(position - 1 + length);
            QString next;
            next.reserve(size);
            next.append(QStringView(d->buffer).first(position - 1));
            next.append(Text);
            d->buffer = std::move(next);
            d->size = size;
        } else {
            // Over the filler, in place.
            std::copy(Text.cbegin(), Text.cend(), d->buffer.begin() + (position - 1));
        }
    } catch (const std::bad_alloc &) {
        throw RuntimeError(RuntimeError::OutOfMemory);
    }
    d->writePosition = position + length;
}

void crvStringBuffer::Alloc(qint32 Size, const QVariant &Character)
{
    if (Size < 0)
        throw RuntimeError(RuntimeError::InvalidProcedureCall);
    const QChar filler = fillerCharacter(Character);
    try {
        d->buffer = QString(Size, filler);
    } catch (const std::bad_alloc &) {
        throw RuntimeError(RuntimeError::OutOfMemory);
    }
    d->size = Size;
    d->writePosition = 1;
}

QString crvStringBuffer::Value() const
{
    return d->buffer;
}

void crvStringBuffer::setValue(const QString &text)
{
    const qint32 length = Private::checkedLength(text.size());
    d->buffer = text;
    d->size = length;
    d->writePosition = length + 1;
}

qint32 crvStringBuffer::Size() const
{
    return d->size;
}

} // namespace tessera
