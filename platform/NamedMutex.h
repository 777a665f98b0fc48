#pragma once

#include "platform/PlatformExport.h"

#include <QByteArray>
#include <QString>

namespace tessera {

/// A named mutex of the original platform, as a single-instance test uses it:
/// creating one tells whether the name already exists, and the name exists as
/// long as any handle to it, in any process, stays open.
///
/// Each name is a lock file. Creating probes it with an exclusive flock()
/// (it succeeds only when nobody holds the name) and then holds a shared
/// one; the kernel drops the lock when the handle is closed or its process
/// dies, however it dies. Probing is serialised by a lock on the folder so
/// that two creators cannot both see a new name.
///
/// Names and folders:
/// - "Global\\name" lives in the machine-wide folder /tmp/.sablewing-locks
///   (world-writable, sticky);
/// - "Local\\name" and a plain "name" (the platform puts plain names in the
///   session's namespace) live in the user's folder
///   $XDG_RUNTIME_DIR/sablewing-locks, or /tmp/.sablewing-locks-<uid> when
///   there is no runtime folder;
/// - when TESSERA_MUTEX_DIR is set, its sub-folders "Global" and "Local"
///   take their place (tests use it).
/// The prefixes are matched exactly, and names are case-sensitive, as on the
/// platform. Each name becomes one file name: its UTF-8 bytes with every
/// byte other than A-Z, a-z, 0-9, "-" and "_" written as %XX, so no two names
/// share a file and no name escapes its folder; a name whose encoding would
/// exceed 200 bytes is cut and ends in "~" and the SHA-256 of the name.
///
/// The empty name makes an unnamed mutex, which never exists beforehand.
///
///     NamedMutex mutex(appGuid);
///     const bool alone = mutex.lastError() != Win32Error::AlreadyExists
///         && mutex.lastError() != Win32Error::AccessDenied;
class TESSERA_PLATFORM_EXPORT NamedMutex
{
public:
    /// No handle.
    NamedMutex() noexcept = default;

    /// CreateMutexA (not initially owned) for \a name. lastError() tells the
    /// outcome: 0 for a new name, 183 (Win32Error::AlreadyExists) when
    /// another handle holds it, both with a handle; without a handle, 5
    /// (AccessDenied) when the lock file cannot be opened for reasons of
    /// access (permissions, a read-only folder, a symbolic link in its place),
    /// 3 (PathNotFound) when the folder cannot be made, 123 (InvalidName) for
    /// a bare namespace prefix, other codes for other failures.
    explicit NamedMutex(const QString &name);

    ~NamedMutex();
    NamedMutex(NamedMutex &&other) noexcept;
    NamedMutex &operator=(NamedMutex &&other) noexcept;
    NamedMutex(const NamedMutex &) = delete;
    NamedMutex &operator=(const NamedMutex &) = delete;

    /// True while this object holds a handle.
    bool isValid() const noexcept { return m_valid; }

    /// The platform's last error right after creation (see the constructor).
    qint32 lastError() const noexcept { return m_lastError; }

    /// CloseHandle: gives up this handle's claim on the name. The lock file
    /// is removed when this was the last holder.
    void close() noexcept;

    /// The lock file that stands for \a name; empty for the unnamed mutex, a
    /// bare prefix, or when the folder cannot be determined.
    static QString lockFilePath(const QString &name);

private:
    void swap(NamedMutex &other) noexcept;

    int m_fd = -1;
    bool m_valid = false;
    qint32 m_lastError = 0;
    QByteArray m_folder;
    QByteArray m_path;
};

} // namespace tessera
