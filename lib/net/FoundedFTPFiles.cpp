#include "lib/net/FoundedFTPFiles.h"

#include "lib/net/FtpFindData_p.h"
#include "platform/RuntimeError.h"

namespace tessera {

FoundedFTPFiles::FoundedFTPFiles() = default;

FoundedFTPFiles::FoundedFTPFiles(const QList<detail::FtpFindData> &records)
{
    m_entries.reserve(size_t(records.size()));
    for (const detail::FtpFindData &record : records) {
        const bool directory = (record.FileAttributes & detail::FileAttribute::Directory) != 0;
        if (directory && (record.FileName == QLatin1String(".") || record.FileName == QLatin1String("..")))
            continue;
        m_entries.push_back(std::make_unique<FoundedFTPFile>(record));
    }
}

FoundedFTPFiles::~FoundedFTPFiles() = default;

const FoundedFTPFile &FoundedFTPFiles::Item(qint32 Index) const
{
    if (Index < 0 || size_t(Index) >= m_entries.size())
        throw RuntimeError(RuntimeError::SubscriptOutOfRange);
    return *m_entries[size_t(Index)];
}

qint32 FoundedFTPFiles::Count() const
{
    return qint32(m_entries.size());
}

} // namespace tessera
