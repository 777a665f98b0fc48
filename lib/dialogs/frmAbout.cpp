#include "lib/dialogs/frmAbout.h"

#include "lib/dialogs/AboutPageTexts_p.h"
#include "lib/dialogs/CTextBoxInsertHook.h"
#include "lib/dialogs/SystemInfoTool_p.h"
#include "lib/dialogs/crvTabControl.h"
#include "lib/dialogs/ucIconControl.h"
#include "lib/net/CVersionCheck.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/ShellOpen.h"
#include "support/csFiles.h"
#include "support/csSystem.h"
#include "support/csText.h"
#include "support/csWindows.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDrag>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tessera {

namespace {

// The library's own pictures (lib/dialogs/resources).
const QString LibraryIcon = QStringLiteral(":/tessera0301/A_MAIN.png");
const QString LibraryIconSmall = QStringLiteral(":/tessera0301/A_MAIN-16.png");
const QString SorrelIcon = QStringLiteral(":/tessera0301/SORREL_0000.png");
const QString SorrelPicture = QStringLiteral(":/tessera0301/SORREL.png");
const QString HandCursor = QStringLiteral(":/tessera0301/DUVOROV_CURSOR.png");
const QString HiddenPicture = QStringLiteral(":/tessera0301/CORVID_MOON.png");
constexpr QPoint HandHotSpot(10, 1);

// What a dragged icon carries, so that only the box's own icon is taken.
const QString IconDragFormat = QStringLiteral("application/x-tessera-about-icon");
constexpr int PictureSide = 160;
constexpr int DescriptionMargin = 2;
const QString UpdateInfoText = QStringLiteral("Нажмите кнопку для проверки версии программы на сайте.");
const QString NoVersion = QStringLiteral("0.00.0000");

const char *const PageCaptions[frmAbout::PageCount]
    = {"Main tab", "Description", "Modules list", "Process Times Info", "System Info", "Update check"};

QLabel *valueLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// A group of value labels of one name (a control array), under one another
// with their captions; long values (the system's name) wrap.
QList<QLabel *> labelGroup(const QString &name, const QStringList &captions, QGridLayout *grid, QWidget *parent)
{
    QList<QLabel *> labels;
    for (const QString &caption : captions) {
        QLabel *label = valueLabel(name, parent);
        const int row = int(labels.size());
        label->setProperty("Index", row);
        label->setWordWrap(true);
        grid->addWidget(new QLabel(caption, parent), row, 0, Qt::AlignTop);
        grid->addWidget(label, row, 1, Qt::AlignTop);
        labels.append(label);
    }
    grid->setColumnStretch(1, 1);
    return labels;
}

// A label that opens an address: underlined, in the link colour, with the
// library's hand cursor.
void makeLink(QLabel *label)
{
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->setCursor(QCursor(QPixmap(HandCursor), HandHotSpot.x(), HandHotSpot.y()));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    label->setPalette(palette);
}

// A version as the box writes it; empty when it cannot be written.
QString versionText(qint32 major, qint32 minor, qint32 revision)
{
    try {
        return cs::csFormatVersion(major, minor, revision);
    } catch (const RuntimeError &) {
        return {};
    }
}

// The wait cursor over the whole screen while it lives.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

QPixmap fitted(const QPixmap &picture)
{
    if (picture.width() <= PictureSide && picture.height() <= PictureSide)
        return picture;
    return picture.scaled(PictureSide, PictureSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

frmAbout::frmAbout(const AboutBoxInfo &Info, const AboutBoxFacts &Facts, QWidget *parent)
    : QDialog(parent)
    , m_facts(Facts)
    , m_email(Info.AuthorEMail)
    , m_verMajor(Info.VerMajor)
    , m_verMinor(Info.VerMinor)
    , m_verRevision(Info.VerRevision)
    , m_icon(Info.Icon.isNull() ? QPixmap(SorrelIcon) : Info.Icon)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("О программе"));
    if (!Info.SmallIcon.isNull()) {
        setWindowIcon(QIcon(Info.SmallIcon));
    } else {
        QIcon icon(LibraryIcon);
        icon.addFile(LibraryIconSmall, QSize(16, 16));
        setWindowIcon(icon);
    }

    auto *pageArea = new QWidget(this);
    auto *stack = new QGridLayout(pageArea);
    stack->setContentsMargins(0, 0, 0, 0);
    for (int page = 0; page < PageCount; ++page) {
        QGroupBox *frame = makePage(Page(page), QLatin1String(PageCaptions[page]));
        stack->addWidget(frame, 0, 0);
        m_pages.append(frame);
    }
    buildMainTab(Info);
    buildDescriptionTab(Info);
    buildModulesTab();
    buildProcessTimesTab();
    buildSystemInfoTab();
    buildUpdateCheckTab();

    auto *cmdPrevTab = new QPushButton(QStringLiteral("<"), this);
    cmdPrevTab->setObjectName(QStringLiteral("cmdPrevTab"));
    cmdPrevTab->setToolTip(QStringLiteral("Previous page (Page Up)"));
    auto *cmdNextTab = new QPushButton(QStringLiteral(">"), this);
    cmdNextTab->setObjectName(QStringLiteral("cmdNextTab"));
    cmdNextTab->setToolTip(QStringLiteral("Next page (Page Down)"));
    for (QPushButton *button : {cmdPrevTab, cmdNextTab}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedWidth(button->sizeHint().height() + 8);
    }
    m_cmdOk = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdOk->setDefault(true);
    m_cmdOk->setAcceptDrops(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdPrevTab);
    buttons->addWidget(cmdNextTab);
    buttons->addStretch();
    buttons->addWidget(m_cmdOk);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(pageArea, 1);
    layout->addLayout(buttons);
    resize(QSize(540, 320).expandedTo(sizeHint()));

    connect(cmdPrevTab, &QPushButton::clicked, this, [this] {
        if (m_tabs)
            m_tabs->PopPrevTab(false, true);
    });
    connect(cmdNextTab, &QPushButton::clicked, this, [this] {
        if (m_tabs)
            m_tabs->PopNextTab(false, true);
    });
    connect(m_cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    // The window sees every key first, and the drop targets their drags.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
    for (QGroupBox *frame : std::as_const(m_pages))
        frame->hide();
}

frmAbout::~frmAbout() = default;

QGroupBox *frmAbout::makePage(Page page, const QString &caption)
{
    auto *frame = new QGroupBox(caption, this);
    frame->setObjectName(QStringLiteral("fraTab"));
    frame->setProperty("Index", qint32(page));
    return frame;
}

void frmAbout::buildMainTab(const AboutBoxInfo &Info)
{
    QGroupBox *frame = m_pages[MainTab];
    m_imgIcon = new ucIconControl(frame);
    m_imgIcon->setObjectName(QStringLiteral("imgIcon"));
    m_imgIcon->setPicture(m_icon);
    m_imgIcon->setFixedSize(m_imgIcon->sizeHint());
    m_imgIcon->setToolTip(Info.Title);

    m_lblTitle = valueLabel(QStringLiteral("lblTitle"), frame);
    m_lblTitle->setText(Info.Title);
    m_lblTitle->setWordWrap(true);
    m_lblTitle->setAcceptDrops(true);
    QFont titleFont = m_lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    m_lblTitle->setFont(titleFont);

    m_lblVersion = valueLabel(QStringLiteral("lblVersion"), frame);
    m_lblVersion->setText(versionText(Info.VerMajor, Info.VerMinor, Info.VerRevision));
    m_lblAuthor = valueLabel(QStringLiteral("lblAuthor"), frame);
    m_lblAuthor->setText(Info.Author);
    m_lblEMail = valueLabel(QStringLiteral("lblEMail"), frame);
    m_lblEMail->setText(Info.AuthorEMail);
    m_lblEMail->setToolTip(QLatin1String("mailto:") + Info.AuthorEMail);
    makeLink(m_lblEMail);
    m_lblDevote = valueLabel(QStringLiteral("lblDevote"), frame);
    m_lblDevote->setText(Info.Devote);
    m_lblDevote->setWordWrap(true);
    QFont devoteFont = m_lblDevote->font();
    devoteFont.setItalic(true);
    m_lblDevote->setFont(devoteFont);

    m_imgSorrel = new QLabel(frame);
    m_imgSorrel->setObjectName(QStringLiteral("imgSorrel"));
    m_imgSorrel->setPixmap(fitted(Info.Picture.isNull() ? QPixmap(SorrelPicture) : Info.Picture));
    m_imgSorrel->setToolTip(Info.PictureToolTipText);
    m_imgSorrel->setAlignment(Qt::AlignCenter);
    m_imgSorrel->setAcceptDrops(true);

    auto *grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(10);
    grid->addWidget(m_imgIcon, 0, 0, Qt::AlignTop);
    grid->addWidget(m_lblTitle, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Version:"), frame), 1, 1);
    grid->addWidget(m_lblVersion, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Author:"), frame), 2, 1);
    grid->addWidget(m_lblAuthor, 2, 2);
    m_lblEMailCaption = new QLabel(QStringLiteral("E-Mail:"), frame);
    m_lblEMailCaption->setObjectName(QStringLiteral("lblEMailCaption"));
    grid->addWidget(m_lblEMailCaption, 3, 1);
    grid->addWidget(m_lblEMail, 3, 2, Qt::AlignLeft);
    grid->addWidget(m_lblDevote, 4, 1, 1, 2);
    grid->addWidget(m_imgSorrel, 0, 3, 6, 1, Qt::AlignTop | Qt::AlignRight);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(5, 1);
    if (Info.AuthorEMail.isEmpty()) {
        m_lblEMail->hide();
        m_lblEMailCaption->hide();
    }

    connect(m_imgIcon, &ucIconControl::MouseDown, this,
            [this](qint16 button, qint16, float x, float y) { iconMouseDown(button, x, y); });
    connect(m_imgIcon, &ucIconControl::MouseMove, this,
            [this](qint16 button, qint16, float x, float y) { iconMouseMove(button, x, y); });
    connect(m_imgIcon, &ucIconControl::MouseUp, this, [this] { m_dragArmed = false; });
}

void frmAbout::buildDescriptionTab(const AboutBoxInfo &Info)
{
    QGroupBox *frame = m_pages[DescriptionTab];
    m_txtDescription = new QPlainTextEdit(frame);
    m_txtDescription->setObjectName(QStringLiteral("txtDescription"));
    m_txtDescription->setReadOnly(true);
    m_txtDescription->setPlainText(Info.Description);
    m_descriptionGuard = new CTextBoxInsertHook(this);
    m_descriptionGuard->setCurrentHook(m_txtDescription);
    (new QVBoxLayout(frame))->addWidget(m_txtDescription);
}

void frmAbout::buildModulesTab()
{
    QGroupBox *frame = m_pages[ModulesTab];
    m_lstModules = new QListWidget(frame);
    m_lstModules->setObjectName(QStringLiteral("lstModules"));
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    m_lstModules->setFont(fixed);
    m_lstModules->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_lstModules->setToolTip(QStringLiteral("Double click: the module's folder"));
    (new QVBoxLayout(frame))->addWidget(m_lstModules);
    connect(m_lstModules, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { openModuleFolder(m_lstModules->row(item)); });
}

void frmAbout::buildProcessTimesTab()
{
    QGroupBox *frame = m_pages[ProcessTimesTab];
    auto *grid = new QGridLayout(frame);
    m_lblProcessTimes
        = labelGroup(QStringLiteral("lblProcessTimes"),
                     {QStringLiteral("Started:"), QStringLiteral("Running for:"), QStringLiteral("Kernel time:"),
                      QStringLiteral("User time:"), QStringLiteral("Processor time:")},
                     grid, frame);
    grid->setRowStretch(grid->rowCount(), 1);
}

void frmAbout::buildSystemInfoTab()
{
    QGroupBox *frame = m_pages[SystemInfoTab];
    auto *grid = new QGridLayout(frame);
    m_lblSystemInfo = labelGroup(QStringLiteral("lblSystemInfo"),
                                 {QStringLiteral("System:"), QStringLiteral("Free memory:"),
                                  QStringLiteral("Swap in use:"), QStringLiteral("Reserved address space:")},
                                 grid, frame);
    m_cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), frame);
    m_cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    m_cmdSysInfo->setAutoDefault(false);
    const int row = grid->rowCount();
    grid->addWidget(m_cmdSysInfo, row, 1, Qt::AlignRight);
    grid->setRowStretch(row + 1, 1);
    connect(m_cmdSysInfo, &QPushButton::clicked, this, &frmAbout::startSystemInfo);
}

void frmAbout::buildUpdateCheckTab()
{
    QGroupBox *frame = m_pages[UpdateCheckTab];
    m_lblUpdateInfo = valueLabel(QStringLiteral("lblUpdateInfo"), frame);
    m_lblUpdateInfo->setText(UpdateInfoText);
    m_lblUpdateInfo->setWordWrap(true);
    // Its texts differ in length; each starts at the top.
    m_lblUpdateInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblUpdateResult = valueLabel(QStringLiteral("lblUpdateResult"), frame);
    m_lblUpdateResult->setWordWrap(true);
    QFont resultFont = m_lblUpdateResult->font();
    resultFont.setBold(true);
    m_lblUpdateResult->setFont(resultFont);

    // The control array: the two captions (0, 1) and the two versions (2, 3).
    auto *versions = new QGridLayout;
    const QStringList captions
        = {QStringLiteral("Локальная версия:"), QStringLiteral("Версия на сайте:"), NoVersion, NoVersion};
    for (int index = 0; index < captions.size(); ++index) {
        QLabel *label = valueLabel(QStringLiteral("lblUpdateVersion"), frame);
        label->setProperty("Index", index);
        label->setText(captions[index]);
        versions->addWidget(label, index % 2, index / 2);
        m_lblUpdateVersion.append(label);
    }
    versions->setColumnStretch(1, 1);

    m_lblUpdateURL = valueLabel(QStringLiteral("lblUpdateURL"), frame);
    m_lblUpdateURL->setText(CVersionCheck::HomePageURL());
    m_lblUpdateURL->setTextInteractionFlags(Qt::NoTextInteraction);
    m_cmdUpdateCheck = new QPushButton(QStringLiteral("Проверить обновление"), frame);
    m_cmdUpdateCheck->setObjectName(QStringLiteral("cmdUpdateCheck"));
    m_cmdUpdateCheck->setAutoDefault(false);

    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(m_lblUpdateInfo);
    layout->addWidget(m_lblUpdateResult);
    layout->addLayout(versions);
    layout->addWidget(m_lblUpdateURL, 0, Qt::AlignLeft);
    layout->addStretch(1);
    layout->addWidget(m_cmdUpdateCheck, 0, Qt::AlignRight);
    m_lblUpdateResult->hide();
    m_lblUpdateURL->hide();
    for (QLabel *label : std::as_const(m_lblUpdateVersion))
        label->hide();
    connect(m_cmdUpdateCheck, &QPushButton::clicked, this, &frmAbout::runUpdateCheck);
}

void frmAbout::prepareUpdateCheck()
{
    QString name;
    try {
        name = m_facts.ExeInternalName ? m_facts.ExeInternalName() : QString();
    } catch (const RuntimeError &) {
        return;
    }
    if (name.isEmpty())
        return;
    m_updateURL = CVersionCheck::VersionFileURL(name);
    m_lblUpdateInfo->setText(UpdateInfoText + QStringLiteral("\r\n\r\nРесурс: Version.") + name
                             + QLatin1String(".DAT"));
    m_cmdUpdateCheck->setToolTip(m_updateURL);
}

void frmAbout::runUpdateCheck()
{
    VersionCheckOutcome outcome;
    {
        const WaitCursor wait;
        outcome = CVersionCheck::Check(m_updateURL, m_verMajor, m_verMinor, m_verRevision, m_facts.UpdateCheckTimeout);
    }
    if (!outcome.Compared) {
        // The button stays for another try.
        m_lblUpdateInfo->setText(outcome.InfoText);
        return;
    }
    makeLink(m_lblUpdateURL);
    const bool hadFocus = focusWidget() == m_cmdUpdateCheck;
    m_cmdUpdateCheck->hide();
    m_lblUpdateInfo->hide();
    m_lblUpdateResult->setText(outcome.ResultText);
    m_lblUpdateResult->show();
    m_lblUpdateURL->show();
    m_lblUpdateVersion[2]->setText(versionText(m_verMajor, m_verMinor, m_verRevision));
    m_lblUpdateVersion[3]->setText(versionText(outcome.SiteMajor, outcome.SiteMinor, outcome.SiteRevision));
    for (QLabel *label : std::as_const(m_lblUpdateVersion))
        label->show();
    if (hadFocus)
        m_cmdOk->setFocus();
}

void frmAbout::BuildPages()
{
    fillModuleList();
    fillSystemInfo();
    if (cs::csIsHostWinNT())
        fillProcessTimes();
    prepareUpdateCheck();
    delete m_tabs;
    m_tabs = new crvTabControl(this);
    connect(m_tabs, &crvTabControl::TabShown, this, &frmAbout::focusPage);
    m_offered.clear();
    for (int page = 0; page < PageCount; ++page) {
        if (!hasContent(Page(page))) {
            m_pages[page]->hide();
            continue;
        }
        m_offered.append(Page(page));
        m_tabs->AddTab(m_pages[page], true);
    }
    m_tabs->PopTab(1, false, true);
}

void frmAbout::fillModuleList()
{
    QList<AboutModuleEntry> modules;
    try {
        modules = m_facts.Modules();
    } catch (const RuntimeError &) {
        return;
    }
    m_lstModules->clear();
    m_lstModules->addItems(dialogs::moduleLines(modules));
    m_moduleFiles.clear();
    for (const AboutModuleEntry &module : std::as_const(modules))
        m_moduleFiles.append(module.FileName);
}

void frmAbout::fillSystemInfo()
{
    try {
        m_lblSystemInfo[0]->setText(m_facts.HostOSName());
    } catch (const RuntimeError &) { }
    try {
        const QStringList texts = dialogs::memoryTexts(m_facts.MemoryStatus());
        for (qsizetype i = 0; i < texts.size(); ++i)
            m_lblSystemInfo[i + 1]->setText(texts[i]);
    } catch (const RuntimeError &) { }
}

void frmAbout::fillProcessTimes()
{
    try {
        const std::optional<ProcessTimes> times = m_facts.Times();
        if (!times)
            return;
        const QStringList texts = dialogs::processTimesTexts(*times, m_facts.Now());
        for (qsizetype i = 0; i < texts.size(); ++i)
            m_lblProcessTimes[i]->setText(texts[i]);
        m_processTimesFilled = true;
    } catch (const RuntimeError &) { }
}

bool frmAbout::hasContent(Page page) const
{
    switch (page) {
    case DescriptionTab:
        return !m_txtDescription->toPlainText().isEmpty();
    case ModulesTab:
        return m_lstModules->count() > 0;
    case ProcessTimesTab:
        return m_processTimesFilled;
    case UpdateCheckTab:
        return !m_updateURL.isEmpty();
    default:
        return true;
    }
}

QList<frmAbout::Page> frmAbout::OfferedPages() const
{
    return m_offered;
}

frmAbout::Page frmAbout::CurrentPage() const
{
    const qint32 tab = m_tabs ? m_tabs->CurrentTab() : 0;
    return tab > 0 ? m_offered.value(tab - 1) : MainTab;
}

void frmAbout::focusPage(qint32 tab)
{
    switch (m_offered.value(tab - 1)) {
    case DescriptionTab:
        m_txtDescription->document()->setDocumentMargin(DescriptionMargin);
        m_txtDescription->setFocus();
        break;
    case ModulesTab:
        m_lstModules->setFocus();
        break;
    case UpdateCheckTab:
        (m_cmdUpdateCheck->isHidden() ? static_cast<QWidget *>(m_cmdOk) : m_cmdUpdateCheck)->setFocus();
        break;
    default:
        m_cmdOk->setFocus();
        break;
    }
}

void frmAbout::ShowModal()
{
    setWindowModality(Qt::ApplicationModal);
    cs::csCenterFormEx(this, parentWidget());
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    if (isVisible())
        loop.exec();
}

void frmAbout::RealShowAboutBox()
{
    BuildPages();
    try {
        ShowModal();
    } catch (const RuntimeError &error) {
        if (error.Number() != RuntimeError::WrongNumberOfArguments)
            throw;
        cs::csOutputDebugString(QLatin1String("RealShowAboutBox() ==> ") + QString::number(error.Number())
                                + QLatin1Char(' ') + error.Description());
        ShowModal();
    }
}

void frmAbout::done(int result)
{
    // Closing lets go of the page switcher, the paste guard and the icon.
    delete m_tabs;
    delete m_descriptionGuard;
    setWindowIcon(QIcon());
    QDialog::done(result);
}

bool frmAbout::previewKey(QKeyEvent *event)
{
    constexpr Qt::KeyboardModifiers modifierKeys
        = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if ((event->modifiers() & modifierKeys) != Qt::NoModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_PageUp:
        if (m_tabs)
            m_tabs->PopPrevTab(false, true);
        return true;
    case Qt::Key_PageDown:
        if (m_tabs)
            m_tabs->PopNextTab(false, true);
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    default:
        return false;
    }
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (previewKey(static_cast<QKeyEvent *>(event)))
            return true;
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            break;
        if (watched == m_lblEMail && !m_email.isEmpty()) {
            ShellOpen(QLatin1String("mailto:") + m_email);
            return true;
        }
        if (watched == m_lblUpdateURL) {
            ShellOpen(m_lblUpdateURL->text());
            return true;
        }
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (acceptsIcon(watched, event))
            return true;
        break;
    case QEvent::Drop:
        if (acceptsIcon(watched, event)) {
            iconDropped(watched);
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::iconMouseDown(qint16 button, float x, float y)
{
    m_dragArmed = button == 1;
    m_dragStart = QPointF(x, y).toPoint();
}

void frmAbout::iconMouseMove(qint16 button, float x, float y)
{
    if (!m_dragArmed || !(button & 1)
        || (QPointF(x, y).toPoint() - m_dragStart).manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragArmed = false;
    auto *drag = new QDrag(m_imgIcon);
    auto *data = new QMimeData;
    data->setData(IconDragFormat, QByteArray());
    drag->setMimeData(data);
    drag->setPixmap(m_icon);
    drag->setHotSpot(m_dragStart);
    drag->exec(Qt::CopyAction);
}

bool frmAbout::acceptsIcon(QObject *target, QEvent *event)
{
    if (target != m_lblTitle && target != m_imgSorrel && target != m_cmdOk)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    if (!drop->mimeData() || !drop->mimeData()->hasFormat(IconDragFormat))
        return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    return true;
}

void frmAbout::iconDropped(QObject *target)
{
    if (target == m_lblTitle) {
        // The secret the result light of Quillon hints at.
        m_imgSorrel->setPixmap(QPixmap(HiddenPicture));
        m_imgSorrel->setToolTip(QStringLiteral("Кар! ^_^"));
    } else if (target == m_imgSorrel) {
        // The picture turns round.
        m_imgSorrel->setPixmap(QPixmap::fromImage(m_imgSorrel->pixmap().toImage().mirrored(true, false)));
    } else if (target == m_cmdOk) {
        accept();
    }
}

void frmAbout::openModuleFolder(int row)
{
    if (row >= 0 && row < m_moduleFiles.size())
        ShellOpen(cs::csGetFilePath(m_moduleFiles[row]));
}

void frmAbout::startSystemInfo()
{
    if (!dialogs::StartSystemInfoTool())
        MessageBox::show(QStringLiteral("Информация о системе почему-то не доступна..."), MessageBox::Exclamation, {},
                         this);
}

} // namespace tessera
