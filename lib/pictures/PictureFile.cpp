#include "lib/pictures/PictureFile.h"

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
    m_map = m_file.map(0, size);
    if (m_map) {
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
        m_file.unmap(m_map);
}

} // namespace tessera
