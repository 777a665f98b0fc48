#pragma once

#include "lib/TesseraExport.h"

#include <QObject>
#include <QString>

namespace tessera {

/// The library's own application-information object, for hosts that have
/// none (crvErr::InitEventLoggerNonVB): the platform's application-object
/// interface ({33AD4F79-6699-11CF-B70C-00AA0060D393}) as properties and
/// invokable members. It answers Title, Major, Minor and Revision from Init
/// (Title may be rewritten); every other read gives empty text, 0 or false,
/// writes of the other read/write members are accepted and dropped, and
/// LogEvent and StartLogging do nothing.
class TESSERA_EXPORT CAppStub : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Comments READ Comments)
    Q_PROPERTY(QString CompanyName READ CompanyName)
    Q_PROPERTY(QString EXEName READ EXEName)
    Q_PROPERTY(QString FileDescription READ FileDescription)
    Q_PROPERTY(QString HelpFile READ HelpFile WRITE setHelpFile)
    Q_PROPERTY(qint32 hInstance READ hInstance)
    Q_PROPERTY(QString LegalCopyright READ LegalCopyright)
    Q_PROPERTY(QString LegalTrademarks READ LegalTrademarks)
    Q_PROPERTY(qint32 LogMode READ LogMode)
    Q_PROPERTY(QString LogPath READ LogPath)
    Q_PROPERTY(qint16 Major READ Major)
    Q_PROPERTY(qint16 Minor READ Minor)
    Q_PROPERTY(bool NonModalAllowed READ NonModalAllowed)
    Q_PROPERTY(QString OleRequestPendingMsgText READ OleRequestPendingMsgText WRITE setOleRequestPendingMsgText)
    Q_PROPERTY(QString OleRequestPendingMsgTitle READ OleRequestPendingMsgTitle WRITE setOleRequestPendingMsgTitle)
    Q_PROPERTY(qint32 OleRequestPendingTimeout READ OleRequestPendingTimeout WRITE setOleRequestPendingTimeout)
    Q_PROPERTY(bool OleServerBusyRaiseError READ OleServerBusyRaiseError WRITE setOleServerBusyRaiseError)
    Q_PROPERTY(QString OleServerBusyMsgText READ OleServerBusyMsgText WRITE setOleServerBusyMsgText)
    Q_PROPERTY(QString OleServerBusyMsgTitle READ OleServerBusyMsgTitle WRITE setOleServerBusyMsgTitle)
    Q_PROPERTY(qint32 OleServerBusyTimeout READ OleServerBusyTimeout WRITE setOleServerBusyTimeout)
    Q_PROPERTY(QString Path READ Path)
    Q_PROPERTY(bool PrevInstance READ PrevInstance)
    Q_PROPERTY(QString ProductName READ ProductName)
    Q_PROPERTY(bool RetainedProject READ RetainedProject)
    Q_PROPERTY(qint16 Revision READ Revision)
    Q_PROPERTY(qint32 StartMode READ StartMode)
    Q_PROPERTY(bool TaskVisible READ TaskVisible WRITE setTaskVisible)
    Q_PROPERTY(qint32 ThreadID READ ThreadID)
    Q_PROPERTY(QString Title READ Title WRITE setTitle)
    Q_PROPERTY(bool UnattendedApp READ UnattendedApp)

public:
    explicit CAppStub(QObject *parent = nullptr);
    ~CAppStub() override;

    /// Stores the title and the version numbers (already narrowed to 16 bits).
    void Init(const QString &Title, qint16 Major, qint16 Minor, qint16 Revision);

    QString Title() const;
    void setTitle(const QString &title);
    qint16 Major() const;
    qint16 Minor() const;
    qint16 Revision() const;

    Q_INVOKABLE void LogEvent(const QString &LogBuffer, qint32 EventType);
    Q_INVOKABLE void StartLogging(const QString &LogTarget, qint32 LogModes);

    // The neutral answers.
    QString Comments() const;
    QString CompanyName() const;
    QString EXEName() const;
    QString FileDescription() const;
    QString LegalCopyright() const;
    QString LegalTrademarks() const;
    QString LogPath() const;
    QString Path() const;
    QString ProductName() const;
    QString HelpFile() const;
    void setHelpFile(const QString &);
    QString OleRequestPendingMsgText() const;
    void setOleRequestPendingMsgText(const QString &);
    QString OleRequestPendingMsgTitle() const;
    void setOleRequestPendingMsgTitle(const QString &);
    QString OleServerBusyMsgText() const;
    void setOleServerBusyMsgText(const QString &);
    QString OleServerBusyMsgTitle() const;
    void setOleServerBusyMsgTitle(const QString &);
    qint32 hInstance() const;
    qint32 LogMode() const;
    qint32 ThreadID() const;
    qint32 OleRequestPendingTimeout() const;
    void setOleRequestPendingTimeout(qint32);
    qint32 OleServerBusyTimeout() const;
    void setOleServerBusyTimeout(qint32);
    bool NonModalAllowed() const;
    bool PrevInstance() const;
    bool RetainedProject() const;
    bool UnattendedApp() const;
    bool OleServerBusyRaiseError() const;
    void setOleServerBusyRaiseError(bool);
    bool TaskVisible() const;
    void setTaskVisible(bool);
    qint32 StartMode() const;

private:
    QString m_title;
    qint16 m_major = 0;
    qint16 m_minor = 0;
    qint16 m_revision = 0;
};

} // namespace tessera
