#include "app/history/CHistory.h"

#include "app/common/ProgramInfo.h"
#include "app/history/frmHistory.h"
#include "app/mail/FileAccess.h"
#include "lib/errors/crvErr.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "support/csFiles.h"
#include "support/csText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <memory>

namespace quillon {

namespace {

constexpr QChar Separator(0);

// Proper case: the first letter of each blank-separated word upper case,
// the rest lower case.
QString properCase(const QString &text)
{
    QString result = text.toLower();
    bool wordStart = true;
    for (QChar &c : result) {
        if (wordStart)
            c = c.toUpper();
        wordStart = c.isSpace();
    }
    return result;
}

bool fileNameMissing(const QString &fileName)
{
    if (!fileName.isEmpty())
        return false;
    tessera::MessageBox::show(QStringLiteral("History file not defined."), tessera::MessageBox::Critical,
                              ProgramInfo::Title());
    return true;
}

void setBoxText(QWidget *box, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->setText(text);
    else
        static_cast<QPlainTextEdit *>(box)->setPlainText(text);
}

} // namespace

QString CHistory::DataFolder()
{
    const QLatin1String prefix("Corvid - ");
    QString name = ProgramInfo::Title();
    if (name.startsWith(prefix, Qt::CaseInsensitive))
        name.remove(0, prefix.size());
    const QString maker = cs::csBuildFileName(cs::csGetSpecialFolder(26), QStringLiteral("Sablewing"));
    return cs::csBuildFileName(maker, properCase(name));
}

void CHistory::InitFileName(const QString &DataPath, const QString &OnlyFileName)
{
    const QString folder = DataPath.isEmpty() ? DataFolder() : DataPath;
    cs::csCreateComplexDirectory(folder);
    m_fileName = cs::csBuildFileName(folder, OnlyFileName);
}

void CHistory::LoadHistory()
{
    if (fileNameMissing(m_fileName))
        return;
    m_items.clear();
    if (!cs::csIsFileExist(m_fileName))
        return;
    try {
        const QString text = FileAccess::ReadFileText(m_fileName);
        for (const QString &piece : text.split(Separator)) {
            const QString entry = cs::csTrimEx(piece);
            if (!entry.isEmpty())
                m_items.append(entry);
        }
    } catch (const tessera::RuntimeError &e) {
        tessera::crvErr::global().ErrorDisplay(e, 16, ProgramInfo::Title(), QStringLiteral("Can't load history."));
    }
}

void CHistory::SaveHistory()
{
    if (fileNameMissing(m_fileName))
        return;
    try {
        FileAccess::WriteFileText(m_fileName, m_items.join(Separator));
    } catch (const tessera::RuntimeError &e) {
        tessera::crvErr::global().ErrorDisplay(e, 16, ProgramInfo::Title(), QStringLiteral("Can't save history."));
    }
}

void CHistory::FillListBox(QListWidget *LB) const
{
    LB->addItems(m_items);
    if (LB->count() > 0)
        LB->setCurrentRow(0);
}

void CHistory::FillComboBox(QComboBox *LB) const
{
    LB->addItems(m_items);
    if (LB->count() > 0)
        LB->setCurrentIndex(0);
}

void CHistory::Add(const QString &Text)
{
    const QString entry = cs::csTrimEx(Text);
    if (entry.isEmpty() || m_items.contains(entry, Qt::CaseInsensitive))
        return;
    m_items.append(entry);
}

QString CHistory::Item(qint32 Index) const
{
    if (Index < 0 || Index >= m_items.size())
        throw tessera::RuntimeError(tessera::RuntimeError::SubscriptOutOfRange);
    return m_items.at(Index);
}

bool CHistory::ShowHistoryDialog(QWidget *TextBox)
{
    if (!qobject_cast<QLineEdit *>(TextBox) && !qobject_cast<QPlainTextEdit *>(TextBox))
        throw tessera::RuntimeError(tessera::RuntimeError::TypeMismatch);
    if (m_items.isEmpty()) {
        tessera::MessageBox::show(QStringLiteral("History empty."), tessera::MessageBox::Information,
                                  ProgramInfo::Title());
        return false;
    }
    auto chooser = std::make_unique<frmHistory>(TextBox->window());
    FillListBox(chooser->lstHistory());
    chooser->exec();
    if (!chooser->Ok)
        return false;
    const QListWidgetItem *chosen = chooser->lstHistory()->currentItem();
    setBoxText(TextBox, QString());
    setBoxText(TextBox, chosen ? chosen->text() : QString());
    TextBox->setFocus();
    return true;
}

} // namespace quillon
