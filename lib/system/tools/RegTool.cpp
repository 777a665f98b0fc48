// tessera-reg: the registry tool of the suite, in the manner of the original
// platform's own. Users inspect and back up their settings with it.
//
//   tessera-reg query KEY [/v NAME | /ve]
//   tessera-reg add KEY [/v NAME | /ve] [/t REG_SZ|REG_DWORD|REG_BINARY] [/d DATA] [/f]
//   tessera-reg delete KEY [/v NAME | /ve] [/f]
//   tessera-reg export KEY FILE [/y]
//   tessera-reg import FILE
//   tessera-reg /? | -h | --help
//
// Exit code 0 on success, 1 on failure (the reason on standard error).
#include "lib/system/tools/RegTransfer.h"
#include "platform/Win32Error.h"
#include "support/csSystem.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tessera;
using namespace tessera::regtool;

namespace {

constexpr int Failure = 1;

// Registry files are small; anything larger is not one.
constexpr qint64 MaxImportSize = 64 * 1024 * 1024;

const char Usage[] = R"(Usage: tessera-reg OPERATION [arguments]
       tessera-reg /? | -h | --help

Operations:
  query  KEY [/v NAME | /ve]
  add    KEY [/v NAME | /ve] [/t REG_SZ|REG_DWORD|REG_BINARY] [/d DATA] [/f]
  delete KEY [/v NAME | /ve] [/f]
  export KEY FILE [/y]
  import FILE

KEY is ROOT[\SubKey]; ROOT is HKCU, HKLM, HKCR, HKU or HKCC (or the long
names, HKEY_CURRENT_USER, ...).

Options:
  /v NAME         the value NAME
  /ve             the key's default value
  /t TYPE         the type of the value (REG_SZ when not given)
  /d DATA         the data: text for REG_SZ, a number (decimal or 0x
                  hexadecimal) for REG_DWORD, hexadecimal digits for REG_BINARY
  /f              no question before overwriting or deleting
  /y              no question before overwriting FILE
  /?, -h, --help  show this help and exit

Files are in the format "Windows Registry Editor Version 5.00"; export writes
UTF-8, import also reads the UTF-16 files of the platform's registry editor.
An import writes everything in the file or, on any fault, nothing; FILE must
be a regular file of at most 64 MB.
)";

void print(FILE *stream, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stream);
}

int fail(const QString &message)
{
    print(stderr, QStringLiteral("ERROR: %1\n").arg(message));
    return Failure;
}

int syntaxError()
{
    return fail(QStringLiteral("Invalid syntax.\nType \"tessera-reg /?\" for usage."));
}

int succeeded()
{
    print(stdout, QStringLiteral("The operation completed successfully.\n"));
    return 0;
}

QString describe(qint32 rc)
{
    if (rc == Win32Error::FileNotFound)
        return QStringLiteral("The system was unable to find the specified registry key or value.");
    return cs::csGetAPIErrorDescription(rc);
}

/// Asks on the terminal; anything but "y"/"yes", or no answer at all, is no.
bool confirm(const QString &question)
{
    print(stdout, question + QStringLiteral(" (Yes/No)? "));
    std::fflush(stdout);
    char answer[64] = {};
    if (!std::fgets(answer, sizeof answer, stdin))
        return false;
    const QString text = QString::fromUtf8(answer).trimmed().toLower();
    return text == QLatin1StringView("y") || text == QLatin1StringView("yes");
}

int cancelled()
{
    print(stdout, QStringLiteral("The operation was cancelled.\n"));
    return Failure;
}

// The switches after the fixed arguments of an operation.
struct Switches {
    std::optional<QString> valueName; // /v NAME, or the empty name for /ve
    QString type = QStringLiteral("REG_SZ");
    QString data;
    bool force = false; // /f
    bool overwrite = false; // /y
};

