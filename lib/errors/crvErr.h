#pragma once

#include "lib/TesseraExport.h"
#include "lib/errors/IEventLogger2.h"
#include "platform/RuntimeError.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

namespace tessera {

class crvFTPClient;
class crvHTTPRequest;

/// The library's error reporter: turns an error (a raised RuntimeError, a
/// system error code, a multimedia error code, an error code of a named
/// module) into a readable message, reports that message to the shared
/// event logger and shows it in a message box (MessageBox::show). It also
/// attaches and detaches the outside event logger "EventLogger.crvEventLogger"
/// and shows the timed error box (ShowErrorBox).
///
/// A global class: global() is the thread's application object, and
/// instances may also be created. All instances of one thread share one
/// logger proxy (CEventLoggerStub), created with the first instance and
/// released, with any attached logger, when the last one goes. An instance
/// keeps the proxy of the thread that made it wherever it is used or
/// released.
///
/// The display operations share their last four parameters: \a Style (the
/// message box's style, 16 critical by default), \a Title (empty: the
/// application's title), \a DescriptionText (the caller's own sentence,
/// shown before a blank line and the technical message) and \a Silent (report
/// only, show nothing, return 1). They report the shown text with
/// ReportEvent(text, 2, source, number) first, also when Silent; an error
/// raised by the attached logger there reaches the caller, and the box is
/// then not shown. They return the message box's result (1 OK ... 7 No).
///
///     try {
///         doWork();
///     } catch (const tessera::RuntimeError &e) {
///         tessera::crvErr::global().ErrorDisplay(e, 16, {}, QStringLiteral("The file could not be saved."));
///     }
class TESSERA_EXPORT crvErr
{
public:
    crvErr();
    ~crvErr();
    crvErr(const crvErr &) = delete;
    crvErr &operator=(const crvErr &) = delete;

    /// The application object of the calling thread.
    static crvErr &global();

    /// The thread's shared logger proxy. Sets its UserName to the current
    /// user first; when the attached logger fails that, its error goes to
    /// LastEventLoggerError and the logger is detached. Never raises.
    IEventLogger2 *Logger();

    /// The text of the last failure while attaching or using the outside
    /// logger; empty when there was none.
    QString LastEventLoggerError() const;

    /// Creates and attaches the outside logger, initialised with the title
    /// and version numbers of \a AppObject (an application-information object:
    /// readable Title, Major, Minor and Revision properties, as CAppStub has).
    /// Never raises. Returns true when a logger is now attached (its
    /// initialisation may still have failed: then LastEventLoggerError says
    /// why); false when the component cannot be created, which detaches any
    /// earlier logger, or when \a AppObject is not an application-information
    /// object, which changes nothing else. LastEventLoggerError holds the
    /// formatted error of each failure.
    bool InitEventLogger(QObject *AppObject);

    /// InitEventLogger for hosts without an application object: a CAppStub
    /// with \a AppTitle and the three numbers. Raises the overflow error 6
    /// when a number lies outside -32768..32767.
    bool InitEventLoggerNonVB(const QString &AppTitle, qint32 AppMajor, qint32 AppMinor, qint32 AppRevision);

    /// Detaches (and releases) the outside logger; returns Empty.
    QVariant DisposeEventLogger();

    /// Shows the text of \a ErrObject (GetErrorMessage), reported with source
    /// "Visual Basic Error" and the error's number. When the error names a
    /// help file, the box gets a Help button that opens it.
    qint32 ErrorDisplay(const RuntimeError &ErrObject, qint32 Style = 16, const QString &Title = {},
                        const QString &DescriptionText = {}, bool Silent = false);
    /// "Error number: ", "Description:  ", "Source:       ", "Help file:    "
    /// and "Help context: " lines for the fields that are set, without line
    /// breaks at either end; "Unknown run-time error." when none is.
    QString GetErrorMessage(const RuntimeError &ErrObject) const;

