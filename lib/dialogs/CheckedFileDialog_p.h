#pragma once

#include <QFileDialog>
#include <QStringList>

namespace tessera {

/// What the platform's open and save dialogs check before they take a name.
struct FileNameRules {
    bool save = false;
    bool fileMustExist = true; // open dialog only
    bool pathMustExist = true;
    bool createPrompt = false;
    bool overwritePrompt = true; // save dialog only
    bool noReadonlyReturn = false;
};

/// Qt's widget file dialog that checks the chosen names by FileNameRules
/// before it accepts them, asking and refusing through the message-box seam
/// (MessageBox::show) as the platform's dialog does, in this order:
///
/// - a name in a missing folder is refused with "Path does not exist" when
///   PathMustExist (or, in the open dialog, FileMustExist) is set;
/// - a missing file: with CreatePrompt the user is asked "Do you want to
///   create it?" (one new name only among several); without it the open
///   dialog refuses it with "File not found" when FileMustExist is set, and
///   the save dialog takes it;
/// - with NoReadonlyReturn a read-only file (no write permission for its
///   owner, or none for the user) and any name in a write-protected folder
///   are refused;
/// - the save dialog asks before it overwrites an existing file when
///   OverwritePrompt is set; No is the default answer.
///
/// A refused name leaves the dialog open. A folder, or "..", is entered.
class CheckedFileDialog : public QFileDialog
{
public:
    CheckedFileDialog(QWidget *parent, const FileNameRules &rules);

    /// The names the dialog accepted; empty until it has.
    QStringList chosen() const { return m_chosen; }

protected:
    void accept() override;

private:
    bool acceptable(const QString &fileName, qsizetype count);
    /// Shows \a sentence after \a fileName in a box of \a style; its answer.
    qint32 tell(const QString &fileName, const QString &sentence, qint32 style);

    FileNameRules m_rules;
    QStringList m_chosen;
};

} // namespace tessera
