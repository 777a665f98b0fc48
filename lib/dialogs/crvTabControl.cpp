#include "lib/dialogs/crvTabControl.h"

#include "platform/CallByName.h"
#include "platform/RuntimeError.h"

#include <QWidget>

namespace tessera {

namespace {

void zOrder(QObject *page)
{
    if (auto *widget = qobject_cast<QWidget *>(page))
        widget->raise();
    else
        CallByName(page, QStringLiteral("ZOrder"), CallType::Method);
}

void setVisible(QObject *page, bool visible)
{
    CallByName(page, QStringLiteral("Visible"), CallType::Let, {visible});
}

} // namespace

crvTabControl::crvTabControl(QObject *parent)
    : QObject(parent)
{ }

crvTabControl::~crvTabControl() = default;

void crvTabControl::FillTabs(const BoundedArray<QObject *> &vData, bool HideOtherTabs)
{
    const qint32 lower = vData.LBound();
    const qint32 upper = vData.UBound();
    ClearTabs();
    for (qint64 i = lower; i <= upper; ++i)
        m_tabs.append(vData[qint32(i)]);
    PopTab(TabCount(), false, HideOtherTabs);
}

void crvTabControl::AddTab(QObject *vData, bool HideOtherTabs)
{
    if (!vData)
        throw RuntimeError(RuntimeError::InvalidPropertyValue);
    m_tabs.append(vData);
    PopTab(TabCount(), false, HideOtherTabs);
}

void crvTabControl::ClearTabs()
{
    m_tabs.clear();
    m_current = 0;
}

void crvTabControl::PopTab(qint32 Index, bool PopOnlyThisTab, bool HideOtherTabs)
{
    if (Index == -1)
        Index = m_current;
    if (Index < 1 || Index > TabCount())
        throw RuntimeError(RuntimeError::InvalidProcedureCall);
    if (!PopOnlyThisTab) {
        for (const QPointer<QObject> &page : std::as_const(m_tabs))
            zOrder(page);
    }
    for (const QPointer<QObject> &page : std::as_const(m_tabs))
        setVisible(page, !HideOtherTabs);
    QObject *shown = m_tabs.at(Index - 1);
    zOrder(shown);
    setVisible(shown, true);
    m_current = Index;
    emit TabShown(Index);
}

void crvTabControl::PopPrevTab(bool PopOnlyThisTab, bool HideOtherTabs)
{
    PopTab(m_current > 1 ? m_current - 1 : TabCount(), PopOnlyThisTab, HideOtherTabs);
}

void crvTabControl::PopNextTab(bool PopOnlyThisTab, bool HideOtherTabs)
{
    PopTab(m_current < TabCount() ? m_current + 1 : 1, PopOnlyThisTab, HideOtherTabs);
}

void crvTabControl::ArrangeTabs(bool HideOtherTabs)
{
    PopTab(-1, false, HideOtherTabs);
}

qint32 crvTabControl::TabCount() const
{
    return qint32(m_tabs.size());
}

qint32 crvTabControl::CurrentTab() const
{
    return m_current;
}

} // namespace tessera
