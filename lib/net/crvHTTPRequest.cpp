#include "lib/net/crvHTTPRequest.h"

#include "lib/net/CurlSupport_p.h"
#include "lib/net/HTTPFormBuilder.h"
#include "lib/net/IHTTPRequestCallback.h"
#include "lib/net/ProxyRules_p.h"
#include "lib/net/ProxySettings.h"
#include "lib/net/ResponseHead_p.h"
#include "lib/net/SystemProxy_p.h"
#include "lib/net/UrlCracker_p.h"
#include "lib/net/UserAgent_p.h"
#include "lib/net/WinInetErrors_p.h"
#include "lib/net/crvGZipArchive.h"
#include "platform/RuntimeError.h"
#include "platform/VariantConvert.h"
#include "support/csFiles.h"
#include "support/csModules.h"
#include "support/csText.h"

#include <QPointer>

#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>

namespace tessera {

namespace {

namespace WinInet = detail::WinInet;

const QLatin1String CRLF("\r\n");
constexpr qint32 DefaultBufferSize = 1024;
constexpr long MaxRedirects = 30;
// A body is reserved up to its announced length, but a length from the
// network is not trusted with more than this before the bytes arrive.
constexpr qint64 MaxReserve = qint64(16) << 20;
// libcurl's own buffers follow BufferSize within its limits.
constexpr long MinCurlBuffer = 16 * 1024;
constexpr long MaxCurlBuffer = 512 * 1024;
constexpr long MaxCurlUploadBuffer = 2 * 1024 * 1024;

// The state of one transfer, shared with libcurl's callbacks.
struct Transfer {
    // What the caller gave.
    IHTTPRequestCallback *callback = nullptr;
    qsizetype bufferSize = DefaultBufferSize;
    QByteArray body;
    bool following = false;
    bool serverCredentials = false;
    bool proxyCredentials = false;

    // The callback's two flags, shared by all its calls.
    bool cancel = false;
    bool removeBlock = false;

    // How far the exchange came: decides the step a failure belongs to.
    bool requestSent = false;
    bool responseSeen = false;
    bool readingBody = false;

    QByteArray requestHead;
    QByteArray headBlock;
    QByteArray finalHead;
    detail::ResponseHead head;

    qsizetype uploaded = 0;
    qint64 sentTotal = 0;
    QByteArray pending;
    QByteArray data;
    qint64 receivedTotal = 0;
    bool altered = false;
    bool reserved = false;

    bool cancelled = false;
    std::exception_ptr raised;
    detail::IdleTimeout idle;

    void touch() { idle.touch(); }
    qint64 announcedLength() const { return std::max<qint64>(head.contentLength, 0); }

    // Hands one block to the callback and keeps it unless removed; false
    // when the callback cancelled.
    bool deliver(const QByteArray &block)
    {
        receivedTotal += block.size();
        if (callback) {
            callback->BlockReceived(block, removeBlock, receivedTotal, announcedLength(), cancel);
            if (cancel) {
                cancelled = true;
                return false;
            }
        }
        if (removeBlock)
            altered = true;
        else
            data.append(block);
        return true;
    }

    // The network error of a failed transfer.
    qint32 errorCode(CURLcode rc) const
    {
        if (idle.expired)
            return WinInet::Timeout;
        // An answer without a status line is HTTP/0.9 to libcurl, which it
        // refuses as a protocol it does not speak.
        if (rc == CURLE_UNSUPPORTED_PROTOCOL && requestSent && !responseSeen)
            return WinInet::InvalidServerResponse;
        return WinInet::fromCurl(rc);
    }

