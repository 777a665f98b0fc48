#include "app/mail/FileAccess.h"

#include "app/mail/NewFileWriter.h"
#include "app/mail/RegularFileReader.h"

namespace quillon {

QByteArray FileAccess::ReadFileRaw(const QString &path)
{
    RegularFileReader file(path);
    // The size may change while the file is read: read to its real end.
    constexpr qsizetype Block = 1 << 20;
    QByteArray data = file.read(qBound<qint64>(0, file.size(), Block));
    for (QByteArray block = file.read(Block); !block.isEmpty(); block = file.read(Block))
        data += block;
    return data;
}

void FileAccess::WriteFileRaw(const QString &path, const QByteArray &data)
{
    NewFileWriter file(path);
    file.write(data);
    file.commitReplacing();
}

QString FileAccess::ReadFileText(const QString &path)
{
    return QString::fromUtf8(ReadFileRaw(path));
}

void FileAccess::WriteFileText(const QString &path, const QString &text)
{
    WriteFileRaw(path, text.toUtf8());
}

QString FileAccess::WriteNewFileRaw(const std::function<QString()> &nextPath, const QByteArrayList &parts)
{
    NewFileWriter file(nextPath());
    for (const QByteArray &part : parts)
        file.write(part);
    return file.commitNew(nextPath);
}

} // namespace quillon
