// libFuzzer target: the .reg importer's parser (RegFile::parse) on any bytes.
//
// The first byte chooses a prefix, so that runs get past the header often:
// none, the UTF-8 header, the header and a key section, or the UTF-16LE
// header with its byte order mark. Besides running under the sanitizers,
// every file that parses is written back and parsed again, and must give the
// same keys and the same bytes: what an import would write is exactly what
// an export of it carries. A file that does not parse must say why, as the
// import then writes nothing.
#include "lib/system/tools/RegFile.h"

#include <QByteArray>
#include <QStringEncoder>

#include <cstdint>
#include <cstdlib>

using namespace tessera::regtool;

namespace {

QByteArray withPrefix(const uint8_t *data, size_t size)
{
    const QByteArray header = "Windows Registry Editor Version 5.00\r\n";
    const QByteArray rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    switch (data[0] % 4) {
    case 1:
        return header + rest;
    case 2:
        return header + "[HKEY_CURRENT_USER\\Software\\Fuzz]\n" + rest;
    case 3: {
        QStringEncoder encoder(QStringConverter::Utf16LE);
        return "\xFF\xFE" + QByteArray(encoder.encode(QString::fromLatin1(header))) + rest;
    }
    default:
        return rest;
    }
}

bool sameKeys(const QList<RegKey> &a, const QList<RegKey> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i).path.root != b.at(i).path.root || a.at(i).path.subKey != b.at(i).path.subKey
            || a.at(i).values != b.at(i).values)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    QString error;
    const std::optional<QList<RegKey>> keys = RegFile::parse(withPrefix(data, size), &error);
    if (!keys) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    const std::optional<QByteArray> written = RegFile::write(*keys, &error);
    if (!written)
        return 0; // a name with a line break, which the format cannot carry
    const std::optional<QList<RegKey>> again = RegFile::parse(*written, &error);
    if (!again || !sameKeys(*keys, *again))
        std::abort();
    return 0;
}
