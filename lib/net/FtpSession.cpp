#include "lib/net/FtpSession_p.h"
#include "lib/net/UrlCracker_p.h"
#include "lib/net/WinInetErrors_p.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>

namespace tessera::detail {

namespace {

namespace WinInet = detail::WinInet;

// Blocks of this size move the data of a transfer.
constexpr long TransferBuffer = 256 * 1024;
constexpr qint32 DefaultFtpPort = 21;

struct Exchange {
    QByteArray command;
    FtpReply reply; // the last one; a preliminary 1xx is replaced by the final reply
};

// What one perform of libcurl said and moved, shared with its callbacks.
struct Dialogue {
    bool greetingExpected = false;
    QList<Exchange> exchanges;
    QByteArray replyLines;
    FtpReply lastReply;
    bool dropped = false;
    IdleTimeout idle;

    const FtpSession::Sink *sink = nullptr;
    const FtpSession::Source *source = nullptr;
    bool localFailed = false;
};

bool isReplyEnd(QByteArrayView line)
{
    return line.size() >= 4 && std::isdigit(uchar(line[0])) && std::isdigit(uchar(line[1]))
        && std::isdigit(uchar(line[2])) && line[3] == ' ';
}

size_t onHeader(char *buffer, size_t size, size_t count, void *user)
{
    auto *d = static_cast<Dialogue *>(user);
    const size_t length = size * count;
    d->idle.touch();
    d->replyLines.append(buffer, qsizetype(length));
    const QByteArrayView line(buffer, qsizetype(length));
    if (!isReplyEnd(line))
        return length;
    FtpReply reply;
    reply.code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
    reply.text = std::exchange(d->replyLines, {}).trimmed();
    d->lastReply = reply;
    if (d->exchanges.isEmpty()) {
        // A greeting where none belongs: libcurl found the connection gone
        // and made a new one, which stands in the entry directory. The
        // session it served is over.
        if (!d->greetingExpected) {
            d->dropped = true;
            return 0;
        }
        return length;
    }
    d->exchanges.last().reply = reply;
    return length;
}

int onDebug(CURL *, curl_infotype type, char *data, size_t size, void *user)
{
    if (type != CURLINFO_HEADER_OUT)
        return 0;
    auto *d = static_cast<Dialogue *>(user);
    QByteArray command = QByteArray(data, qsizetype(size)).trimmed();
    if (command.startsWith("PASS "))
        command = "PASS"; // the password is nobody's business here
    d->exchanges.append({command, {}});
    d->idle.touch();
    return 0;
}

size_t onWrite(char *buffer, size_t size, size_t count, void *user)
{
    auto *d = static_cast<Dialogue *>(user);
    const size_t length = size * count;
    d->idle.touch();
    if (!(*d->sink)(QByteArrayView(buffer, qsizetype(length)))) {
        d->localFailed = true;
        return 0;
    }
    return length;
}

size_t onRead(char *buffer, size_t size, size_t count, void *user)
{
    auto *d = static_cast<Dialogue *>(user);
    d->idle.touch();
    const qint64 n = (*d->source)(buffer, qint64(std::min<size_t>(size * count, size_t(1) << 30)));
    if (n < 0) {
        d->localFailed = true;
        return CURL_READFUNC_ABORT;
    }
    return size_t(n);
}

// The directory of a 257 reply: '257 "/pub" is the current directory.',
// a doubled quote standing for one; nothing when the reply names none.
std::optional<QByteArray> quotedDirectory(const QByteArray &reply)
{
    const qsizetype lineEnd = reply.indexOf('\n');
    const QByteArray firstLine = lineEnd < 0 ? reply : reply.first(lineEnd);
    const qsizetype open = firstLine.indexOf('"');
    if (!firstLine.startsWith("257") || open < 0)
        return std::nullopt;
    QByteArray path;
    for (qsizetype i = open + 1; i < firstLine.size(); ++i) {
        if (firstLine[i] != '"')
            path += firstLine[i];
        else if (i + 1 < firstLine.size() && firstLine[i + 1] == '"')
            path += firstLine[++i];
        else
            return path.isEmpty() ? std::nullopt : std::optional(path);
    }
    return std::nullopt; // no closing quote
}

// A name as the path of an ftp:// URL. Every byte that could mean something
// to the URL is escaped, dots too, so that "../x" reaches the server as
// written instead of being folded away.
QByteArray urlPath(const QByteArray &name)
{
    return name.toPercentEncoding("/", ".");
}

} // namespace

class FtpSession::Private
{
public:
    CurlEasy easy;
    FtpLogin login;
    QByteArray base; // ftp://host:port/
    QByteArray user;
    QByteArray password;
    bool mlsd = false;
    bool dropped = false; // the server ended the session; only a new one helps
    QByteArray directory; // the server's current directory, as its PWD said; empty: not known

