#pragma once

// The command line of tessera-fetch.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessera::fetchtool {

struct FetchOptions {
    QString url;
    QString output; ///< empty: standard output
    std::optional<QByteArray> data; ///< --data: the body as typed
    QString uploadFile; ///< --upload: the body from this file
    QStringList headers;
    QString proxy; ///< HOST:PORT
    QString user; ///< NAME:PASSWORD
    qint32 timeout = 30000;
    bool progress = false;
    bool list = false; ///< --list: the folder's listing as a table (ftp://)
    bool active = false; ///< --active: active FTP (the server connects back)
    bool ascii = false; ///< --ascii: FTP's ASCII type
    bool help = false;
};

/// The options of \a arguments (without the program's name), or nothing with
/// the reason in \a error.
std::optional<FetchOptions> parseFetchOptions(const QStringList &arguments, QString *error);

/// The --help text.
QString fetchUsage();

} // namespace tessera::fetchtool
