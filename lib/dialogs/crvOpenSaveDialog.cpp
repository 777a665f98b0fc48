#include "lib/dialogs/crvOpenSaveDialog.h"

#include "lib/dialogs/CheckedFileDialog_p.h"
#include "lib/dialogs/DialogHost_p.h"
#include "lib/dialogs/DialogProperty_p.h"
#include "lib/dialogs/ModalDialog_p.h"
#include "platform/RuntimeError.h"
#include "support/csFiles.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QPointer>

#include <limits>

namespace tessera {

namespace {

// The platform's buffer sizes for the chosen names, in characters.
constexpr qsizetype SingleCapacity = 32767;
constexpr qsizetype MultiCapacity = 524287;

constexpr QChar Nul(0);

// \a filter with every "|" turned into NUL and ending in exactly two NULs.
// The platform appends two NULs on every call, so its stored filter grows
// with each call; ending in two whatever came before keeps the same list
// without the growth.
QString nulSeparated(const QString &filter)
{
    QString text = filter;
    text.replace(QLatin1Char('|'), Nul);
    while (text.endsWith(Nul))
        text.chop(1);
    return text + QString(2, Nul);
}

// One caption and pattern pair as a Qt name filter ("Caption (*.a *.b)").
// The dialog hides the pattern part, so the caption shows as the host wrote
// it, and reports the choice by the caption alone.
struct NameFilter {
    QString caption;
    QString filter;
};

// The pairs of a NUL-separated filter. The list ends at the first empty
// entry; a caption without a pattern is dropped.
QList<NameFilter> nameFilters(const QString &nulFilter)
{
    QStringList entries;
    for (const QString &entry : nulFilter.split(Nul)) {
        if (entry.isEmpty())
            break;
        entries.append(entry);
    }
    QList<NameFilter> filters;
    for (qsizetype i = 0; i + 1 < entries.size(); i += 2) {
        QStringList patterns;
        for (const QString &pattern : entries.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            // The platform's "*.*" also matches names without a dot.
            if (trimmed == QLatin1String("*.*"))
                patterns.append(QStringLiteral("*"));
            else if (!trimmed.isEmpty())
                patterns.append(trimmed);
        }
        const QString &caption = entries.at(i);
        filters.append({caption, caption + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')')});
    }
    return filters;
}

// The index of the filter the dialog reports as \a selected; -1 for none.
qsizetype indexOf(const QList<NameFilter> &filters, const QString &selected)
{
    for (qsizetype i = 0; i < filters.size(); ++i) {
        if (selected == filters.at(i).filter || selected == filters.at(i).caption.simplified())
            return i;
    }
    return -1;
}

} // namespace

class crvOpenSaveDialog::Private
{
public:
    QPointer<QWidget> hWnd;
    QString filter;
    qint32 filterIndex = 0;
    QString fileName;
    QString initialDirectory;
    QString title;
    QString defaultExtension;
    bool createPrompt = false;
    bool dontAddToRecent = false;
    bool enableSizing = true;
    bool fileMustExist = true;
    bool forceShowHidden = false;
    bool hideReadOnly = true;
    bool noChangeDir = false;
    bool noDereferenceLinks = false;
    bool noNetworkButton = false;
    bool noReadonlyReturn = false;
    bool noTestFileCreate = false;
    bool overwritePrompt = true;
    bool pathMustExist = true;
    bool readOnly = false;
    bool shareAware = false;
    bool noPlacesBar = false;
    bool classicStyle = false;
    bool allowMultiselect = false;
    Collection fileNames;
    CommonDialogErrorCodes lastDlgError = CommonDialogErrorCodes(0);
    QString fileTitle;
    QString fileExtension;
    bool extensionDifferent = false;
};

crvOpenSaveDialog::crvOpenSaveDialog()
    : d(std::make_unique<Private>())
{
    SetDefaults();
}

crvOpenSaveDialog::~crvOpenSaveDialog() = default;

void crvOpenSaveDialog::SetDefaults()
{
    *d = Private();
    d->filter = QStringLiteral("Все файлы|*.*");
}

bool crvOpenSaveDialog::ShowOpen()
{
    return show(false);
}

bool crvOpenSaveDialog::ShowSave()
{
    return show(true);
}

