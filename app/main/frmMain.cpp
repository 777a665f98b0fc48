#include "app/main/frmMain.h"

#include "app/batch/frmBatch.h"
#include "app/common/KeyPreview.h"
#include "app/common/LocalFileDrop.h"
#include "app/common/crvTBHooks.h"
#include "app/common/frmEditEMail.h"
#include "app/common/modCommon.h"
#include "app/common/modSkylark.h"
#include "app/mail/modMail.h"
#include "app/main/modMain.h"
#include "app/main/modSettings.h"
#include "lib/data/crvClipboard.h"
#include "lib/dialogs/crvBrowseForFolderDialog2.h"
#include "lib/dialogs/crvOpenSaveDialog.h"
#include "lib/system/crvMain.h"
#include "platform/MessageBox.h"
#include "platform/ShellOpen.h"
#include "support/csFiles.h"
#include "support/csSystem.h"
#include "support/csWindows.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quillon {

namespace {

const QString LastCaption = QStringLiteral("Last caption");
const QString QuickMode = QStringLiteral("Quick mode");
const QString EmlFolder = QStringLiteral("EML folder");
const QString FromEMails = QStringLiteral("From E-Mails");
const QString FromEMailIndex = QStringLiteral("From E-Mail Index");
const QString ToEMails = QStringLiteral("To E-Mails");
const QString ToEMailIndex = QStringLiteral("To E-Mail Index");
const QString LastOpenPictureDir = QStringLiteral("Last open picture dir");

constexpr int SmallButtonWidth = 32;

QPushButton *smallButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFixedWidth(SmallButtonWidth);
    button->setAutoDefault(false);
    return button;
}

QPushButton *historyButton(const QString &name, QWidget *parent)
{
    QPushButton *button = smallButton(name, QStringLiteral("H!"), parent);
    button->setToolTip(QStringLiteral(" History "));
    return button;
}

QLabel *fieldLabel(const QString &caption, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

QComboBox *addressList(const QString &name, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(true);
    // The lists change only through their editor, never by Enter in the box.
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return list;
}

// The selected item of an address list; -1 when the box's text is not that
// item (the user typed another address), as a drop-down combo reports it.
qint32 selectedIndex(const QComboBox *list)
{
    const int index = list->currentIndex();
    return index >= 0 && list->itemText(index) == list->currentText() ? index : -1;
}

// Fills an address list from its stored text and selects the stored item.
// A stored index outside the list (a value edited by hand) keeps the
// selection the filling made.
void loadAddressList(QComboBox *list, const QString &itemsName, const QString &indexName)
{
    modCommon::TextToCombo(modSettings::Load(itemsName, tessera::rtString, QString()).toString(), list);
    const qint32 index = modSettings::Load(indexName, tessera::rtLong, list->currentIndex()).toInt();
    if (index >= -1 && index < list->count())
        list->setCurrentIndex(index);
}

} // namespace

