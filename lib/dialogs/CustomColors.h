#pragma once

#include "lib/TesseraExport.h"

#include <QString>

#include <memory>

namespace tessera {

/// The sixteen custom colours of the colour chooser (crvChooseColorDialog),
/// each a 0x00BBGGRR value, with a one-line text form for storing them. A
/// new set holds sixteen zeros.
///
///     settings.setValue("Colours", dialog.CustomColors()->toString());
///     dialog.CustomColors()->fromString(settings.value("Colours").toString());
class TESSERA_EXPORT CustomColors
{
public:
    CustomColors();
    ~CustomColors();
    CustomColors(const CustomColors &) = delete;
    CustomColors &operator=(const CustomColors &) = delete;

    /// The colour in slot \a Index, 0 to 15; any other index raises the
    /// out-of-range error 9.
    qint32 Item(qint32 Index) const;
    void setItem(qint32 Index, qint32 Color);

    /// Always 16.
    qint32 Count() const;

    /// The sixteen colours as eight-digit upper-case hexadecimal fields
    /// separated by single spaces: "00000000 0000FF00 ...".
    QString toString() const;

    /// Reads colours back from text: the fields, separated by spaces, go in
    /// order into slots 0, 1, ...; runs of spaces separate like one. A field
    /// that is not hexadecimal or lies outside 0 to FFFFFF stores 0 and
    /// reading goes on. Reading stops after slot 15 or at the end of the
    /// text; the remaining slots keep their colours. Returns false, changing
    /// nothing, for an empty text; true otherwise.
    bool fromString(const QString &Colors);

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
