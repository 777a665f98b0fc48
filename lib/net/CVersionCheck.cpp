#include "lib/net/CVersionCheck.h"

#include "lib/errors/CAppStub.h"
#include "lib/net/IHTTPRequestCallback.h"
#include "lib/net/crvHTTPRequest.h"
#include "platform/RuntimeError.h"
#include "platform/VariantConvert.h"
#include "platform/VersionRecord.h"
#include "support/csSystem.h"
#include "support/csText.h"

#include <QStringList>

#include <array>
#include <optional>

namespace tessera {

namespace {

const QString DefaultVersionFolder = QStringLiteral("http://www.sablewing.net/versions/");
const QString HomePage = QStringLiteral("http://www.sablewing.net/");
constexpr const char *VersionFolderVariable = "TESSERA_VERSIONS_URL";
const QString DummyName = QStringLiteral("Dummy");
// A version text is a few bytes; a body longer than this is not one, and
// is not read to its end.
constexpr qint64 MaxVersionFile = 64 * 1024;

// Cancels a body that grows past any version text.
class SizeLimit : public IHTTPRequestCallback
{
public:
    void BlockReceived(const QByteArray &, bool &, qint64 received, qint64, bool &cancel) override
    {
        cancel = received > MaxVersionFile;
    }
    void BlockSent(const QByteArray &, qint64, qint64, bool &) override { }
};

// One part of the version text as a number, as the platform converts a text
// to a 32-bit integer; nothing for a text that is no number and for a
// negative one, which no version has.
std::optional<qint32> versionNumber(const QString &part)
{
    try {
        const qint32 value = variantToLong(part);
        return value >= 0 ? std::optional(value) : std::nullopt;
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
}

} // namespace

QString CVersionCheck::VersionFolderURL()
{
    const QString folder = qEnvironmentVariable(VersionFolderVariable);
    return folder.isEmpty() ? DefaultVersionFolder : folder;
}

QString CVersionCheck::HomePageURL()
{
    return HomePage;
}

QString CVersionCheck::VersionFileURL(const QString &internalName)
{
    QString folder = VersionFolderURL();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder + QLatin1String("Version.") + internalName + QLatin1String(".DAT");
}

QString CVersionCheck::GetExeInternalName()
{
    return GetExeInternalName(cs::csGetEXEModulePrettyFileName());
}

QString CVersionCheck::GetExeInternalName(const QString &executable)
{
    const std::optional<VersionRecord> record = VersionRecord::fromFile(executable);
    if (!record)
        return DummyName;
    return record->value(QStringLiteral("InternalName")).value_or(DummyName);
}

bool CVersionCheck::HasVersionRecord(const QString &executable)
{
    return VersionRecord::fromFile(executable).has_value();
}

VersionCheckOutcome CVersionCheck::Check(const QString &url, qint32 localMajor, qint32 localMinor, qint32 localRevision,
                                         qint32 timeoutMs)
{
    crvHTTPRequest http;
    QString address;
    qint32 port = 80;
    QString objectName;
    http.CrackURL(url, nullptr, &address, &port, &objectName);
    CAppStub library;
    library.Init(QStringLiteral("Tessera0301"), TESSERA_VERSION_MAJOR, TESSERA_VERSION_MINOR, TESSERA_VERSION_PATCH);
    SizeLimit limit;
    VersionCheckOutcome outcome;
    try {
        http.Execute(address, port, QStringLiteral("GET"), objectName, QStringLiteral("HTTP/1.1"), {}, {}, {},
                     timeoutMs, http.BuildUserAgent(&library), &limit, false, true, true, true, {}, {}, false);
    } catch (const RuntimeError &error) {
        // A port the address cannot carry: no request was made.
        outcome.InfoText = QStringLiteral("Произошла ошибка %1 при соединении с сервером. %2")
                               .arg(error.Number())
                               .arg(error.Description());
        return outcome;
    }
    if (http.IsError() && http.ErrorCode() != 0) {
        outcome.InfoText = QStringLiteral("Произошла ошибка %1 при соединении с сервером. %2")
                               .arg(http.ErrorCode())
                               .arg(http.ErrorText());
        return outcome;
    }
    if (http.IsError() || http.ResponseCode() != 200) {
        outcome.InfoText
            = QStringLiteral("Не удалось получить сведения о версии программы на сайте. Сервер сказал: %1, %2")
                  .arg(http.ResponseCode())
                  .arg(http.ResponseText());
        return outcome;
    }
    return Evaluate(http.ReceivedData(), localMajor, localMinor, localRevision);
}

VersionCheckOutcome CVersionCheck::Evaluate(const QByteArray &versionFile, qint32 localMajor, qint32 localMinor,
                                            qint32 localRevision)
{
    VersionCheckOutcome outcome;
    const QStringList parts = cs::csStrConvW(versionFile).split(u'.');
    if (parts.size() != 3) {
        outcome.InfoText = QStringLiteral("Сведения о версии программы на сайте получены, но они содержат ошибку.");
        return outcome;
    }
    std::array<qint32, 3> site {};
    for (qsizetype i = 0; i < 3; ++i) {
        const std::optional<qint32> number = versionNumber(parts[i]);
        if (!number) {
            outcome.InfoText = QStringLiteral(
                "Сведения о версии программы на сайте получены, но они содержат ошибку. Номера указаны неверно.");
            return outcome;
        }
        site[size_t(i)] = *number;
    }
    outcome.Compared = true;
    outcome.SiteMajor = site[0];
    outcome.SiteMinor = site[1];
    outcome.SiteRevision = site[2];
    const std::array<qint32, 3> local {localMajor, localMinor, localRevision};
    if (site == local)
        outcome.ResultText = QStringLiteral("У Вас свежая версия - обновление не требуется ^_^");
    else if (site > local)
        outcome.ResultText = QStringLiteral("На сайте свежая версия - можно обновляться ^_^");
    else
        outcome.ResultText = QStringLiteral("Привет, Врен-чан ^_~");
    return outcome;
}

} // namespace tessera
