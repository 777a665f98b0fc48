#pragma once

#include "lib/TesseraExport.h"
#include "lib/dialogs/AboutBoxFacts.h"
#include "lib/dialogs/AboutBoxInfo.h"

#include <QDialog>
#include <QList>
#include <QPoint>
#include <QPointer>

class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tessera {

class CTextBoxInsertHook;
class crvTabControl;
class ucIconControl;

/// The library's about box, "О программе": the program's title, version,
/// icon, author, contact address, dedication and picture, and pages for its
/// description, the modules loaded in the process, the process times,
/// system information with a button that starts the system-information
/// tool, and the update check, which asks the maker's site for the
/// program's current version (CVersionCheck). Hosts open it through
/// crvMain::ShowAboutBox, ShowAboutBox2 and ShowAboutBoxEx.
///
/// The pages are the frames "fraTab" (property "Index" 0 to 5), stacked in
/// one place; a page is offered only when it has something to show, and
/// Page Up and Page Down go round the offered ones. Escape and cmdOk close
/// the window. Dragging the icon onto the title, the picture or cmdOk does
/// what the maker hid there.
class TESSERA_EXPORT frmAbout : public QDialog
{
    Q_OBJECT

public:
    /// The pages in their order. The update page is offered when the
    /// program's internal name is known.
    enum Page : qint32 {
        MainTab,
        DescriptionTab,
        ModulesTab,
        ProcessTimesTab,
        SystemInfoTab,
        UpdateCheckTab,
        PageCount
    };

    /// The window for \a Info, its information pages to be filled from
    /// \a Facts. Nothing is filled and no page offered before BuildPages.
    explicit frmAbout(const AboutBoxInfo &Info, const AboutBoxFacts &Facts = AboutBoxFacts::ofThisProcess(),
                      QWidget *parent = nullptr);
    ~frmAbout() override;

    /// Fills the module list, the system information and the process times,
    /// prepares the update check, then offers the pages that have content
    /// and shows the first. A value that cannot be obtained leaves its label
    /// as it was.
    void BuildPages();
    /// The pages offered, in order, and the one shown.
    QList<Page> OfferedPages() const;
    Page CurrentPage() const;

    /// One showing for crvMain: builds the pages and shows the window
    /// modally, returning when it has been closed. A showing that fails with
    /// run-time error 450 is written to the debug output
    /// ("RealShowAboutBox() ==> " and the error) and tried once more.
    void RealShowAboutBox();

protected:
    /// Shows the window modally, centred over its parent, and returns when
    /// it has been closed.
    virtual void ShowModal();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    QGroupBox *makePage(Page page, const QString &caption);
    void buildMainTab(const AboutBoxInfo &Info);
    void buildDescriptionTab(const AboutBoxInfo &Info);
    void buildModulesTab();
    void buildProcessTimesTab();
    void buildSystemInfoTab();
    void buildUpdateCheckTab();
    void fillModuleList();
    void fillSystemInfo();
    void fillProcessTimes();
    void prepareUpdateCheck();
    void runUpdateCheck();
    bool hasContent(Page page) const;
    void focusPage(qint32 tab);
    bool previewKey(QKeyEvent *event);
    void iconMouseDown(qint16 button, float x, float y);
    void iconMouseMove(qint16 button, float x, float y);
    bool acceptsIcon(QObject *target, QEvent *event);
    void iconDropped(QObject *target);
    void openModuleFolder(int row);
    void startSystemInfo();

    AboutBoxFacts m_facts;
    QString m_email;
    qint32 m_verMajor;
    qint32 m_verMinor;
    qint32 m_verRevision;
    QString m_updateURL; // the version file; empty: no update page
    QPixmap m_icon;
    QList<QGroupBox *> m_pages;
    QList<Page> m_offered;
    QPointer<crvTabControl> m_tabs;
    QPointer<CTextBoxInsertHook> m_descriptionGuard;
    QList<QString> m_moduleFiles;
    bool m_processTimesFilled = false;
    QPoint m_dragStart;
    bool m_dragArmed = false;

    QLabel *m_lblTitle = nullptr;
    QLabel *m_lblVersion = nullptr;
    QLabel *m_lblAuthor = nullptr;
    QLabel *m_lblEMail = nullptr;
    QLabel *m_lblEMailCaption = nullptr;
    QLabel *m_lblDevote = nullptr;
    QLabel *m_imgSorrel = nullptr;
    ucIconControl *m_imgIcon = nullptr;
    QPlainTextEdit *m_txtDescription = nullptr;
    QListWidget *m_lstModules = nullptr;
    QList<QLabel *> m_lblProcessTimes;
    QList<QLabel *> m_lblSystemInfo;
    QPushButton *m_cmdSysInfo = nullptr;
    QPushButton *m_cmdUpdateCheck = nullptr;
    QLabel *m_lblUpdateInfo = nullptr;
    QLabel *m_lblUpdateResult = nullptr;
    QLabel *m_lblUpdateURL = nullptr;
    QList<QLabel *> m_lblUpdateVersion;
    QPushButton *m_cmdOk = nullptr;
};

} // namespace tessera
