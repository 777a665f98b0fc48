#include "lib/dialogs/frmBrowseForFolder.h"

#include "lib/dialogs/crvBrowseForFolderDialog.h"
#include "lib/dialogs/modAutocomplete_p.h"
#include "lib/system/crvMain.h"
#include "platform/MessageBox.h"
#include "support/csFiles.h"
#include "support/csText.h"
#include "support/csWindows.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessera {

namespace {

// The window as designed, in twips of its inside.
constexpr double ClientWidth = 6000;
constexpr double Margin = 120;
constexpr double LabelTop = 120;
constexpr double LabelHeight = 480;
constexpr double PathTop = 765;
constexpr double PathHeight = 330;
constexpr double ButtonWidth = 1095;
constexpr double ButtonHeight = 375;
constexpr double ButtonGap = 90;
constexpr double ButtonsTop = 1335;
constexpr double ClientHeight = 1830;
// How far everything below the label moves up when there is no description.
constexpr double NoDescriptionShift = LabelTop + LabelHeight + 45;

} // namespace

class frmBrowseForFolder::Private
{
public:
    QLabel *lblDescription = nullptr;
    QLineEdit *txtPath = nullptr;
    QPushButton *cmdBrowse = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
    bool newUI = true;
    bool askToCreateFolder = true;
    bool ok = false;
    qint32 imageIndex = 0;
    QString displayName;
    bool centred = false;
};

frmBrowseForFolder::frmBrowseForFolder(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , d(std::make_unique<Private>())
{
    setObjectName(QStringLiteral("frmBrowseForFolder"));
    setWindowTitle(QStringLiteral("Обзор папок"));

    d->lblDescription = new QLabel(this);
    d->lblDescription->setObjectName(QStringLiteral("lblDescription"));
    d->lblDescription->setWordWrap(true);
    d->lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    d->txtPath = new QLineEdit(this);
    d->txtPath->setObjectName(QStringLiteral("txtPath"));
    d->txtPath->installEventFilter(this);
    attachAutoComplete(d->txtPath, aacFileSystemDirs);

    d->cmdBrowse = new QPushButton(QStringLiteral("Обзор..."), this);
    d->cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    d->cmdBrowse->setAutoDefault(false);
    d->cmdOk = new QPushButton(QStringLiteral("Ok"), this);
    d->cmdOk->setObjectName(QStringLiteral("cmdOk"));
    d->cmdOk->setDefault(true);
    d->cmdCancel = new QPushButton(QStringLiteral("Отмена"), this);
    d->cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    d->cmdCancel->setAutoDefault(false);

    connect(d->txtPath, &QLineEdit::textChanged, this,
            [this](const QString &text) { d->cmdOk->setEnabled(!cs::csTrimEx(text).isEmpty()); });
    connect(d->cmdBrowse, &QPushButton::clicked, this, &frmBrowseForFolder::cmdBrowse_Click);
    connect(d->cmdOk, &QPushButton::clicked, this, &frmBrowseForFolder::cmdOk_Click);
    connect(d->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    d->cmdOk->setEnabled(false);
    setDescription(QString());
}

frmBrowseForFolder::~frmBrowseForFolder() = default;

void frmBrowseForFolder::setDescription(const QString &Description)
{
    const double tppX = cs::csScreenTwipsPerPixelX();
    const double tppY = cs::csScreenTwipsPerPixelY();
    const auto px = [tppX, tppY](double left, double top, double width, double height) {
        return QRect(qRound(left / tppX), qRound(top / tppY), qRound(width / tppX), qRound(height / tppY));
    };
    const double shift = Description.isEmpty() ? NoDescriptionShift : 0;
    const double buttonsLeft = ClientWidth - Margin - ButtonWidth;
    const double pathWidth = buttonsLeft - ButtonGap - Margin;

    d->lblDescription->setText(Description);
    d->lblDescription->setVisible(!Description.isEmpty());
    d->lblDescription->setGeometry(px(Margin, LabelTop, ClientWidth - 2 * Margin, LabelHeight));
    d->txtPath->setGeometry(px(Margin, PathTop - shift, pathWidth, PathHeight));
    d->cmdBrowse->setGeometry(px(buttonsLeft, PathTop - shift, ButtonWidth, PathHeight));
    d->cmdOk->setGeometry(px(buttonsLeft - ButtonGap - ButtonWidth, ButtonsTop - shift, ButtonWidth, ButtonHeight));
    d->cmdCancel->setGeometry(px(buttonsLeft, ButtonsTop - shift, ButtonWidth, ButtonHeight));
    setFixedSize(px(0, 0, ClientWidth, ClientHeight - shift).size());
}

void frmBrowseForFolder::cmdBrowse_Click()
{
    crvBrowseForFolderDialog chooser;
    chooser.sethWnd(this);
    chooser.setPath(d->txtPath->text());
    chooser.setDescription(d->lblDescription->text());
    chooser.setUseNewUI(d->newUI);
    if (!chooser.Show())
        return;
    d->txtPath->setText(chooser.Path());
    d->imageIndex = chooser.ImageIndex();
    d->displayName = chooser.DisplayName();
}

void frmBrowseForFolder::cmdOk_Click()
{
    const QString path = cs::csTrimEx(d->txtPath->text());
    d->txtPath->setText(path);
    if (!cs::csIsDirectoryExist(path)) {
        if (!d->askToCreateFolder) {
            MessageBox::show(QStringLiteral("Каталог не существует."), MessageBox::OkOnly | MessageBox::Critical, {},
                             this);
            return;
        }
        if (MessageBox::show(QStringLiteral("Каталог не существует. Создать его?"),
                             MessageBox::OkCancel | MessageBox::Question, {}, this)
            != MessageBox::Ok)
            return;
        if (!cs::csCreateComplexDirectory(path)) {
            MessageBox::show(QStringLiteral("Не удаётся создать каталог."), MessageBox::OkOnly | MessageBox::Critical,
                             {}, this);
            return;
        }
    }
    d->txtPath->setText(cs::csGetFullFileName(path));
    d->ok = true;
    accept();
}

bool frmBrowseForFolder::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == d->txtPath && event->type() == QEvent::FocusIn)
        cs::csHighlightText(d->txtPath);
    return QDialog::eventFilter(watched, event);
}

void frmBrowseForFolder::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!d->centred) {
        d->centred = true;
        cs::csCenterFormEx(this);
    }
}

QLabel *frmBrowseForFolder::lblDescription() const
{
    return d->lblDescription;
}

QLineEdit *frmBrowseForFolder::txtPath() const
{
    return d->txtPath;
}

QPushButton *frmBrowseForFolder::cmdBrowse() const
{
    return d->cmdBrowse;
}

QPushButton *frmBrowseForFolder::cmdOk() const
{
    return d->cmdOk;
}

QPushButton *frmBrowseForFolder::cmdCancel() const
{
    return d->cmdCancel;
}

bool frmBrowseForFolder::NewUI() const
{
    return d->newUI;
}

void frmBrowseForFolder::setNewUI(bool NewUI)
{
    d->newUI = NewUI;
}

bool frmBrowseForFolder::AskToCreateFolder() const
{
    return d->askToCreateFolder;
}

void frmBrowseForFolder::setAskToCreateFolder(bool AskToCreateFolder)
{
    d->askToCreateFolder = AskToCreateFolder;
}

bool frmBrowseForFolder::Ok() const
{
    return d->ok;
}

qint32 frmBrowseForFolder::ImageIndex() const
{
    return d->imageIndex;
}

QString frmBrowseForFolder::DisplayName() const
{
    return d->displayName;
}

} // namespace tessera
