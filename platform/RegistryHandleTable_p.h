#pragma once

#include <QString>

namespace tessera {

/// What a registry handle stands for.
struct OpenKey {
    enum class View : quint8 {
        User, // the current user's hive
        Machine, // the machine hive
        Classes // Software\Classes of the user's hive over the machine's
    };
    View view = View::User;
    qint64 id = 0; // key id in the hive file (User and Machine views)
    QString path; // folded path below the hive's root (Classes: below Software\Classes)
    QString spelled; // Classes view: the path as the caller spelled it, for keys made in the machine hive
    quint32 access = 0;
};

/// The process-wide table of open registry handles; safe to use from any
/// thread. Handles are small multiples of 4 below the predefined roots and are
/// not given out again while older, still unused numbers remain.
class RegistryHandleTable
{
public:
    /// A new handle for \a key; 0 when no number is free.
    static quint32 insert(const OpenKey &key);
    /// False when \a handle is not open.
    static bool find(quint32 handle, OpenKey *key);
    /// False when \a handle was not open.
    static bool remove(quint32 handle);
};

} // namespace tessera
