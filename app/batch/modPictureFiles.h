#pragma once

#include <QString>
#include <QStringList>

/// Which files of a folder batch mode turns into post mails; the
/// command-line tool takes the same ones, in the same order.
namespace quillon::modPictureFiles {

/// Whether \a FileName's extension (csGetFileExtension, any case) is one of
/// jpg, jpeg, jpe, jfif, gif, png, bmp, dib and rle. A name without an
/// extension is no picture.
bool IsPictureFile(const QString &FileName);

/// The names, without folder, of the picture files in \a Folder: plain
/// files (or links to them), hidden and read-only ones included; folders,
/// broken links, pipes and devices left out. Sorted with
/// crvSort::QuickSortC_ByString (by UTF-16 code, case-sensitive).
///
/// Raises RuntimeError 76 (path not found) when the folder cannot be
/// opened and 75 (path/file access error) when reading it fails.
QStringList ListPictureFiles(const QString &Folder);

} // namespace quillon::modPictureFiles
