// tessera-fetch: fetches one address with the library's network classes and
// writes what came back to a file or to standard output. For users and
// scripts; see --help and docs/man/tessera-fetch.1.md.
#include "lib/net/crvHTTPRequest.h"
#include "lib/net/tools/FetchOutput.h"
#include "lib/net/tools/FtpFetchScheme.h"
#include "lib/net/tools/HttpFetchScheme.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <memory>
#include <vector>

using namespace tessera;
using namespace tessera::fetchtool;

namespace {

int usageError(const QString &reason)
{
    printError(QLatin1String("tessera-fetch: ") + reason + QLatin1String(" (see tessera-fetch --help)"));
    return ExitUsage;
}

int run(const QStringList &arguments)
{
    QString error;
    const std::optional<FetchOptions> options = parseFetchOptions(arguments, &error);
    if (!options)
        return usageError(error);
    if (options->help) {
        const QByteArray usage = fetchUsage().toLocal8Bit();
        std::fwrite(usage.constData(), 1, size_t(usage.size()), stdout);
        return std::fflush(stdout) == 0 ? ExitSuccess : ExitOutput;
    }

    FetchRequest request;
    request.options = *options;
    const crvHTTPRequest cracker;
    if (!cracker.CrackURL(options->url, &request.protocol, &request.address, &request.port, &request.objectName)
        || request.address.isEmpty())
        return usageError(
            QStringLiteral("%1 is not a URL of the form http://HOST[:PORT]/PATH or ftp://HOST[:PORT]/PATH")
                .arg(options->url));
    if (request.protocol.compare(QLatin1String("https://"), Qt::CaseInsensitive) == 0)
        return usageError(QStringLiteral("https:// addresses are not supported: the library speaks plain HTTP"));

    std::vector<std::unique_ptr<FetchScheme>> schemes;
    schemes.push_back(std::make_unique<HttpFetchScheme>());
    schemes.push_back(std::make_unique<FtpFetchScheme>());
    FetchScheme *scheme = nullptr;
    for (const auto &candidate : schemes) {
        if (candidate->serves(request.protocol)) {
            scheme = candidate.get();
            break;
        }
    }
    if (!scheme)
        return usageError(QStringLiteral("the protocol %1 is not supported").arg(request.protocol));
    if (const QString option = scheme->foreignOption(*options); !option.isEmpty())
        return usageError(QStringLiteral("%1 does not apply to %2 addresses").arg(option, request.protocol));
    // CrackURL says 80 for a URL without a port, whatever the protocol.
    const QString afterProtocol = options->url.mid(request.protocol.size());
    const qsizetype pathStart = afterProtocol.indexOf(u'/');
    request.portGiven = (pathStart < 0 ? afterProtocol : afterProtocol.first(pathStart)).contains(u':');
    if (!request.portGiven)
        request.port = scheme->defaultPort();
    if (request.port < 0 || request.port > 65535)
        return usageError(QStringLiteral("the port %1 is outside 0..65535").arg(request.port));

    if (options->data && scheme->takesBody()) {
        request.body = *options->data;
        request.hasBody = true;
    } else if (!options->uploadFile.isEmpty() && scheme->takesBody()) {
        QFile file(options->uploadFile);
        if (!file.open(QIODevice::ReadOnly)) {
            printError(QStringLiteral("tessera-fetch: %1: %2").arg(options->uploadFile, file.errorString()));
            return ExitInput;
        }
        request.body = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            printError(QStringLiteral("tessera-fetch: %1: %2").arg(options->uploadFile, file.errorString()));
            return ExitInput;
        }
        request.hasBody = true;
    }

    FetchOutput output(options->output);
    if (scheme->writesOutput(request) && !output.open()) {
        printError(QLatin1String("tessera-fetch: ") + output.errorString());
        return ExitOutput;
    }
    return scheme->fetch(request, output);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return run(arguments);
}
