#pragma once

#include "platform/PlatformExport.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

namespace tessera {

/// The version record of an executable, where the original platform had the
/// version resource: an ELF note (owner "Tessera", type 1, in the section
/// .note.tessera.version) holding pairs of texts, each ended by a zero
/// byte: "InternalName", "FileVersion", "ProductName", ... The build writes
/// it into a program with corvid_version_record() (cmake/CorvidVersionRecord.cmake).
class TESSERA_PLATFORM_EXPORT VersionRecord
{
public:
    /// The value of \a key (matched exactly); nothing when the record has none.
    std::optional<QString> value(const QString &key) const;
    QList<std::pair<QString, QString>> entries() const { return m_entries; }

    /// Reads at most \a size bytes at \a offset of an image; fewer (or
    /// none) where the image ends.
    using Reader = std::function<QByteArray(quint64 offset, quint64 size)>;

    /// The record of the ELF image that \a read reads; nothing when it is no
    /// ELF executable or shared object, or has no record. Every size and
    /// offset of the image is checked before it is used.
    static std::optional<VersionRecord> read(const Reader &read);
    /// The same for an image held whole.
    static std::optional<VersionRecord> fromImage(QByteArrayView image);
    /// The same for a file; nothing also when it cannot be read.
    static std::optional<VersionRecord> fromFile(const QString &path);

private:
    QList<std::pair<QString, QString>> m_entries;
};

} // namespace tessera
