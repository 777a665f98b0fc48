#pragma once

#include <QString>

namespace quillon {

/// The program's name and version, as its message boxes, its X-Mailer line,
/// its window captions and its data folder use them.
class ProgramInfo
{
public:
    ProgramInfo() = delete;

    /// "Corvid - Quillon".
    static QString Title() { return QStringLiteral("Corvid - Quillon"); }

    static constexpr qint32 Major = 1;
    static constexpr qint32 Minor = 0;
    static constexpr qint32 Revision = 39;
};

} // namespace quillon
