#include "platform/VersionRecord.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <limits>

namespace tessera {

namespace {

constexpr quint32 PT_NOTE = 4;
constexpr quint16 ET_EXEC = 2;
constexpr quint16 ET_DYN = 3;
constexpr quint32 RecordType = 1;
const QByteArrayView RecordOwner("Tessera");
// Bounds of what a sane image holds; anything larger is taken for damage.
constexpr quint64 MaxProgramHeaders = 4096;
constexpr quint64 MaxProgramHeaderSize = 256;
constexpr quint64 MaxNoteSegment = 1024 * 1024;

class Fields
{
public:
    Fields(QByteArrayView bytes, bool bigEndian)
        : m_bytes(bytes)
        , m_bigEndian(bigEndian)
    { }
    // A field of \a T at \a offset; nothing past the end.
    template <typename T> std::optional<T> at(quint64 offset) const
    {
        if (offset > quint64(m_bytes.size()) || quint64(m_bytes.size()) - offset < sizeof(T))
            return std::nullopt;
        const auto *p = reinterpret_cast<const uchar *>(m_bytes.data()) + offset;
        return m_bigEndian ? qFromBigEndian<T>(p) : qFromLittleEndian<T>(p);
    }

private:
    QByteArrayView m_bytes;
    bool m_bigEndian;
};

quint64 alignedUp(quint64 value, quint64 alignment)
{
    return (value + alignment - 1) & ~(alignment - 1);
}

// The pairs of a record's description: texts ended by zero bytes.
QList<std::pair<QString, QString>> pairsOf(QByteArrayView description)
{
    QList<QString> texts;
    while (!description.isEmpty()) {
        const qsizetype end = description.indexOf('\0');
        if (end < 0)
            break; // an unended text is no text of the record
        texts.append(QString::fromUtf8(description.first(end)));
        description = description.sliced(end + 1);
    }
    QList<std::pair<QString, QString>> pairs;
    for (qsizetype i = 0; i + 1 < texts.size(); i += 2)
        pairs.append({texts[i], texts[i + 1]});
    return pairs;
}

// The record among the notes of one segment, if it is there.
std::optional<QList<std::pair<QString, QString>>> recordIn(QByteArrayView notes, bool bigEndian, quint64 alignment)
{
    const Fields f(notes, bigEndian);
    quint64 at = 0;
    while (true) {
        const auto nameSize = f.at<quint32>(at);
        const auto descriptionSize = f.at<quint32>(at + 4);
        const auto type = f.at<quint32>(at + 8);
        if (!nameSize || !descriptionSize || !type)
            return std::nullopt;
        const quint64 nameAt = at + 12;
        const quint64 descriptionAt = alignedUp(nameAt + *nameSize, alignment);
        const quint64 end = alignedUp(descriptionAt + *descriptionSize, alignment);
        if (descriptionAt + *descriptionSize > quint64(notes.size()))
            return std::nullopt;
        const QByteArrayView name = notes.sliced(qsizetype(nameAt), qsizetype(*nameSize));
        if (*type == RecordType && name.size() == RecordOwner.size() + 1 && name.startsWith(RecordOwner)
            && name.endsWith('\0'))
            return pairsOf(notes.sliced(qsizetype(descriptionAt), qsizetype(*descriptionSize)));
        at = end;
    }
}

} // namespace

std::optional<QString> VersionRecord::value(const QString &key) const
{
    for (const auto &[name, text] : m_entries) {
        if (name == key)
            return text;
    }
    return std::nullopt;
}

std::optional<VersionRecord> VersionRecord::read(const Reader &read)
{
    const QByteArray header = read(0, 64);
    if (header.size() < 52
        || !header.startsWith("\x7F"
                              "ELF"))
        return std::nullopt;
    const char elfClass = header[4];
    const char byteOrder = header[5];
    if ((elfClass != 1 && elfClass != 2) || (byteOrder != 1 && byteOrder != 2) || header[6] != 1)
        return std::nullopt;
    const bool wide = elfClass == 2;
    if (header.size() < (wide ? 64 : 52))
        return std::nullopt;
    const Fields h(header, byteOrder == 2);
    const quint16 type = h.at<quint16>(16).value_or(0);
    const quint64 phoff = wide ? h.at<quint64>(32).value_or(0) : h.at<quint32>(28).value_or(0);
    const quint64 phentsize = h.at<quint16>(wide ? 54 : 42).value_or(0);
    const quint64 phnum = h.at<quint16>(wide ? 56 : 44).value_or(0);
    const quint64 entrySize = wide ? 56 : 32;
    if ((type != ET_EXEC && type != ET_DYN) || phoff == 0 || phentsize < entrySize || phentsize > MaxProgramHeaderSize
        || phnum > MaxProgramHeaders)
        return std::nullopt;
    const QByteArray table = read(phoff, quint64(phentsize) * phnum);
    if (quint64(table.size()) < quint64(phentsize) * phnum)
        return std::nullopt; // the table is cut short
    const Fields p(table, byteOrder == 2);
    const auto word = [&](quint64 at32, quint64 at64) {
        return wide ? p.at<quint64>(at64).value_or(0) : p.at<quint32>(at32).value_or(0);
    };
    for (quint64 i = 0; i < phnum; ++i) {
        const quint64 entry = i * phentsize;
        if (p.at<quint32>(entry).value_or(0) != PT_NOTE)
            continue;
        const quint64 offset = word(entry + 4, entry + 8);
        const quint64 size = word(entry + 16, entry + 32);
        const quint64 align = word(entry + 28, entry + 48);
        if (size > MaxNoteSegment)
            continue;
        const QByteArray notes = read(offset, size);
        if (quint64(notes.size()) != size)
            continue;
        if (auto pairs = recordIn(notes, byteOrder == 2, align == 8 ? 8 : 4)) {
            VersionRecord record;
            record.m_entries = std::move(*pairs);
            return record;
        }
    }
    return std::nullopt;
}

std::optional<VersionRecord> VersionRecord::fromImage(QByteArrayView image)
{
    return read([image](quint64 offset, quint64 size) {
        if (offset >= quint64(image.size()))
            return QByteArray();
        return image.sliced(qsizetype(offset), qsizetype(std::min(size, quint64(image.size()) - offset))).toByteArray();
    });
}

std::optional<VersionRecord> VersionRecord::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return read([&file](quint64 offset, quint64 size) {
        if (offset > quint64(std::numeric_limits<qint64>::max()) || !file.seek(qint64(offset)))
            return QByteArray();
        return file.read(qint64(std::min<quint64>(size, MaxNoteSegment * 4)));
    });
}

} // namespace tessera
