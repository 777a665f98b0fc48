#include "lib/dialogs/modAutocomplete_p.h"
#include "lib/system/crvMain.h"

#include <QComboBox>
#include <QCompleter>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>

namespace tessera {

bool attachAutoComplete(QWidget *control, qint32 flags)
{
    QLineEdit *edit = qobject_cast<QLineEdit *>(control);
    auto *combo = qobject_cast<QComboBox *>(control);
    if (combo)
        edit = combo->lineEdit();
    if (!edit)
        return false;

    constexpr qint32 fileSystem = aacFileSystem | aacFileSystemOnly | aacFileSystemDirs;
    if ((flags & aacURLAll) && !(flags & fileSystem))
        return false;

    const bool suggest = !(flags & aacAutosuggestForceOff);
    const bool append = (flags & aacAutoappendForceOn) && !(flags & aacAutoappendForceOff);
    if (!suggest && !append)
        return true;

    auto *completer = new QCompleter(edit);
    auto *model = new QFileSystemModel(completer);
    model->setFilter((flags & aacFileSystemDirs) ? QDir::Dirs | QDir::Drives | QDir::NoDotAndDotDot
                                                 : QDir::AllEntries | QDir::NoDotAndDotDot);
    model->setRootPath(QString());
    // The model reads folders in the background, one level per request, so a
    // path typed or pasted at once would find nothing: ask for the folder of
    // the text, and the completer completes again once it is read.
    QObject::connect(edit, &QLineEdit::textEdited, model, [model](const QString &text) {
        if (text.contains(u'/'))
            model->index(QFileInfo(text).path());
    });
    completer->setModel(model);
    completer->setCompletionMode(suggest ? QCompleter::PopupCompletion : QCompleter::InlineCompletion);
    if (combo)
        combo->setCompleter(completer);
    else
        edit->setCompleter(completer);
    return true;
}

} // namespace tessera