    // Where a failure of libcurl belongs in the original sequence: sending
    // the request (its connect is lazy, so a refused connection fails here),
    // writing the body, ending the request (waiting for the answer and its
    // redirects), or reading the body.
    htprExecuteError failedStep() const
    {
        if (readingBody)
            return htprInternetReadFileFailed;
        if (responseSeen)
            return htprHttpEndRequestFailed;
        if (!requestSent)
            return htprHttpSendRequestExFailed;
        if (uploaded < body.size())
            return htprInternetWriteFileFailed;
        return htprHttpEndRequestFailed;
    }
};

size_t onHeader(char *buffer, size_t size, size_t count, void *user)
{
    auto *t = static_cast<Transfer *>(user);
    const size_t length = size * count;
    t->touch();
    const QByteArrayView line(buffer, qsizetype(length));
    if (line.startsWith("HTTP/")) {
        t->responseSeen = true;
        t->readingBody = false;
        t->headBlock = line.toByteArray();
        return length;
    }
    t->headBlock.append(line);
    if (line != "\r\n" && line != "\n")
        return length;
    const detail::ResponseHead head = detail::parseResponseHead(t->headBlock);
    if (head.statusCode >= 100 && head.statusCode < 200)
        return length; // an interim answer; the real one follows
    t->finalHead = t->headBlock;
    t->head = head;
    const qint32 code = head.statusCode;
    const bool redirected
        = t->following && head.hasLocation && (code == 301 || code == 302 || code == 303 || code == 307 || code == 308);
    const bool retried = (code == 401 && t->serverCredentials) || (code == 407 && t->proxyCredentials);
    t->readingBody = !redirected && !retried;
    return length;
}

size_t onWrite(char *buffer, size_t size, size_t count, void *user)
{
    auto *t = static_cast<Transfer *>(user);
    const qsizetype length = qsizetype(size * count);
    t->touch();
    if (!t->readingBody)
        return size_t(length); // the body of a redirect being followed
    try {
        if (!t->reserved) {
            t->reserved = true;
            t->data.reserve(qsizetype(std::min(t->announcedLength(), MaxReserve)));
        }
        // Blocks of exactly BufferSize bytes, whatever pieces the network
        // brings, gathered in one buffer that is reused; the rest waits for
        // more (or for the end).
        if (t->pending.capacity() < t->bufferSize)
            t->pending.reserve(t->bufferSize);
        qsizetype used = 0;
        while (used < length) {
            const qsizetype take = std::min(length - used, t->bufferSize - t->pending.size());
            t->pending.append(buffer + used, take);
            used += take;
            if (t->pending.size() == t->bufferSize) {
                if (!t->deliver(t->pending))
                    return 0;
                t->pending.truncate(0);
            }
        }
        return size_t(length);
    } catch (...) {
        t->raised = std::current_exception();
        return 0;
    }
}

size_t onRead(char *buffer, size_t size, size_t count, void *user)
{
    auto *t = static_cast<Transfer *>(user);
    t->touch();
    const qsizetype chunk
        = std::min({t->bufferSize, t->body.size() - t->uploaded, qsizetype(std::min<size_t>(size * count, 1u << 30))});
    if (chunk <= 0)
        return 0;
    std::memcpy(buffer, t->body.constData() + t->uploaded, size_t(chunk));
    t->uploaded += chunk;
    t->sentTotal += chunk;
    try {
        if (t->callback) {
            t->callback->BlockSent(QByteArray(buffer, chunk), t->sentTotal, t->body.size(), t->cancel);
            if (t->cancel) {
                t->cancelled = true;
                return CURL_READFUNC_ABORT;
            }
        }
    } catch (...) {
        t->raised = std::current_exception();
        return CURL_READFUNC_ABORT;
    }
    return size_t(chunk);
}

// The body is sent again when the server asks for credentials first.
int onSeek(void *user, curl_off_t offset, int origin)
{
    auto *t = static_cast<Transfer *>(user);
    if (origin != SEEK_SET || offset < 0 || offset > t->body.size())
        return CURL_SEEKFUNC_CANTSEEK;
    t->uploaded = qsizetype(offset);
    t->sentTotal = offset;
    return CURL_SEEKFUNC_OK;
}

// The request headers as they go out (libcurl reports them only here).
int onDebug(CURL *, curl_infotype type, char *data, size_t size, void *user)
{
    if (type != CURLINFO_HEADER_OUT)
        return 0;
    auto *t = static_cast<Transfer *>(user);
    if (t->requestHead.endsWith("\r\n\r\n"))
        t->requestHead.clear();
    t->requestHead.append(data, qsizetype(size));
    t->requestSent = true;
    t->touch();
    return 0;
}

bool isTokenCharacter(QChar c)
{
    return (c.unicode() < 128 && c.isLetterOrNumber()) || QStringView(u"!#$%&'*+-.^_`|~").contains(c);
}

// A text that goes into a header line must not end it early.
bool isHeaderSafe(const QString &text)
{
    return !text.contains(u'\r') && !text.contains(u'\n') && !text.contains(QChar(0));
}

// The object name as a URL path: bytes in the ANSI code page, the ones a URL
// cannot hold escaped, everything else (escapes already there included) as
// given.
QByteArray urlPath(const QString &objectName)
{
    QByteArray bytes = cs::csStrConvB(objectName);
    if (!bytes.startsWith('/'))
        bytes.prepend('/');
    QByteArray path;
    path.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = quint8(c);
        if (b <= 32 || b >= 127 || QByteArrayView("\"<>\\^`{|}").contains(c))
            path += '%' + QByteArray::number(b, 16).rightJustified(2, '0').toUpper();
        else
            path += c;
    }
    return path;
}

// The header lines for libcurl, or nothing when a line is not a header.
// "Name:" with no value is sent as it is ("Name;" in libcurl's terms, since
// libcurl takes "Name:" to mean "do not send Name").
std::optional<detail::CurlList> headerList(const QString &headers, bool hasBody)
{
    detail::CurlList list;
    bool contentType = false;
    for (QStringView line : QStringView(headers).tokenize(CRLF, Qt::SkipEmptyParts)) {
        const qsizetype colon = line.indexOf(u':');
        if (colon <= 0 || line.contains(u'\r') || line.contains(u'\n') || line.contains(QChar(0)))
            return std::nullopt;
        for (const QChar c : line.left(colon)) {
            if (!isTokenCharacter(c))
                return std::nullopt;
        }
        contentType = contentType || line.left(colon).compare(u"Content-Type", Qt::CaseInsensitive) == 0;
        QByteArray bytes = cs::csStrConvB(line.toString());
        if (line.mid(colon + 1).trimmed().isEmpty())
            bytes = bytes.left(colon) + ';';
        if (!detail::appendCurlList(list, bytes.constData()))
            return std::nullopt;
    }
    // libcurl's own additions that the original never sent.
    if (!detail::appendCurlList(list, "Expect:"))
        return std::nullopt;
    if (hasBody && !contentType && !detail::appendCurlList(list, "Content-Type:"))
        return std::nullopt;
    return list;
}

// The name of the library's own file without folder and extensions
// ("libtessera0301"), for the user agent.
QString ownModuleName()
{
    const QString file = cs::csGetFileName(
        cs::csGetModulePrettyFileName(cs::csGetModuleHandleOf(reinterpret_cast<const void *>(&ownModuleName))));
    return file.left(file.indexOf(u'.'));
}

} // namespace

