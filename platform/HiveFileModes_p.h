#pragma once

#include <QString>

namespace tessera {

/// Who may read a hive: only its owner (the user's hive, which holds
/// passwords among the settings) or every user of the machine (the machine's
/// hive, which its administrator writes for all).
enum class HiveReaders { Owner, Everyone };

/// Makes the missing folders of the hive \a fileName and the empty hive file
/// itself, with the modes its readers need whatever the umask: folders 0700
/// and the file 0600 for the owner, 0755 and 0644 for everyone. SQLite gives
/// the -wal and -shm files the mode of the hive file. Existing folders and
/// files are left as they are. False when a folder or the file cannot be made.
bool makeHiveFile(const QString &fileName, HiveReaders readers);

/// Takes every right of the group and of others away from an existing
/// owner-only hive: its folder, the hive file and its -wal, -shm and -journal
/// files. Nothing is given, so a read-only file stays read-only. What the
/// user does not own is left alone, and so is a folder with the sticky bit
/// (one shared by all, such as /tmp).
void tightenPrivateHive(const QString &fileName);

} // namespace tessera
