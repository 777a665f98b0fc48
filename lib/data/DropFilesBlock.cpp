#include "lib/data/DropFilesBlock.h"

#include "platform/CodePage.h"
#include "support/csText.h"

#include <QtEndian>

namespace tessera {

namespace {

constexpr qsizetype WideFlagOffset = 16;

void appendUtf16(QByteArray &out, QStringView text)
{
    for (const QChar c : text) {
        out += char(c.unicode() & 0xFF);
        out += char(c.unicode() >> 8);
    }
}

QString fromUtf16(QByteArrayView bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(bytes.data() + 2 * i));
    return text;
}

} // namespace

QByteArray DropFilesBlock::build(const QStringList &names, bool unicode)
{
    QByteArray block(HeaderSize, '\0');
    qToLittleEndian<quint32>(quint32(HeaderSize), block.data());
    qToLittleEndian<quint32>(unicode ? 1 : 0, block.data() + WideFlagOffset);
    QString list;
    for (const QString &name : names)
        list += name + QChar(0);
    list += QChar(0);
    if (unicode)
        appendUtf16(block, list);
    else
        block += CodePage::toAnsi(list);
    return block;
}

std::optional<QStringList> DropFilesBlock::read(const QByteArray &block)
{
    if (block.size() < HeaderSize)
        return std::nullopt;
    const quint32 listOffset = qFromLittleEndian<quint32>(block.constData());
    if (listOffset < quint32(HeaderSize))
        return std::nullopt;
    QStringList names;
    if (listOffset >= quint32(block.size()))
        return names;
    const QByteArrayView list = QByteArrayView(block).sliced(listOffset);
    const bool wide = qFromLittleEndian<quint32>(block.constData() + WideFlagOffset) != 0;
    const QString text = wide ? fromUtf16(list) : CodePage::fromAnsi(list);
    for (const QString &piece : text.split(QChar(0))) {
        if (!cs::csTrimEx(piece).isEmpty())
            names.append(piece);
    }
    return names;
}

} // namespace tessera
