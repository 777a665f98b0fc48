#include "lib/net/SystemProxy_p.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>

namespace tessera::detail {

namespace {

// The schemes of a proxy list, in the order they are written.
constexpr const char *Schemes[] = {"http", "https", "ftp", "socks"};

// "host:port" from the forms proxies are written in: "http://u:p@host:port/",
// "host:port", KDE's "http://host port".
QString hostAndPort(QString value)
{
    value = value.trimmed();
    if (const qsizetype scheme = value.indexOf(QLatin1String("://")); scheme >= 0)
        value = value.mid(scheme + 3);
    if (const qsizetype at = value.lastIndexOf(u'@'); at >= 0)
        value = value.mid(at + 1);
    if (const qsizetype slash = value.indexOf(u'/'); slash >= 0)
        value.truncate(slash);
    value.replace(u' ', u':');
    return value;
}

void addProxy(QStringList &list, const char *scheme, const QString &value)
{
    const QString hostPort = hostAndPort(value);
    if (!hostPort.isEmpty() && !hostPort.startsWith(u':'))
        list.append(QLatin1String(scheme) + u'=' + hostPort);
}

// One value of a gsettings listing: 'text' (with \' and \\ escapes), a
// number, or a list of texts ['a', 'b'] / @as [].
QStringList gvariantTexts(QStringView value)
{
    QStringList texts;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (!quoted) {
            if (c == u'\'') {
                quoted = true;
                current.clear();
            }
            continue;
        }
        if (c == u'\\' && i + 1 < value.size()) {
            current += value.at(++i);
        } else if (c == u'\'') {
            quoted = false;
            texts.append(current);
        } else {
            current += c;
        }
    }
    if (texts.isEmpty() && !value.startsWith(u'@') && !value.startsWith(u'['))
        texts.append(value.trimmed().toString()); // a plain number
    return texts;
}

// GNOME's settings when the desktop is one that keeps them there. Nothing
// when it is not, or when they say "automatic" (a script this library
// cannot run): then the environment decides.
std::optional<std::optional<SystemProxy>> gnomeProxy(const QStringList &desktops)
{
    static const QStringList gnomeFamily
        = {QStringLiteral("GNOME"), QStringLiteral("Unity"), QStringLiteral("Cinnamon"), QStringLiteral("Budgie"),
           QStringLiteral("Pantheon")};
    bool gnome = false;
    for (const QString &d : desktops)
        gnome = gnome || gnomeFamily.contains(d, Qt::CaseInsensitive) || d.endsWith(QLatin1String("GNOME"));
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (!gnome || gsettings.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(gsettings, {QStringLiteral("list-recursively"), QStringLiteral("org.gnome.system.proxy")});
    if (!process.waitForFinished(5000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished(1000);
        return std::optional<SystemProxy>(); // the settings are there but could not be read
    }
    QString mode;
    QStringList ignoreHosts;
    QHash<QString, QString> hosts;
    QHash<QString, QString> ports;
    const QString listing = QString::fromUtf8(process.readAllStandardOutput());
    for (QStringView line : QStringView(listing).tokenize(u'\n', Qt::SkipEmptyParts)) {
        // "<schema> <key> <value>"
        const qsizetype keyStart = line.indexOf(u' ');
        const qsizetype valueStart = keyStart < 0 ? -1 : line.indexOf(u' ', keyStart + 1);
        if (valueStart < 0)
            continue;
        const QStringView schema = line.left(keyStart);
        const QStringView key = line.mid(keyStart + 1, valueStart - keyStart - 1);
        const QStringList values = gvariantTexts(line.mid(valueStart + 1));
        const QString first = values.value(0);
        if (schema == u"org.gnome.system.proxy") {
            if (key == u"mode")
                mode = first;
            else if (key == u"ignore-hosts")
                ignoreHosts = values;
        } else if (schema.startsWith(u"org.gnome.system.proxy.")) {
            const QString scheme = schema.mid(23).toString();
            if (key == u"host")
                hosts.insert(scheme, first);
            else if (key == u"port")
                ports.insert(scheme, first);
        }
    }
    if (mode == QLatin1String("none"))
        return std::optional<SystemProxy>(SystemProxy {});
    if (mode != QLatin1String("manual"))
        return std::nullopt;
    QStringList list;
    for (const char *scheme : Schemes) {
        const QString host = hosts.value(QLatin1String(scheme));
        const QString port = ports.value(QLatin1String(scheme));
        if (!host.isEmpty() && port.toInt() > 0)
            addProxy(list, scheme, host + u':' + port);
    }
    return std::optional<SystemProxy>(SystemProxy {list.join(u' '), ignoreHosts.join(u' ')});
}

// KDE's settings from kioslaverc when the desktop is KDE and the file is
// there. Nothing when they defer to the environment or to a script.
std::optional<std::optional<SystemProxy>> kdeProxy(const QStringList &desktops)
{
    if (!desktops.contains(QStringLiteral("KDE"), Qt::CaseInsensitive))
        return std::nullopt;
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty())
        configHome = QDir::homePath() + QLatin1String("/.config");
    QFile file(configHome + QLatin1String("/kioslaverc"));
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        return std::optional<SystemProxy>();
    QHash<QString, QString> values;
    bool inProxySection = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inProxySection = line == QLatin1String("[Proxy Settings]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inProxySection && equals > 0)
            values.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    const int type = values.value(QStringLiteral("ProxyType"), QStringLiteral("0")).toInt();
    if (type == 0)
        return std::optional<SystemProxy>(SystemProxy {});
    if (type != 1)
        return std::nullopt;
    QStringList list;
    for (const char *scheme : Schemes)
        addProxy(list, scheme, values.value(QLatin1String(scheme) + QLatin1String("Proxy")));
    QString bypass = values.value(QStringLiteral("NoProxyFor"));
    bypass.replace(u',', u' ');
    // A reversed list names the hosts that use the proxy, which a bypass
    // list cannot say.
    if (values.value(QStringLiteral("ReversedException")).compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        bypass.clear();
    return std::optional<SystemProxy>(SystemProxy {list.join(u' '), bypass.simplified()});
}

QString environmentValue(const QProcessEnvironment &env, const QString &lowerName)
{
    const QString lower = env.value(lowerName);
    return lower.isEmpty() ? env.value(lowerName.toUpper()) : lower;
}

SystemProxy environmentProxy()
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QStringList list;
    for (const char *scheme : Schemes) {
        if (qstrcmp(scheme, "socks") != 0)
            addProxy(list, scheme, environmentValue(env, QLatin1String(scheme) + QLatin1String("_proxy")));
    }
    QStringList bypass;
    const QString noProxy = environmentValue(env, QStringLiteral("no_proxy"));
    for (QStringView item : QStringView(noProxy).tokenize(u',', Qt::SkipEmptyParts)) {
        item = item.trimmed();
        if (item.isEmpty())
            continue;
        // ".corp" names the domain and everything below it.
        bypass.append(item.startsWith(u'.') ? u'*' + item.toString() : item.toString());
    }
    return {list.join(u' '), bypass.join(u' ')};
}

} // namespace

std::optional<SystemProxy> querySystemProxy()
{
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    if (const auto gnome = gnomeProxy(desktops))
        return *gnome;
    if (const auto kde = kdeProxy(desktops))
        return *kde;
    return environmentProxy();
}

} // namespace tessera::detail
