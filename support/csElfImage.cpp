#include "support/csElfImage.h"

#include "platform/RuntimeError.h"
#include "support/csToolhelp.h"

#include <QFile>
#include <QtEndian>

#include <unistd.h>

namespace cs {

namespace {

constexpr quint32 PT_LOAD = 1;
constexpr quint16 ET_EXEC = 2;
constexpr quint16 ET_DYN = 3;
constexpr quint16 PN_XNUM = 0xFFFF;
// Program headers sit near the start of a file; a table that ends further
// out than this is taken for a broken file, not read.
constexpr quint64 ProgramHeadersLimit = 16 * 1024 * 1024;
// What is read of a module's file first: enough for nearly every table.
constexpr qint64 FirstRead = 4096;
constexpr qint32 InvalidFileFormat = 321;

struct ElfParse {
    enum Status { Found, NeedMore, Invalid } status = Invalid;
    quint64 address = 0;
    quint64 needed = 0; // bytes the program headers need, for NeedMore
};

// Reads fields in the image's own byte order.
class Fields
{
public:
    Fields(QByteArrayView bytes, bool bigEndian)
        : m_bytes(bytes)
        , m_bigEndian(bigEndian)
    { }

    template <typename T> T at(quint64 offset) const
    {
        const uchar *p = reinterpret_cast<const uchar *>(m_bytes.data()) + offset;
        return m_bigEndian ? qFromBigEndian<T>(p) : qFromLittleEndian<T>(p);
    }

private:
    QByteArrayView m_bytes;
    bool m_bigEndian;
};

// The layout of one ELF class: where the header keeps the program-header
// fields and how large a program header is.
struct ElfLayout {
    qsizetype headerSize;
    qsizetype phoffAt, phentsizeAt, phnumAt;
    quint64 phdrSize;
    qsizetype vaddrAt; // within a program header
    bool wide; // 64-bit addresses and offsets
};

constexpr ElfLayout Elf32 {52, 28, 42, 44, 32, 8, false};
constexpr ElfLayout Elf64 {64, 32, 54, 56, 56, 16, true};

ElfParse parseElf(QByteArrayView image, quint64 pageSize)
{
    if (pageSize == 0 || (pageSize & (pageSize - 1)) != 0 || image.size() < 16
        || !image.startsWith("\x7F"
                             "ELF"))
        return {};
    const char elfClass = image[4], byteOrder = image[5], version = image[6];
    if ((elfClass != 1 && elfClass != 2) || (byteOrder != 1 && byteOrder != 2) || version != 1)
        return {};
    const ElfLayout &layout = elfClass == 2 ? Elf64 : Elf32;
    if (image.size() < layout.headerSize)
        return {ElfParse::NeedMore, 0, quint64(layout.headerSize)};
    const Fields header(image, byteOrder == 2);
    const quint16 type = header.at<quint16>(16);
    if (type != ET_EXEC && type != ET_DYN)
        return {};
    const quint64 phoff = layout.wide ? header.at<quint64>(layout.phoffAt) : header.at<quint32>(layout.phoffAt);
    const quint64 phentsize = header.at<quint16>(layout.phentsizeAt);
    const quint64 phnum = header.at<quint16>(layout.phnumAt);
    if (phentsize < layout.phdrSize || phnum == 0 || phnum == PN_XNUM || phoff > ProgramHeadersLimit)
        return {};
    const quint64 end = phoff + phentsize * phnum; // both factors below 2^16: no overflow
    if (end > ProgramHeadersLimit)
        return {};
    if (end > quint64(image.size()))
        return {ElfParse::NeedMore, 0, end};
    for (quint64 i = 0; i < phnum; ++i) {
        const quint64 entry = phoff + i * phentsize;
        if (header.at<quint32>(entry) != PT_LOAD)
            continue;
        const quint64 vaddr
            = layout.wide ? header.at<quint64>(entry + layout.vaddrAt) : header.at<quint32>(entry + layout.vaddrAt);
        return {ElfParse::Found, vaddr & ~(pageSize - 1), 0};
    }
    return {}; // nothing to load: no module
}

[[noreturn]] void raiseInvalidFormat(const QString &path)
{
    throw tessera::RuntimeError(InvalidFileFormat, path + QLatin1String(": invalid file format"));
}

} // namespace

std::optional<quint64> csElfPreferredAddress(const QByteArray &image, quint64 pageSize)
{
    const ElfParse parse = parseElf(image, pageSize);
    if (parse.status != ElfParse::Found)
        return std::nullopt;
    return parse.address;
}

quint64 csGetModulePreferredBaseAddr(quint32 processId, quint64 baseAddress)
{
    csToolhelp32Snapshot snapshot = csCreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    MODULEENTRY32 module;
    bool found = csModule32First(snapshot, module);
    while (found && module.modBaseAddr != baseAddress)
        found = csModule32Next(snapshot, module);
    if (!found)
        throw tessera::RuntimeError(tessera::RuntimeError::InvalidProcedureCall);

    QFile file(module.szExePath);
    if (!file.open(QIODevice::ReadOnly))
        throw tessera::RuntimeError(tessera::RuntimeError::FileNotFound,
                                    module.szExePath + QLatin1String(": ") + file.errorString());
    const quint64 pageSize = quint64(::getpagesize());
    QByteArray image = file.read(FirstRead);
    ElfParse parse = parseElf(image, pageSize);
    if (parse.status == ElfParse::NeedMore && image.size() == FirstRead) {
        image += file.read(qint64(parse.needed) - image.size());
        parse = parseElf(image, pageSize);
    }
    if (parse.status != ElfParse::Found)
        raiseInvalidFormat(module.szExePath);
    return parse.address == 0 ? baseAddress : parse.address;
}

} // namespace cs
