#include "lib/dialogs/crvBrowseForFolderDialog2.h"

#include "lib/dialogs/DialogHost_p.h"
#include "lib/dialogs/DialogProperty_p.h"
#include "lib/dialogs/ModalDialog_p.h"
#include "lib/dialogs/frmBrowseForFolder.h"

#include <QLineEdit>

namespace tessera {

class crvBrowseForFolderDialog2::Private
{
public:
    bool askToCreateFolder = true;
    QString description;
    QString path;
    QString displayName;
    qint32 imageIndex = 0;
    bool useNewUI = true;
};

crvBrowseForFolderDialog2::crvBrowseForFolderDialog2()
    : d(std::make_unique<Private>())
{ }

crvBrowseForFolderDialog2::~crvBrowseForFolderDialog2() = default;

void crvBrowseForFolderDialog2::SetDefaults()
{
    *d = Private();
}

bool crvBrowseForFolderDialog2::Show()
{
    if (!canShowDialogs())
        return false;
    ModalDialog<frmBrowseForFolder> window(QApplication::activeWindow());
    window->txtPath()->setText(d->path);
    window->setDescription(d->description);
    window->setNewUI(d->useNewUI);
    window->setAskToCreateFolder(d->askToCreateFolder);
    window.exec();
    // Ok, not the dialog's result: the window hides itself on Ok.
    if (!window || !window->Ok())
        return false;
    d->displayName = window->DisplayName();
    d->imageIndex = window->ImageIndex();
    d->path = window->txtPath()->text();
    return !d->path.isEmpty();
}

QString crvBrowseForFolderDialog2::DisplayName() const
{
    return d->displayName;
}

qint32 crvBrowseForFolderDialog2::ImageIndex() const
{
    return d->imageIndex;
}

TESSERA_DIALOG_PROPERTY(crvBrowseForFolderDialog2, bool, AskToCreateFolder, askToCreateFolder)
TESSERA_DIALOG_PROPERTY(crvBrowseForFolderDialog2, QString, Description, description)
TESSERA_DIALOG_PROPERTY(crvBrowseForFolderDialog2, QString, Path, path)
TESSERA_DIALOG_PROPERTY(crvBrowseForFolderDialog2, bool, UseNewUI, useNewUI)

} // namespace tessera
