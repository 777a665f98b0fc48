#pragma once

#include "lib/TesseraExport.h"

#include <QString>

#include <memory>

namespace tessera {

class FoundedFTPFiles;

/// Results of the operations of crvFTPClient, named after the function of
/// the original platform that failed.
enum ftpcErrorCode : qint32 {
    ftpcSuccess = 0,
    ftpcInternetOpenFailed = 1, ///< no network session could be made
    ftpcInternetConnectFailed = 2, ///< connecting or logging in
    ftpcAlreadyConnected = 3,
    ftpcNotConnected = 4,
    ftpcFtpGetCurrentDirectoryFailed = 5,
    ftpcFtpSetCurrentDirectoryFailed = 6,
    ftpcFtpCreateDirectoryFailed = 7,
    ftpcFtpRemoveDirectoryFailed = 8,
    ftpcFtpFindFirstFileFailed = 9, ///< the listing failed before its first entry
    ftpcInternetFindNextFileFailed = 10, ///< the listing broke off after some entries
    ftpcFtpGetFileFailed = 11,
    ftpcFtpPutFileFailed = 12,
    ftpcFtpRenameFileFailed = 13,
    ftpcFtpDeleteFileFailed = 14,
};

/// The library's blocking FTP client (plain FTP, on libcurl). One session
/// from ConnectToServer to DisconnectFromServer: the control connection is
/// opened and logged in by ConnectToServer and serves every operation until
/// it is closed, so the server's current directory is the session's
/// (relative names work after SetCurrentDirectory).
///
///     crvFTPClient ftp;
///     if (ftp.ConnectToServer("ftp.example.org") == ftpcSuccess
///         && ftp.SetCurrentDirectory("pub") == ftpcSuccess
///         && ftp.GetFile("readme.txt", "/tmp/readme.txt") == ftpcSuccess)
///         show("/tmp/readme.txt");
///     else
///         crvErr::global().ErrorDisplayFTPClient(&ftp);
///
/// Every operation stores its result in LastRC and returns it, with the
/// network error behind a failure in ErrorCode and ErrorText: WinInet's
/// numbers (12002 time-out, 12007 name not resolved, 12015 login refused,
/// 12029 cannot connect, 12030 connection broken off, 12111 the server ended
/// the session), 12003 with the server's own reply as ErrorText when it
/// refused a command, and the system's codes for local files (3 missing
/// folder, 80 the file exists, 112 disk full, ...). Names with CR, LF or NUL
/// are refused with 87. Names travel as UTF-8. Nothing is raised but for a
/// port outside 0..65535 (6).
class TESSERA_EXPORT crvFTPClient
{
public:
    crvFTPClient();
    /// Disconnects, as DisconnectFromServer does.
    ~crvFTPClient();
    crvFTPClient(const crvFTPClient &) = delete;
    crvFTPClient &operator=(const crvFTPClient &) = delete;

    /// LastRC is not ftpcSuccess.
    bool IsError() const;
    ftpcErrorCode LastRC() const;
    /// A session is held (from a successful ConnectToServer on).
    bool IsConnected() const;
    qint32 ErrorCode() const;
    QString ErrorText() const;

    /// Splits \a URL as crvHTTPRequest::CrackURL does, except that a URL
    /// without a path is all address: "proto://node:2121" gives "node:2121",
    /// port 80 and "/".
    bool CrackURL(const QString &URL, QString *Protocol = nullptr, QString *Address = nullptr, qint32 *Port = nullptr,
                  QString *ObjectName = nullptr) const;

    /// Connects to \a HostName and logs in, passive or active. \a Timeout
    /// (ms) bounds connecting, waiting for each reply, and each stretch of a
    /// transfer without data; 0 or less waits forever. Port 0 is 21.
    /// ftpcAlreadyConnected when connected (the session stays); 2 when the
    /// server cannot be reached or refuses the login. Raises 6 for a port
    /// outside 0..65535.
    ftpcErrorCode ConnectToServer(const QString &HostName, qint32 Port = 21,
                                  const QString &UserName = QStringLiteral("anonymous"),
                                  const QString &Password = DefaultPassword(), qint32 Timeout = 30000,
                                  bool Passive = true);
    /// Ends the session (ftpcNotConnected without one); ErrorCode is 0 after.
    ftpcErrorCode DisconnectFromServer();

    /// The server's current directory (PWD); empty on failure.
    QString GetCurrentDirectory();
    ftpcErrorCode SetCurrentDirectory(const QString &NewDirectory);
    ftpcErrorCode CreateDirectory(const QString &NewDirectory);
    ftpcErrorCode RemoveDirectory(const QString &Directory);

    /// Lists \a SearchPath into FoundedFiles: empty for the current
    /// directory, a directory, a file, or a pattern in the last part
    /// ("pub/*.txt", matched as the original platform's find functions
    /// match). MLSD where the server offers it, LIST otherwise (Unix and
    /// DOS listings). Nothing found is success with an empty listing. A
    /// listing that breaks off keeps the entries read before (10).
    ftpcErrorCode SearchFiles(const QString &SearchPath = {});
    /// The listing of the last SearchFiles; null before the first. It stays
    /// valid for whoever holds it.
    std::shared_ptr<const FoundedFTPFiles> FoundedFiles() const;

    /// Downloads \a RemoteFileName into \a LocalFileName, which is written
    /// whole or not at all (a temporary file beside it takes its name at the
    /// end). \a FailIfExist: an existing local file stays and the result is
    /// 11 with error 80. \a NewAttributes: the read-only bit (1) makes the
    /// file read-only for everyone. \a ASCIIMode: the network's line ends
    /// (CR LF) arrive as this system's (LF).
    ftpcErrorCode GetFile(const QString &RemoteFileName, const QString &LocalFileName, qint32 NewAttributes = 0,
                          bool FailIfExist = false, bool ASCIIMode = false);
    /// Uploads \a LocalFileName as \a RemoteFileName; \a ASCIIMode sends
    /// each line end (LF) as CR LF, whatever stands before it.
    ftpcErrorCode PutFile(const QString &LocalFileName, const QString &RemoteFileName, bool ASCIIMode = false);
    ftpcErrorCode RenameFile(const QString &ExistingFileName, const QString &NewFileName);
    ftpcErrorCode DeleteFile(const QString &FileName);

    /// The password of an anonymous login, an address as custom asks.
    static QString DefaultPassword();

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