    FtpResult failed(qint32 code, const Dialogue *dialogue = nullptr) const
    {
        FtpResult result;
        result.code = code;
        result.text = code == WinInet::ExtendedError && dialogue && dialogue->lastReply.code != 0
            ? QString::fromUtf8(dialogue->lastReply.text)
            : WinInet::text(code);
        return result;
    }

    // Options every exchange shares; nothing when libcurl refused one.
    std::optional<FtpResult> prepare(Dialogue &dialogue, const QByteArray &url)
    {
        CURL *curl = easy.get();
        curl_easy_reset(curl);
        dialogue.idle.limitMs = login.timeoutMs;
        const long responseSeconds = login.timeoutMs > 0 ? long((login.timeoutMs + 999) / 1000) : 0;
        CURLcode rc = CURLE_OK;
        const auto set = [&](CURLoption option, auto value) {
            if (rc == CURLE_OK)
                rc = curl_easy_setopt(curl, option, value);
        };
        set(CURLOPT_URL, url.constData());
        set(CURLOPT_USERNAME, user.constData());
        set(CURLOPT_PASSWORD, password.constData());
        set(CURLOPT_NOSIGNAL, 1L);
        set(CURLOPT_PROTOCOLS_STR, "ftp");
        set(CURLOPT_PROXY, ""); // an ftp_proxy would turn the session into single HTTP requests
        set(CURLOPT_PATH_AS_IS, 1L);
        set(CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD)); // the server's directory is the session's
        if (login.timeoutMs > 0) {
            set(CURLOPT_CONNECTTIMEOUT_MS, long(login.timeoutMs));
            set(CURLOPT_ACCEPTTIMEOUT_MS, long(login.timeoutMs));
            set(CURLOPT_SERVER_RESPONSE_TIMEOUT, responseSeconds);
        }
        if (!login.passive)
            set(CURLOPT_FTPPORT, "-");
        set(CURLOPT_BUFFERSIZE, TransferBuffer);
        set(CURLOPT_HEADERFUNCTION, &onHeader);
        set(CURLOPT_HEADERDATA, &dialogue);
        set(CURLOPT_DEBUGFUNCTION, &onDebug);
        set(CURLOPT_DEBUGDATA, &dialogue);
        set(CURLOPT_VERBOSE, 1L);
        set(CURLOPT_XFERINFOFUNCTION, &IdleTimeout::onProgress);
        set(CURLOPT_XFERINFODATA, &dialogue.idle);
        set(CURLOPT_NOPROGRESS, 0L);
        if (rc != CURLE_OK)
            return failed(WinInet::fromCurl(rc));
        return std::nullopt;
    }

    FtpResult perform(Dialogue &dialogue)
    {
        dialogue.idle.touch();
        const CURLcode rc = curl_easy_perform(easy.get());
        // 421: the server closes the connection, and the session with it.
        if (dialogue.dropped || (dialogue.lastReply.code == 421 && !dialogue.greetingExpected)) {
            dropped = true;
            return failed(WinInet::FtpDropped);
        }
        if (dialogue.localFailed) {
            FtpResult result;
            result.localFailed = true;
            return result;
        }
        if (dialogue.idle.expired)
            return failed(WinInet::Timeout);
        if (rc != CURLE_OK && dialogue.lastReply.code == 421) // at the greeting: busy, say why
            return failed(WinInet::ExtendedError, &dialogue);
        if (rc != CURLE_OK)
            return failed(WinInet::fromCurl(rc), &dialogue);
        return {};
    }

