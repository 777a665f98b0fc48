#pragma once

#include "lib/TesseraExport.h"

#include <QString>

#include <memory>

namespace tessera {

/// The library's folder window (frmBrowseForFolder): an editable path with
/// folder-name completion, a button that opens the folder chooser
/// (crvBrowseForFolderDialog), and the offer to create a folder that does
/// not exist yet. The window is modal to the active window.
///
///     crvBrowseForFolderDialog2 dlg;
///     dlg.setDescription(QStringLiteral("Choose directory for EML files saving."));
///     dlg.setPath(txtFolder->text());
///     if (dlg.Show())
///         txtFolder->setText(dlg.Path());
class TESSERA_EXPORT crvBrowseForFolderDialog2
{
public:
    crvBrowseForFolderDialog2();
    ~crvBrowseForFolderDialog2();
    crvBrowseForFolderDialog2(const crvBrowseForFolderDialog2 &) = delete;
    crvBrowseForFolderDialog2 &operator=(const crvBrowseForFolderDialog2 &) = delete;

    /// Offer to create a missing folder (with every missing level); without
    /// it a missing folder is refused.
    bool AskToCreateFolder() const;
    void setAskToCreateFolder(bool AskToCreateFolder);
    /// Shown above the path; empty hides it and shortens the window.
    QString Description() const;
    void setDescription(const QString &Description);
    /// The initial path, and the chosen folder's full path after Show.
    QString Path() const;
    void setPath(const QString &Path);
    /// From the folder chooser when it was used in the window; empty and 0
    /// otherwise.
    QString DisplayName() const;
    qint32 ImageIndex() const;
    /// Passed on to the folder chooser.
    bool UseNewUI() const;
    void setUseNewUI(bool UseNewUI);

    /// Shows the window. True when the user chose a folder (Path,
    /// DisplayName and ImageIndex describe it); false, the properties
    /// unchanged, after a cancel or when no window can be shown.
    bool Show();

    /// Puts every property back to its default: AskToCreateFolder and
    /// UseNewUI set, everything else empty or 0.
    void SetDefaults();

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
