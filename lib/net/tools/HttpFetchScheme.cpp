#include "lib/net/tools/HttpFetchScheme.h"

#include "lib/errors/crvErr.h"
#include "lib/net/IHTTPRequestCallback.h"
#include "lib/net/ProxySettings.h"
#include "lib/net/crvHTTPRequest.h"
#include "lib/net/tools/FetchOutput.h"

namespace tessera::fetchtool {

namespace {

// Blocks big enough that a large body moves at the network's speed, small
// enough that memory stays low.
constexpr qint32 BlockSize = 256 * 1024;

// Streams the body to the output (so it is never held whole) and draws the
// progress line.
class Streamer : public IHTTPRequestCallback
{
public:
    Streamer(FetchOutput &output, bool progress)
        : m_output(output)
        , m_progress(progress)
    { }

    bool failed() const { return m_failed; }

    void BlockReceived(const QByteArray &block, bool &removeBlock, qint64 received, qint64 total, bool &cancel) override
    {
        removeBlock = true;
        if (!m_output.write(block)) {
            m_failed = true;
            cancel = true;
            return;
        }
        if (m_progress)
            m_output.showProgress("received", received, total);
    }
    void BlockSent(const QByteArray &, qint64 sent, qint64 total, bool &) override
    {
        if (m_progress)
            m_output.showProgress("sent", sent, total);
    }

private:
    FetchOutput &m_output;
    bool m_progress;
    bool m_failed = false;
};

} // namespace

bool HttpFetchScheme::serves(const QString &protocol) const
{
    return protocol.compare(QLatin1String("http://"), Qt::CaseInsensitive) == 0;
}

QString HttpFetchScheme::foreignOption(const FetchOptions &options) const
{
    if (options.list)
        return QStringLiteral("--list");
    if (options.active)
        return QStringLiteral("--active");
    if (options.ascii)
        return QStringLiteral("--ascii");
    return {};
}

int HttpFetchScheme::fetch(const FetchRequest &request, FetchOutput &output)
{
    const FetchOptions &o = request.options;
    crvHTTPRequest http;
    http.setBufferSize(BlockSize);
    ProxySettings proxy;
    if (!o.proxy.isEmpty()) {
        proxy.setHTTP_AccessType(psatProxy);
        proxy.setHTTP_Address(o.proxy);
        http.setProxySettings(&proxy);
    }
    const qsizetype colon = o.user.indexOf(u':');
    const QString userName = colon < 0 ? QString() : o.user.left(colon);
    const QString password = colon < 0 ? QString() : o.user.mid(colon + 1);
    QString headers;
    for (const QString &line : o.headers)
        headers += line + QLatin1String("\r\n");

    Streamer streamer(output, o.progress);
    // The body is streamed as it comes, so it is not offered gzip: a
    // compressed body would be written compressed.
    const htprExecuteError rc
        = http.Execute(request.address, request.port, request.hasBody ? QStringLiteral("POST") : QStringLiteral("GET"),
                       request.objectName, QStringLiteral("HTTP/1.1"), {}, headers, request.body, o.timeout, {},
                       &streamer, false, false, true, true, userName, password, true);
    output.endProgress();
    if (streamer.failed()) {
        printError(QLatin1String("tessera-fetch: ") + output.errorString());
        return ExitOutput;
    }
    if (http.ResponseCode() != 0)
        printError(http.HTTPResponse().section(QStringLiteral("\r\n"), 0, 0));
    if (rc != htprSuccess || http.IsError()) {
        printError(QLatin1String("tessera-fetch: ") + oneLine(crvErr::global().GetErrorMessageHTTPRequest(&http)));
        return rc != htprSuccess ? ExitExchange : ExitStatus;
    }
    if (!output.commit()) {
        printError(QLatin1String("tessera-fetch: ") + output.errorString());
        return ExitOutput;
    }
    return ExitSuccess;
}

} // namespace tessera::fetchtool
