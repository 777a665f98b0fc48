#pragma once

#include "lib/TesseraExport.h"
#include "platform/BoundedArray.h"

#include <QList>
#include <QObject>
#include <QPointer>

namespace tessera {

/// Switches the pages of a window: the host hands over the containers that
/// make its pages (frames under a tab strip, for instance) and the switcher
/// brings one to the front, optionally hiding the others, and reports it
/// with TabShown. It draws nothing itself.
///
/// Pages are numbered from 1. A page is any object with a Visible property
/// and a ZOrder method, reached by name (CallByName); for a QWidget, Visible
/// is its visible property and ZOrder is raise(). Errors of those members
/// reach the caller unchanged (438 for an object without them).
///
///     crvTabControl tabs;
///     tabs.FillTabs(BoundedArray<QObject *>::fromValues(0, {fraMain, fraMore}), true); // shows fraMore
///     tabs.PopPrevTab(false, true);                                                 // fraMain
class TESSERA_EXPORT crvTabControl : public QObject
{
    Q_OBJECT

public:
    explicit crvTabControl(QObject *parent = nullptr);
    ~crvTabControl() override;

    /// Replaces the pages by the elements of \a vData, from its lower to its
    /// upper bound, then shows the last one. Raises 9 for an array that was
    /// never dimensioned.
    void FillTabs(const BoundedArray<QObject *> &vData, bool HideOtherTabs = false);
    /// Appends \a vData as the last page and shows it; 380 (invalid property
    /// value) for a null page.
    void AddTab(QObject *vData, bool HideOtherTabs = false);
    /// Forgets all pages; the current page becomes 0.
    void ClearTabs();
    /// Shows page \a Index (-1: the current page): unless \a PopOnlyThisTab,
    /// every page is raised in order; every page's Visible becomes
    /// !HideOtherTabs; then page \a Index is raised and made visible, becomes
    /// the current page and TabShown reports it. Raises 5 for an index
    /// outside 1 to the number of pages.
    void PopTab(qint32 Index = -1, bool PopOnlyThisTab = false, bool HideOtherTabs = false);
    /// Shows the page before the current one, the last page from the first.
    void PopPrevTab(bool PopOnlyThisTab = false, bool HideOtherTabs = false);
    /// Shows the page after the current one, the first page from the last.
    void PopNextTab(bool PopOnlyThisTab = false, bool HideOtherTabs = false);
    /// Shows the current page again; 5 before any page was shown.
    void ArrangeTabs(bool HideOtherTabs = false);

    /// The number of pages, and the page shown last (0 for none).
    qint32 TabCount() const;
    qint32 CurrentTab() const;

signals:
    void TabShown(qint32 CurrTab);

private:
    QList<QPointer<QObject>> m_tabs;
    qint32 m_current = 0;
};

} // namespace tessera