class crvHTTPRequest::Private
{
public:
    QPointer<tessera::ProxySettings> proxy;
    QString httpRequest;
    QString httpResponse;
    qint32 responseCode = 0;
    QString responseText;
    qint32 errorCode = 0;
    QString errorText;
    QByteArray receivedData;
    htprExecuteError lastRC = htprSuccess;
    qint32 bufferSize = DefaultBufferSize;
    QString cookiesIn;
    QString cookiesOut;

    void setError(qint32 code)
    {
        errorCode = code;
        errorText = WinInet::text(code);
    }
    htprExecuteError finish(htprExecuteError rc, qint32 code)
    {
        setError(code);
        lastRC = rc;
        return rc;
    }
    // The response's texts, as the header queries after a sent request give them.
    void takeResponse(const Transfer &t)
    {
        httpRequest = cs::csStrConvW(t.requestHead);
        httpResponse = cs::csStrConvW(t.finalHead);
        responseCode = t.head.statusCode;
        responseText = cs::csStrConvW(t.head.statusText);
        for (const QByteArray &cookie : t.head.setCookies)
            cookiesOut += cs::csStrConvW(cookie) + CRLF;
    }
};

crvHTTPRequest::crvHTTPRequest()
    : d(std::make_unique<Private>())
{ }

crvHTTPRequest::~crvHTTPRequest() = default;

tessera::ProxySettings *crvHTTPRequest::ProxySettings() const
{
    return d->proxy;
}

void crvHTTPRequest::setProxySettings(tessera::ProxySettings *settings)
{
    d->proxy = settings;
}

bool crvHTTPRequest::IsError() const
{
    return d->lastRC != htprSuccess || (d->responseCode != 200 && d->responseCode != 201);
}

htprExecuteError crvHTTPRequest::LastRC() const
{
    return d->lastRC;
}

