#pragma once

#include "lib/TesseraExport.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace tessera {

/// How crvHTTPRequest reaches the network (the original platform's access
/// types).
enum psAccessType : qint32 {
    psatPreconfigByIE = 0, ///< the system's settings: the desktop's, else the environment's
    psatDirect = 1, ///< no proxy
    psatProxy = 3, ///< the proxy in HTTP_Address
};

/// A proxy configuration for crvHTTPRequest: the system's settings, a direct
/// connection, or a named proxy with optional credentials and a bypass list.
/// It saves itself to the settings store and loads itself back (the password
/// scrambled with modPasswordCryptor), and can show frmProxyConfig to let the
/// user edit it.
///
///     ProxySettings proxy;
///     proxy.HTTP_LoadProxySettings2(QStringLiteral("HTTP Proxy"), app);
///     request.setProxySettings(&proxy);
class TESSERA_EXPORT ProxySettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString HTTP_Password READ HTTP_Password WRITE setHTTP_Password)
    Q_PROPERTY(QString HTTP_UserName READ HTTP_UserName WRITE setHTTP_UserName)
    Q_PROPERTY(bool HTTP_BypassLocal READ HTTP_BypassLocal WRITE setHTTP_BypassLocal)
    Q_PROPERTY(QString HTTP_BypassList READ HTTP_BypassList WRITE setHTTP_BypassList)
    Q_PROPERTY(QString HTTP_Address READ HTTP_Address WRITE setHTTP_Address)
    Q_PROPERTY(qint32 HTTP_AccessType READ HTTP_AccessType WRITE setHTTP_AccessType)

public:
    explicit ProxySettings(QObject *parent = nullptr);
    ~ProxySettings() override;

    /// The password, plain in memory.
    QString HTTP_Password() const;
    void setHTTP_Password(const QString &value);
    QString HTTP_UserName() const;
    void setHTTP_UserName(const QString &value);
    /// Whether host names without a dot bypass the proxy ("<local>").
    bool HTTP_BypassLocal() const;
    void setHTTP_BypassLocal(bool value);
    /// Hosts that bypass the proxy, separated by blanks, "*" as wildcard.
    QString HTTP_BypassList() const;
    void setHTTP_BypassList(const QString &value);
    /// "host:port", or a proxy list ("http=p:8080 ftp=f:21").
    QString HTTP_Address() const;
    void setHTTP_Address(const QString &value);
    /// A psAccessType; writing any other value stores psatPreconfigByIE.
    qint32 HTTP_AccessType() const;
    void setHTTP_AccessType(qint32 value);

    /// Saves "AccessType", "Address", "BypassList", "BypassLocal", "UserName"
    /// and "Password" (scrambled) under \a SubKey of the program's settings
    /// (crvCorvidSettings::SaveSetting2). True unless an error is raised: the
    /// store's own (91 without an application object) or 6 for a password
    /// character without an ANSI code.
    bool HTTP_SaveProxySettings2(const QString &SubKey = QStringLiteral("HTTP Proxy"), QObject *AppObject = nullptr,
                                 bool UserSetting = true);
    /// Loads the six values back, each with its default (0, empty, false);
    /// a password that is not a valid scrambled text loads empty. Returns
    /// whether the last value, "Password", was found.
    bool HTTP_LoadProxySettings2(const QString &SubKey = QStringLiteral("HTTP Proxy"), QObject *AppObject = nullptr,
                                 bool UserSetting = true);
    /// Shows frmProxyConfig ("Параметры прокси-сервера для HTTP") modally
    /// for this object; the object changes only when the user chooses "Ok".
    void HTTP_ShowConfigDialog();

    /// HTTP_Address when it is set; nothing otherwise.
    std::optional<QString> GetProxyName() const;
    /// HTTP_BypassList, with " <local>" added when HTTP_BypassLocal is set
    /// and the list does not name it yet.
    QString GetProxyBypass() const;

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