bool crvOpenSaveDialog::show(bool save)
{
    d->filter = nulSeparated(d->filter);
    // The platform counts filters from 1 and passes FilterIndex + 1.
    if (d->filterIndex == std::numeric_limits<qint32>::max())
        throw RuntimeError(RuntimeError::Overflow);
    if (!canShowDialogs()) {
        d->lastDlgError = cderrInitialization;
        return false;
    }

    FileNameRules rules;
    rules.save = save;
    rules.fileMustExist = d->fileMustExist;
    rules.pathMustExist = d->pathMustExist;
    rules.createPrompt = d->createPrompt;
    rules.overwritePrompt = d->overwritePrompt;
    rules.noReadonlyReturn = d->noReadonlyReturn;
    ModalDialog<CheckedFileDialog> dialog(d->hWnd.data(), rules);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    // The save dialog takes one name whatever the switch says; names that
    // need not exist are typed into a dialog for any file.
    if (d->allowMultiselect && !save)
        dialog->setFileMode(QFileDialog::ExistingFiles);
    else if (!save && d->fileMustExist && !d->createPrompt)
        dialog->setFileMode(QFileDialog::ExistingFile);
    else
        dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontResolveSymlinks, d->noDereferenceLinks);
    if (d->forceShowHidden)
        dialog->setFilter(dialog->filter() | QDir::Hidden);
    dialog->setWindowTitle(!d->title.isEmpty() ? d->title : save ? QStringLiteral("Save As") : QStringLiteral("Open"));
    dialog->setDefaultSuffix(d->defaultExtension);

    const QList<NameFilter> filters = nameFilters(d->filter);
    QStringList qtFilters;
    for (const NameFilter &filter : filters)
        qtFilters.append(filter.filter);
    dialog->setNameFilters(qtFilters);
    if (d->filterIndex >= 0 && d->filterIndex < filters.size())
        dialog->selectNameFilter(qtFilters.at(d->filterIndex));

    if (!d->initialDirectory.isEmpty())
        dialog->setDirectory(d->initialDirectory);
    if (!d->fileName.isEmpty())
        dialog->selectFile(d->fileName.left(d->allowMultiselect ? MultiCapacity : SingleCapacity));

    QCheckBox *chkReadOnly = nullptr;
    if (!d->hideReadOnly) {
        chkReadOnly = new QCheckBox(QStringLiteral("Open as &read-only"), dialog.get());
        chkReadOnly->setObjectName(QStringLiteral("chkReadOnly"));
        chkReadOnly->setChecked(d->readOnly);
        if (auto *grid = qobject_cast<QGridLayout *>(dialog->layout()))
            grid->addWidget(chkReadOnly, grid->rowCount(), 0, 1, -1);
    }

    if (!dialog.exec()) {
        d->lastDlgError = CommonDialogErrorCodes(0);
        return false;
    }

    const qsizetype index = indexOf(filters, dialog->selectedNameFilter());
    if (index >= 0)
        d->filterIndex = qint32(index);
    if (chkReadOnly)
        d->readOnly = chkReadOnly->isChecked();

    // What the dialog accepted, after the checks of the rules.
    const QStringList chosen = dialog->chosen();
    d->fileNames = Collection();
    if (d->allowMultiselect) {
        d->fileName.clear();
        d->fileTitle.clear();
        d->fileExtension.clear();
        d->extensionDifferent = false;
        for (const QString &file : std::as_const(chosen))
            d->fileNames.Add(file);
    } else {
        d->fileName = chosen.first();
        d->fileTitle = cs::csGetFileName(d->fileName);
        d->fileExtension = cs::csGetFileExtension(d->fileName);
        QString defaultExtension = d->defaultExtension;
        if (defaultExtension.startsWith(QLatin1Char('.')))
            defaultExtension.remove(0, 1);
        d->extensionDifferent
            = !defaultExtension.isEmpty() && d->fileExtension.compare(defaultExtension, Qt::CaseInsensitive) != 0;
    }
    d->lastDlgError = CommonDialogErrorCodes(0);
    return true;
}

CommonDialogErrorCodes crvOpenSaveDialog::LastDlgError() const
{
    return d->lastDlgError;
}

QString crvOpenSaveDialog::FileTitle() const
{
    return d->fileTitle;
}

QString crvOpenSaveDialog::FileExtension() const
{
    return d->fileExtension;
}

bool crvOpenSaveDialog::ExtensionDifferent() const
{
    return d->extensionDifferent;
}

Collection crvOpenSaveDialog::FileNames() const
{
    return d->fileNames;
}

TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, QWidget *, hWnd, hWnd)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, qint32, FilterIndex, filterIndex)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, CreatePrompt, createPrompt)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, DontAddToRecent, dontAddToRecent)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, EnableSizing, enableSizing)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, FileMustExist, fileMustExist)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, ForceShowHidden, forceShowHidden)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, HideReadOnly, hideReadOnly)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, NoChangeDir, noChangeDir)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, NoDereferenceLinks, noDereferenceLinks)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, NoNetworkButton, noNetworkButton)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, NoReadonlyReturn, noReadonlyReturn)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, NoTestFileCreate, noTestFileCreate)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, OverwritePrompt, overwritePrompt)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, PathMustExist, pathMustExist)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, ReadOnly, readOnly)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, ShareAware, shareAware)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, NoPlacesBar, noPlacesBar)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, ClassicStyle, classicStyle)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, bool, AllowMultiselect, allowMultiselect)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, QString, Filter, filter)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, QString, FileName, fileName)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, QString, InitialDirectory, initialDirectory)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, QString, Title, title)
TESSERA_DIALOG_PROPERTY(crvOpenSaveDialog, QString, DefaultExtension, defaultExtension)

} // namespace tessera
