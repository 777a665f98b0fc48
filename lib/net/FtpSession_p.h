#pragma once

// The control connection of crvFTPClient on libcurl: one easy handle holds
// the logged-in connection from open() to close() and every command and
// transfer goes over it. libcurl is kept from changing the server's current
// directory (relative names are sent as they are). A connection that
// libcurl would silently open again, in the entry directory, is refused:
// the session has ended. A transfer that this side stopped (libcurl then
// closes the connection) is followed by a new login that goes back to the
// session's directory. Internal to the library.

#include "lib/net/CurlSupport_p.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace tessera::detail {

/// One reply of the server: its code and its lines as sent.
struct FtpReply {
    int code = 0;
    QByteArray text;
};

/// What an exchange came to: 0, or the network error number (WinInet's)
/// with its text, which for 12003 is the server's reply. localFailed: the
/// local end (the sink or the source) failed, which reports its own error.
struct FtpResult {
    qint32 code = 0;
    QString text;
    bool localFailed = false;
    bool ok() const { return code == 0 && !localFailed; }
};

struct FtpLogin {
    QString host;
    qint32 port = 21;
    QString user;
    QString password;
    qint32 timeoutMs = 30000; ///< connecting, each reply, and each stretch without data; 0 or less: none
    bool passive = true;
};

class FtpSession
{
public:
    /// Takes each piece of received data; false stops the transfer.
    using Sink = std::function<bool(QByteArrayView)>;
    /// Fills at most \a size bytes of \a buffer; returns the count, 0 at the
    /// end, -1 when the data cannot be read.
    using Source = std::function<qint64(char *buffer, qint64 size)>;

    FtpSession();
    ~FtpSession();
    FtpSession(const FtpSession &) = delete;
    FtpSession &operator=(const FtpSession &) = delete;

    /// Connects, logs in and learns the server's features.
    FtpResult open(const FtpLogin &login);
    /// Says goodbye and closes the connection.
    void close();
    bool isOpen() const;

    /// Sends \a commands one after the other; the first reply that is no
    /// success (4xx, 5xx, none) is the failure, 12003 with its text.
    /// \a lastReply gets the reply to the last command.
    FtpResult command(const QList<QByteArray> &commands, FtpReply *lastReply = nullptr);
    /// CWD \a path, and PWD to learn where that is.
    FtpResult changeDirectory(const QByteArray &path);
    /// PWD: the server's current directory into \a directory.
    FtpResult printDirectory(QByteArray *directory);

    /// RETR \a path to \a sink. With the ASCII type libcurl turns the
    /// network's line ends (CR LF, and a lone CR) into LF.
    FtpResult download(const QByteArray &path, bool ascii, const Sink &sink);
    /// STOR \a path from \a source; \a size is -1 when not known. With the
    /// ASCII type libcurl sends each LF as CR LF.
    FtpResult upload(const QByteArray &path, bool ascii, qint64 size, const Source &source);
    /// MLSD (or LIST) of the folder \a directory (empty: the current one).
    FtpResult list(const QByteArray &directory, bool mlsd, const Sink &sink);

    /// Whether the server lists with MLSD (it named MLST among its features).
    bool offersMlsd() const;

    /// Names that would end a command early (CR, LF, NUL) are refused.
    static bool isSafeName(QByteArrayView name);

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera::detail