bool parseSwitches(const QStringList &args, const QStringList &allowed, Switches *s)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString option = args.at(i).toLower();
        if (!allowed.contains(option))
            return false;
        const bool takesValue = option == QLatin1StringView("/v") || option == QLatin1StringView("/t")
            || option == QLatin1StringView("/d");
        if (takesValue && ++i == args.size())
            return false;
        if (option == QLatin1StringView("/v") || option == QLatin1StringView("/ve")) {
            if (s->valueName)
                return false;
            s->valueName = option == QLatin1StringView("/v") ? args.at(i) : QString();
        } else if (option == QLatin1StringView("/t")) {
            s->type = args.at(i).toUpper();
        } else if (option == QLatin1StringView("/d")) {
            s->data = args.at(i);
        } else if (option == QLatin1StringView("/f")) {
            s->force = true;
        } else {
            s->overwrite = true; // "/y"
        }
    }
    return true;
}

QString typeName(quint32 type)
{
    switch (type) {
    case Registry::REG_NONE:
        return QStringLiteral("REG_NONE");
    case Registry::REG_SZ:
        return QStringLiteral("REG_SZ");
    case Registry::REG_EXPAND_SZ:
        return QStringLiteral("REG_EXPAND_SZ");
    case Registry::REG_BINARY:
        return QStringLiteral("REG_BINARY");
    case Registry::REG_DWORD:
        return QStringLiteral("REG_DWORD");
    case Registry::REG_MULTI_SZ:
        return QStringLiteral("REG_MULTI_SZ");
    case Registry::REG_QWORD:
        return QStringLiteral("REG_QWORD");
    }
    return QStringLiteral("0x%1").arg(type, 0, 16);
}

QString dataText(quint32 type, const QByteArray &data)
{
    switch (type) {
    case Registry::REG_SZ:
    case Registry::REG_EXPAND_SZ:
        return QString::fromUtf8(data.left(data.indexOf('\0') < 0 ? data.size() : data.indexOf('\0')));
    case Registry::REG_MULTI_SZ: {
        QByteArray texts = data;
        while (texts.endsWith('\0'))
            texts.chop(1);
        return QString::fromUtf8(texts).replace(QChar(0), QLatin1StringView("\\0"));
    }
    case Registry::REG_DWORD:
        if (data.size() == 4)
            return QStringLiteral("0x%1").arg(qFromLittleEndian<quint32>(data.constData()), 0, 16);
        break;
    case Registry::REG_QWORD:
        if (data.size() == 8)
            return QStringLiteral("0x%1").arg(qFromLittleEndian<quint64>(data.constData()), 0, 16);
        break;
    }
    return QString::fromLatin1(data.toHex().toUpper());
}

QString valueLine(const RegValue &value)
{
    return QStringLiteral("    %1    %2    %3\n")
        .arg(value.name.isEmpty() ? QStringLiteral("(Default)") : value.name, typeName(value.type),
             dataText(value.type, value.data));
}

int query(const RegKeyPath &path, const Switches &s)
{
    Registry::ScopedKey key;
    if (const qint32 rc = Registry::RegOpenKeyEx(path.root, path.subKey, Registry::KEY_READ, &key.handle))
        return fail(describe(rc));
    QString out = u'\n' + path.fullName() + u'\n';
    if (s.valueName) {
        RegValue value {*s.valueName, 0, {}};
        quint32 size = 0;
        qint32 rc = Registry::RegQueryValueEx(key.handle, value.name, nullptr, nullptr, &size);
        if (rc == 0)
            rc = Registry::RegQueryValueEx(key.handle, value.name, &value.type, &value.data, &size);
        if (rc)
            return fail(describe(rc));
        print(stdout, out + valueLine(value) + u'\n');
        return 0;
    }
    RegValue value;
    qint32 rc;
    for (quint32 i = 0; (rc = Registry::RegEnumValue(key.handle, i, &value.name, &value.type, &value.data)) == 0; ++i)
        out += valueLine(value);
    if (rc != Win32Error::NoMoreItems)
        return fail(describe(rc));
    QString name;
    for (quint32 i = 0; (rc = Registry::RegEnumKey(key.handle, i, &name)) == 0; ++i)
        out += (i == 0 ? QStringLiteral("\n") : QString()) + path.child(name).fullName() + u'\n';
    if (rc != Win32Error::NoMoreItems)
        return fail(describe(rc));
    print(stdout, out + u'\n');
    return 0;
}

