#include "lib/net/crvFTPClient.h"

#include "lib/net/FoundedFTPFiles.h"
#include "lib/net/FtpListing_p.h"
#include "lib/net/FtpSession_p.h"
#include "lib/net/UrlCracker_p.h"
#include "lib/net/WinInetErrors_p.h"
#include "platform/RuntimeError.h"
#include "platform/WholeFileWriter.h"
#include "platform/Win32Error.h"
#include "support/csText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessera {

namespace {

namespace WinInet = detail::WinInet;
using detail::FtpResult;

// A listing larger than this is no directory of any server: the rest is
// refused and the entries so far are kept.
constexpr qint64 MaxListingBytes = qint64(128) << 20;

// A name from the server: UTF-8 where it reads as such, else the ANSI code page.
QString serverText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? cs::csStrConvW(bytes) : text;
}

bool hasWildcards(QStringView name)
{
    return name.contains(u'*') || name.contains(u'?');
}

// A local file open for reading, closed when it goes.
class LocalSource
{
public:
    explicit LocalSource(const QString &path)
    {
        if (path.isEmpty()) {
            m_error = ENOENT;
            return;
        }
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
        struct stat info {
        };
        if (m_fd < 0 || ::fstat(m_fd, &info) != 0) {
            m_error = errno;
            return;
        }
        if (S_ISDIR(info.st_mode))
            m_error = EISDIR;
        else if (S_ISREG(info.st_mode))
            m_size = info.st_size;
    }
    ~LocalSource()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    LocalSource(const LocalSource &) = delete;
    LocalSource &operator=(const LocalSource &) = delete;

    int error() const { return m_error; }
    qint64 size() const { return m_size; } ///< -1 for a pipe
    qint64 read(char *buffer, qint64 room)
    {
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, size_t(room));
            if (n >= 0)
                return n;
            if (errno != EINTR) {
                m_error = errno;
                return -1;
            }
        }
    }

private:
    int m_fd = -1;
    int m_error = 0;
    qint64 m_size = -1;
};

} // namespace

class crvFTPClient::Private
{
public:
    detail::FtpSession session;
    qint32 errorCode = 0;
    QString errorText;
    ftpcErrorCode lastRC = ftpcSuccess;
    std::shared_ptr<const FoundedFTPFiles> foundFiles;

    ftpcErrorCode finish(ftpcErrorCode rc, qint32 code, const QString &text = {})
    {
        errorCode = code;
        errorText = text.isEmpty() ? WinInet::text(code) : text;
        lastRC = rc;
        return rc;
    }
    ftpcErrorCode finish(ftpcErrorCode failure, const FtpResult &result)
    {
        return result.ok() ? finish(ftpcSuccess, 0) : finish(failure, result.code, result.text);
    }
    // Commands of the control connection.
    ftpcErrorCode command(ftpcErrorCode failure, const QList<QByteArray> &commands)
    {
        if (!session.isOpen())
            return finish(failure, WinInet::InvalidHandle);
        return finish(failure, session.command(commands));
    }

    // One listing of \a directory, each entry kept that \a keep accepts.
    struct Listing {
        FtpResult result;
        QList<detail::FtpFindData> entries;
    };
    template <typename Keep> Listing list(const QString &directory, Keep keep)
    {
        detail::FtpListingParser parser(session.offersMlsd() ? detail::FtpListingFormat::Mlsd
                                                             : detail::FtpListingFormat::List,
                                        QDateTime::currentDateTime());
        qint64 total = 0;
        bool tooLong = false;
        Listing listing;
        listing.result = session.list(directory.toUtf8(), session.offersMlsd(), [&](QByteArrayView piece) {
            total += piece.size();
            if (total > MaxListingBytes) {
                tooLong = true;
                return false;
            }
            parser.feed(piece);
            return true;
        });
        if (listing.result.ok())
            parser.finish();
        if (tooLong)
            listing.result = {WinInet::NotEnoughMemory, WinInet::text(WinInet::NotEnoughMemory), false};
        for (detail::FtpFindData &entry : parser.takeEntries()) {
            if (keep(entry.FileName))
                listing.entries.append(std::move(entry));
        }
        return listing;
    }
};

