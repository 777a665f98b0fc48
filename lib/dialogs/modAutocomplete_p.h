#pragma once

#include <QtGlobal>

class QWidget;

namespace tessera {

/// Attaches file-system completion to a text box (QLineEdit) or to the edit
/// field of an editable QComboBox: a QCompleter over a QFileSystemModel,
/// replacing any completer the field had. \a flags are the
/// AddAutoCompleteFlags of crvMain:
/// - files and folders are offered unless aacFileSystemDirs (32) asks for
///   folders only; aacDefault, aacFileSystem and aacFileSystemOnly all mean
///   the file system, as there is no URL history here;
/// - suggestions show in a pop-up list unless aacAutosuggestForceOff is set;
///   with the list off, aacAutoappendForceOn (without aacAutoappendForceOff)
///   completes inline instead, as Qt's completer offers one of the two at a
///   time; with both off the request is accepted and nothing is attached;
/// - aacUseTabs is accepted; Tab accepts the highlighted suggestion, as in
///   every Qt completer.
///
/// Returns false, attaching nothing, for a null widget, a widget of another
/// kind, a combo box without an edit field (a drop-down list), and for flags
/// that ask for the URL history or the URL list without the file system.
bool attachAutoComplete(QWidget *control, qint32 flags);

} // namespace tessera
