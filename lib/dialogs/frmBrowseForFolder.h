#pragma once

#include "lib/TesseraExport.h"

#include <QDialog>
#include <QString>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tessera {

/// The folder window of crvBrowseForFolderDialog2 ("Обзор папок"): the
/// description lblDescription, the path box txtPath with folder-name
/// completion, and the buttons cmdBrowse (the folder chooser), cmdOk and
/// cmdCancel.
///
/// cmdOk is enabled only while txtPath holds more than blanks. Pressing it
/// trims the path; an existing folder closes the window with Ok set and
/// txtPath holding the folder's full path. A missing folder is, with
/// AskToCreateFolder, offered for creation (every missing level is made);
/// without it, or when creation fails, a message says so and the window
/// stays open. Messages go through MessageBox::show.
class TESSERA_EXPORT frmBrowseForFolder : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(bool NewUI READ NewUI WRITE setNewUI)
    Q_PROPERTY(bool AskToCreateFolder READ AskToCreateFolder WRITE setAskToCreateFolder)
    Q_PROPERTY(bool Ok READ Ok)
    Q_PROPERTY(qint32 ImageIndex READ ImageIndex)
    Q_PROPERTY(QString DisplayName READ DisplayName)

public:
    explicit frmBrowseForFolder(QWidget *parent = nullptr);
    ~frmBrowseForFolder() override;

    QLabel *lblDescription() const;
    QLineEdit *txtPath() const;
    QPushButton *cmdBrowse() const;
    QPushButton *cmdOk() const;
    QPushButton *cmdCancel() const;

    /// Shows \a Description above the path; an empty one hides the label and
    /// moves the path, the buttons and the window's bottom edge up by the
    /// label's top and height plus 45 twips.
    void setDescription(const QString &Description);

    /// Passed on to the folder chooser as its UseNewUI.
    bool NewUI() const;
    void setNewUI(bool NewUI);
    bool AskToCreateFolder() const;
    void setAskToCreateFolder(bool AskToCreateFolder);
    /// Set when the window closed with a folder.
    bool Ok() const;
    /// From the folder chooser, when it was used.
    qint32 ImageIndex() const;
    QString DisplayName() const;

public Q_SLOTS:
    void cmdBrowse_Click();
    void cmdOk_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
