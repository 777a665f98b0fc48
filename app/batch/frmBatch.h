#pragma once

#include "app/history/CHistory.h"

#include <QDialog>

class QKeyEvent;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quillon {

class frmMain;

/// Batch mode: every picture of one folder (txtPath) listed in lstFiles,
/// all selected; cmdCreatePhoto ("Create posts") writes one post mail per
/// selected picture with the sender, posting address, caption and output
/// folder of the main window, deselecting each finished one. A picture
/// that fails offers Abort, Retry and Ignore.
///
/// The window is made for one showing (modal, through crvMain's
/// ShowModalForm) and reads its folder ("Last batch folder") and its folder
/// history ("Batch Path History.DAT") when made; it writes them back when
/// it closes. Keys: F5 lists the folder again, Esc closes, Enter in txtPath
/// lists the typed folder, Ctrl+Enter there creates the posts of the listed
/// folder, Ctrl+A in lstFiles selects every picture. A folder dropped on it
/// from a file manager is listed.
class frmBatch : public QDialog
{
    Q_OBJECT

public:
    explicit frmBatch(frmMain &Main, QWidget *parent = nullptr);
    ~frmBatch() override;

    /// Lists the pictures of \a Path (trimmed; an empty path changes
    /// nothing): a missing folder and an unreadable one are reported, and
    /// leave the list empty. CurrentPath becomes the trimmed path either way.
    void SetCurrentPath(QString Path);
    /// The folder whose pictures are listed.
    QString CurrentPath() const { return m_currentPath; }

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void UpdateBatchState();
    void CreatePosts();
    bool CreatePost(const QString &Path);
    void Browse();
    bool PreviewKey(QKeyEvent *event);

    frmMain &m_main;
    QLineEdit *m_txtPath;
    QListWidget *m_lstFiles;
    QPushButton *m_cmdCreatePhoto;
    CHistory m_batchPathHistory;
    QString m_currentPath;
    bool m_unloaded = false;
};

} // namespace quillon