// The bytes of /d DATA for the type of /t; false for data the type refuses.
bool encodeData(const Switches &s, quint32 *type, QByteArray *data)
{
    if (s.type == QLatin1StringView("REG_SZ")) {
        *type = Registry::REG_SZ;
        *data = s.data.toUtf8() + '\0';
        return true;
    }
    if (s.type == QLatin1StringView("REG_DWORD")) {
        bool ok = false;
        const quint32 number = s.data.startsWith(QLatin1StringView("0x"), Qt::CaseInsensitive)
            ? s.data.mid(2).toUInt(&ok, 16)
            : s.data.toUInt(&ok, 10);
        if (!ok)
            return false;
        *type = Registry::REG_DWORD;
        data->resize(4);
        qToLittleEndian(number, data->data());
        return true;
    }
    if (s.type == QLatin1StringView("REG_BINARY")) {
        const QByteArray digits = s.data.toLatin1();
        *data = QByteArray::fromHex(digits);
        *type = Registry::REG_BINARY;
        // fromHex skips what is not a digit; accept only whole hexadecimal bytes.
        return digits.size() % 2 == 0 && data->toHex() == digits.toLower();
    }
    return false;
}

int add(const RegKeyPath &path, const Switches &s)
{
    quint32 type = 0;
    QByteArray data;
    if (s.valueName && !encodeData(s, &type, &data))
        return fail(QStringLiteral("Invalid data \"%1\" for the type %2.").arg(s.data, s.type));
    Registry::ScopedKey key;
    if (const qint32 rc = Registry::RegCreateKeyEx(path.root, path.subKey,
                                                   Registry::KEY_QUERY_VALUE | Registry::KEY_SET_VALUE, &key.handle))
        return fail(describe(rc));
    if (!s.valueName)
        return succeeded();
    quint32 size = 0;
    if (!s.force && Registry::RegQueryValueEx(key.handle, *s.valueName, nullptr, nullptr, &size) == 0
        && !confirm(QStringLiteral("Value %1 exists, overwrite")
                        .arg(s.valueName->isEmpty() ? QStringLiteral("(Default)") : *s.valueName)))
        return cancelled();
    if (const qint32 rc = Registry::RegSetValueEx(key.handle, *s.valueName, type, data))
        return fail(describe(rc));
    return succeeded();
}

int remove(const RegKeyPath &path, const Switches &s)
{
    if (!s.valueName) {
        if (!s.force && !confirm(QStringLiteral("Permanently delete the registry key %1").arg(path.fullName())))
            return cancelled();
        if (const qint32 rc = Registry::SHDeleteKey(path.root, path.subKey))
            return fail(describe(rc));
        return succeeded();
    }
    Registry::ScopedKey key;
    if (const qint32 rc = Registry::RegOpenKeyEx(path.root, path.subKey, Registry::KEY_SET_VALUE, &key.handle))
        return fail(describe(rc));
    if (!s.force
        && !confirm(QStringLiteral("Delete the registry value %1")
                        .arg(s.valueName->isEmpty() ? QStringLiteral("(Default)") : *s.valueName)))
        return cancelled();
    if (const qint32 rc = Registry::RegDeleteValue(key.handle, *s.valueName))
        return fail(describe(rc));
    return succeeded();
}