bool crvHTTPRequest::CrackURL(const QString &URL, QString *Protocol, QString *Address, qint32 *Port,
                              QString *ObjectName) const
{
    return detail::crackUrl(URL, Protocol, Address, Port, ObjectName);
}

QString crvHTTPRequest::DefaultHTTPHeaders()
{
    return QStringLiteral("Accept: */*\r\nX-Devote-To: Sorrel ^_^!\r\n");
}

QString crvHTTPRequest::HTTPRequest() const
{
    return d->httpRequest;
}

QString crvHTTPRequest::HTTPResponse() const
{
    return d->httpResponse;
}

qint32 crvHTTPRequest::ResponseCode() const
{
    return d->responseCode;
}

QString crvHTTPRequest::ResponseText() const
{
    return d->responseText;
}

qint32 crvHTTPRequest::ErrorCode() const
{
    return d->errorCode;
}

QString crvHTTPRequest::ErrorText() const
{
    return d->errorText;
}

QByteArray crvHTTPRequest::ReceivedData() const
{
    return d->receivedData;
}

void crvHTTPRequest::Clear()
{
    d->httpRequest.clear();
    d->httpResponse.clear();
    d->responseText.clear();
    d->errorText.clear();
    d->receivedData.clear();
    d->responseCode = 0;
    d->errorCode = 0;
}

QString crvHTTPRequest::BuildUserAgent(QObject *App) const
{
    if (!App)
        throw RuntimeError(RuntimeError::ObjectVariableNotSet);
    QVariant values[4];
    const char *names[4] = {"Title", "Major", "Minor", "Revision"};
    for (int i = 0; i < 4; ++i) {
        values[i] = App->property(names[i]);
        if (!values[i].isValid())
            throw RuntimeError(RuntimeError::ObjectDoesntSupport);
    }
    return detail::makeUserAgent(variantToText(values[0]), variantToLong(values[1]), variantToLong(values[2]),
                                 variantToLong(values[3]));
}

