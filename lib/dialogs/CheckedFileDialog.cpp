#include "lib/dialogs/CheckedFileDialog_p.h"
#include "platform/MessageBox.h"

#include <QFileInfo>
#include <QLineEdit>

namespace tessera {

namespace {

// Read-only as the platform's attribute is: no write permission for the
// owner binds everybody, as the attribute binds administrators too.
bool readOnly(const QFileInfo &info)
{
    return !(info.permissions() & QFileDevice::WriteOwner) || !info.isWritable();
}

} // namespace

CheckedFileDialog::CheckedFileDialog(QWidget *parent, const FileNameRules &rules)
    : QFileDialog(parent)
    , m_rules(rules)
{
    setOption(QFileDialog::DontUseNativeDialog);
    // The rules ask instead of Qt's own question, through the seam.
    setOption(QFileDialog::DontConfirmOverwrite);
    setAcceptMode(rules.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
}

void CheckedFileDialog::accept()
{
    const QStringList files = selectedFiles();
    if (files.isEmpty())
        return;
    for (const QString &file : files) {
        const QFileInfo info(file);
        if (info.isDir()) {
            setDirectory(info.absoluteFilePath());
            if (auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                edit->clear();
            return;
        }
    }
    for (const QString &file : files) {
        if (!acceptable(file, files.size()))
            return;
    }
    m_chosen = files;
    QDialog::accept();
}

bool CheckedFileDialog::acceptable(const QString &fileName, qsizetype count)
{
    const QFileInfo info(fileName);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir()) {
        if (m_rules.pathMustExist || (!m_rules.save && m_rules.fileMustExist)) {
            tell(fileName, QStringLiteral("Path does not exist.\nCheck the path and try again."),
                 MessageBox::OkOnly | MessageBox::Exclamation);
            return false;
        }
        return true;
    }
    if (!info.exists()) {
        if (m_rules.createPrompt && count == 1) {
            return tell(fileName, QStringLiteral("This file does not exist.\nDo you want to create it?"),
                        MessageBox::YesNo | MessageBox::Question)
                == MessageBox::Yes;
        }
        if (m_rules.createPrompt || (!m_rules.save && m_rules.fileMustExist)) {
            tell(fileName, QStringLiteral("File not found.\nCheck the file name and try again."),
                 MessageBox::OkOnly | MessageBox::Exclamation);
            return false;
        }
    }
    if (m_rules.noReadonlyReturn) {
        if (info.exists() && readOnly(info)) {
            tell(fileName, QStringLiteral("This file is set to read-only.\nTry again with a different file name."),
                 MessageBox::OkOnly | MessageBox::Exclamation);
            return false;
        }
        if (readOnly(folder)) {
            tell(fileName, QStringLiteral("The folder is write-protected.\nTry again with a different file name."),
                 MessageBox::OkOnly | MessageBox::Exclamation);
            return false;
        }
    }
    if (info.exists() && m_rules.save && m_rules.overwritePrompt) {
        return MessageBox::show(fileName + QStringLiteral(" already exists.\nDo you want to replace it?"),
                                MessageBox::YesNo | MessageBox::Exclamation | MessageBox::DefaultButton2, windowTitle(),
                                this)
            == MessageBox::Yes;
    }
    return true;
}

qint32 CheckedFileDialog::tell(const QString &fileName, const QString &sentence, qint32 style)
{
    return MessageBox::show(fileName + QLatin1Char('\n') + sentence, style, windowTitle(), this);
}

} // namespace tessera
