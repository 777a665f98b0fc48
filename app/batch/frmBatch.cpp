#include "app/batch/frmBatch.h"

#include "app/batch/modPictureFiles.h"
#include "app/common/KeyPreview.h"
#include "app/common/LocalFileDrop.h"
#include "app/common/modCommon.h"
#include "app/common/modSkylark.h"
#include "app/mail/modMail.h"
#include "app/main/frmMain.h"
#include "app/main/modMain.h"
#include "app/main/modSettings.h"
#include "lib/dialogs/crvBrowseForFolderDialog.h"
#include "lib/errors/crvErr.h"
#include "lib/system/crvMain.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "support/csFiles.h"
#include "support/csSystem.h"
#include "support/csText.h"
#include "support/csWindows.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFrame>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace quillon {

namespace {

const QString LastBatchFolder = QStringLiteral("Last batch folder");
const QLatin1String ParagraphBreak("\r\n\r\n");

constexpr Qt::KeyboardModifiers ModifierKeys
    = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// Selects (or deselects) the items First to Last of a multiple-selection
// list at once; a range outside the list changes nothing.
void SelectListRange(QListWidget *List, bool Select, int First, int Last)
{
    if (First < 0 || Last >= List->count() || First > Last)
        return;
    const QItemSelection range(List->model()->index(First, 0), List->model()->index(Last, 0));
    List->selectionModel()->select(range, Select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

// The hourglass for the whole application while a batch runs.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

frmBatch::frmBatch(frmMain &Main, QWidget *parent)
    : QDialog(parent)
    , m_main(Main)
    , m_txtPath(new QLineEdit(this))
    , m_lstFiles(new QListWidget(this))
    , m_cmdCreatePhoto(new QPushButton(QStringLiteral("Create posts"), this))
{
    setObjectName(QStringLiteral("frmBatch"));
    // The main window is out of sight while batch mode is open: closing
    // this window must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto *lblTag = new QLabel(
        QStringLiteral("You must specify caption and E-Mail at main dialog. Here you can only select folder!"), this);
    lblTag->setObjectName(QStringLiteral("lblTag"));
    lblTag->setWordWrap(true);

    m_txtPath->setObjectName(QStringLiteral("txtPath"));
    m_lstFiles->setObjectName(QStringLiteral("lstFiles"));
    m_lstFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_cmdCreatePhoto->setObjectName(QStringLiteral("cmdCreatePhoto"));
    m_cmdCreatePhoto->setDefault(true);
    auto *cmdBrowse = new QPushButton(QStringLiteral("..."), this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    auto *cmdBatchPathHistory = new QPushButton(QStringLiteral("H!"), this);
    cmdBatchPathHistory->setObjectName(QStringLiteral("cmdBatchPathHistory"));
    cmdBatchPathHistory->setToolTip(QStringLiteral(" History "));
    for (QPushButton *button : {cmdBrowse, cmdBatchPathHistory}) {
        button->setFixedWidth(32);
        button->setAutoDefault(false);
    }

    // shpBack: the panel the folder and its pictures stand on.
    auto *shpBack = new QFrame(this);
    shpBack->setObjectName(QStringLiteral("shpBack"));
    shpBack->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto *folder = new QHBoxLayout;
    folder->setSpacing(6);
    folder->addWidget(m_txtPath);
    folder->addWidget(cmdBrowse);
    folder->addWidget(cmdBatchPathHistory);
    auto *panel = new QVBoxLayout(shpBack);
    panel->setContentsMargins(10, 10, 10, 10);
    panel->setSpacing(8);
    panel->addLayout(folder);
    panel->addWidget(m_lstFiles);

    auto *actions = new QHBoxLayout;
    actions->addStretch();
    actions->addWidget(m_cmdCreatePhoto);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(lblTag);
    layout->addWidget(shpBack, 1);
    layout->addLayout(actions);
    resize(480, 380);

    connect(m_lstFiles, &QListWidget::itemSelectionChanged, this, &frmBatch::UpdateBatchState);
    connect(m_cmdCreatePhoto, &QPushButton::clicked, this, &frmBatch::CreatePosts);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmBatch::Browse);
    connect(cmdBatchPathHistory, &QPushButton::clicked, this, [this] {
        if (m_batchPathHistory.ShowHistoryDialog(m_txtPath))
            SetCurrentPath(m_txtPath->text());
    });
    new KeyPreview(this, [this](QKeyEvent *event) { return PreviewKey(event); });
    new LocalFileDrop(this, &cs::csIsDirectoryExist, [this](const QString &path) { SetCurrentPath(path); });
    m_txtPath->installEventFilter(this);
    m_lstFiles->installEventFilter(this);

    // Opening, in the program's order.
    cs::csCenterFormEx(this);
    if (!cs::csIsInIDE())
        cs::csSetWindowResIconAll(this, QStringLiteral("A_MAIN"));
    modSkylark::MarkToolbarForm(this);
    tessera::crvMain::global().AddAutoComplete(m_txtPath, tessera::aacFileSystemDirs);
    m_batchPathHistory.InitFileName({}, QStringLiteral("Batch Path History.DAT"));
    m_batchPathHistory.LoadHistory();
    QString path = cs::csTrimEx(modSettings::Load(LastBatchFolder, tessera::rtString, QString()).toString());
    SetCurrentPath(path.isEmpty() ? cs::csGetSpecialFolder(5) : path);
}

frmBatch::~frmBatch() = default;

void frmBatch::done(int result)
{
    if (!m_unloaded) {
        m_unloaded = true;
        modSettings::Save(LastBatchFolder, tessera::rtString, m_currentPath);
        modSkylark::UnmarkToolbarForm(this);
        m_batchPathHistory.SaveHistory();
    }
    QDialog::done(result);
}

void frmBatch::SetCurrentPath(QString Path)
{
    Path = cs::csTrimEx(Path);
    if (Path.isEmpty())
        return;
    m_lstFiles->clear();
    m_currentPath = Path;
    if (!cs::csIsDirectoryExist(m_currentPath)) {
        tessera::MessageBox::show(m_currentPath + ParagraphBreak + QLatin1String("Directory was not found."),
                                  tessera::MessageBox::Critical, {}, this);
    } else {
        try {
            m_lstFiles->addItems(modPictureFiles::ListPictureFiles(m_currentPath));
            m_lstFiles->setCurrentRow(0, QItemSelectionModel::NoUpdate);
            SelectListRange(m_lstFiles, true, 0, m_lstFiles->count() - 1);
        } catch (const tessera::RuntimeError &error) {
            tessera::crvErr::global().ErrorDisplay(
                error, 16, {}, m_currentPath + ParagraphBreak + QLatin1String("Cat't get picture files list."));
        }
    }
    m_txtPath->setText(m_currentPath);
    cs::csHighlightText(m_txtPath);
    UpdateBatchState();
}

void frmBatch::UpdateBatchState()
{
    setWindowTitle(modCommon::MakeCaption(QStringLiteral("Batch mode :: ") + QString::number(m_lstFiles->count())));
    m_cmdCreatePhoto->setEnabled(!m_lstFiles->selectedItems().isEmpty());
}

void frmBatch::CreatePosts()
{
    const WaitCursor wait;
    const int count = m_lstFiles->count();
    for (int index = 0; index < count; ++index) {
        QListWidgetItem *item = m_lstFiles->item(index);
        if (!item->isSelected())
            continue;
        if (!CreatePost(cs::csBuildFileName(m_currentPath, item->text())))
            return;
        item->setSelected(false);
    }
    m_main.History.Add(m_main.CaptionText());
    m_main.PathHistory.Add(m_main.FolderBox().text());
    m_batchPathHistory.Add(m_txtPath->text());
    tessera::MessageBox::show(QStringLiteral("All done ^_^v"), tessera::MessageBox::Information, {}, this);
}

// One picture, retried as long as the user asks; false when the user
// aborts the batch.
bool frmBatch::CreatePost(const QString &Path)
{
    for (;;) {
        if (modMail::MakePostMail(m_main.FolderBox(), m_main.FromEMailText(), m_main.EMailText(), m_main.CaptionText(),
                                  Path))
            return true;
        switch (tessera::MessageBox::show(Path + ParagraphBreak + QLatin1String("Can't pack file to mail."),
                                          tessera::MessageBox::AbortRetryIgnore, {}, this)) {
        case tessera::MessageBox::Retry:
            continue;
        case tessera::MessageBox::Abort:
            return false;
        default:
            return true;
        }
    }
}

void frmBatch::Browse()
{
    tessera::crvBrowseForFolderDialog dialog;
    dialog.setDescription(QStringLiteral("Choose directory with pictures to be converted in batch."));
    dialog.sethWnd(this);
    dialog.setPath(m_txtPath->text());
    if (dialog.Show()) {
        SetCurrentPath(dialog.Path());
        m_lstFiles->setFocus();
    }
}

bool frmBatch::PreviewKey(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ModifierKeys;
    if (event->key() == Qt::Key_F1 && modifiers == Qt::ShiftModifier) {
        modMain::ShowAboutBox(this);
        return true;
    }
    if (modifiers != Qt::NoModifier)
        return false;
    if (event->key() == Qt::Key_F5) {
        SetCurrentPath(m_txtPath->text());
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return false;
}

bool frmBatch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_txtPath) {
        switch (event->type()) {
        case QEvent::FocusIn:
            // The completion list takes the focus while it is shown and gives
            // it back when it closes: that is no new visit to the box, and
            // selecting all there would let the next key replace what was
            // typed so far.
            if (static_cast<QFocusEvent *>(event)->reason() == Qt::PopupFocusReason)
                break;
            // Enter in the folder box lists the folder, it creates nothing.
            m_cmdCreatePhoto->setDefault(false);
            cs::csHighlightText(m_txtPath);
            break;
        case QEvent::FocusOut:
            if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
                m_cmdCreatePhoto->setDefault(true);
            break;
        case QEvent::KeyPress: {
            const auto *key = static_cast<QKeyEvent *>(event);
            const Qt::KeyboardModifiers modifiers = key->modifiers() & ModifierKeys;
            if (isEnter(key) && modifiers == Qt::NoModifier) {
                SetCurrentPath(m_txtPath->text());
                return true;
            }
            if (isEnter(key) && modifiers == Qt::ControlModifier) {
                if (m_txtPath->text() != m_currentPath) {
                    m_txtPath->setText(m_currentPath);
                    cs::csHighlightText(m_txtPath);
                }
                tessera::crvMain::global().PressButton(m_cmdCreatePhoto);
                return true;
            }
            break;
        }
        default:
            break;
        }
    } else if (watched == m_lstFiles && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_A && (key->modifiers() & ModifierKeys) == Qt::ControlModifier) {
            SelectListRange(m_lstFiles, true, 0, m_lstFiles->count() - 1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmBatch::paintEvent(QPaintEvent *)
{
    cs::csPaintDesktop2(this);
}

} // namespace quillon
