#pragma once

// zlib, loaded at run time rather than linked, so that "no zlib" stays a real
// state the library reports (crvGZipArchive::IsLibraryAvailable) instead of a
// program that cannot start. Internal to the library.

#include "lib/TesseraExport.h"

#include <QByteArray>

#include <memory>
#include <optional>

namespace tessera::detail {

/// One hold on the zlib module: "libz.so.1" by plain name (the system's
/// search), else the file of that name in the folder of the library's own
/// file. Released when the object goes.
class ZLibLibrary
{
public:
    ZLibLibrary();
    ~ZLibLibrary();
    ZLibLibrary(const ZLibLibrary &) = delete;
    ZLibLibrary &operator=(const ZLibLibrary &) = delete;

    /// Whether zlib's zlibVersion could be found and called.
    bool isAvailable() const;

    /// Inflates the raw deflate stream \a input into exactly \a expected
    /// bytes. Empty when zlib is missing, when the stream is corrupt or ends
    /// early, when it holds more than \a expected bytes, or when input is left
    /// over after its end. \a expected must be at least 0.
    std::optional<QByteArray> inflateRaw(const QByteArray &input, qsizetype expected) const;

private:
    struct Functions;
    void *m_module = nullptr;
    std::unique_ptr<const Functions> m_functions;
};

/// The module name loaded from now on in this process ("libz.so.1" unless
/// changed). Tests give a name that no folder holds to see the library go
/// without zlib. Returns the previous name.
TESSERA_EXPORT QByteArray setZLibModuleName(const QByteArray &name);

} // namespace tessera::detail