    /// Shows GetErrorMessageAPI(ErrorNumber), reported as "Win32 API Error".
    qint32 ErrorDisplayAPI(qint32 ErrorNumber, qint32 Style = 16, const QString &Title = {},
                           const QString &DescriptionText = {}, bool Silent = false);
    /// "Win32 API error: " + the number, then "Description: " + the system's
    /// text when it has one; "Unknown Win32 API error." for 0.
    QString GetErrorMessageAPI(qint32 ErrorNumber) const;

    /// Shows GetErrorMessageWinMM(ErrorNumber), reported as "WinMM.DLL Error".
    qint32 ErrorDisplayWinMM(qint32 ErrorNumber, qint32 Style = 16, const QString &Title = {},
                             const QString &DescriptionText = {}, bool Silent = false);
    /// As GetErrorMessageAPI with "WinMM.DLL error: " and the multimedia
    /// texts; "Unknown WinMM.DLL error." for 0.
    QString GetErrorMessageWinMM(qint32 ErrorNumber) const;

    /// Shows GetErrorMessageModule(ErrorNumber, ModuleName), reported as
    /// ModuleName + " Error".
    qint32 ErrorDisplayModule(qint32 ErrorNumber, const QString &ModuleName, qint32 Style = 16,
                              const QString &Title = {}, const QString &DescriptionText = {}, bool Silent = false);
    /// ModuleName + " error: " + the number, then "Description: " + the text
    /// of the module's message table when the library knows that module
    /// (cs::csGetModuleErrorDescription); "Unknown " + ModuleName + " error."
    /// for 0.
    QString GetErrorMessageModule(qint32 ErrorNumber, const QString &ModuleName) const;

    /// Shows GetErrorMessageHTTPRequest(HTR), reported as "crvHTTPRequest
    /// Error" with the request's ErrorCode. Does nothing and returns 0 when
    /// \a HTR is null.
    qint32 ErrorDisplayHTTPRequest(const crvHTTPRequest *HTR, qint32 Style = 16, const QString &Title = {},
                                   const QString &DescriptionText = {}, bool Silent = false);
    /// The failed request in words: the message of its LastRC, then
    /// "HTTP response: " with the status, then "WinInet error: " with the
    /// network error number and "Description:   " with its text, each line
    /// only when it has something to say. Empty for a null \a HTR.
    QString GetErrorMessageHTTPRequest(const crvHTTPRequest *HTR) const;

    /// Shows GetErrorMessageFTPClient(FTPC), reported as "crvFTPClient Error"
    /// with the client's ErrorCode. Does nothing and returns 0 when \a FTPC
    /// is null.
    qint32 ErrorDisplayFTPClient(const crvFTPClient *FTPC, qint32 Style = 16, const QString &Title = {},
                                 const QString &DescriptionText = {}, bool Silent = false);
    /// The failed operation in words: the message of its LastRC, then
    /// "WinInet error: " with the error number and "Description:   " with
    /// its text (for 12003 the server's reply), each only when there is one.
    /// Empty for a null \a FTPC.
    QString GetErrorMessageFTPClient(const crvFTPClient *FTPC) const;

    /// The timed error box (modError500::ShowErrorBox), all arguments passed
    /// on unchanged; its result.
    qint32 ShowErrorBox(const QString &Text, qint32 Style = 16, const std::optional<QVariant> &Title = std::nullopt,
                        qint32 DefaultButtonIndex = -1, qint32 CancelButtonIndex = -1, qint32 TimeoutValue = 15);

private:
    qint32 display(const QString &message, const QString &source, qint32 eventId, qint32 style, const QString &title,
                   const QString &descriptionText, bool silent, const QString &helpFile = {}, qint32 helpContext = 0);

    QString m_lastEventLoggerError;
    struct ThreadState;
    std::shared_ptr<ThreadState> m_thread;
};

} // namespace tessera