frmMain::frmMain(const QString &CommandLine, QWidget *parent)
    : QWidget(parent)
    , m_txtFileName(new QLineEdit(this))
    , m_txtCaption(new QPlainTextEdit(this))
    , m_cboFromEMail(addressList(QStringLiteral("cboFromEMail"), this))
    , m_cboEMail(addressList(QStringLiteral("cboEMail"), this))
    , m_txtPath(new QLineEdit(this))
    , m_chkQuickMode(new QCheckBox(QStringLiteral("Quick mode"), this))
    , m_cmdCreatePhoto(new QPushButton(QStringLiteral("Create photo"), this))
    , m_lblResult(new QLabel(this))
    , m_captionHooks(new crvTBHooks(this))
    , m_folderBox(m_txtPath)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(modCommon::MakeCaption(QStringLiteral("Creator mode")));

    m_txtFileName->setObjectName(QStringLiteral("txtFileName"));
    m_txtCaption->setObjectName(QStringLiteral("txtCaption"));
    m_txtCaption->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtCaption->setTabChangesFocus(true);
    m_txtCaption->setFixedHeight(m_txtFileName->sizeHint().height() * 3);
    m_txtPath->setObjectName(QStringLiteral("txtPath"));
    m_chkQuickMode->setObjectName(QStringLiteral("chkQuickMode"));
    m_cmdCreatePhoto->setObjectName(QStringLiteral("cmdCreatePhoto"));
    m_cmdCreatePhoto->setDefault(true);
    m_cmdCreatePhoto->setEnabled(false);
    m_lblResult->setObjectName(QStringLiteral("lblResult"));
    m_lblResult->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_lblResult->setFixedSize(40, m_cmdCreatePhoto->sizeHint().height() - 6);
    m_lblResult->setAutoFillBackground(true);
    m_lblResult->installEventFilter(this);

    QPushButton *cmdBrowsePictureFile
        = smallButton(QStringLiteral("cmdBrowsePictureFile"), QStringLiteral("..."), this);
    QPushButton *cmdHistory = historyButton(QStringLiteral("cmdHistory"), this);
    QPushButton *cmdEditFromEMail = smallButton(QStringLiteral("cmdEditFromEMail"), QStringLiteral("..."), this);
    QPushButton *cmdEditEMail = smallButton(QStringLiteral("cmdEditEMail"), QStringLiteral("..."), this);
    QPushButton *cmdBrowse = smallButton(QStringLiteral("cmdBrowse"), QStringLiteral("..."), this);
    QPushButton *cmdPathHistory = historyButton(QStringLiteral("cmdPathHistory"), this);
    auto *cmdBatch = new QPushButton(QStringLiteral("B!"), this);
    cmdBatch->setObjectName(QStringLiteral("cmdBatch"));
    cmdBatch->setAutoDefault(false);
    cmdBatch->setToolTip(QStringLiteral(" Batch mode "));
    cmdBatch->setFixedWidth(48);

    auto *lblTag = new QLabel(QStringLiteral("Post pictures to Tumblr"), this);
    lblTag->setObjectName(QStringLiteral("lblTag"));
    QFont tagFont = lblTag->font();
    tagFont.setBold(true);
    tagFont.setPointSizeF(tagFont.pointSizeF() * 1.15);
    lblTag->setFont(tagFont);

    // shpBack: the panel the fields stand on, over the painted background.
    auto *shpBack = new QFrame(this);
    shpBack->setObjectName(QStringLiteral("shpBack"));
    shpBack->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto *fields = new QGridLayout(shpBack);
    fields->setContentsMargins(10, 10, 10, 10);
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(8);
    fields->addWidget(fieldLabel(QStringLiteral("Picture:"), m_txtFileName, shpBack), 0, 0);
    fields->addWidget(m_txtFileName, 0, 1, 1, 2);
    fields->addWidget(cmdBrowsePictureFile, 0, 3);
    fields->addWidget(fieldLabel(QStringLiteral("Caption:"), m_txtCaption, shpBack), 1, 0, Qt::AlignTop);
    fields->addWidget(m_txtCaption, 1, 1, 1, 2);
    fields->addWidget(cmdHistory, 1, 3, Qt::AlignTop);
    fields->addWidget(fieldLabel(QStringLiteral("From:"), m_cboFromEMail, shpBack), 2, 0);
    fields->addWidget(m_cboFromEMail, 2, 1, 1, 2);
    fields->addWidget(cmdEditFromEMail, 2, 3);
    fields->addWidget(fieldLabel(QStringLiteral("To:"), m_cboEMail, shpBack), 3, 0);
    fields->addWidget(m_cboEMail, 3, 1, 1, 2);
    fields->addWidget(cmdEditEMail, 3, 3);
    fields->addWidget(fieldLabel(QStringLiteral("Folder:"), m_txtPath, shpBack), 4, 0);
    fields->addWidget(m_txtPath, 4, 1);
    fields->addWidget(cmdBrowse, 4, 2);
    fields->addWidget(cmdPathHistory, 4, 3);
    fields->setColumnStretch(1, 1);

    auto *actions = new QHBoxLayout;
    actions->setSpacing(8);
    actions->addWidget(m_lblResult);
    actions->addWidget(m_chkQuickMode);
    actions->addStretch();
    actions->addWidget(cmdBatch);
    actions->addWidget(m_cmdCreatePhoto);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(lblTag);
    layout->addWidget(shpBack);
    layout->addLayout(actions);
    resize(QSize(540, 0).expandedTo(sizeHint()));
    setMinimumSize(sizeHint());

    connect(m_txtFileName, &QLineEdit::textChanged, this, &frmMain::UpdateCreateButton);
    connect(m_txtCaption, &QPlainTextEdit::textChanged, this, &frmMain::UpdateCreateButton);
    connect(m_cmdCreatePhoto, &QPushButton::clicked, this, &frmMain::CreatePhoto);
    connect(cmdBrowsePictureFile, &QPushButton::clicked, this, &frmMain::BrowsePictureFile);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmMain::BrowseFolder);
    connect(cmdHistory, &QPushButton::clicked, this, [this] { History.ShowHistoryDialog(m_txtCaption); });
    connect(cmdPathHistory, &QPushButton::clicked, this, [this] { PathHistory.ShowHistoryDialog(m_txtPath); });
    connect(cmdEditFromEMail, &QPushButton::clicked, this,
            [this] { frmEditEMail::EditMailList(m_cboFromEMail, true); });
    connect(cmdEditEMail, &QPushButton::clicked, this, [this] { frmEditEMail::EditMailList(m_cboEMail, false); });
    connect(cmdBatch, &QPushButton::clicked, this, &frmMain::ShowBatch);
    new KeyPreview(this, [this](QKeyEvent *event) { return PreviewKey(event); });
    new LocalFileDrop(this, &cs::csIsFileExist, [this](const QString &path) { PictureChosen(path); });

    // Opening, in the program's order.
    cs::csCenterFormEx(this);
    if (!cs::csIsInIDE())
        cs::csSetWindowResIconAll(this, QStringLiteral("A_MAIN"));
    modSkylark::MarkToolbarForm(this);
    LoadSettings(CommandLine);
    History.InitFileName({}, QStringLiteral("History.DAT"));
    History.LoadHistory();
    PathHistory.InitFileName({}, QStringLiteral("Path History.DAT"));
    PathHistory.LoadHistory();
    m_captionHooks->setTextBox(m_txtCaption);
    m_captionHooks->InitSelectAllHook();
    m_txtCaption->setFocus();
}

