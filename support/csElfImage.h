#pragma once

#include "support/csExport.h"

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// The load address a module asks for. The platform's modules named a
// preferred base address and were moved when it was taken; ELF executables
// name one in their first loadable segment, and shared objects built as
// position-independent code name none (0) and go wherever the loader puts
// them.
namespace cs {

/// The address that the ELF image \a image asks to be loaded at: the address
/// of its first loadable segment, rounded down to \a pageSize (a power of
/// two), which is where its first mapping then starts. 0 when the image names
/// none. \a image holds the start of the file, at least up to the end of its
/// program headers. Nothing when the bytes are no ELF executable or shared
/// object (of either class and byte order), are cut short, or describe
/// program headers out of any sane bounds.
CS_EXPORT std::optional<quint64> csElfPreferredAddress(const QByteArray &image, quint64 pageSize);

/// The preferred address of the module loaded at \a baseAddress in process
/// \a processId (0: the calling process), read from its file. A module that
/// names no address is where it asked to be, so the answer is then
/// \a baseAddress itself. Raises 5 when the process has no module at
/// \a baseAddress, 53 when the module's file cannot be read, and 321
/// (invalid file format) when it is no ELF image.
CS_EXPORT quint64 csGetModulePreferredBaseAddr(quint32 processId, quint64 baseAddress);

} // namespace cs
