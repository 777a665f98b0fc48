#pragma once

#include "platform/Registry.h"

#include <QString>

#include <optional>

namespace tessera::regtool {

/// A full key path as people write it: a root name, long ("HKEY_CURRENT_USER")
/// or short ("HKCU"), in any case, then optionally "\" and a path below it.
struct RegKeyPath {
    HKEY root = 0;
    QString subKey; // without trailing backslashes; empty for the root itself

    /// The path with the root's long name, as .reg files and listings show it.
    QString fullName() const;
    /// The path of the sub-key \a name below this one.
    RegKeyPath child(const QString &name) const;

    /// None for an unknown root or a path with an empty name in it.
    static std::optional<RegKeyPath> parse(const QString &text);
};

} // namespace tessera::regtool
