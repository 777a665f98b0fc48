#include "lib/pictures/DecodedBitmap.h"

#include <cstring>
#include <limits>
#include <sys/mman.h>
#include <unistd.h>

namespace tessera {

namespace {

// A large picture is written once from end to end into fresh memory, where
// the page faults of ordinary pages cost more than the decoding itself;
// huge pages cut them to a few. A hint only: where the kernel does not
// follow it, nothing changes.
void adviseHugePages(QByteArray &bytes)
{
    constexpr qsizetype WorthIt = qsizetype(4) << 20;
    if (bytes.size() < WorthIt)
        return;
    const auto page = quintptr(sysconf(_SC_PAGESIZE));
    const auto begin = (quintptr(bytes.data()) + page - 1) & ~(page - 1);
    const auto end = (quintptr(bytes.data()) + quintptr(bytes.size())) & ~(page - 1);
    madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
}

} // namespace

qint32 DibStride(qint32 width, qint32 bitsPerPixel)
{
    if (width < 0 || (bitsPerPixel != 8 && bitsPerPixel != 24))
        return 0;
    const qint64 bytes = (qint64(width) * (bitsPerPixel / 8) + 3) / 4 * 4;
    return bytes > std::numeric_limits<qint32>::max() ? 0 : qint32(bytes);
}

const char *refusedSize(qint32 width, qint32 height)
{
    if (width <= 0 || height <= 0)
        return "the width or the height is 0 or less";
    if (qint64(width) * height > MaxPicturePixels)
        return "the picture has more pixels than the readers take";
    return nullptr;
}

const char *allocateBits(DecodedBitmap &bitmap, qint32 width, qint32 height, qint32 bpp)
{
    if (const char *why = refusedSize(width, height))
        return why;
    const DecodedBitmap layout {0, 0, bpp, {}, {}};
    const qint64 bytes = qint64(DibStride(width, layout.layoutBits())) * height;
    if (bytes > MaxPictureBytes)
        return "the picture is larger than the readers take";
    bitmap.Width = width;
    bitmap.Height = height;
    bitmap.BPP = bpp;
    bitmap.Bits = QByteArray(qsizetype(bytes), Qt::Uninitialized);
    adviseHugePages(bitmap.Bits);
    std::memset(bitmap.Bits.data(), 0, size_t(bytes));
    return nullptr;
}

} // namespace tessera
