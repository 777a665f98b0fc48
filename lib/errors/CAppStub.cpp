#include "lib/errors/CAppStub.h"

namespace tessera {

CAppStub::CAppStub(QObject *parent)
    : QObject(parent)
{ }

CAppStub::~CAppStub() = default;

void CAppStub::Init(const QString &Title, qint16 Major, qint16 Minor, qint16 Revision)
{
    m_title = Title;
    m_major = Major;
    m_minor = Minor;
    m_revision = Revision;
}

QString CAppStub::Title() const
{
    return m_title;
}
void CAppStub::setTitle(const QString &title)
{
    m_title = title;
}
qint16 CAppStub::Major() const
{
    return m_major;
}
qint16 CAppStub::Minor() const
{
    return m_minor;
}
qint16 CAppStub::Revision() const
{
    return m_revision;
}

void CAppStub::LogEvent(const QString &, qint32)
{ }
void CAppStub::StartLogging(const QString &, qint32)
{ }

QString CAppStub::Comments() const
{
    return {};
}
QString CAppStub::CompanyName() const
{
    return {};
}
QString CAppStub::EXEName() const
{
    return {};
}
QString CAppStub::FileDescription() const
{
    return {};
}
QString CAppStub::LegalCopyright() const
{
    return {};
}
QString CAppStub::LegalTrademarks() const
{
    return {};
}
QString CAppStub::LogPath() const
{
    return {};
}
QString CAppStub::Path() const
{
    return {};
}
QString CAppStub::ProductName() const
{
    return {};
}
QString CAppStub::HelpFile() const
{
    return {};
}
void CAppStub::setHelpFile(const QString &)
{ }
QString CAppStub::OleRequestPendingMsgText() const
{
    return {};
}
void CAppStub::setOleRequestPendingMsgText(const QString &)
{ }
QString CAppStub::OleRequestPendingMsgTitle() const
{
    return {};
}
void CAppStub::setOleRequestPendingMsgTitle(const QString &)
{ }
QString CAppStub::OleServerBusyMsgText() const
{
    return {};
}
void CAppStub::setOleServerBusyMsgText(const QString &)
{ }
QString CAppStub::OleServerBusyMsgTitle() const
{
    return {};
}
void CAppStub::setOleServerBusyMsgTitle(const QString &)
{ }
qint32 CAppStub::hInstance() const
{
    return 0;
}
qint32 CAppStub::LogMode() const
{
    return 0;
}
qint32 CAppStub::ThreadID() const
{
    return 0;
}
qint32 CAppStub::OleRequestPendingTimeout() const
{
    return 0;
}
void CAppStub::setOleRequestPendingTimeout(qint32)
{ }
qint32 CAppStub::OleServerBusyTimeout() const
{
    return 0;
}
void CAppStub::setOleServerBusyTimeout(qint32)
{ }
bool CAppStub::NonModalAllowed() const
{
    return false;
}
bool CAppStub::PrevInstance() const
{
    return false;
}
bool CAppStub::RetainedProject() const
{
    return false;
}
bool CAppStub::UnattendedApp() const
{
    return false;
}
bool CAppStub::OleServerBusyRaiseError() const
{
    return false;
}
void CAppStub::setOleServerBusyRaiseError(bool)
{ }
bool CAppStub::TaskVisible() const
{
    return false;
}
void CAppStub::setTaskVisible(bool)
{ }
qint32 CAppStub::StartMode() const
{
    return 0;
}

} // namespace tessera
