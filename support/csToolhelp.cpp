#include "support/csToolhelp.h"

#include "platform/ByteFields.h"

#include <QByteArrayView>
#include <QFile>

#include <algorithm>
#include <optional>
#include <unistd.h>

namespace cs {

namespace {

// One line of a memory map: "start-end perms offset major:minor inode path".
struct Mapping {
    quint64 start = 0;
    quint64 end = 0;
    bool executable = false;
    quint64 offset = 0;
    QByteArrayView device;
    QByteArrayView inode;
    QByteArrayView path;
};

std::optional<quint64> hexValue(QByteArrayView digits)
{
    if (digits.isEmpty() || digits.size() > 16)
        return std::nullopt;
    quint64 value = 0;
    for (const char c : digits) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value << 4 | quint64(digit);
    }
    return value;
}

// The next blank-separated field of \a rest, which loses it and the blanks
// after it.
QByteArrayView takeField(QByteArrayView &rest)
{
    qsizetype end = 0;
    while (end < rest.size() && rest[end] != ' ')
        ++end;
    const QByteArrayView field = rest.first(end);
    while (end < rest.size() && rest[end] == ' ')
        ++end;
    rest = rest.sliced(end);
    return field;
}

std::optional<Mapping> parseMapping(QByteArrayView line)
{
    QByteArrayView rest = line;
    const QByteArrayView range = takeField(rest);
    const QByteArrayView perms = takeField(rest);
    const QByteArrayView offset = takeField(rest);
    Mapping mapping;
    mapping.device = takeField(rest);
    mapping.inode = takeField(rest);
    mapping.path = rest;

    const qsizetype dash = range.indexOf('-');
    if (dash < 0 || perms.size() != 4 || mapping.device.indexOf(':') < 0 || mapping.inode.isEmpty())
        return std::nullopt;
    const auto start = hexValue(range.first(dash));
    const auto end = hexValue(range.sliced(dash + 1));
    const auto fileOffset = hexValue(offset);
    if (!start || !end || !fileOffset || *start >= *end)
        return std::nullopt;
    mapping.start = *start;
    mapping.end = *end;
    mapping.offset = *fileOffset;
    mapping.executable = perms[2] == 'x';
    return mapping;
}

// Mapped files have a path; anonymous memory has none and the kernel's own
// areas are named in brackets. Inode 0 is no file either.
bool isFile(const Mapping &mapping)
{
    return mapping.path.startsWith('/') && mapping.inode != "0";
}

bool sameFile(const Mapping &a, const Mapping &b)
{
    return a.device == b.device && a.inode == b.inode && a.path == b.path;
}

} // namespace

csToolhelp32Snapshot::csToolhelp32Snapshot(std::vector<MODULEENTRY32> modules)
    : m_modules(std::move(modules))
    , m_valid(true)
{ }

bool csToolhelp32Snapshot::first(MODULEENTRY32 &entry)
{
    m_next = 0;
    return next(entry);
}

bool csToolhelp32Snapshot::next(MODULEENTRY32 &entry)
{
    if (!m_valid || m_next >= m_modules.size())
        return false;
    entry = m_modules[m_next++];
    return true;
}

std::vector<MODULEENTRY32> csModulesFromMaps(const QByteArray &maps, quint32 processId)
{
    std::vector<MODULEENTRY32> modules;
    std::optional<Mapping> open; // the first mapping of the module being read
    bool openIsExecutable = false;
    const auto close = [&] {
        if (open && openIsExecutable) {
            MODULEENTRY32 &entry = modules.back();
            entry.szExePath = QString::fromUtf8(open->path);
            entry.szModule = entry.szExePath.mid(entry.szExePath.lastIndexOf(QLatin1Char('/')) + 1);
        } else if (open) {
            modules.pop_back();
        }
        open.reset();
    };

    tessera::forEachByteField(maps, '\n', [&](QByteArrayView line) {
        const std::optional<Mapping> mapping = parseMapping(line);
        if (!mapping || !isFile(*mapping))
            return true;
        // Mappings come in address order; one out of order starts afresh.
        if (open && sameFile(*open, *mapping) && mapping->start >= open->start) {
            modules.back().modBaseSize = std::max(modules.back().modBaseSize, mapping->end - open->start);
            openIsExecutable = openIsExecutable || mapping->executable;
            return true;
        }
        close();
        if (mapping->offset != 0)
            return true;
        open = mapping;
        openIsExecutable = mapping->executable;
        MODULEENTRY32 entry;
        entry.th32ProcessID = processId;
        entry.modBaseAddr = quintptr(mapping->start);
        entry.hModule = entry.modBaseAddr;
        entry.modBaseSize = mapping->end - mapping->start;
        modules.push_back(entry);
        return true;
    });
    close();
    return modules;
}

csToolhelp32Snapshot csCreateToolhelp32Snapshot(quint32 flags, quint32 processId)
{
    const QString process = processId == 0 ? QStringLiteral("self") : QString::number(processId);
    QFile maps(QStringLiteral("/proc/%1/maps").arg(process));
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = maps.readAll();
    if (maps.error() != QFileDevice::NoError)
        return {};
    if (!(flags & TH32CS_SNAPMODULE))
        return csToolhelp32Snapshot(std::vector<MODULEENTRY32>());
    const quint32 owner = processId == 0 ? quint32(::getpid()) : processId;
    return csToolhelp32Snapshot(csModulesFromMaps(text, owner));
}

bool csModule32First(csToolhelp32Snapshot &snapshot, MODULEENTRY32 &entry)
{
    return snapshot.first(entry);
}

bool csModule32Next(csToolhelp32Snapshot &snapshot, MODULEENTRY32 &entry)
{
    return snapshot.next(entry);
}

bool csEnableDebugPrivilege()
{
    return false;
}

} // namespace cs
