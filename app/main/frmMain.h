#pragma once

#include "app/common/LineEditTextHolder.h"
#include "app/history/CHistory.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quillon {

class crvTBHooks;

/// Quillon's main window "Quillon :: Creator mode": a picture (txtFileName),
/// a caption (txtCaption), a sender (cboFromEMail) and a posting address
/// (cboEMail) from remembered lists and an output folder (txtPath) make one
/// post mail when cmdCreatePhoto is pressed; lblResult then lights green or
/// red. cmdBatch opens batch mode (frmBatch) over it.
///
/// The window reads the program's settings and its two histories when it is
/// made and writes them back when it closes. Keys: Shift+F1 opens the about
/// box, Esc closes the window, Shift+Insert takes a picture path from the
/// clipboard, Alt+Enter and F5 open the picture with the desktop's viewer.
/// Pictures dropped on it from a file manager go to the picture box as a
/// chosen one does.
class frmMain : public QWidget
{
    Q_OBJECT

public:
    /// \a CommandLine, trimmed, becomes the picture path when it names an
    /// existing file.
    explicit frmMain(const QString &CommandLine = {}, QWidget *parent = nullptr);
    ~frmMain() override;

    /// The remembered captions ("History.DAT") and output folders ("Path
    /// History.DAT"); batch mode adds to them too.
    CHistory History;
    CHistory PathHistory;

    /// What batch mode composes with: the sender, the posting address, the
    /// caption (lines joined with CR LF) and the output-folder box.
    QString FromEMailText() const;
    QString EMailText() const;
    QString CaptionText() const;
    TextHolder &FolderBox() { return m_folderBox; }

    /// Clicks on the result light since the window opened.
    qint32 ResultClickCount() const { return m_resultClickCount; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void LoadSettings(const QString &CommandLine);
    void SaveSettings();
    void CreatePhoto();
    void BrowsePictureFile();
    void BrowseFolder();
    void ShowBatch();
    void PictureChosen(const QString &Path);
    void UpdateCreateButton();
    void ResultClick();
    void PaintResult(const QColor &color);
    bool PreviewKey(QKeyEvent *event);

    QLineEdit *m_txtFileName;
    QPlainTextEdit *m_txtCaption;
    QComboBox *m_cboFromEMail;
    QComboBox *m_cboEMail;
    QLineEdit *m_txtPath;
    QCheckBox *m_chkQuickMode;
    QPushButton *m_cmdCreatePhoto;
    QLabel *m_lblResult;
    crvTBHooks *m_captionHooks;
    LineEditTextHolder m_folderBox;
    qint32 m_resultClickCount = 0;
    bool m_unloaded = false;
};

} // namespace quillon
