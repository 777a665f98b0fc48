#include "lib/dialogs/crvBrowseForFolderDialog.h"

#include "lib/dialogs/DialogHost_p.h"
#include "lib/dialogs/DialogProperty_p.h"
#include "lib/dialogs/ModalDialog_p.h"
#include "support/csFiles.h"

#include <QFileDialog>
#include <QPointer>
#include <QUrl>

namespace tessera {

class crvBrowseForFolderDialog::Private
{
public:
    QPointer<QWidget> hWnd;
    QString description;
    QString path;
    QString displayName;
    bool useNewUI = true;
};

crvBrowseForFolderDialog::crvBrowseForFolderDialog()
    : d(std::make_unique<Private>())
{ }

crvBrowseForFolderDialog::~crvBrowseForFolderDialog() = default;

void crvBrowseForFolderDialog::SetDefaults()
{
    *d = Private();
}

bool crvBrowseForFolderDialog::Show()
{
    if (!canShowDialogs())
        return false;
    ModalDialog<QFileDialog> dialog(d->hWnd.data(),
                                    d->description.isEmpty() ? QStringLiteral("Обзор папок") : d->description);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    // The old chooser could neither create nor rename folders.
    dialog->setOption(QFileDialog::ReadOnly, !d->useNewUI);
    if (!d->path.isEmpty())
        dialog->setDirectory(d->path);

    // What the dialog accepted, after its own check that the folder exists.
    QStringList chosen;
    QObject::connect(dialog.get(), &QFileDialog::filesSelected, dialog.get(),
                     [&chosen](const QStringList &files) { chosen = files; });
    if (!dialog.exec() || chosen.isEmpty())
        return false;

    d->path = cs::csGetPathFromPIDL(QUrl::fromLocalFile(chosen.first()));
    const QString name = cs::csGetFileName(d->path);
    d->displayName = name.isEmpty() ? d->path : name;
    return !d->path.isEmpty();
}

QString crvBrowseForFolderDialog::DisplayName() const
{
    return d->displayName;
}

qint32 crvBrowseForFolderDialog::ImageIndex() const
{
    return 0;
}

TESSERA_DIALOG_PROPERTY(crvBrowseForFolderDialog, QWidget *, hWnd, hWnd)
TESSERA_DIALOG_PROPERTY(crvBrowseForFolderDialog, QString, Description, description)
TESSERA_DIALOG_PROPERTY(crvBrowseForFolderDialog, QString, Path, path)
TESSERA_DIALOG_PROPERTY(crvBrowseForFolderDialog, bool, UseNewUI, useNewUI)

} // namespace tessera
