#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>

#include <optional>

namespace tessera {

/// The first \a count bytes of a file (fewer when it is shorter); nullopt
/// when it cannot be opened or read.
std::optional<QByteArray> readFileHead(const QString &fileName, qsizetype count);

/// A whole file's bytes for a decoder: mapped into memory, so that a large
/// file costs no copy, or read when the file system cannot map it.
class PictureFile
{
public:
    explicit PictureFile(const QString &fileName);
    ~PictureFile();
    PictureFile(const PictureFile &) = delete;
    PictureFile &operator=(const PictureFile &) = delete;

    /// False when the file could not be opened, mapped or read whole.
    bool isValid() const { return m_valid; }
    QByteArrayView bytes() const { return m_bytes; }

private:
    QFile m_file;
    uchar *m_map = nullptr;
    size_t m_mapSize = 0;
    QByteArray m_read;
    QByteArrayView m_bytes;
    bool m_valid = false;
};

} // namespace tessera
