#pragma once

#include "lib/system/tools/RegKeyPath.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace tessera::regtool {

struct RegValue {
    QString name; // empty: the key's default value
    quint32 type = Registry::REG_NONE;
    QByteArray data; // as stored in the hive

    bool operator==(const RegValue &) const = default;
};

struct RegKey {
    RegKeyPath path;
    QList<RegValue> values;
};

/// The registry editor's text format, "Windows Registry Editor Version 5.00":
///
///     Windows Registry Editor Version 5.00
///
///     [HKEY_CURRENT_USER\Software\Sablewing]
///     @="default value"
///     "Name"="text with \\ and \" escaped"
///     "Count"=dword:0000002a
///     "Data"=hex:01,02,03,04,05
///     "Other"=hex(7):61,00,00
///
/// Hex data may go on over several lines, each but the last ending in a
/// backslash.
/// Quoted text is the hive's REG_SZ data: its UTF-8 bytes and one NUL.
/// REG_SZ data that is not such text (invalid UTF-8, a NUL inside, no NUL at
/// the end, a line break) is written as hex(1):..., so that every value
/// comes back byte for byte. Deleting entries ("[-key]", "name"=-) is not
/// supported.
namespace RegFile {

/// Parses a whole file as read from disk: UTF-8, with or without a BOM, or
/// UTF-16LE with a BOM (as the platform's registry editor writes it); LF or
/// CR LF line ends; blank lines and lines starting with ";" are skipped.
/// None, with "line N: what is wrong" in \a error, when anything in it is
/// invalid, so that a damaged file is rejected whole.
std::optional<QList<RegKey>> parse(const QByteArray &file, QString *error);

/// The file for \a keys, in UTF-8 without BOM. None, with the reason in
/// \a error, when a key or value name holds a line break, which the
/// format cannot carry.
std::optional<QByteArray> write(const QList<RegKey> &keys, QString *error);

} // namespace RegFile

} // namespace tessera::regtool