int exportFile(const RegKeyPath &path, const QString &fileName, const Switches &s)
{
    QString error;
    const std::optional<QList<RegKey>> keys = RegTransfer::exportTree(path, &error);
    if (!keys)
        return fail(error);
    const std::optional<QByteArray> text = RegFile::write(*keys, &error);
    if (!text)
        return fail(error);
    if (QFile::exists(fileName) && !s.overwrite
        && !confirm(QStringLiteral("File %1 already exists. Overwrite").arg(fileName)))
        return cancelled();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(*text) != text->size() || !file.commit())
        return fail(QStringLiteral("%1: %2").arg(fileName, file.errorString()));
    return succeeded();
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The whole of \a fileName when it is a regular file of at most
// MaxImportSize bytes; none, with the reason in \a error, otherwise.
std::optional<QByteArray> readImportFile(const QString &fileName, QString *error)
{
    const QByteArray name = QFile::encodeName(fileName);
    // Looked at before it is opened: opening a device may act on it, and
    // opening a pipe waits for a writer.
    struct stat info {
    };
    if (::stat(name.constData(), &info) != 0) {
        *error = systemError(errno);
        return std::nullopt;
    }
    const auto regularAndSmall = [&] {
        if (!S_ISREG(info.st_mode))
            *error = QStringLiteral("not a regular file");
        else if (info.st_size > MaxImportSize)
            *error = QStringLiteral("larger than 64 MB");
        else
            return true;
        return false;
    };
    if (!regularAndSmall())
        return std::nullopt;
    // O_NONBLOCK and a second look: the name may have been given to a pipe
    // since.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        *error = systemError(errno);
        if (fd >= 0)
            ::close(fd);
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = file.errorString();
        return std::nullopt;
    }
    if (!regularAndSmall())
        return std::nullopt;
    // Read to its end, however it has grown since, but never past the limit.
    QByteArray data;
    data.reserve(info.st_size);
    for (;;) {
        const QByteArray block = file.read(1024 * 1024);
        if (file.error() != QFileDevice::NoError) {
            *error = file.errorString();
            return std::nullopt;
        }
        if (block.isEmpty())
            return data;
        data += block;
        if (data.size() > MaxImportSize) {
            *error = QStringLiteral("larger than 64 MB");
            return std::nullopt;
        }
    }
}

int importFile(const QString &fileName)
{
    QString error;
    const std::optional<QByteArray> text = readImportFile(fileName, &error);
    if (!text)
        return fail(QStringLiteral("%1: %2. Nothing was imported.").arg(fileName, error));
    const std::optional<QList<RegKey>> keys = RegFile::parse(*text, &error);
    if (!keys)
        return fail(QStringLiteral("%1: %2. Nothing was imported.").arg(fileName, error));
    if (!RegTransfer::importKeys(*keys, &error))
        return fail(QStringLiteral("%1. Nothing was imported.").arg(error));
    return succeeded();
}

int run(const QStringList &args)
{
    if (args.size() == 1
        && (args.first() == QLatin1StringView("/?") || args.first() == QLatin1StringView("-h")
            || args.first() == QLatin1StringView("--help"))) {
        print(stdout, QString::fromUtf8(Usage));
        return 0;
    }
    if (args.size() < 2)
        return syntaxError();
    const QString operation = args.first().toLower();
    if (operation == QLatin1StringView("import"))
        return args.size() == 2 ? importFile(args.at(1)) : syntaxError();

    const std::optional<RegKeyPath> path = RegKeyPath::parse(args.at(1));
    if (!path)
        return fail(QStringLiteral("Invalid key name \"%1\".").arg(args.at(1)));
    Switches s;
    if (operation == QLatin1StringView("export")) {
        if (args.size() < 3 || !parseSwitches(args.mid(3), {QStringLiteral("/y")}, &s))
            return syntaxError();
        return exportFile(*path, args.at(2), s);
    }
    if (operation == QLatin1StringView("query"))
        return parseSwitches(args.mid(2), {QStringLiteral("/v"), QStringLiteral("/ve")}, &s) ? query(*path, s)
                                                                                             : syntaxError();
    if (operation == QLatin1StringView("add"))
        return parseSwitches(args.mid(2),
                             {QStringLiteral("/v"), QStringLiteral("/ve"), QStringLiteral("/t"), QStringLiteral("/d"),
                              QStringLiteral("/f")},
                             &s)
            ? add(*path, s)
            : syntaxError();
    if (operation == QLatin1StringView("delete"))
        return parseSwitches(args.mid(2), {QStringLiteral("/v"), QStringLiteral("/ve"), QStringLiteral("/f")}, &s)
            ? remove(*path, s)
            : syntaxError();
    return syntaxError();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return run(app.arguments().mid(1));
}
