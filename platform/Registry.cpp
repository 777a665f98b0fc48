#include "platform/Registry.h"

#include "platform/HiveFile_p.h"
#include "platform/RegistryHandleTable_p.h"
#include "platform/Win32Error.h"

#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <memory>
#include <utility>

namespace tessera {

namespace {

using View = OpenKey::View;

const QString ClassesPath = QStringLiteral("software\\classes");
const QStringList ClassesNames = {QStringLiteral("Software"), QStringLiteral("Classes")};

// Rights that change a key; a hive that cannot be written refuses handles asking for them.
constexpr quint32 WriteRights = Registry::KEY_SET_VALUE | Registry::KEY_CREATE_SUB_KEY | Registry::KEY_CREATE_LINK
    | Registry::DELETE | Registry::WRITE_DAC | Registry::WRITE_OWNER;

struct ThreadHives {
    std::unique_ptr<HiveFile> user;
    std::unique_ptr<HiveFile> machine;
    bool inScope = false; // a Registry::Transaction is open
    bool scopeLost = false; // its writes so far were dropped by closeAllHives()
};
thread_local ThreadHives t_hives;

QString hiveFolder(const char *variable, const QString &fallback)
{
    const QString folder = qEnvironmentVariable(variable);
    return folder.isEmpty() ? fallback : folder;
}

std::unique_ptr<HiveFile> openHive(const QString &fileName, HiveReaders readers)
{
    auto file = std::make_unique<HiveFile>(fileName, readers);
    if (t_hives.inScope)
        file->beginScope();
    return file;
}

HiveFile &hive(View view)
{
    if (view == View::Machine) {
        if (!t_hives.machine)
            t_hives.machine
                = openHive(hiveFolder("TESSERA_MACHINE_HIVE_DIR", QStringLiteral("/var/lib/sablewing/registry"))
                               + QStringLiteral("/machine.hive"),
                           HiveReaders::Everyone);
        return *t_hives.machine;
    }
    if (!t_hives.user)
        t_hives.user = openHive(hiveFolder("TESSERA_USER_HIVE_DIR",
                                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                               + QStringLiteral("/Sablewing/registry"))
                                    + QStringLiteral("/user.hive"),
                                HiveReaders::Owner);
    return *t_hives.user;
}

// Ends the thread's scope on both hives; the first failure is the result.
qint32 endScope(bool commit)
{
    t_hives.inScope = false;
    qint32 result = Win32Error::Success;
    for (HiveFile *file : {t_hives.user.get(), t_hives.machine.get()}) {
        if (!file)
            continue;
        const qint32 rc = file->endScope(commit && result == Win32Error::Success);
        if (result == Win32Error::Success)
            result = rc;
    }
    return result;
}

QString joinPath(const QString &parent, const QString &child)
{
    if (parent.isEmpty())
        return child;
    if (child.isEmpty())
        return parent;
    return parent + u'\\' + child;
}

QStringList namesOf(const QString &path)
{
    return path.isEmpty() ? QStringList() : path.split(u'\\');
}

// Checks a caller's key path and drops its trailing backslashes.
qint32 normalizeSubKey(const QString &subKey, QString *normalized)
{
    qsizetype length = subKey.size();
    while (length > 0 && subKey.at(length - 1) == u'\\')
        --length;
    *normalized = subKey.left(length);
    if (normalized->startsWith(u'\\') || normalized->contains(QLatin1String("\\\\")))
        return Win32Error::BadPathname;
    return Win32Error::Success;
}

qint32 resolve(HKEY key, OpenKey *open)
{
    switch (key) {
    case Registry::HKEY_CURRENT_USER:
        *open = {View::User, HiveFile::RootKey, {}, {}, Registry::KEY_ALL_ACCESS};
        return Win32Error::Success;
    case Registry::HKEY_LOCAL_MACHINE:
        *open = {View::Machine, HiveFile::RootKey, {}, {}, Registry::KEY_ALL_ACCESS};
        return Win32Error::Success;
    case Registry::HKEY_CLASSES_ROOT:
        *open = {View::Classes, 0, {}, {}, Registry::KEY_ALL_ACCESS};
        return Win32Error::Success;
    default:
        return RegistryHandleTable::find(key, open) ? Win32Error::Success : Win32Error::InvalidHandle;
    }
}

// The open key \a key, and \a subKey below it checked and normalized.
qint32 resolveSubKey(HKEY key, const QString &subKey, OpenKey *parent, QString *sub)
{
    if (const qint32 rc = resolve(key, parent))
        return rc;
    return normalizeSubKey(subKey, sub);
}

// The open key \a key when it was opened with \a right.
qint32 resolveWith(HKEY key, quint32 right, OpenKey *open)
{
    if (const qint32 rc = resolve(key, open))
        return rc;
    return open->access & right ? Win32Error::Success : Win32Error::AccessDenied;
}

qint32 addHandle(const OpenKey &key, HKEY *result)
{
    *result = RegistryHandleTable::insert(key);
    return *result ? Win32Error::Success : Win32Error::NotEnoughMemory;
}

// One concrete key in one hive file; no hive when the key is absent there.
struct Place {
    HiveFile *hive = nullptr;
    qint64 id = 0;
};

qint32 classesCopies(const OpenKey &key, Place *user, Place *machine)
{
    const QString path = joinPath(ClassesPath, key.path);
    for (const auto &[view, place] : {std::pair {View::User, user}, std::pair {View::Machine, machine}}) {
        HiveFile &file = hive(view);
        qint64 id = 0;
        const qint32 rc = file.findKey(path, &id);
        if (rc == Win32Error::Success)
            *place = {&file, id};
        else if (rc == Win32Error::FileNotFound)
            *place = {};
        else
            return rc;
    }
    return Win32Error::Success;
}

// Where the values of a key live: the key itself, or for the classes view the
// user's copy when there is one, else the machine's. The classes root may
// have no copy at all and then has no place.
qint32 valuePlace(const OpenKey &key, Place *place)
{
    if (key.view != View::Classes) {
        *place = {&hive(key.view), key.id};
        return Win32Error::Success;
    }
    Place user;
    Place machine;
    if (const qint32 rc = classesCopies(key, &user, &machine))
        return rc;
    *place = user.hive ? user : machine;
    return place->hive || key.path.isEmpty() ? Win32Error::Success : Win32Error::KeyDeleted;
}

// Creates \a names below a classes key in the machine hive, where keys made
// through the classes root go.
qint32 createMachineClassesKey(const OpenKey &parent, const QStringList &names, qint64 *id, bool *created)
{
    return hive(View::Machine)
        .createKey(HiveFile::RootKey, QString(), ClassesNames + namesOf(parent.spelled) + names, id, created);
}

// Finds the existing key \a sub (normalized) below \a parent.
qint32 locate(const OpenKey &parent, const QString &sub, OpenKey *child)
{
    *child = parent;
    child->path = joinPath(parent.path, HiveFile::fold(sub));
    if (parent.view != View::Classes)
        return hive(parent.view).findKey(child->path, &child->id);
    child->spelled = joinPath(parent.spelled, sub);
    if (child->path.isEmpty())
        return Win32Error::Success;
    Place user;
    Place machine;
    if (const qint32 rc = classesCopies(*child, &user, &machine))
        return rc;
    return user.hive || machine.hive ? Win32Error::Success : Win32Error::FileNotFound;
}

qint32 checkRights(const OpenKey &key, quint32 samDesired)
{
    if (!(samDesired & WriteRights))
        return Win32Error::Success;
    if (key.view != View::Classes)
        return hive(key.view).checkWritable();
    Place place;
    if (const qint32 rc = valuePlace(key, &place))
        return rc;
    return place.hive ? place.hive->checkWritable() : hive(View::Machine).checkWritable();
}

// Upper-cased name order, as sub-keys are stored.
bool subKeyLess(const QString &a, const QString &b)
{
    const int order = a.toUpper().compare(b.toUpper());
    return order != 0 ? order < 0 : HiveFile::fold(a) < HiveFile::fold(b);
}

qint32 subKeyList(const OpenKey &key, QStringList *names)
{
    if (key.view != View::Classes)
        return hive(key.view).subKeyNames(key.id, names);
    Place user;
    Place machine;
    if (const qint32 rc = classesCopies(key, &user, &machine))
        return rc;
    if (!user.hive && !machine.hive)
        return key.path.isEmpty() ? Win32Error::Success : Win32Error::KeyDeleted;
    QStringList userNames;
    QStringList machineNames;
    if (user.hive) {
        if (const qint32 rc = user.hive->subKeyNames(user.id, &userNames))
            return rc;
    }
    if (machine.hive) {
        if (const qint32 rc = machine.hive->subKeyNames(machine.id, &machineNames))
            return rc;
    }
    QSet<QString> seen;
    for (const QString &name : std::as_const(userNames))
        seen.insert(HiveFile::fold(name));
    *names = userNames;
    for (const QString &name : std::as_const(machineNames)) {
        if (!seen.contains(HiveFile::fold(name)))
            names->append(name);
    }
    std::sort(names->begin(), names->end(), subKeyLess);
    return Win32Error::Success;
}

qint32 deleteKey(HKEY key, const QString &subKey, bool onlyIfEmpty)
{
    OpenKey parent;
    QString sub;
    OpenKey child;
    if (const qint32 rc = resolveSubKey(key, subKey, &parent, &sub))
        return rc;
    if (const qint32 rc = locate(parent, sub, &child))
        return rc;
    if (child.path.isEmpty())
        return Win32Error::AccessDenied;
    Place place;
    if (const qint32 rc = valuePlace(child, &place))
        return rc;
    return place.hive->deleteKey(place.id, onlyIfEmpty);
}

quint32 longest(const QStringList &names)
{
    qsizetype length = 0;
    for (const QString &name : names)
        length = std::max(length, name.size());
    return quint32(length);
}

enum class Missing { Fail, Create };

// A new handle to \a subKey below \a key. A missing key fails with
// FileNotFound or, with Missing::Create, is made when \a key may have
// sub-keys created; \a disposition (when given) then tells which happened.
qint32 openSubKey(HKEY key, const QString &subKey, quint32 samDesired, Missing missing, HKEY *result,
                  quint32 *disposition)
{
    if (!result)
        return Win32Error::InvalidParameter;
    *result = 0;
    OpenKey parent;
    QString sub;
    OpenKey child;
    if (const qint32 rc = resolveSubKey(key, subKey, &parent, &sub))
        return rc;
    quint32 how = Registry::REG_OPENED_EXISTING_KEY;
    const qint32 found = locate(parent, sub, &child);
    if (found == Win32Error::FileNotFound && missing == Missing::Create) {
        if (!(parent.access & Registry::KEY_CREATE_SUB_KEY))
            return Win32Error::AccessDenied;
        bool created = false;
        const QStringList names = namesOf(sub);
        const qint32 rc = parent.view == View::Classes
            ? createMachineClassesKey(parent, names, &child.id, &created)
            : hive(parent.view).createKey(parent.id, parent.path, names, &child.id, &created);
        if (rc)
            return rc;
        if (created)
            how = Registry::REG_CREATED_NEW_KEY;
    } else if (found) {
        return found;
    } else if (const qint32 rc = checkRights(child, samDesired)) {
        return rc;
    }
    child.access = samDesired;
    if (const qint32 rc = addHandle(child, result))
        return rc;
    if (disposition)
        *disposition = how;
    return Win32Error::Success;
}

} // namespace

qint32 Registry::RegOpenKeyEx(HKEY key, const QString &subKey, quint32 samDesired, HKEY *result)
{
    return openSubKey(key, subKey, samDesired, Missing::Fail, result, nullptr);
}

qint32 Registry::RegCreateKeyEx(HKEY key, const QString &subKey, quint32 samDesired, HKEY *result, quint32 *disposition)
{
    return openSubKey(key, subKey, samDesired, Missing::Create, result, disposition);
}

qint32 Registry::RegQueryValueEx(HKEY key, const QString &valueName, quint32 *type, QByteArray *data, quint32 *dataSize)
{
    OpenKey open;
    if (const qint32 rc = resolveWith(key, KEY_QUERY_VALUE, &open))
        return rc;
    if (data && !dataSize)
        return Win32Error::InvalidParameter;
    Place place;
    if (const qint32 rc = valuePlace(open, &place))
        return rc;
    if (!place.hive)
        return Win32Error::FileNotFound;
    quint32 storedType = REG_NONE;
    QByteArray bytes;
    if (const qint32 rc = place.hive->queryValue(place.id, valueName, &storedType, &bytes))
        return rc;
    if (type)
        *type = storedType;
    const auto size = quint32(bytes.size());
    if (data) {
        if (*dataSize < size) {
            *dataSize = size;
            return Win32Error::MoreData;
        }
        *data = bytes;
    }
    if (dataSize)
        *dataSize = size;
    return Win32Error::Success;
}

qint32 Registry::RegSetValueEx(HKEY key, const QString &valueName, quint32 type, const QByteArray &data)
{
    OpenKey open;
    if (const qint32 rc = resolveWith(key, KEY_SET_VALUE, &open))
        return rc;
    Place place;
    if (const qint32 rc = valuePlace(open, &place))
        return rc;
    if (!place.hive) {
        bool created = false;
        if (const qint32 rc = createMachineClassesKey(open, {}, &place.id, &created))
            return rc;
        place.hive = &hive(View::Machine);
    }
    return place.hive->setValue(place.id, valueName, type, data);
}

qint32 Registry::RegDeleteValue(HKEY key, const QString &valueName)
{
    OpenKey open;
    if (const qint32 rc = resolveWith(key, KEY_SET_VALUE, &open))
        return rc;
    Place place;
    if (const qint32 rc = valuePlace(open, &place))
        return rc;
    return place.hive ? place.hive->deleteValue(place.id, valueName) : Win32Error::FileNotFound;
}

qint32 Registry::RegQueryInfoKey(HKEY key, quint32 *subKeys, quint32 *maxSubKeyLen, quint32 *values,
                                 quint32 *maxValueNameLen, quint32 *maxValueLen)
{
    OpenKey open;
    if (const qint32 rc = resolveWith(key, KEY_QUERY_VALUE, &open))
        return rc;
    QStringList keyNames;
    if (const qint32 rc = subKeyList(open, &keyNames))
        return rc;
    Place place;
    if (const qint32 rc = valuePlace(open, &place))
        return rc;
    QStringList valueNames;
    quint32 maxData = 0;
    if (place.hive) {
        if (const qint32 rc = place.hive->valueNames(place.id, &valueNames, &maxData))
            return rc;
    }
    if (subKeys)
        *subKeys = quint32(keyNames.size());
    if (maxSubKeyLen)
        *maxSubKeyLen = longest(keyNames);
    if (values)
        *values = quint32(valueNames.size());
    if (maxValueNameLen)
        *maxValueNameLen = longest(valueNames);
    if (maxValueLen)
        *maxValueLen = maxData;
    return Win32Error::Success;
}

qint32 Registry::RegEnumKey(HKEY key, quint32 index, QString *name)
{
    OpenKey open;
    if (const qint32 rc = resolveWith(key, KEY_ENUMERATE_SUB_KEYS, &open))
        return rc;
    if (!name)
        return Win32Error::InvalidParameter;
    if (open.view != View::Classes)
        return hive(open.view).subKeyAt(open.id, index, name);
    QStringList names;
    if (const qint32 rc = subKeyList(open, &names))
        return rc;
    if (index >= quint32(names.size()))
        return Win32Error::NoMoreItems;
    *name = names.at(index);
    return Win32Error::Success;
}

qint32 Registry::RegEnumValue(HKEY key, quint32 index, QString *name, quint32 *type, QByteArray *data)
{
    OpenKey open;
    if (const qint32 rc = resolveWith(key, KEY_QUERY_VALUE, &open))
        return rc;
    if (!name)
        return Win32Error::InvalidParameter;
    Place place;
    if (const qint32 rc = valuePlace(open, &place))
        return rc;
    if (!place.hive)
        return Win32Error::NoMoreItems;
    quint32 storedType = REG_NONE;
    QByteArray bytes;
    if (const qint32 rc = place.hive->valueAt(place.id, index, name, &storedType, &bytes))
        return rc;
    if (type)
        *type = storedType;
    if (data)
        *data = bytes;
    return Win32Error::Success;
}

qint32 Registry::RegCloseKey(HKEY key)
{
    if (key >= HKEY_CLASSES_ROOT && key <= HKEY_DYN_DATA)
        return Win32Error::Success;
    return RegistryHandleTable::remove(key) ? Win32Error::Success : Win32Error::InvalidHandle;
}

qint32 Registry::SHDeleteEmptyKey(HKEY key, const QString &subKey)
{
    return deleteKey(key, subKey, true);
}

qint32 Registry::SHDeleteKey(HKEY key, const QString &subKey)
{
    return deleteKey(key, subKey, false);
}

void Registry::closeAllHives()
{
    // Closing a connection rolls its open transaction back.
    if (t_hives.inScope)
        t_hives.scopeLost = true;
    t_hives.user.reset();
    t_hives.machine.reset();
}

Registry::Transaction::Transaction()
    : m_active(!t_hives.inScope)
{
    if (!m_active)
        return;
    t_hives.inScope = true;
    t_hives.scopeLost = false;
    for (HiveFile *file : {t_hives.user.get(), t_hives.machine.get()}) {
        if (file)
            file->beginScope();
    }
}

Registry::Transaction::~Transaction()
{
    if (m_active)
        endScope(false);
}

qint32 Registry::Transaction::commit()
{
    if (!std::exchange(m_active, false))
        return Win32Error::TransactionNotActive;
    if (t_hives.scopeLost) {
        endScope(false);
        return Win32Error::TransactionNotActive;
    }
    return endScope(true);
}

} // namespace tessera
