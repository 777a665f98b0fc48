#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;
class QWidget;

namespace quillon {

/// A remembered list of texts (captions, folders) kept in a file of the
/// program's data folder and offered back through the chooser frmHistory.
///
/// Entries are non-empty, trimmed (csTrimEx) and unique without regard to
/// letter case; they keep the order of their first addition, oldest first.
/// The file holds the entries joined with one NUL character, as UTF-8; an
/// empty list is an empty file. Load, save and the chooser report their
/// failures to the user themselves.
///
///     CHistory history;
///     history.InitFileName({}, QStringLiteral("History.DAT"));
///     history.LoadHistory();
///     history.Add(caption);
///     history.SaveHistory();
class CHistory
{
public:
    /// The program's data folder: the user's application-data folder +
    /// "Sablewing" + "Quillon" (the title without "Corvid - ", in proper
    /// case). Not created here.
    static QString DataFolder();

    /// Sets FileName to \a OnlyFileName in \a DataPath, DataFolder() when
    /// empty; creates the folder with every missing level (a folder that
    /// cannot be created shows up later as a load or save error).
    void InitFileName(const QString &DataPath, const QString &OnlyFileName);
    /// The list's file; empty until InitFileName.
    QString FileName() const { return m_fileName; }

    /// Replaces the entries by the file's (none when it does not exist).
    /// Every piece between NULs is trimmed and empty ones are dropped;
    /// duplicates in the file all load. Shows "History file not defined."
    /// before InitFileName, and a read failure with crvErr as "Can't load
    /// history.".
    void LoadHistory();
    /// Replaces the file with the entries, whole or not at all. Shows
    /// "History file not defined." before InitFileName, and a write failure
    /// with crvErr as "Can't save history.".
    void SaveHistory();

    /// Appends every entry to \a LB in order, without clearing it first;
    /// then selects the first item when it has any.
    void FillListBox(QListWidget *LB) const;
    void FillComboBox(QComboBox *LB) const;

    qint32 Count() const { return qint32(m_items.size()); }
    /// Adds \a Text trimmed (csTrimEx) at the end, unless it is empty or an
    /// entry equal to it without regard to case is there already (that
    /// entry then keeps its place and its spelling).
    void Add(const QString &Text);
    /// The entry at \a Index (0-based). Raises RuntimeError 9 (subscript out
    /// of range) outside 0..Count() - 1.
    QString Item(qint32 Index) const;

    /// Lets the user choose an entry in a modal frmHistory over
    /// \a TextBox's window. When one is chosen, \a TextBox (a QLineEdit or a
    /// QPlainTextEdit) is emptied and then given the entry, so that its
    /// change handling runs even for the same text, takes the keyboard
    /// focus, and the result is true. An empty list shows "History empty."
    /// and gives false. Raises RuntimeError 13 when \a TextBox is no text
    /// box.
    bool ShowHistoryDialog(QWidget *TextBox);

private:
    QString m_fileName;
    QStringList m_items;
};

} // namespace quillon
