#include "lib/net/tools/FetchOptions.h"

namespace tessera::fetchtool {

QString fetchUsage()
{
    return QStringLiteral(
        "Usage: tessera-fetch [-o FILE] [--data TEXT | --upload FILE] [--header LINE]...\n"
        "                     [--proxy HOST:PORT] [--user NAME:PASSWORD] [--timeout MS] [--progress] URL\n"
        "       tessera-fetch [-o FILE] [--upload FILE | --list] [--user NAME:PASSWORD] [--timeout MS]\n"
        "                     [--active] [--ascii] ftp://HOST[:PORT]/PATH\n"
        "\n"
        "Fetches URL (http://HOST[:PORT]/PATH) and writes the body to FILE, or to standard\n"
        "output. With --data or --upload the body is sent with POST, otherwise GET is used.\n"
        "The status line goes to standard error.\n"
        "\n"
        "With an ftp:// URL (port 21 unless given; the path is taken from the login folder,\n"
        "ftp://HOST//PATH from the root) the file is downloaded, --upload stores FILE under\n"
        "that name instead, and --list (or a path ending in \"/\") prints the folder's listing\n"
        "as a table: kind, size, time of the last change, name. A name with \"*\" or \"?\" in\n"
        "its last part lists what matches. The login is anonymous unless --user is given.\n"
        "\n"
        "  -o, --output FILE     write the body to FILE, whole or not at all\n"
        "  --data TEXT           send TEXT as the request body\n"
        "  --upload FILE         send the contents of FILE as the request body\n"
        "  --header LINE         add a header line \"Name: value\" (may be repeated)\n"
        "  --proxy HOST:PORT     go through this HTTP proxy instead of the system's settings\n"
        "  --user NAME:PASSWORD  credentials for the server\n"
        "  --timeout MS          give up after MS milliseconds without progress (default 30000)\n"
        "  --progress            show a progress line on standard error (http:// only)\n"
        "  --list                print the listing of an ftp:// folder or pattern\n"
        "  --active              active FTP: the server connects back (default: passive)\n"
        "  --ascii               FTP's ASCII type: CR LF line ends become LF and back\n"
        "  -h, --help            show this help\n"
        "\n"
        "Exit status: 0 for a 200 or 201 answer (for FTP: the operation succeeded), 1 for any\n"
        "other HTTP status or an FTP command the server refused, 2 for a wrong command line,\n"
        "3 when the exchange failed, 4 when the body cannot be written, 5 when the upload\n"
        "file cannot be read.\n"
        "\n"
        "Environment: http_proxy and no_proxy (and the desktop's settings) choose a proxy for\n"
        "http:// unless --proxy is given; ftp:// goes directly.\n");
}

std::optional<FetchOptions> parseFetchOptions(const QStringList &arguments, QString *error)
{
    FetchOptions o;
    const auto fail = [error](const QString &reason) {
        *error = reason;
        return std::nullopt;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            o.help = true;
            return o;
        }
        if (a == QLatin1String("--progress")) {
            o.progress = true;
            continue;
        }
        if (a == QLatin1String("--list")) {
            o.list = true;
            continue;
        }
        if (a == QLatin1String("--active")) {
            o.active = true;
            continue;
        }
        if (a == QLatin1String("--ascii")) {
            o.ascii = true;
            continue;
        }
        const bool takesValue = a == QLatin1String("-o") || a == QLatin1String("--output")
            || a == QLatin1String("--data") || a == QLatin1String("--upload") || a == QLatin1String("--header")
            || a == QLatin1String("--proxy") || a == QLatin1String("--user") || a == QLatin1String("--timeout");
        if (!takesValue) {
            if (a.startsWith(u'-') && a.size() > 1)
                return fail(QStringLiteral("unknown option %1").arg(a));
            if (!o.url.isEmpty())
                return fail(QStringLiteral("more than one URL given"));
            o.url = a;
            continue;
        }
        if (++i >= arguments.size())
            return fail(QStringLiteral("%1 needs a value").arg(a));
        const QString &value = arguments.at(i);
        if (a == QLatin1String("-o") || a == QLatin1String("--output")) {
            o.output = value;
        } else if (a == QLatin1String("--data")) {
            o.data = value.toLocal8Bit();
        } else if (a == QLatin1String("--upload")) {
            o.uploadFile = value;
        } else if (a == QLatin1String("--header")) {
            if (!value.contains(u':'))
                return fail(QStringLiteral("--header needs a line \"Name: value\", not %1").arg(value));
            o.headers.append(value);
        } else if (a == QLatin1String("--proxy")) {
            o.proxy = value;
        } else if (a == QLatin1String("--user")) {
            if (!value.contains(u':'))
                return fail(QStringLiteral("--user needs NAME:PASSWORD"));
            o.user = value;
        } else {
            bool ok = false;
            o.timeout = value.toInt(&ok);
            if (!ok || o.timeout <= 0)
                return fail(QStringLiteral("--timeout needs a number of milliseconds above 0, not %1").arg(value));
        }
    }
    if (o.data && !o.uploadFile.isEmpty())
        return fail(QStringLiteral("--data and --upload cannot be used together"));
    if (o.list && (o.data || !o.uploadFile.isEmpty()))
        return fail(QStringLiteral("--list cannot be used with --data or --upload"));
    if (o.url.isEmpty())
        return fail(QStringLiteral("no URL given"));
    return o;
}

} // namespace tessera::fetchtool