    // One exchange: set up by \a setUp on top of the shared options.
    template <typename SetUp> FtpResult exchange(Dialogue &dialogue, const QByteArray &url, SetUp setUp)
    {
        if (!easy)
            return failed(WinInet::InvalidHandle);
        if (dropped)
            return failed(WinInet::FtpDropped);
        if (std::optional<FtpResult> refused = prepare(dialogue, url))
            return *refused;
        const CURLcode rc = setUp(easy.get());
        if (rc != CURLE_OK)
            return failed(WinInet::fromCurl(rc));
        return perform(dialogue);
    }

    // Commands of the control connection alone; each is judged by the caller.
    FtpResult quote(Dialogue &dialogue, const QList<QByteArray> &commands)
    {
        CurlList list;
        for (const QByteArray &command : commands) {
            if (!isSafeName(command))
                return failed(WinInet::InvalidParameter);
            // "*": libcurl goes on after a refusal and keeps the connection.
            if (!appendCurlList(list, ('*' + command).constData()))
                return failed(WinInet::NotEnoughMemory);
        }
        return exchange(dialogue, base, [&](CURL *curl) {
            CURLcode rc = curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
            return rc == CURLE_OK ? curl_easy_setopt(curl, CURLOPT_QUOTE, list.get()) : rc;
        });
    }

    // A transfer, after which a connection that libcurl closed because this
    // side stopped it (a full disk, an unreadable file) is made again.
    template <typename SetUp> FtpResult transfer(Dialogue &dialogue, const QByteArray &url, SetUp setUp)
    {
        const FtpResult result = exchange(dialogue, url, setUp);
        if (result.localFailed)
            resume();
        return result;
    }

    // Logs in again and goes back to the directory the session was in; a
    // session that cannot be taken up again counts as ended.
    void resume()
    {
        Dialogue dialogue;
        dialogue.greetingExpected = true;
        QList<QByteArray> commands;
        if (!directory.isEmpty())
            commands << "CWD " + directory;
        const FtpResult result = quote(dialogue, commands);
        const bool back = std::all_of(dialogue.exchanges.cbegin(), dialogue.exchanges.cend(),
                                      [](const Exchange &e) { return e.reply.code > 0 && e.reply.code < 400; });
        dropped = dropped || !result.ok() || !back;
    }
};

FtpSession::FtpSession()
    : d(std::make_unique<Private>())
{ }

FtpSession::~FtpSession()
{
    close();
}

bool FtpSession::isSafeName(QByteArrayView name)
{
    return !name.contains('\r') && !name.contains('\n') && !name.contains('\0');
}

bool FtpSession::isOpen() const
{
    return bool(d->easy);
}

bool FtpSession::offersMlsd() const
{
    return d->mlsd;
}

FtpResult FtpSession::open(const FtpLogin &login)
{
    close();
    d->login = login;
    d->user = login.user.toUtf8();
    d->password = login.password.toUtf8();
    const std::optional<QByteArray> host = urlHost(login.host);
    if (!host)
        return d->failed(WinInet::InvalidUrl);
    if (!isSafeName(d->user) || !isSafeName(d->password))
        return d->failed(WinInet::InvalidParameter);
    d->base = "ftp://" + *host + ':' + QByteArray::number(login.port == 0 ? DefaultFtpPort : login.port) + '/';
    d->easy = newCurlEasy();
    if (!d->easy)
        return d->failed(WinInet::OutOfHandles);

    // Logging in, and the features, which say whether MLSD is offered.
    Dialogue dialogue;
    dialogue.greetingExpected = true;
    const FtpResult result = d->quote(dialogue, {"FEAT"});
    if (!result.ok()) {
        close();
        return result;
    }
    for (const Exchange &exchange : std::as_const(dialogue.exchanges)) {
        if (exchange.command != "FEAT" || exchange.reply.code != 211)
            continue;
        for (const QByteArray &line : exchange.reply.text.split('\n'))
            d->mlsd = d->mlsd || line.trimmed().toUpper().startsWith("MLST");
    }
    const char *entry = nullptr;
    if (curl_easy_getinfo(d->easy.get(), CURLINFO_FTP_ENTRY_PATH, &entry) == CURLE_OK && entry)
        d->directory = entry;
    return result;
}

void FtpSession::close()
{
    d->easy.reset(); // libcurl says QUIT on the way out
    d->mlsd = false;
    d->dropped = false;
    d->directory.clear();
}

