// libFuzzer target: the FTP listing reader on any bytes. The first byte
// chooses the format (LIST or MLSD) and the size of the pieces the listing
// arrives in; the rest is the listing. Checks that pieces do not change what
// is read, that every entry has a name and a size that fits its halves, and
// runs the find patterns on the names found, with a pattern cut from the
// input.
#include "lib/net/FtpListing_p.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstdint>

using corvid::fuzz::check;
using namespace tessera::detail;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const FtpListingFormat format = (data[0] & 1) ? FtpListingFormat::Mlsd : FtpListingFormat::List;
    const qsizetype piece = 1 + (data[0] >> 1);
    const QByteArrayView listing(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
    const QDateTime now(QDate(2024, 6, 15), QTime(10, 0));

    FtpListingParser whole(format, now);
    whole.feed(listing);
    whole.finish();
    const QList<FtpFindData> entries = whole.takeEntries();

    FtpListingParser pieces(format, now);
    for (qsizetype at = 0; at < listing.size(); at += piece)
        pieces.feed(listing.sliced(at, std::min(piece, listing.size() - at)));
    pieces.finish();
    const QList<FtpFindData> again = pieces.takeEntries();
    check(again.size() == entries.size());

    const QString pattern = QString::fromUtf8(listing.first(std::min<qsizetype>(listing.size(), 12)));
    for (qsizetype i = 0; i < entries.size(); ++i) {
        check(!entries[i].FileName.isEmpty());
        check(entries[i].FileName == again[i].FileName && entries[i].LastWriteTime == again[i].LastWriteTime);
        check(matchesFindPattern(entries[i].FileName, QStringLiteral("*")));
        matchesFindPattern(entries[i].FileName, pattern);
    }
    return 0;
}
