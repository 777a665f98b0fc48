#pragma once

#include "lib/TesseraExport.h"

#include <QByteArray>
#include <QString>

namespace tessera {

/// What a program version check came to, as the about box's update area
/// shows it: either the site's version was read and compared (Compared,
/// ResultText, the site's numbers), or InfoText says what went wrong.
struct TESSERA_EXPORT VersionCheckOutcome {
    bool Compared = false;
    QString InfoText; ///< for lblUpdateInfo when not Compared
    QString ResultText; ///< for lblUpdateResult when Compared
    qint32 SiteMajor = 0;
    qint32 SiteMinor = 0;
    qint32 SiteRevision = 0;
};

/// The program version check of the about box: the maker's site keeps, per
/// program, a file "Version." + internal name + ".DAT" holding the current
/// version ("1.2.345"), which is fetched with crvHTTPRequest and compared
/// with the running program's version.
class TESSERA_EXPORT CVersionCheck
{
public:
    CVersionCheck() = delete;

    /// The address of the folder of the version files,
    /// "http://www.sablewing.net/versions/", or the value of the environment
    /// variable TESSERA_VERSIONS_URL where it is set (for tests, and for
    /// people who mirror the site).
    static QString VersionFolderURL();
    /// The maker's home page, "http://www.sablewing.net/".
    static QString HomePageURL();
    /// VersionFolderURL() + "Version." + \a internalName + ".DAT".
    static QString VersionFileURL(const QString &internalName);

    /// The InternalName of the running program's version record
    /// (platform/VersionRecord.h); "Dummy" when it has none.
    static QString GetExeInternalName();
    /// The same for the executable file \a executable.
    static QString GetExeInternalName(const QString &executable);
    /// Whether the executable file \a executable carries a version record.
    static bool HasVersionRecord(const QString &executable);

    /// Fetches the version file at \a url (a GET with the library's user
    /// agent, no cookies, \a timeoutMs) and evaluates it against the local
    /// version; a network failure or an answer other than 200 gives its
    /// InfoText. A file larger than any version text is not read to its end.
    static VersionCheckOutcome Check(const QString &url, qint32 localMajor, qint32 localMinor, qint32 localRevision,
                                     qint32 timeoutMs = 30000);
    /// The verdict on the content of a version file: three numbers
    /// separated by ".", compared major first.
    static VersionCheckOutcome Evaluate(const QByteArray &versionFile, qint32 localMajor, qint32 localMinor,
                                        qint32 localRevision);
};

} // namespace tessera
