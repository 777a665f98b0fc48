#pragma once

#include "lib/TesseraExport.h"
#include "lib/dialogs/CommonDialogErrorCodes.h"
#include "platform/Collection.h"

#include <QString>

#include <memory>

class QWidget;

namespace tessera {

/// The file open and save dialog: a host sets the properties, calls ShowOpen
/// or ShowSave, and reads the chosen file or files back. The dialog is Qt's
/// own widget file dialog, modal to hWnd.
///
/// Filter holds caption and pattern pairs separated by "|" ("Text files
/// (*.txt)|*.txt|All files|*.*"); patterns of one pair are separated by ";".
/// A call converts Filter in place to its NUL-separated form ending in two
/// NULs; the list ends at the first empty entry, so further calls show the
/// same list. "*.*" matches every file, as on the platform.
///
/// Switches with a counterpart in the dialog: FileMustExist (open dialog
/// only: only existing files are accepted), PathMustExist, CreatePrompt,
/// OverwritePrompt (save dialog only), NoReadonlyReturn, HideReadOnly and
/// ReadOnly (the "Open as read-only" check box, read back on success),
/// ForceShowHidden, AllowMultiselect (open dialog only) and
/// NoDereferenceLinks (symbolic links are returned, not their targets). The
/// dialog checks a chosen name as the platform's does (its folder, whether
/// it exists, whether it is read-only) and asks or refuses through
/// MessageBox::show; a refused name leaves the dialog open. The dialog
/// never changes the process's current folder, so NoChangeDir always holds.
/// The other switches are kept and read back but change nothing here.
///
///     crvOpenSaveDialog dlg;
///     dlg.setFilter(QStringLiteral("Pictures|*.jpg;*.png|All files|*.*"));
///     if (dlg.ShowOpen())
///         open(dlg.FileName());
class TESSERA_EXPORT crvOpenSaveDialog
{
public:
    crvOpenSaveDialog();
    ~crvOpenSaveDialog();
    crvOpenSaveDialog(const crvOpenSaveDialog &) = delete;
    crvOpenSaveDialog &operator=(const crvOpenSaveDialog &) = delete;

    /// Extended error of the last call: 0 after success and after a cancel,
    /// cderrInitialization when no dialog can be shown (no QApplication).
    CommonDialogErrorCodes LastDlgError() const;
    /// The chosen file's name without its folder (single selection).
    QString FileTitle() const;
    /// The chosen file's extension without the dot (single selection).
    QString FileExtension() const;
    /// Whether the chosen extension differs, ignoring case, from a non-empty
    /// DefaultExtension (single selection).
    bool ExtensionDifferent() const;

    QWidget *hWnd() const;
    QString Filter() const;
    /// Zero-based index of the selected filter pair, in and out.
    qint32 FilterIndex() const;
    /// Initial name in; the chosen full path out (empty after a multiple
    /// selection).
    QString FileName() const;
    QString InitialDirectory() const;
    QString Title() const;
    QString DefaultExtension() const;
    bool CreatePrompt() const;
    bool DontAddToRecent() const;
    bool EnableSizing() const;
    bool FileMustExist() const;
    bool ForceShowHidden() const;
    bool HideReadOnly() const;
    bool NoChangeDir() const;
    bool NoDereferenceLinks() const;
    bool NoNetworkButton() const;
    bool NoReadonlyReturn() const;
    bool NoTestFileCreate() const;
    bool OverwritePrompt() const;
    bool PathMustExist() const;
    bool ReadOnly() const;
    bool ShareAware() const;
    bool NoPlacesBar() const;
    bool ClassicStyle() const;
    bool AllowMultiselect() const;
    /// The full paths chosen with AllowMultiselect, in a new collection after
    /// every successful call; empty after a single selection.
    Collection FileNames() const;

    void sethWnd(QWidget *hWnd);
    void setFilter(const QString &Filter);
    void setFilterIndex(qint32 FilterIndex);
    void setFileName(const QString &FileName);
    void setInitialDirectory(const QString &InitialDirectory);
    void setTitle(const QString &Title);
    void setDefaultExtension(const QString &DefaultExtension);
    void setCreatePrompt(bool CreatePrompt);
    void setDontAddToRecent(bool DontAddToRecent);
    void setEnableSizing(bool EnableSizing);
    void setFileMustExist(bool FileMustExist);
    void setForceShowHidden(bool ForceShowHidden);
    void setHideReadOnly(bool HideReadOnly);
    void setNoChangeDir(bool NoChangeDir);
    void setNoDereferenceLinks(bool NoDereferenceLinks);
    void setNoNetworkButton(bool NoNetworkButton);
    void setNoReadonlyReturn(bool NoReadonlyReturn);
    void setNoTestFileCreate(bool NoTestFileCreate);
    void setOverwritePrompt(bool OverwritePrompt);
    void setPathMustExist(bool PathMustExist);
    void setReadOnly(bool ReadOnly);
    void setShareAware(bool ShareAware);
    void setNoPlacesBar(bool NoPlacesBar);
    void setClassicStyle(bool ClassicStyle);
    void setAllowMultiselect(bool AllowMultiselect);

    /// Shows the open (ShowOpen) or save (ShowSave) dialog. True when the
    /// user chose a file; false after a cancel or a failure, leaving
    /// FileName, FileNames and the other results as they were. Raises the
    /// overflow error 6 for a FilterIndex of 2147483647.
    bool ShowOpen();
    bool ShowSave();

    /// Puts every property back to its default: Filter "Все файлы|*.*",
    /// EnableSizing, FileMustExist, HideReadOnly, OverwritePrompt and
    /// PathMustExist set, everything else empty, 0 or false.
    void SetDefaults();

private:
    bool show(bool save);

    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
