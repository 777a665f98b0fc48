#pragma once

#include "lib/TesseraExport.h"
#include "lib/net/FoundedFTPFile.h"

#include <QList>

#include <iterator>
#include <memory>
#include <vector>

namespace tessera {

namespace detail {
struct FtpFindData;
}

/// The listing of one crvFTPClient::SearchFiles, in the server's order,
/// without the entries "." and "..". Made only by the client.
///
///     for (const FoundedFTPFile &file : *ftp.FoundedFiles())
///         show(file.FileName(), file.FileSize());
class TESSERA_EXPORT FoundedFTPFiles
{
public:
    using Entries = std::vector<std::unique_ptr<FoundedFTPFile>>;

    /// Iterates the entries as FoundedFTPFile references.
    class const_iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = FoundedFTPFile;
        using difference_type = std::ptrdiff_t;
        using pointer = const FoundedFTPFile *;
        using reference = const FoundedFTPFile &;

        const_iterator() = default;
        explicit const_iterator(Entries::const_iterator at)
            : m_at(at)
        { }
        reference operator*() const { return **m_at; }
        pointer operator->() const { return m_at->get(); }
        const_iterator &operator++()
        {
            ++m_at;
            return *this;
        }
        const_iterator operator++(int)
        {
            const const_iterator before = *this;
            ++m_at;
            return before;
        }
        bool operator==(const const_iterator &other) const = default;

    private:
        Entries::const_iterator m_at;
    };

    /// An empty listing.
    FoundedFTPFiles();
    /// The entries of \a records, the directories "." and ".." left out.
    explicit FoundedFTPFiles(const QList<detail::FtpFindData> &records);
    ~FoundedFTPFiles();
    FoundedFTPFiles(const FoundedFTPFiles &) = delete;
    FoundedFTPFiles &operator=(const FoundedFTPFiles &) = delete;

    /// The entry at \a Index, counted from 0; raises 9 (subscript out of
    /// range) outside 0 to Count() - 1.
    const FoundedFTPFile &Item(qint32 Index) const;
    qint32 Count() const;

    const_iterator begin() const { return const_iterator(m_entries.cbegin()); }
    const_iterator end() const { return const_iterator(m_entries.cend()); }

private:
    Entries m_entries;
};

} // namespace tessera
