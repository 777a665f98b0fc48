#include "lib/net/FoundedFTPFile.h"

#include "lib/net/FtpFindData_p.h"
#include "platform/ProcessTimes.h"
#include "support/csSystem.h"

namespace tessera {

namespace {

// A find-record time as the platform's date value shows it: local time,
// milliseconds dropped.
QDateTime localTime(qint64 fileTime)
{
    QDateTime when = FileTimeToDateTime(fileTime).toLocalTime();
    when.setTime(QTime(when.time().hour(), when.time().minute(), when.time().second()));
    return when;
}

} // namespace

FoundedFTPFile::FoundedFTPFile(const detail::FtpFindData &record)
    : d(std::make_unique<detail::FtpFindData>(record))
{ }

FoundedFTPFile::~FoundedFTPFile() = default;

bool FoundedFTPFile::attribute(quint32 bit) const
{
    return (d->FileAttributes & bit) != 0;
}

qint32 FoundedFTPFile::FileAttributes() const
{
    return qint32(d->FileAttributes);
}

bool FoundedFTPFile::AttributeReadOnly() const
{
    return attribute(1);
}

bool FoundedFTPFile::AttributeHidden() const
{
    return attribute(2);
}

bool FoundedFTPFile::AttributeSystem() const
{
    return attribute(4);
}

bool FoundedFTPFile::AttributeDirectory() const
{
    return attribute(16);
}

bool FoundedFTPFile::AttributeArchive() const
{
    return attribute(32);
}

bool FoundedFTPFile::AttributeDevice() const
{
    return attribute(64);
}

bool FoundedFTPFile::AttributeTemporary() const
{
    return attribute(256);
}

bool FoundedFTPFile::AttributeSparseFile() const
{
    return attribute(512);
}

bool FoundedFTPFile::AttributeReparsePoint() const
{
    return attribute(1024);
}

bool FoundedFTPFile::AttributeCompressed() const
{
    return attribute(2048);
}

bool FoundedFTPFile::AttributeOffline() const
{
    return attribute(4096);
}

bool FoundedFTPFile::AttributeNotContentIndexed() const
{
    return attribute(8192);
}

bool FoundedFTPFile::AttributeEncrypted() const
{
    return attribute(16384);
}

QDateTime FoundedFTPFile::CreationTime() const
{
    return localTime(d->CreationTime);
}

QDateTime FoundedFTPFile::LastAccessTime() const
{
    return localTime(d->LastAccessTime);
}

QDateTime FoundedFTPFile::LastWriteTime() const
{
    return localTime(d->LastWriteTime);
}

double FoundedFTPFile::FileSize() const
{
    if (AttributeDirectory())
        return 0;
    return cs::csLargeIntegerToDouble(d->FileSizeLow, d->FileSizeHigh);
}

QString FoundedFTPFile::FileName() const
{
    return d->FileName;
}

QString FoundedFTPFile::AlternateFileName() const
{
    return d->AlternateFileName;
}

} // namespace tessera
