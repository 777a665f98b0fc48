#include "lib/net/tools/FetchOutput.h"

#include "platform/WholeFile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace tessera::fetchtool {

void printError(const QString &text)
{
    const QByteArray line = text.toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

QString oneLine(const QString &message)
{
    return message.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).join(u' ');
}

FetchOutput::FetchOutput(const QString &fileName)
    : m_fileName(fileName)
{ }

FetchOutput::~FetchOutput() = default;

bool FetchOutput::open()
{
    if (m_fileName.isEmpty())
        return true;
    // Only a regular file can be replaced whole; a device (/dev/null) or a
    // pipe is written to where it is.
    const QFileInfo target(m_fileName);
    if (target.exists() && !target.isFile() && !target.isDir())
        m_file = std::make_unique<QFile>(m_fileName);
    else
        m_file = std::make_unique<QSaveFile>(m_fileName);
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_error = m_fileName + QLatin1String(": ") + m_file->errorString();
        return false;
    }
    return true;
}

bool FetchOutput::write(const QByteArray &block)
{
    if (m_file) {
        if (m_file->write(block) == block.size())
            return true;
        m_error = m_fileName + QLatin1String(": ") + m_file->errorString();
        return false;
    }
    qsizetype done = 0;
    while (done < block.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, block.constData() + done, size_t(block.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_error = QLatin1String("standard output: ") + QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        done += n;
    }
    return true;
}

bool FetchOutput::commit()
{
    if (!m_file)
        return true;
    auto *saveFile = qobject_cast<QSaveFile *>(m_file.get());
    if (saveFile && saveFile->commit()) {
        // The new name is only lasting once the folder is on the disk too.
        tessera::WholeFile::syncFolder(QFileInfo(m_fileName).absolutePath());
        return true;
    }
    if (!saveFile && m_file->flush() && m_file->error() == QFileDevice::NoError)
        return true;
    m_error = m_fileName + QLatin1String(": ") + m_file->errorString();
    return false;
}

void FetchOutput::showProgress(const char *what, qint64 done, qint64 total)
{
    QString line = QStringLiteral("\r%1 %2 bytes").arg(QLatin1String(what)).arg(done);
    if (total > 0)
        line += QStringLiteral(" of %1 (%2%)").arg(total).arg(done * 100 / total);
    const QByteArray bytes = line.toLocal8Bit() + "\x1b[K";
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
    m_progressShown = true;
}

void FetchOutput::endProgress()
{
    if (m_progressShown)
        std::fputc('\n', stderr);
    m_progressShown = false;
}

} // namespace tessera::fetchtool