frmMain::~frmMain() = default;

QString frmMain::FromEMailText() const
{
    return m_cboFromEMail->currentText();
}

QString frmMain::EMailText() const
{
    return m_cboEMail->currentText();
}

QString frmMain::CaptionText() const
{
    return m_txtCaption->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

void frmMain::LoadSettings(const QString &CommandLine)
{
    QString command = CommandLine;
    modMain::SetFileIfExists(command, m_txtFileName);
    m_txtCaption->setPlainText(modSettings::Load(LastCaption, tessera::rtString, QString()).toString());
    m_chkQuickMode->setChecked(modSettings::Load(QuickMode, tessera::rtBoolean, false).toBool());
    const QString documents = cs::csGetSpecialFolder(5);
    const QString folder = modSettings::Load(EmlFolder, tessera::rtString, documents).toString();
    m_txtPath->setText(cs::csIsDirectoryExist(folder) ? folder : documents);
    loadAddressList(m_cboFromEMail, FromEMails, FromEMailIndex);
    loadAddressList(m_cboEMail, ToEMails, ToEMailIndex);
}

void frmMain::SaveSettings()
{
    modSettings::Save(LastCaption, tessera::rtString, CaptionText());
    modSettings::Save(QuickMode, tessera::rtBoolean, m_chkQuickMode->isChecked());
    modSettings::Save(EmlFolder, tessera::rtString, m_txtPath->text());
    modSettings::Save(FromEMails, tessera::rtString, modCommon::ComboToText(m_cboFromEMail));
    modSettings::Save(FromEMailIndex, tessera::rtLong, selectedIndex(m_cboFromEMail));
    modSettings::Save(ToEMails, tessera::rtString, modCommon::ComboToText(m_cboEMail));
    modSettings::Save(ToEMailIndex, tessera::rtLong, selectedIndex(m_cboEMail));
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!m_unloaded) {
        m_unloaded = true;
        History.SaveHistory();
        PathHistory.SaveHistory();
        SaveSettings();
        modSkylark::UnmarkToolbarForm(this);
    }
    event->accept();
}

