#include "lib/net/WinInetErrors_p.h"
#include "support/csSystem.h"

namespace tessera::detail::WinInet {

qint32 fromCurl(CURLcode code)
{
    switch (code) {
    case CURLE_OK:
        return 0;
    case CURLE_OUT_OF_MEMORY:
        return NotEnoughMemory;
    case CURLE_UNSUPPORTED_PROTOCOL:
        return UnrecognizedScheme;
    case CURLE_URL_MALFORMAT:
        return InvalidUrl;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
        return NameNotResolved;
    case CURLE_COULDNT_CONNECT:
        return CannotConnect;
    case CURLE_OPERATION_TIMEDOUT:
        return Timeout;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_GOT_NOTHING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_HTTP3:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_FTP_WEIRD_PASS_REPLY:
    case CURLE_FTP_WEIRD_PASV_REPLY:
        return InvalidServerResponse;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
        return ConnectionAborted;
    case CURLE_SEND_ERROR:
        return ConnectionReset;
    case CURLE_TOO_MANY_REDIRECTS:
        return RedirectFailed;
    case CURLE_ABORTED_BY_CALLBACK:
        return OperationCancelled;
    case CURLE_LOGIN_DENIED:
    case CURLE_AUTH_ERROR:
        return LoginFailure;
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_FTP_PORT_FAILED:
    case CURLE_FTP_CANT_GET_HOST:
        return FtpNoPassiveMode;
    case CURLE_FTP_COULDNT_SET_TYPE:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_FTP_COULDNT_USE_REST:
    case CURLE_FTP_PRET_FAILED:
    case CURLE_QUOTE_ERROR:
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_REMOTE_FILE_EXISTS:
    case CURLE_REMOTE_DISK_FULL:
    case CURLE_RANGE_ERROR:
        return ExtendedError;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_CLIENTCERT:
    case CURLE_USE_SSL_FAILED:
        return SecurityChannelError;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        return InvalidCa;
    default:
        return InternalError;
    }
}

QString text(qint32 code)
{
    if (code == 0)
        return {};
    const QString system = cs::csGetAPIErrorDescription(code);
    return system.isEmpty() ? cs::csGetModuleErrorDescription(QStringLiteral("WinInet.DLL"), code) : system;
}

} // namespace tessera::detail::WinInet
