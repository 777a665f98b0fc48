#pragma once

#include "support/csExport.h"

#include <QString>
#include <QUrl>

// File and folder helpers of the support library. Paths are Linux paths
// with "/" as the only separator; "." and ".." are resolved only by
// csGetFullFileName. Path texts are never checked against the disk except
// where a function says so.

namespace cs {

/// \a folder and \a name joined with exactly one "/" between them, whatever
/// slashes the folder ends with or the name begins with:
/// ("/home/u/", "/x.eml") gives "/home/u/x.eml", ("/", "tmp") gives "/tmp".
/// An empty folder gives the name unchanged, an empty name the folder.
CS_EXPORT QString csBuildFileName(const QString &folder, const QString &name);

/// The last component of the path; slashes at its end are ignored:
/// "/a/b.txt" and "/a/b.txt/" give "b.txt", "b.txt" gives itself, "/" gives "".
CS_EXPORT QString csGetFileName(const QString &path);

/// The folder part of the path, without a trailing "/" except for the root
/// folder itself: "/a/b.txt" gives "/a", "/b.txt" gives "/", "a/b" gives "a",
/// "b.txt" (no folder part) gives "". Slashes at the end of the path are
/// ignored, so "/a/b/" gives "/a". Suits csBuildFileName: joining the result
/// with csGetFileName gives the path back.
CS_EXPORT QString csGetFilePath(const QString &path);

/// The extension of the last component, without the dot: the text after its
/// last dot. "a.tar.gz" gives "gz"; "README", "name." and dot files such as
/// ".bashrc" (a leading dot names a hidden file, it starts no extension)
/// give ""; ".config.bak" gives "bak"; "/x.d/file" gives "".
CS_EXPORT QString csGetFileExtension(const QString &path);

/// The path made absolute against the current folder, with "." and ".."
/// resolved and no trailing "/" (except "/" itself). The path need not
/// exist; symbolic links are not followed. An empty path raises error 5.
CS_EXPORT QString csGetFullFileName(const QString &path);

/// The long form of a path. Linux keeps no short (8.3) names, so every path
/// is already long and comes back unchanged.
CS_EXPORT QString csGetLongFileName(const QString &path);

/// True when the path names an existing file that is not a folder (a
/// symbolic link counts as what it points to). False for folders, missing
/// paths and the empty path.
CS_EXPORT bool csIsFileExist(const QString &path);

/// True when the path names an existing folder; false for files, missing
/// paths and the empty path.
CS_EXPORT bool csIsDirectoryExist(const QString &path);

/// Creates the folder with every missing level above it. True when the
/// folder exists afterwards (also when it existed before); false when it
/// cannot be created, for instance because a file stands in the way, and
/// for the empty path.
CS_EXPORT bool csCreateComplexDirectory(const QString &path);

/// The user's special folder by the original platform's number: 5 documents,
/// 26 application data (the XDG data home), 39 pictures. Any other number
/// gives "". The folder is not created (tessera::SpecialFolder).
CS_EXPORT QString csGetSpecialFolder(qint32 folder);

/// Creates a new, empty file with a unique name in \a folder (the system's
/// temporary folder when empty) and returns its full path; the name is
/// \a prefix, six random letters or digits and ".tmp". The caller deletes
/// the file. Raises error 76 (path not found) when the folder does not
/// exist, 75 (path/file access error) when the file cannot be created in it,
/// and 5 when the prefix contains "/".
CS_EXPORT QString csGetTempFileName2(const QString &folder, const QString &prefix);

/// The file-system path of an item chosen in a folder chooser. The chooser
/// hands back a URL; a local folder gives its path (as csGetFullFileName
/// writes it), a virtual location without one (trash:, network places)
/// or an empty URL gives "".
CS_EXPORT QString csGetPathFromPIDL(const QUrl &item);

} // namespace cs