htprExecuteError crvHTTPRequest::Execute(const QString &Address, qint32 Port, const QString &HTTPVerb,
                                         const QString &ObjectName, const QString &HTTPVersion, const QString &Referer,
                                         const QString &AdditionalHeaders, const QByteArray &OptionalData,
                                         qint32 Timeout, const QString &UserAgent, IHTTPRequestCallback *Callback,
                                         bool NoAutoRedirects, bool NoCookies, bool /*DontReadFromCache*/,
                                         bool /*NoWriteToCache*/, const QString &ServerUserName,
                                         const QString &ServerPassword, bool DisableGZip)
{
    // The cookies go with this request, whatever becomes of it.
    struct ConsumeCookies {
        QString &cookies;
        ~ConsumeCookies() { cookies.clear(); }
    } consumeCookies {d->cookiesIn};

    Clear();
    const QString userAgent = UserAgent.isEmpty()
        ? detail::makeUserAgent(QLatin1String("Corvid - ") + ownModuleName() + QLatin1String(".crvHTTPRequest"),
                                TESSERA_VERSION_MAJOR, TESSERA_VERSION_MINOR, TESSERA_VERSION_PATCH)
        : UserAgent;
    d->cookiesOut.clear();

    // The session: user agent and proxy.
    const detail::CurlEasy easy = detail::newCurlEasy();
    if (!easy)
        return d->finish(htprInternetOpenFailed, WinInet::OutOfHandles);
    CURL *curl = easy.get();
    if (!isHeaderSafe(userAgent))
        return d->finish(htprInternetOpenFailed, WinInet::InvalidParameter);
    const qint32 accessType = d->proxy ? d->proxy->HTTP_AccessType() : qint32(psatPreconfigByIE);
    QString proxyList;
    QString bypassList;
    if (accessType == psatProxy) {
        const std::optional<QString> name = d->proxy->GetProxyName();
        if (!name)
            return d->finish(htprInternetOpenFailed, WinInet::InvalidParameter);
        proxyList = *name;
        bypassList = d->proxy->GetProxyBypass();
    } else if (accessType == psatPreconfigByIE) {
        if (const std::optional<detail::SystemProxy> system = detail::querySystemProxy()) {
            proxyList = system->proxyList;
            bypassList = system->bypassList;
        }
    }

    // The connection: address and port.
    if (Port < 0 || Port > 65535)
        throw RuntimeError(RuntimeError::Overflow);
    const std::optional<QByteArray> host = detail::urlHost(Address);
    if (!host)
        return d->finish(htprInternetConnectFailed, WinInet::InvalidUrl);
    QString proxy = detail::proxyForScheme(proxyList, u"http");
    if (!proxy.isEmpty() && detail::bypassesProxy(bypassList, Address))
        proxy.clear();

    // The request: verb, object, version, referrer.
    const QString verb = HTTPVerb.toUpper();
    if (verb.isEmpty() || !std::all_of(verb.begin(), verb.end(), isTokenCharacter) || !isHeaderSafe(Referer))
        return d->finish(htprHttpOpenRequestFailed, WinInet::InvalidParameter);
    const QByteArray url = "http://" + *host + ':' + QByteArray::number(Port == 0 ? 80 : Port) + urlPath(ObjectName);
    {
        detail::CurlUrl parsed(curl_url());
        if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.constData(), 0) != CURLUE_OK)
            return d->finish(htprInternetConnectFailed, WinInet::InvalidUrl);
    }

    Transfer t;
    t.callback = Callback;
    t.bufferSize = d->bufferSize;
    t.body = OptionalData;
    t.idle.limitMs = Timeout;
    t.following = !NoAutoRedirects;
    t.serverCredentials = !ServerUserName.isEmpty() || !ServerPassword.isEmpty();
    t.proxyCredentials = d->proxy && (!d->proxy->HTTP_UserName().isEmpty() || !d->proxy->HTTP_Password().isEmpty());

    // Every option is checked; a refusal (only ever a lack of memory) fails
    // the step the option belongs to.
    std::optional<htprExecuteError> failed;
    qint32 failedCode = 0;
    const auto set = [&](htprExecuteError step, CURLoption option, auto value) {
        if (failed)
            return;
        const CURLcode rc = curl_easy_setopt(curl, option, value);
        if (rc != CURLE_OK) {
            failed = step;
            failedCode = WinInet::fromCurl(rc);
        }
    };
    const QByteArray userAgentBytes = cs::csStrConvB(userAgent);
    const QByteArray proxyBytes = proxy.toUtf8();
    set(htprInternetOpenFailed, CURLOPT_USERAGENT, userAgentBytes.constData());
    set(htprInternetOpenFailed, CURLOPT_PROXY, proxyBytes.constData());
    set(htprInternetOpenFailed, CURLOPT_NOPROXY, ""); // the bypass list has decided already
    set(htprInternetOpenFailed, CURLOPT_NOSIGNAL, 1L);
    set(htprInternetOpenFailed, CURLOPT_PROTOCOLS_STR, "http");
    set(htprInternetOpenFailed, CURLOPT_REDIR_PROTOCOLS_STR, "http");
    if (Timeout > 0)
        set(htprInternetOpenFailed, CURLOPT_CONNECTTIMEOUT_MS, long(Timeout));
    set(htprInternetConnectFailed, CURLOPT_URL, url.constData());

    QByteArray proxyUser;
    QByteArray proxyPassword;
    if (d->proxy) {
        proxyUser = cs::csStrConvB(d->proxy->HTTP_UserName());
        proxyPassword = cs::csStrConvB(d->proxy->HTTP_Password());
        set(htprInternetSetOptionFailed_ProxyUserName, CURLOPT_PROXYAUTH, long(CURLAUTH_BASIC | CURLAUTH_DIGEST));
        if (!proxyUser.isEmpty())
            set(htprInternetSetOptionFailed_ProxyUserName, CURLOPT_PROXYUSERNAME, proxyUser.constData());
        if (!proxyPassword.isEmpty())
            set(htprInternetSetOptionFailed_ProxyPassword, CURLOPT_PROXYPASSWORD, proxyPassword.constData());
    }
    const QByteArray serverUser = cs::csStrConvB(ServerUserName);
    const QByteArray serverPassword = cs::csStrConvB(ServerPassword);
    if (!serverUser.isEmpty()) {
        set(htprInternetSetOptionFailed_ServerUserName, CURLOPT_HTTPAUTH, long(CURLAUTH_BASIC | CURLAUTH_DIGEST));
        set(htprInternetSetOptionFailed_ServerUserName, CURLOPT_USERNAME, serverUser.constData());
    }
    if (!serverPassword.isEmpty())
        set(htprInternetSetOptionFailed_ServerPassword, CURLOPT_PASSWORD, serverPassword.constData());

    set(htprHttpOpenRequestFailed, CURLOPT_FOLLOWLOCATION, NoAutoRedirects ? 0L : 1L);
    set(htprHttpOpenRequestFailed, CURLOPT_MAXREDIRS, MaxRedirects);
    if (!NoCookies)
        set(htprHttpOpenRequestFailed, CURLOPT_COOKIEFILE, ""); // cookies of this request's redirects only
    set(htprHttpOpenRequestFailed, CURLOPT_HTTP_VERSION,
        long(HTTPVersion.compare(QLatin1String("HTTP/1.0"), Qt::CaseInsensitive) == 0 ? CURL_HTTP_VERSION_1_0
                                                                                      : CURL_HTTP_VERSION_1_1));
    const QByteArray refererBytes = cs::csStrConvB(Referer);
    if (!Referer.isEmpty())
        set(htprHttpOpenRequestFailed, CURLOPT_REFERER, refererBytes.constData());
    const QByteArray verbBytes = verb.toLatin1();
    const bool hasBody = !OptionalData.isEmpty() || verb == QLatin1String("POST");
    if (verb == QLatin1String("HEAD")) {
        set(htprHttpOpenRequestFailed, CURLOPT_NOBODY, 1L);
    } else if (hasBody) {
        set(htprHttpOpenRequestFailed, CURLOPT_POST, 1L);
        set(htprHttpOpenRequestFailed, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(OptionalData.size()));
        set(htprHttpOpenRequestFailed, CURLOPT_READFUNCTION, &onRead);
        set(htprHttpOpenRequestFailed, CURLOPT_READDATA, &t);
        set(htprHttpOpenRequestFailed, CURLOPT_SEEKFUNCTION, &onSeek);
        set(htprHttpOpenRequestFailed, CURLOPT_SEEKDATA, &t);
        if (verb != QLatin1String("POST"))
            set(htprHttpOpenRequestFailed, CURLOPT_CUSTOMREQUEST, verbBytes.constData());
    } else if (verb != QLatin1String("GET")) {
        set(htprHttpOpenRequestFailed, CURLOPT_CUSTOMREQUEST, verbBytes.constData());
    }
    if (failed)
        return d->finish(*failed, failedCode);

    // The headers.
    std::unique_ptr<crvGZipArchive> archive;
    QString headers;
    if (!DisableGZip) {
        archive = std::make_unique<crvGZipArchive>();
        if (archive->IsLibraryAvailable())
            headers += QLatin1String("Accept-Encoding: gzip") + CRLF;
        else
            archive.reset();
    }
    headers += DefaultHTTPHeaders() + AdditionalHeaders;
    if (!headers.endsWith(CRLF))
        headers += CRLF;
    if (!d->cookiesIn.isEmpty())
        headers += QLatin1String("Cookie: ") + d->cookiesIn + CRLF;
    d->cookiesIn.clear();
    std::optional<detail::CurlList> headerLines = headerList(headers, hasBody && verb != QLatin1String("HEAD"));
    if (!headerLines)
        return d->finish(htprHttpSendRequestExFailed, WinInet::InvalidHeader);

    const long curlBuffer = std::clamp<long>(d->bufferSize, MinCurlBuffer, MaxCurlBuffer);
    set(htprHttpSendRequestExFailed, CURLOPT_HTTPHEADER, headerLines->get());
    set(htprHttpSendRequestExFailed, CURLOPT_BUFFERSIZE, curlBuffer);
    set(htprHttpSendRequestExFailed, CURLOPT_UPLOAD_BUFFERSIZE,
        std::clamp<long>(d->bufferSize, MinCurlBuffer, MaxCurlUploadBuffer));
    set(htprHttpSendRequestExFailed, CURLOPT_HTTP_CONTENT_DECODING, 0L); // gzip is inflated here, not by libcurl
    set(htprHttpSendRequestExFailed, CURLOPT_HEADERFUNCTION, &onHeader);
    set(htprHttpSendRequestExFailed, CURLOPT_HEADERDATA, &t);
    set(htprHttpSendRequestExFailed, CURLOPT_WRITEFUNCTION, &onWrite);
    set(htprHttpSendRequestExFailed, CURLOPT_WRITEDATA, &t);
    set(htprHttpSendRequestExFailed, CURLOPT_DEBUGFUNCTION, &onDebug);
    set(htprHttpSendRequestExFailed, CURLOPT_DEBUGDATA, &t);
    set(htprHttpSendRequestExFailed, CURLOPT_VERBOSE, 1L);
    set(htprHttpSendRequestExFailed, CURLOPT_XFERINFOFUNCTION, &detail::IdleTimeout::onProgress);
    set(htprHttpSendRequestExFailed, CURLOPT_XFERINFODATA, &t.idle);
    set(htprHttpSendRequestExFailed, CURLOPT_NOPROGRESS, 0L);
    if (failed)
        return d->finish(*failed, failedCode);

    // The exchange itself.
    t.touch();
    const CURLcode rc = curl_easy_perform(curl);
    if (t.raised)
        std::rethrow_exception(t.raised);
    if (t.readingBody || rc == CURLE_OK)
        d->takeResponse(t);
    if (t.cancelled)
        return d->finish(htprCanceled, 0);
    if (rc != CURLE_OK)
        return d->finish(t.failedStep(), t.errorCode(rc));
    if (!t.pending.isEmpty() && !t.deliver(t.pending))
        return d->finish(htprCanceled, 0);
    d->receivedData = std::move(t.data);

    // A gzip body is inflated here, unless the callback took blocks away.
    if (archive && !t.altered && !d->receivedData.isEmpty()
        && d->httpResponse.toLower().contains(QLatin1String("content-encoding: gzip\r\n"))) {
        gzUncompressErrors result = gzueNotGZip;
        try {
            result = archive->UncompressData(d->receivedData);
        } catch (const RuntimeError &) {
            // Too short for a gzip header: the server's fault, not the caller's.
        }
        if (result != gzueSuccess)
            return d->finish(htprInvalidGZipContent, 0);
        d->receivedData = archive->UncompressedData();
    }
    return d->finish(htprSuccess, 0);
}

