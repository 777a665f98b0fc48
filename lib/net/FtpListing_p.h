#pragma once

// Reading the directory listings of FTP servers: MLSD (RFC 3659) and the
// two kinds of LIST output met in the wild, Unix ("ls -l") and DOS/IIS.
// Listings are outside data: every field is checked before it is used, an
// entry that does not read is passed over, and lines are bounded.
// Internal to the library.

#include "lib/TesseraExport.h"
#include "lib/net/FtpFindData_p.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>

#include <optional>

namespace tessera::detail {

enum class FtpListingFormat {
    List, ///< LIST: Unix or DOS lines, told apart line by line
    Mlsd, ///< MLSD: facts, a blank, the name
};

/// Lines longer than this are no entries of any server and are dropped.
constexpr qsizetype MaxListingLine = 16 * 1024;

/// The entry that one line describes, or nothing (a "total" line, a blank
/// line, the current and parent entries of MLSD, anything malformed).
/// Times of LIST lines are taken as local time, and a Unix date without a
/// year lies within the year before \a now (a local time); MLSD times are
/// UTC. Names are UTF-8 when they read as such, else the ANSI code page.
TESSERA_EXPORT std::optional<FtpFindData> parseListingLine(QByteArrayView line, FtpListingFormat format,
                                                           const QDateTime &now);

/// Splits a listing that arrives in pieces into lines (LF or CR LF) and
/// parses each as it completes.
class TESSERA_EXPORT FtpListingParser
{
public:
    FtpListingParser(FtpListingFormat format, const QDateTime &now);

    void feed(QByteArrayView bytes);
    /// Parses a last line that has no line end.
    void finish();
    /// The entries parsed so far, in listing order; they are handed over.
    QList<FtpFindData> takeEntries();

private:
    void endLine();

    FtpListingFormat m_format;
    QDateTime m_now;
    QByteArray m_line;
    bool m_overlong = false;
    QList<FtpFindData> m_entries;
};

/// Whether \a name matches \a pattern as the original platform's find
/// functions match: "*" any run of characters; "?" one character, or none
/// at a "." or at the end of the name; a "." before "*", "?" or the end of
/// the pattern also matches the end of a name without it, and a "*" before
/// a "." stops at the name's last "." (so "*.*" matches every name and "*."
/// the names without an extension). Letters match without regard to case.
TESSERA_EXPORT bool matchesFindPattern(QStringView name, QStringView pattern);

} // namespace tessera::detail
