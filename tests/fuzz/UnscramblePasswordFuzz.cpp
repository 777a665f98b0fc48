// libFuzzer target: modPasswordCryptor::UnscramblePassword on any text
// (UTF-8). A text it accepts gives one character per group of four, and
// scrambling that result again gives back the same first pairs.
#include "lib/net/modPasswordCryptor.h"
#include "tests/fuzz/FuzzCheck.h"

#include <QString>

#include <cstdint>

using corvid::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tessera::modPasswordCryptor;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString password = UnscramblePassword(text);
    if (password.isEmpty())
        return 0;
    check(text.size() == password.size() * 4);
    const QString again = ScramblePassword(password);
    check(again.size() == text.size());
    for (qsizetype i = 0; i < text.size(); i += 4)
        check(again.mid(i, 2).compare(text.mid(i, 2), Qt::CaseInsensitive) == 0);
    return 0;
}
