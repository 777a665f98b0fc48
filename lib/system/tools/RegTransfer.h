#pragma once

#include "lib/system/tools/RegFile.h"

#include <QList>
#include <QString>

#include <optional>

namespace tessera::regtool {

/// Moves whole keys between the registry and RegKey lists (RegFile's model).
namespace RegTransfer {

/// The key \a path with everything below it, values with their types and
/// bytes as stored: the key first, then each sub-key's tree in the
/// registry's order. Names are spelled as stored. None, with the reason in
/// \a error, when a key cannot be read.
std::optional<QList<RegKey>> exportTree(const RegKeyPath &path, QString *error);

/// Creates every key and writes every value of \a keys in one transaction:
/// all of them, or (false, with the reason in \a error) none.
bool importKeys(const QList<RegKey> &keys, QString *error);

} // namespace RegTransfer

} // namespace tessera::regtool
