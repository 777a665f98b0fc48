#include "platform/RegistryHandleTable_p.h"

#include <QHash>
#include <QMutex>

namespace tessera {

namespace {

constexpr quint32 FirstHandle = 4;
constexpr quint32 HandleStep = 4;
constexpr quint32 HandleLimit = 0x80000000u; // the predefined roots start here

struct Table {
    QMutex mutex;
    QHash<quint32, OpenKey> keys;
    quint32 next = FirstHandle;
};

Table &table()
{
    static Table instance;
    return instance;
}

} // namespace

quint32 RegistryHandleTable::insert(const OpenKey &key)
{
    Table &t = table();
    const QMutexLocker lock(&t.mutex);
    if (quint64(t.keys.size()) >= (HandleLimit - FirstHandle) / HandleStep)
        return 0;
    // A monotonic counter keeps a just-closed number from coming back at once,
    // so a stale handle is far more likely to give 6 than to hit another key.
    while (t.keys.contains(t.next)) {
        t.next += HandleStep;
        if (t.next >= HandleLimit)
            t.next = FirstHandle;
    }
    const quint32 handle = t.next;
    t.keys.insert(handle, key);
    t.next += HandleStep;
    if (t.next >= HandleLimit)
        t.next = FirstHandle;
    return handle;
}

bool RegistryHandleTable::find(quint32 handle, OpenKey *key)
{
    Table &t = table();
    const QMutexLocker lock(&t.mutex);
    const auto it = t.keys.constFind(handle);
    if (it == t.keys.cend())
        return false;
    *key = it.value();
    return true;
}

bool RegistryHandleTable::remove(quint32 handle)
{
    Table &t = table();
    const QMutexLocker lock(&t.mutex);
    return t.keys.remove(handle);
}

} // namespace tessera