FtpResult FtpSession::command(const QList<QByteArray> &commands, FtpReply *lastReply)
{
    Dialogue dialogue;
    FtpResult result = d->quote(dialogue, commands);
    if (!result.ok())
        return result;
    qsizetype next = 0;
    for (const QByteArray &command : commands) {
        const auto sent = std::find_if(dialogue.exchanges.cbegin() + next, dialogue.exchanges.cend(),
                                       [&](const Exchange &e) { return e.command == command; });
        if (sent == dialogue.exchanges.cend())
            return d->failed(WinInet::InvalidServerResponse);
        next = sent - dialogue.exchanges.cbegin() + 1;
        if (lastReply)
            *lastReply = sent->reply;
        if (sent->reply.code == 0 || sent->reply.code >= 400) {
            dialogue.lastReply = sent->reply;
            return d->failed(sent->reply.code == 0 ? WinInet::InvalidServerResponse : WinInet::ExtendedError,
                             &dialogue);
        }
    }
    return result;
}

FtpResult FtpSession::changeDirectory(const QByteArray &path)
{
    const FtpResult result = command({"CWD " + path});
    if (!result.ok())
        return result;
    // Where that is, for a login that has to take the session up again.
    QByteArray directory;
    if (!printDirectory(&directory).ok())
        d->directory.clear();
    return result;
}

FtpResult FtpSession::printDirectory(QByteArray *directory)
{
    FtpReply reply;
    FtpResult result = command({"PWD"}, &reply);
    if (!result.ok())
        return result;
    const std::optional<QByteArray> path = quotedDirectory(reply.text);
    if (!path) {
        result.code = WinInet::InvalidServerResponse;
        result.text = WinInet::text(result.code);
        return result;
    }
    d->directory = *path;
    *directory = *path;
    return result;
}

FtpResult FtpSession::download(const QByteArray &path, bool ascii, const Sink &sink)
{
    if (path.isEmpty() || path.endsWith('/') || !isSafeName(path))
        return d->failed(WinInet::InvalidParameter);
    Dialogue dialogue;
    dialogue.sink = &sink;
    return d->transfer(dialogue, d->base + urlPath(path), [&](CURL *curl) {
        CURLcode rc = curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &onWrite);
        if (rc == CURLE_OK)
            rc = curl_easy_setopt(curl, CURLOPT_WRITEDATA, &dialogue);
        if (rc == CURLE_OK)
            rc = curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, ascii ? 1L : 0L);
        return rc;
    });
}

FtpResult FtpSession::upload(const QByteArray &path, bool ascii, qint64 size, const Source &source)
{
    if (path.isEmpty() || path.endsWith('/') || !isSafeName(path))
        return d->failed(WinInet::InvalidParameter);
    Dialogue dialogue;
    dialogue.source = &source;
    return d->transfer(dialogue, d->base + urlPath(path), [&](CURL *curl) {
        CURLcode rc = curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        if (rc == CURLE_OK)
            rc = curl_easy_setopt(curl, CURLOPT_READFUNCTION, &onRead);
        if (rc == CURLE_OK)
            rc = curl_easy_setopt(curl, CURLOPT_READDATA, &dialogue);
        if (rc == CURLE_OK)
            rc = curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, ascii ? 1L : 0L);
        if (rc == CURLE_OK && size >= 0 && !ascii) // ASCII's line ends change the size
            rc = curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
        return rc;
    });
}

FtpResult FtpSession::list(const QByteArray &directory, bool mlsd, const Sink &sink)
{
    if (!isSafeName(directory))
        return d->failed(WinInet::InvalidParameter);
    Dialogue dialogue;
    dialogue.sink = &sink;
    QByteArray path = urlPath(directory);
    if (!path.isEmpty() && !path.endsWith('/'))
        path += '/'; // a folder to libcurl, whose last part it names with the command
    return d->transfer(dialogue, d->base + path, [&](CURL *curl) {
        CURLcode rc = curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, mlsd ? "MLSD" : "LIST");
        if (rc == CURLE_OK)
            rc = curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &onWrite);
        if (rc == CURLE_OK)
            rc = curl_easy_setopt(curl, CURLOPT_WRITEDATA, &dialogue);
        return rc;
    });
}

} // namespace tessera::detail
