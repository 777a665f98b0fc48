#include "lib/net/tools/FtpFetchScheme.h"

#include "lib/errors/crvErr.h"
#include "lib/net/FoundedFTPFiles.h"
#include "lib/net/crvFTPClient.h"
#include "lib/net/tools/FetchOutput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace tessera::fetchtool {

namespace {

constexpr qint32 ExtendedError = 12003; // the server refused a command
constexpr qint32 FirstNetworkError = 12000; // below: the system's own codes, for local files
constexpr qint64 CopyBlock = 1024 * 1024;

// The path of an ftp:// URL as the server names it: escapes decoded, and
// the "/" that only ends the host part dropped ("ftp://host//etc" is /etc).
QString remotePath(const QString &objectName)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(objectName.toUtf8())).mid(1);
}

bool hasWildcards(const QString &path)
{
    const QString last = path.mid(path.lastIndexOf(u'/') + 1);
    return last.contains(u'*') || last.contains(u'?');
}

bool listsFolder(const FetchRequest &request)
{
    const QString path = remotePath(request.objectName);
    return request.options.list || path.isEmpty() || path.endsWith(u'/') || hasWildcards(path);
}

// The reason on one line; a failure of the local file \a localFile names it
// first.
int failure(const crvFTPClient &ftp, int localExit, const QString &localFile = {})
{
    const bool local = ftp.LastRC() != ftpcInternetOpenFailed && ftp.LastRC() != ftpcInternetConnectFailed
        && ftp.ErrorCode() > 0 && ftp.ErrorCode() < FirstNetworkError;
    const QString where = local && !localFile.isEmpty() ? localFile + QLatin1String(": ") : QString();
    printError(QLatin1String("tessera-fetch: ") + where + oneLine(crvErr::global().GetErrorMessageFTPClient(&ftp)));
    if (local)
        return localExit;
    if (ftp.ErrorCode() == ExtendedError && ftp.LastRC() != ftpcInternetConnectFailed)
        return ExitStatus;
    return ExitExchange;
}

// A name as one table cell: control characters (a hostile server's line
// breaks) become "?".
QString cell(const QString &name)
{
    QString shown = name;
    for (QChar &c : shown) {
        if (c.unicode() < 32 || c.unicode() == 127)
            c = u'?';
    }
    return shown;
}

QString table(const FoundedFTPFiles &files)
{
    QStringList kinds;
    QStringList sizes;
    int sizeWidth = 4;
    for (const FoundedFTPFile &file : files) {
        kinds << (file.AttributeDirectory()          ? QStringLiteral("dir")
                      : file.AttributeReparsePoint() ? QStringLiteral("link")
                                                     : QStringLiteral("file"));
        sizes << QString::number(qint64(file.FileSize()));
        sizeWidth = std::max(sizeWidth, int(sizes.last().size()));
    }
    QString text = QStringLiteral("TYPE  %1  MODIFIED             NAME\n").arg(QStringLiteral("SIZE"), sizeWidth);
    qsizetype row = 0;
    for (const FoundedFTPFile &file : files) {
        text += QStringLiteral("%1  %2  %3  %4\n")
                    .arg(kinds[row], -4)
                    .arg(sizes[row], sizeWidth)
                    .arg(file.LastWriteTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), cell(file.FileName()));
        ++row;
    }
    return text;
}

// Copies \a path to \a output in blocks.
bool copyTo(const QString &path, FetchOutput &output)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("tessera-fetch: %1: %2").arg(path, file.errorString()));
        return false;
    }
    while (!file.atEnd()) {
        const QByteArray block = file.read(CopyBlock);
        if (block.isEmpty() && file.error() != QFileDevice::NoError) {
            printError(QStringLiteral("tessera-fetch: %1: %2").arg(path, file.errorString()));
            return false;
        }
        if (!output.write(block)) {
            printError(QLatin1String("tessera-fetch: ") + output.errorString());
            return false;
        }
    }
    return true;
}

} // namespace

bool FtpFetchScheme::serves(const QString &protocol) const
{
    return protocol.compare(QLatin1String("ftp://"), Qt::CaseInsensitive) == 0;
}

QString FtpFetchScheme::foreignOption(const FetchOptions &options) const
{
    if (options.data)
        return QStringLiteral("--data");
    if (!options.headers.isEmpty())
        return QStringLiteral("--header");
    if (!options.proxy.isEmpty())
        return QStringLiteral("--proxy");
    if (options.progress)
        return QStringLiteral("--progress");
    return {};
}

bool FtpFetchScheme::writesOutput(const FetchRequest &request) const
{
    if (!request.options.uploadFile.isEmpty())
        return false;
    return listsFolder(request) || request.options.output.isEmpty();
}

int FtpFetchScheme::fetch(const FetchRequest &request, FetchOutput &output)
{
    const FetchOptions &o = request.options;
    const qsizetype colon = o.user.indexOf(u':');
    const QString user = colon < 0 ? QStringLiteral("anonymous") : o.user.left(colon);
    const QString password = colon < 0 ? crvFTPClient::DefaultPassword() : o.user.mid(colon + 1);
    crvFTPClient ftp;
    if (ftp.ConnectToServer(request.address, request.port, user, password, o.timeout, !o.active) != ftpcSuccess)
        return failure(ftp, ExitExchange);
    const QString path = remotePath(request.objectName);

    if (!o.uploadFile.isEmpty())
        return ftp.PutFile(o.uploadFile, path, o.ascii) == ftpcSuccess ? ExitSuccess
                                                                       : failure(ftp, ExitInput, o.uploadFile);

    if (listsFolder(request)) {
        if (ftp.SearchFiles(path) != ftpcSuccess)
            return failure(ftp, ExitExchange);
        if (!output.write(table(*ftp.FoundedFiles()).toUtf8()) || !output.commit()) {
            printError(QLatin1String("tessera-fetch: ") + output.errorString());
            return ExitOutput;
        }
        return ExitSuccess;
    }

    if (!o.output.isEmpty())
        return ftp.GetFile(path, o.output, 0, false, o.ascii) == ftpcSuccess ? ExitSuccess
                                                                             : failure(ftp, ExitOutput, o.output);

    // Standard output: the file is fetched whole first, so that a transfer
    // that breaks off writes nothing.
    QTemporaryDir folder(QDir::tempPath() + QLatin1String("/tessera-fetch-XXXXXX"));
    if (!folder.isValid()) {
        printError(QStringLiteral("tessera-fetch: cannot make a temporary folder in %1").arg(QDir::tempPath()));
        return ExitOutput;
    }
    const QString local = folder.filePath(QStringLiteral("download"));
    if (ftp.GetFile(path, local, 0, false, o.ascii) != ftpcSuccess)
        return failure(ftp, ExitOutput);
    return copyTo(local, output) && output.commit() ? ExitSuccess : ExitOutput;
}

} // namespace tessera::fetchtool
