#pragma once

#include "lib/TesseraExport.h"

#include <QString>

#include <memory>

class QWidget;

namespace tessera {

/// The folder chooser: Qt's own widget file dialog showing folders only,
/// modal to hWnd, with Description as its caption ("Обзор папок" when
/// empty). Without UseNewUI the dialog offers no new-folder button and
/// leaves the folders as they are.
///
///     crvBrowseForFolderDialog dlg;
///     dlg.setPath(QDir::homePath());
///     if (dlg.Show())
///         use(dlg.Path());
class TESSERA_EXPORT crvBrowseForFolderDialog
{
public:
    crvBrowseForFolderDialog();
    ~crvBrowseForFolderDialog();
    crvBrowseForFolderDialog(const crvBrowseForFolderDialog &) = delete;
    crvBrowseForFolderDialog &operator=(const crvBrowseForFolderDialog &) = delete;

    QWidget *hWnd() const;
    void sethWnd(QWidget *hWnd);
    QString Description() const;
    void setDescription(const QString &Description);
    /// The folder shown first (when not empty), and the chosen folder's full
    /// path after Show.
    QString Path() const;
    void setPath(const QString &Path);
    /// The chosen folder's name ("/" for the root folder).
    QString DisplayName() const;
    /// Always 0: there is no system image list here.
    qint32 ImageIndex() const;
    bool UseNewUI() const;
    void setUseNewUI(bool UseNewUI);

    /// Shows the chooser. True when the user chose a folder with a path;
    /// false, Path unchanged, after a cancel or when no dialog can be shown.
    bool Show();

    /// Puts every property back to its default: UseNewUI set, everything
    /// else empty or 0.
    void SetDefaults();

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
