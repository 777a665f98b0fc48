#pragma once

#include "lib/TesseraExport.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace tessera {

/// The shell's file list on the clipboard (the drop-files block, format 15):
/// a 20-byte header of little-endian 32-bit fields (offset of the list, drop
/// point x and y, non-client flag, wide flag), then the names, each followed
/// by a NUL character, and one more NUL character: UTF-16 when the wide flag
/// is set, otherwise the system code page (Windows-1251).
///
/// Pure functions over bytes, so that blocks from other programs can be
/// tested and fuzzed without a clipboard.
class TESSERA_EXPORT DropFilesBlock
{
public:
    DropFilesBlock() = delete;

    static constexpr qsizetype HeaderSize = 20;

    /// The block for \a names: list offset 20, drop point 0, non-client flag
    /// 0, wide flag 1 with \a unicode (UTF-16) and 0 without (characters the
    /// code page lacks become "?"). Names are not checked.
    static QByteArray build(const QStringList &names, bool unicode);

    /// The names of \a block, in order: the list from its offset to the end
    /// of the block, split at every NUL character, keeping each piece that is
    /// not blank (kept as it is, untrimmed). An empty list for a bare header
    /// and for a list offset at or past the end. std::nullopt for a block
    /// shorter than the header and for a list offset inside the header.
    static std::optional<QStringList> read(const QByteArray &block);
};

} // namespace tessera
