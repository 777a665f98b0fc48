#pragma once

#include <QStringList>

#include <cstdio>
#include <optional>

namespace quillon {

/// Answers "quillon --help" (-h) and "quillon --version" (-v) on the
/// terminal before any window opens: with one of them as the only argument
/// it writes the usage or the version to \a out and returns the exit status
/// (0). The whole command line names a picture first, so a file of that name
/// that exists is opened instead, and anything else returns std::nullopt.
/// \a arguments are the program's arguments without the program's name.
std::optional<int> answerCommandLineRequest(const QStringList &arguments, std::FILE *out);

} // namespace quillon
