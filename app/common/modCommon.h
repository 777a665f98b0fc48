#pragma once

#include <QString>

class QComboBox;

/// The list texts and window captions the program's windows share. A list
/// text holds one entry per line, lines joined with CR LF, as the address
/// lists are stored in the settings and edited in frmEditEMail.
namespace quillon::modCommon {

/// The items of \a Combo, each trimmed (csTrimEx), joined with CR LF, with
/// no CR LF at either end. An empty box gives "".
QString ComboToText(const QComboBox *Combo);

/// Clears \a Combo and fills it with the lines of \a Text (split at each
/// CR LF), each trimmed (csTrimEx), empty ones left out, duplicates kept, in
/// order; then selects the first item when there is one.
void TextToCombo(const QString &Text, QComboBox *Combo);

/// A window caption: "Quillon", the program's title without "Corvid - ";
/// with a non-empty \a Text, "Quillon :: " + \a Text.
QString MakeCaption(const QString &Text);

} // namespace quillon::modCommon
