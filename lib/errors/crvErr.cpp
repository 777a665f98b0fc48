#include "lib/errors/crvErr.h"

#include "lib/errors/CAppStub.h"
#include "lib/errors/CEventLoggerStub.h"
#include "lib/errors/ErrorFieldsText_p.h"
#include "lib/errors/modError500.h"
#include "lib/errors/modEventLoggerSupport.h"
#include "lib/net/crvFTPClient.h"
#include "lib/net/crvHTTPRequest.h"
#include "platform/Integer16.h"
#include "platform/MessageBox.h"
#include "support/csSystem.h"
#include "support/csText.h"
#include "support/csWindows.h"

#include <QMetaProperty>

#include <iterator>
#include <memory>

namespace tessera {

namespace {

const QLatin1String CRLF("\r\n");
constexpr qint32 EventTypeWarning = 2;

// The application-information interface as the library uses it: the title
// and the version numbers, readable by name. Raises 91 for no object and 13
// (type mismatch) for an object without them, as the platform's interface
// query fails.
void requireApplicationInfo(const QObject *appObject)
{
    if (!appObject)
        throw RuntimeError(RuntimeError::ObjectVariableNotSet);
    const QMetaObject *meta = appObject->metaObject();
    for (const char *name : {"Title", "Major", "Minor", "Revision"}) {
        const int index = meta->indexOfProperty(name);
        if (index < 0 || !meta->property(index).isReadable())
            throw RuntimeError(RuntimeError::TypeMismatch);
    }
}

// The common form of the code texts: the first line, then the looked-up
// description on one line, nothing when there is none.
QString codeText(const QString &firstLine, qint32 number, const QString &description)
{
    QString text = firstLine + cs::csGetErrorNumber(number) + CRLF;
    if (!description.isEmpty()) {
        QString oneLine = description;
        oneLine.replace(CRLF, QLatin1String(" "));
        text += QLatin1String("Description: ") + oneLine;
    }
    return cs::csTrimCRLF(text);
}

// The message of a numbered error of one kind (an API, a module):
// "Unknown <kind> error." for 0, else the code text.
QString numberedErrorText(const QString &kind, qint32 number, const QString &description)
{
    if (number == 0)
        return QLatin1String("Unknown ") + kind + QLatin1String(" error.");
    return codeText(kind + QLatin1String(" error: "), number, description);
}

// The message of each result of crvHTTPRequest::Execute.
constexpr const char16_t *HTTPRequestMessages[] = {
    u"Операция завершена успешно.",
    u"Ошибка функции InternetOpen().",
    u"Ошибка функции InternetConnect().",
    u"Ошибка функции InternetOpenRequest().",
    u"Ошибка функции InternetSendRequest().",
    u"Ошибка функции InternetSendRequestEx().",
    u"Ошибка функции InternetWriteFile().",
    u"Ошибка функции InternetEndRequest().",
    u"Ошибка функции InternetReadFile().",
    u"Операция была отменена.",
    u"Ошибка функции InternetSetOption(). Не удалось установить имя пользователя прокси-сервера.",
    u"Ошибка функции InternetSetOption(). Не удалось установить пароль прокси-сервера.",
    u"Ошибка функции InternetSetOption(). Не удалось установить имя пользователя сервера.",
    u"Ошибка функции InternetSetOption(). Не удалось установить пароль сервера.",
    u"Сервер вернул неверные сжатые данные.",
};

// The message of each result of crvFTPClient's operations.
constexpr const char16_t *FTPClientMessages[] = {
    u"Операция завершена успешно.",
    u"Ошибка функции InternetOpen().",
    u"Ошибка функции InternetConnect().",
    u"Соединение уже установлено.",
    u"Соединение ещё не установлено.",
    u"Ошибка функции FtpGetCurrentDirectory().",
    u"Ошибка функции FtpSetCurrentDirectory().",
    u"Ошибка функции FtpCreateDirectory().",
    u"Ошибка функции FtpRemoveDirectory().",
    u"Ошибка функции FtpFindFirstFile().",
    u"Ошибка функции InternetFindNextFile().",
    u"Ошибка функции FtpGetFile().",
    u"Ошибка функции FtpPutFile().",
    u"Ошибка функции FtpRenameFile().",
    u"Ошибка функции FtpDeleteFile().",
};

// The last lines of both network messages: the network error and its text.
QString networkErrorLines(qint32 code, const QString &text)
{
    if (code == 0)
        return {};
    QString lines = QLatin1String("WinInet error: ") + cs::csGetErrorNumber(code);
    if (!text.isEmpty())
        lines += CRLF + QLatin1String("Description:   ") + text;
    return lines;
}

} // namespace

// What the crvErr instances made on one thread share. Each instance holds
// it, so it lives while any of them does, wherever they are used or
// released, even past the end of the thread.
struct crvErr::ThreadState {
    CEventLoggerStub proxy;
};

crvErr::crvErr()
{
    // The first instance of a thread makes its proxy; later ones share it.
    thread_local std::weak_ptr<ThreadState> current;
    m_thread = current.lock();
    if (!m_thread) {
        m_thread = std::make_shared<ThreadState>();
        current = m_thread;
    }
}

crvErr::~crvErr() = default;

crvErr &crvErr::global()
{
    thread_local crvErr instance;
    return instance;
}

IEventLogger2 *crvErr::Logger()
{
    try {
        m_thread->proxy.setUserName(cs::csGetUserName());
    } catch (const RuntimeError &e) {
        m_lastEventLoggerError = modEventLoggerSupport::FormatErrorObject(e);
        DisposeEventLogger();
    }
    return &m_thread->proxy;
}

QString crvErr::LastEventLoggerError() const
{
    return m_lastEventLoggerError;
}

bool crvErr::InitEventLogger(QObject *AppObject)
{
    try {
        requireApplicationInfo(AppObject);
    } catch (const RuntimeError &e) {
        m_lastEventLoggerError = modEventLoggerSupport::FormatErrorObject(e);
        return false;
    }
    m_thread->proxy.setAttachedLogger(modEventLoggerSupport::CreateEventLogger(AppObject, m_lastEventLoggerError));
    return m_thread->proxy.attachedLogger() != nullptr;
}

bool crvErr::InitEventLoggerNonVB(const QString &AppTitle, qint32 AppMajor, qint32 AppMinor, qint32 AppRevision)
{
    CAppStub app;
    app.Init(AppTitle, toInteger16(AppMajor), toInteger16(AppMinor), toInteger16(AppRevision));
    return InitEventLogger(&app);
}

QVariant crvErr::DisposeEventLogger()
{
    m_thread->proxy.setAttachedLogger(nullptr);
    return {};
}

qint32 crvErr::ErrorDisplay(const RuntimeError &ErrObject, qint32 Style, const QString &Title,
                            const QString &DescriptionText, bool Silent)
{
    const bool help = !ErrObject.HelpFile().isEmpty();
    return display(GetErrorMessage(ErrObject), QStringLiteral("Visual Basic Error"), ErrObject.Number(),
                   help ? Style | MessageBox::HelpButton : Style, Title, DescriptionText, Silent,
                   help ? ErrObject.HelpFile() : QString(), help ? ErrObject.HelpContext() : 0);
}

QString crvErr::GetErrorMessage(const RuntimeError &ErrObject) const
{
    const QString text = cs::csTrimCRLF(errorFieldsText(ErrObject));
    return text.isEmpty() ? unknownRunTimeErrorText() : text;
}

qint32 crvErr::ErrorDisplayAPI(qint32 ErrorNumber, qint32 Style, const QString &Title, const QString &DescriptionText,
                               bool Silent)
{
    return display(GetErrorMessageAPI(ErrorNumber), QStringLiteral("Win32 API Error"), ErrorNumber, Style, Title,
                   DescriptionText, Silent);
}

QString crvErr::GetErrorMessageAPI(qint32 ErrorNumber) const
{
    return numberedErrorText(QStringLiteral("Win32 API"), ErrorNumber, cs::csGetAPIErrorDescription(ErrorNumber));
}

qint32 crvErr::ErrorDisplayWinMM(qint32 ErrorNumber, qint32 Style, const QString &Title, const QString &DescriptionText,
                                 bool Silent)
{
    return display(GetErrorMessageWinMM(ErrorNumber), QStringLiteral("WinMM.DLL Error"), ErrorNumber, Style, Title,
                   DescriptionText, Silent);
}

QString crvErr::GetErrorMessageWinMM(qint32 ErrorNumber) const
{
    return numberedErrorText(QStringLiteral("WinMM.DLL"), ErrorNumber, cs::csGetWinMMErrorDescription(ErrorNumber));
}

qint32 crvErr::ErrorDisplayModule(qint32 ErrorNumber, const QString &ModuleName, qint32 Style, const QString &Title,
                                  const QString &DescriptionText, bool Silent)
{
    return display(GetErrorMessageModule(ErrorNumber, ModuleName), ModuleName + QLatin1String(" Error"), ErrorNumber,
                   Style, Title, DescriptionText, Silent);
}

QString crvErr::GetErrorMessageModule(qint32 ErrorNumber, const QString &ModuleName) const
{
    return numberedErrorText(ModuleName, ErrorNumber, cs::csGetModuleErrorDescription(ModuleName, ErrorNumber));
}

qint32 crvErr::ErrorDisplayHTTPRequest(const crvHTTPRequest *HTR, qint32 Style, const QString &Title,
                                       const QString &DescriptionText, bool Silent)
{
    if (!HTR)
        return 0;
    return display(GetErrorMessageHTTPRequest(HTR), QStringLiteral("crvHTTPRequest Error"), HTR->ErrorCode(), Style,
                   Title, DescriptionText, Silent);
}

QString crvErr::GetErrorMessageHTTPRequest(const crvHTTPRequest *HTR) const
{
    if (!HTR)
        return {};
    QString text;
    const qint32 rc = HTR->LastRC();
    if (rc >= 0 && rc < qint32(std::size(HTTPRequestMessages)))
        text += QString::fromUtf16(HTTPRequestMessages[rc]) + CRLF;
    text += CRLF;
    if (HTR->ResponseCode() != 0) {
        text += QLatin1String("HTTP response: ") + QString::number(HTR->ResponseCode());
        if (!HTR->ResponseText().isEmpty())
            text += QLatin1String(", ") + HTR->ResponseText() + u'.';
        text += CRLF;
    }
    text += networkErrorLines(HTR->ErrorCode(), HTR->ErrorText());
    return cs::csTrimCRLF(text);
}

qint32 crvErr::ErrorDisplayFTPClient(const crvFTPClient *FTPC, qint32 Style, const QString &Title,
                                     const QString &DescriptionText, bool Silent)
{
    if (!FTPC)
        return 0;
    return display(GetErrorMessageFTPClient(FTPC), QStringLiteral("crvFTPClient Error"), FTPC->ErrorCode(), Style,
                   Title, DescriptionText, Silent);
}

QString crvErr::GetErrorMessageFTPClient(const crvFTPClient *FTPC) const
{
    if (!FTPC)
        return {};
    QString text;
    const qint32 rc = FTPC->LastRC();
    if (rc >= 0 && rc < qint32(std::size(FTPClientMessages)))
        text += QString::fromUtf16(FTPClientMessages[rc]) + CRLF;
    text += CRLF + networkErrorLines(FTPC->ErrorCode(), FTPC->ErrorText());
    return cs::csTrimCRLF(text);
}

qint32 crvErr::ShowErrorBox(const QString &Text, qint32 Style, const std::optional<QVariant> &Title,
                            qint32 DefaultButtonIndex, qint32 CancelButtonIndex, qint32 TimeoutValue)
{
    return modError500::ShowErrorBox(Text, Style, Title, DefaultButtonIndex, CancelButtonIndex, TimeoutValue);
}

qint32 crvErr::display(const QString &message, const QString &source, qint32 eventId, qint32 style,
                       const QString &title, const QString &descriptionText, bool silent, const QString &helpFile,
                       qint32 helpContext)
{
    const QString shownTitle = title.isEmpty() ? cs::csGetThunderMainTitle() : title;
    const QString text = descriptionText.isEmpty() ? message : descriptionText + CRLF + CRLF + message;
    Logger()->ReportEvent(text, EventTypeWarning, source, eventId);
    if (silent)
        return MessageBox::Ok;
    return MessageBox::show(text, style, shownTitle, nullptr, helpFile, helpContext);
}

} // namespace tessera