void frmMain::CreatePhoto()
{
    // Remembered first, so that a failed composition keeps them too.
    History.Add(CaptionText());
    PathHistory.Add(m_txtPath->text());
    if (modMail::MakePostMail(m_folderBox, FromEMailText(), EMailText(), CaptionText(), m_txtFileName->text())) {
        QApplication::beep();
        PaintResult(QColor(0, 255, 0));
    } else {
        PaintResult(QColor(255, 0, 0));
    }
}

void frmMain::PaintResult(const QColor &color)
{
    QPalette palette = m_lblResult->palette();
    palette.setColor(QPalette::Window, color);
    m_lblResult->setPalette(palette);
}

void frmMain::BrowsePictureFile()
{
    tessera::crvOpenSaveDialog dialog;
    dialog.setFilter(QStringLiteral("Picture files|*.JPG;*.JPE;*.JPEG;*.JFIF;*.GIF;*.PNG;*.BMP;*.RLE|All files|*.*"));
    dialog.setFilterIndex(0);
    dialog.sethWnd(this);
    dialog.setInitialDirectory(
        modSettings::Load(LastOpenPictureDir, tessera::rtString, cs::csGetSpecialFolder(39)).toString());
    if (!dialog.ShowOpen())
        return;
    modSettings::Save(LastOpenPictureDir, tessera::rtString, cs::csGetFilePath(dialog.FileName()));
    PictureChosen(dialog.FileName());
}

void frmMain::PictureChosen(const QString &Path)
{
    m_txtFileName->setText(Path);
    if (m_chkQuickMode->isChecked())
        tessera::crvMain::global().PressButton(m_cmdCreatePhoto);
}

void frmMain::BrowseFolder()
{
    tessera::crvBrowseForFolderDialog2 dialog;
    dialog.setDescription(QStringLiteral("Choose directory for EML files saving."));
    dialog.setPath(m_txtPath->text());
    if (dialog.Show())
        m_txtPath->setText(dialog.Path());
}

void frmMain::ShowBatch()
{
    frmBatch batch(*this);
    tessera::crvMain::global().ShowModalForm(this, &batch);
}

void frmMain::UpdateCreateButton()
{
    m_cmdCreatePhoto->setEnabled(!m_txtFileName->text().isEmpty());
}

void frmMain::ResultClick()
{
    ++m_resultClickCount;
    tessera::MessageBox::show(
        m_resultClickCount == 3
            ? QStringLiteral("Ok. There is a secret in this prog. Open about box and drag icon to program title.")
            : QStringLiteral("Don't click here! It's just indicate if any errors occured while saving mail."),
        tessera::MessageBox::Information, {}, this);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lblResult && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_lblResult->rect().contains(mouse->position().toPoint()))
            ResultClick();
    }
    return QWidget::eventFilter(watched, event);
}

bool frmMain::PreviewKey(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers
        = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const int key = event->key();
    if (key == Qt::Key_F1 && modifiers == Qt::ShiftModifier) {
        modMain::ShowAboutBox(this);
        return true;
    }
    if (key == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        close();
        return true;
    }
    if (key == Qt::Key_Insert && modifiers == Qt::ShiftModifier) {
        QString text = tessera::crvClipboard::global().GetText();
        if (modMain::SetFileIfExists(text, m_txtFileName)) {
            if (m_chkQuickMode->isChecked())
                tessera::crvMain::global().PressButton(m_cmdCreatePhoto);
            return true;
        }
    }
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if ((enter && modifiers == Qt::AltModifier) || (key == Qt::Key_F5 && modifiers == Qt::NoModifier)) {
        tessera::ShellOpen(m_txtFileName->text());
        return true;
    }
    return false;
}

void frmMain::paintEvent(QPaintEvent *)
{
    cs::csPaintDesktop2(this);
}

} // namespace quillon
