#include "lib/net/ProxySettings.h"

#include "lib/net/frmProxyConfig.h"
#include "lib/net/modPasswordCryptor.h"
#include "lib/system/crvCorvidSettings.h"

namespace tessera {

class ProxySettings::Private
{
public:
    qint32 accessType = psatPreconfigByIE;
    QString address;
    QString userName;
    QString password;
    QString bypassList;
    bool bypassLocal = false;
};

ProxySettings::ProxySettings(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Private>())
{ }

ProxySettings::~ProxySettings() = default;

QString ProxySettings::HTTP_Password() const
{
    return d->password;
}

void ProxySettings::setHTTP_Password(const QString &value)
{
    d->password = value;
}

QString ProxySettings::HTTP_UserName() const
{
    return d->userName;
}

void ProxySettings::setHTTP_UserName(const QString &value)
{
    d->userName = value;
}

bool ProxySettings::HTTP_BypassLocal() const
{
    return d->bypassLocal;
}

void ProxySettings::setHTTP_BypassLocal(bool value)
{
    d->bypassLocal = value;
}

QString ProxySettings::HTTP_BypassList() const
{
    return d->bypassList;
}

void ProxySettings::setHTTP_BypassList(const QString &value)
{
    d->bypassList = value;
}

QString ProxySettings::HTTP_Address() const
{
    return d->address;
}

void ProxySettings::setHTTP_Address(const QString &value)
{
    d->address = value;
}

qint32 ProxySettings::HTTP_AccessType() const
{
    return d->accessType;
}

void ProxySettings::setHTTP_AccessType(qint32 value)
{
    d->accessType = (value == psatDirect || value == psatProxy) ? value : psatPreconfigByIE;
}

bool ProxySettings::HTTP_SaveProxySettings2(const QString &SubKey, QObject *AppObject, bool UserSetting)
{
    const QString scrambled = modPasswordCryptor::ScramblePassword(d->password);
    crvCorvidSettings settings;
    settings.SaveSetting2(SubKey, QStringLiteral("AccessType"), rtLong, d->accessType, AppObject, UserSetting);
    settings.SaveSetting2(SubKey, QStringLiteral("Address"), rtString, d->address, AppObject, UserSetting);
    settings.SaveSetting2(SubKey, QStringLiteral("BypassList"), rtString, d->bypassList, AppObject, UserSetting);
    settings.SaveSetting2(SubKey, QStringLiteral("BypassLocal"), rtBoolean, d->bypassLocal, AppObject, UserSetting);
    settings.SaveSetting2(SubKey, QStringLiteral("UserName"), rtString, d->userName, AppObject, UserSetting);
    settings.SaveSetting2(SubKey, QStringLiteral("Password"), rtString, scrambled, AppObject, UserSetting);
    return true;
}

bool ProxySettings::HTTP_LoadProxySettings2(const QString &SubKey, QObject *AppObject, bool UserSetting)
{
    crvCorvidSettings settings;
    bool success = false;
    const auto load = [&](const char *name, RegistryType_Const type, const QVariant &fallback) {
        return settings.LoadSetting2(SubKey, QLatin1String(name), type, AppObject, fallback, UserSetting, &success);
    };
    setHTTP_AccessType(load("AccessType", rtLong, 0).toInt());
    setHTTP_Address(load("Address", rtString, QString()).toString());
    setHTTP_BypassList(load("BypassList", rtString, QString()).toString());
    setHTTP_BypassLocal(load("BypassLocal", rtBoolean, false).toBool());
    setHTTP_UserName(load("UserName", rtString, QString()).toString());
    setHTTP_Password(modPasswordCryptor::UnscramblePassword(load("Password", rtString, QString()).toString()));
    return success;
}

void ProxySettings::HTTP_ShowConfigDialog()
{
    frmProxyConfig form;
    form.setWindowTitle(form.windowTitle() + QLatin1String("HTTP"));
    form.Init(this);
    form.exec();
}

std::optional<QString> ProxySettings::GetProxyName() const
{
    if (d->address.isEmpty())
        return std::nullopt;
    return d->address;
}

QString ProxySettings::GetProxyBypass() const
{
    QString bypass = d->bypassList;
    if (d->bypassLocal && !bypass.toLower().contains(QLatin1String("<local>"))) {
        if (!bypass.isEmpty())
            bypass += u' ';
        bypass += QLatin1String("<local>");
    }
    return bypass;
}

} // namespace tessera
