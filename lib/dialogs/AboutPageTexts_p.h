#pragma once

#include "lib/dialogs/AboutBoxFacts.h"

#include <QStringList>

// The texts of the about box's information pages.
namespace tessera::dialogs {

/// One line per module: the name padded to the longest name, two blanks,
/// the base address, two blanks, then blanks when the module sits at its
/// preferred address or that address in parentheses and two blanks, the
/// size left-aligned in 14 characters, two blanks and the file. Addresses
/// are csHexEx4's; all take the width of the widest, so the columns line
/// up (14 blanks for the preferred address when every address has 8 digits).
QStringList moduleLines(const QList<AboutModuleEntry> &modules);

/// The start time (local date, ", ", local time), the running time (to the
/// exit, or to \a now while the process runs), the kernel, user and total
/// processor times. Durations read h:mm:ss.ms, the milliseconds unpadded;
/// a zero time reads "N/A" and one that does not convert "*Error*".
QStringList processTimesTexts(const ProcessTimes &times, qint64 now);

/// The free physical memory with its share ("1.50 GB (37%)"), the swap in
/// use and the address space the process has reserved.
QStringList memoryTexts(const cs::MEMORYSTATUS &status);

} // namespace tessera::dialogs
