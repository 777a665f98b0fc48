#include "lib/pictures/PictureFile.h"

#include <sys/mman.h>

namespace tessera {

std::optional<QByteArray> readFileHead(const QString &fileName, qsizetype count)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray head = file.read(count);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return head;
}

PictureFile::PictureFile(const QString &fileName)
    : m_file(fileName)
{
    if (!m_file.open(QIODevice::ReadOnly))
        return;
    const qint64 size = m_file.size();
    if (size == 0) {
        m_valid = true;
        return;
    }
    // Mapped with its page tables filled at once: a decoder reads the whole
    // file, and faulting its pages in one by one costs more than decoding.
    void *map = mmap(nullptr, size_t(size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, m_file.handle(), 0);
    if (map != MAP_FAILED) {
        m_map = static_cast<uchar *>(map);
        m_mapSize = size_t(size);
        m_bytes = QByteArrayView(m_map, qsizetype(size));
        m_valid = true;
        return;
    }
    m_read = m_file.readAll();
    m_bytes = m_read;
    m_valid = m_file.error() == QFileDevice::NoError && m_read.size() == size;
}

PictureFile::~PictureFile()
{
    if (m_map)
        munmap(m_map, m_mapSize);
}

} // namespace tessera