QByteArray crvHTTPRequest::BuildForm(QString &HeadersToUpdate, const QVariantList &Arguments) const
{
    if (Arguments.isEmpty() || Arguments.size() % 2 != 0)
        return {};
    const QByteArray boundary = HTTPFormBuilder::Boundary();
    const auto bytes = [](const QVariant &value) {
        return value.metaType().id() == QMetaType::QByteArray ? value.toByteArray()
                                                              : cs::csStrConvB(variantToText(value));
    };
    QByteArray body = "--" + boundary;
    for (qsizetype i = 0; i < Arguments.size(); i += 2) {
        body += "\r\nContent-Disposition: form-data; name=\"" + bytes(Arguments.at(i)) + "\"\r\n\r\n"
            + bytes(Arguments.at(i + 1)) + "\r\n--" + boundary;
    }
    body += "--";
    if (!HeadersToUpdate.isEmpty() && !HeadersToUpdate.endsWith(CRLF))
        HeadersToUpdate += CRLF;
    HeadersToUpdate += HTTPFormBuilder::Header();
    return body;
}

qint32 crvHTTPRequest::BufferSize() const
{
    return d->bufferSize;
}

void crvHTTPRequest::setBufferSize(qint32 value)
{
    if (value <= 0)
        throw RuntimeError(RuntimeError::InvalidProcedureCall);
    d->bufferSize = value;
}

QString crvHTTPRequest::CookiesIn() const
{
    return d->cookiesIn;
}

void crvHTTPRequest::setCookiesIn(const QString &value)
{
    d->cookiesIn = value;
}

QString crvHTTPRequest::CookiesOut() const
{
    return d->cookiesOut;
}

QString crvHTTPRequest::GetFormattedCookies(const QString &Cookies)
{
    if (Cookies.isEmpty())
        return {};
    QString all = Cookies;
    all.replace(CRLF, QLatin1String(";"));
    QString result;
    for (QStringView item : QStringView(all).tokenize(u';')) {
        const qsizetype equals = item.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString name = cs::csTrimEx(item.left(equals).toString());
        const QString lower = name.toLower();
        if (lower == QLatin1String("expires") || lower == QLatin1String("domain") || lower == QLatin1String("path"))
            continue;
        result += name + u'=' + cs::csTrimEx(item.mid(equals + 1).toString()) + QLatin1String("; ");
    }
    return result;
}

} // namespace tessera
