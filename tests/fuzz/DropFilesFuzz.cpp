// libFuzzer target: the drop-files reader on any bytes.
//
// Besides running the reader under the sanitizers, the input's lines are
// written as a file list in both encodings and must read back unchanged
// (the narrow form only where every character is in Windows-1251).
#include "lib/data/DropFilesBlock.h"
#include "platform/CodePage.h"
#include "support/csText.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using tessera::DropFilesBlock;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<QStringList> names = DropFilesBlock::read(bytes)) {
        for (const QString &name : *names)
            check(!cs::csTrimEx(name).isEmpty() && !name.contains(QChar(0)));
    }

    QStringList names;
    for (const QString &line : QString::fromUtf8(bytes).split(u'\n')) {
        if (!line.contains(QChar(0)) && !cs::csTrimEx(line).isEmpty())
            names.append(line);
    }
    check(DropFilesBlock::read(DropFilesBlock::build(names, true)) == names);
    const QString joined = names.join(u'\n');
    if (tessera::CodePage::fromAnsi(tessera::CodePage::toAnsi(joined)) == joined)
        check(DropFilesBlock::read(DropFilesBlock::build(names, false)) == names);
    return 0;
}