crvFTPClient::crvFTPClient()
    : d(std::make_unique<Private>())
{ }

crvFTPClient::~crvFTPClient() = default;

QString crvFTPClient::DefaultPassword()
{
    return QStringLiteral("corvid@sablewing.net");
}

bool crvFTPClient::IsError() const
{
    return d->lastRC != ftpcSuccess;
}

ftpcErrorCode crvFTPClient::LastRC() const
{
    return d->lastRC;
}

bool crvFTPClient::IsConnected() const
{
    return d->session.isOpen();
}

qint32 crvFTPClient::ErrorCode() const
{
    return d->errorCode;
}

QString crvFTPClient::ErrorText() const
{
    return d->errorText;
}

bool crvFTPClient::CrackURL(const QString &URL, QString *Protocol, QString *Address, qint32 *Port,
                            QString *ObjectName) const
{
    return detail::crackUrl(URL, Protocol, Address, Port, ObjectName, detail::CrackStyle::Ftp);
}

ftpcErrorCode crvFTPClient::ConnectToServer(const QString &HostName, qint32 Port, const QString &UserName,
                                            const QString &Password, qint32 Timeout, bool Passive)
{
    if (IsConnected())
        return d->finish(ftpcAlreadyConnected, 0);
    if (Port < 0 || Port > 65535)
        throw RuntimeError(RuntimeError::Overflow);
    detail::FtpLogin login;
    login.host = HostName;
    login.port = Port;
    login.user = UserName;
    login.password = Password;
    login.timeoutMs = Timeout;
    login.passive = Passive;
    const FtpResult result = d->session.open(login);
    if (result.code == WinInet::OutOfHandles)
        return d->finish(ftpcInternetOpenFailed, result);
    return d->finish(ftpcInternetConnectFailed, result);
}

ftpcErrorCode crvFTPClient::DisconnectFromServer()
{
    if (!IsConnected())
        return d->finish(ftpcNotConnected, 0);
    d->session.close();
    return d->finish(ftpcSuccess, 0);
}

QString crvFTPClient::GetCurrentDirectory()
{
    if (!IsConnected()) {
        d->finish(ftpcFtpGetCurrentDirectoryFailed, WinInet::InvalidHandle);
        return {};
    }
    QByteArray directory;
    return d->finish(ftpcFtpGetCurrentDirectoryFailed, d->session.printDirectory(&directory)) == ftpcSuccess
        ? serverText(directory)
        : QString();
}

ftpcErrorCode crvFTPClient::SetCurrentDirectory(const QString &NewDirectory)
{
    if (!IsConnected())
        return d->finish(ftpcFtpSetCurrentDirectoryFailed, WinInet::InvalidHandle);
    return d->finish(ftpcFtpSetCurrentDirectoryFailed, d->session.changeDirectory(NewDirectory.toUtf8()));
}

ftpcErrorCode crvFTPClient::CreateDirectory(const QString &NewDirectory)
{
    return d->command(ftpcFtpCreateDirectoryFailed, {"MKD " + NewDirectory.toUtf8()});
}

ftpcErrorCode crvFTPClient::RemoveDirectory(const QString &Directory)
{
    return d->command(ftpcFtpRemoveDirectoryFailed, {"RMD " + Directory.toUtf8()});
}

ftpcErrorCode crvFTPClient::RenameFile(const QString &ExistingFileName, const QString &NewFileName)
{
    return d->command(ftpcFtpRenameFileFailed, {"RNFR " + ExistingFileName.toUtf8(), "RNTO " + NewFileName.toUtf8()});
}

ftpcErrorCode crvFTPClient::DeleteFile(const QString &FileName)
{
    return d->command(ftpcFtpDeleteFileFailed, {"DELE " + FileName.toUtf8()});
}

