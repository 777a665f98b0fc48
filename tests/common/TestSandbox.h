#pragma once

#include <QString>

namespace corvid::test {

/// The private folder this test process runs in. The test main points HOME,
/// the XDG folders, the hive and lock-file folders of the platform layer and
/// the machine's autostart folder below it before anything else runs, and
/// removes it at exit.
QString sandboxDir();

/// Sets the sandbox's environment up under \a root (created if missing).
/// Child processes started by a test inherit it.
void enterSandbox(const QString &root);

/// Full path of a program built by this project (tools, helper processes).
QString builtProgram(const QString &name);

/// Full path of a file in the source tree (test data, shipped pictures).
QString sourceFile(const QString &relativePath);

} // namespace corvid::test