ftpcErrorCode crvFTPClient::SearchFiles(const QString &SearchPath)
{
    auto files = std::make_shared<FoundedFTPFiles>();
    d->foundFiles = files;
    if (!IsConnected())
        return d->finish(ftpcFtpFindFirstFileFailed, WinInet::InvalidHandle);

    const qsizetype slash = SearchPath.lastIndexOf(u'/');
    const QString folder = slash < 0 ? QString() : slash == 0 ? QStringLiteral("/") : SearchPath.left(slash);
    const QString last = SearchPath.mid(slash + 1);
    Private::Listing listing;
    if (hasWildcards(last)) {
        listing = d->list(folder, [&](const QString &name) { return detail::matchesFindPattern(name, last); });
    } else {
        const auto all = [](const QString &) { return true; };
        listing = d->list(SearchPath, all);
        // Not a folder: then a file, found in the listing of its folder.
        if (!last.isEmpty() && listing.entries.isEmpty() && listing.result.code == WinInet::ExtendedError)
            listing = d->list(folder, [&](const QString &name) { return name == last; });
    }
    d->foundFiles = std::make_shared<FoundedFTPFiles>(listing.entries);
    if (listing.result.ok())
        return d->finish(ftpcSuccess, 0);
    return d->finish(listing.entries.isEmpty() ? ftpcFtpFindFirstFileFailed : ftpcInternetFindNextFileFailed,
                     listing.result.code, listing.result.text);
}

std::shared_ptr<const FoundedFTPFiles> crvFTPClient::FoundedFiles() const
{
    return d->foundFiles;
}

ftpcErrorCode crvFTPClient::GetFile(const QString &RemoteFileName, const QString &LocalFileName, qint32 NewAttributes,
                                    bool FailIfExist, bool ASCIIMode)
{
    if (!IsConnected())
        return d->finish(ftpcFtpGetFileFailed, WinInet::InvalidHandle);
    const QByteArray remote = RemoteFileName.toUtf8();
    if (remote.isEmpty() || !detail::FtpSession::isSafeName(remote))
        return d->finish(ftpcFtpGetFileFailed, WinInet::InvalidParameter);
    WholeFileWriter file(LocalFileName, FailIfExist ? WholeFileWriter::KeepExisting : WholeFileWriter::ReplaceExisting,
                         (NewAttributes & 1) != 0);
    if (!file.open())
        return d->finish(ftpcFtpGetFileFailed, file.error());
    const FtpResult result = d->session.download(
        remote, ASCIIMode, [&](QByteArrayView piece) { return file.write(piece.data(), piece.size()); });
    if (result.localFailed)
        return d->finish(ftpcFtpGetFileFailed, file.error());
    if (!result.ok())
        return d->finish(ftpcFtpGetFileFailed, result);
    if (!file.commit())
        return d->finish(ftpcFtpGetFileFailed, file.error());
    return d->finish(ftpcSuccess, 0);
}

ftpcErrorCode crvFTPClient::PutFile(const QString &LocalFileName, const QString &RemoteFileName, bool ASCIIMode)
{
    if (!IsConnected())
        return d->finish(ftpcFtpPutFileFailed, WinInet::InvalidHandle);
    LocalSource source(LocalFileName);
    if (source.error() == ENOENT && QFileInfo(QFileInfo(LocalFileName).absolutePath()).isDir())
        return d->finish(ftpcFtpPutFileFailed, Win32Error::FileNotFound); // the folder is there, the file not
    if (source.error() != 0)
        return d->finish(ftpcFtpPutFileFailed, Win32Error::fromErrno(source.error(), Win32Error::ReadFault));
    const FtpResult result = d->session.upload(RemoteFileName.toUtf8(), ASCIIMode, source.size(),
                                               [&](char *buffer, qint64 room) { return source.read(buffer, room); });
    if (result.localFailed)
        return d->finish(ftpcFtpPutFileFailed, Win32Error::fromErrno(source.error(), Win32Error::ReadFault));
    return d->finish(ftpcFtpPutFileFailed, result);
}

} // namespace tessera
