#include "lib/net/ZLibLibrary_p.h"
#include "support/csFiles.h"
#include "support/csModules.h"

#include <QFile>
#include <QMutex>

#include <algorithm>
#include <dlfcn.h>
#include <sys/mman.h>
#include <utility>
#include <zlib.h>

namespace tessera::detail {

// Only the declarations of zlib.h are used; every call goes through these.
struct ZLibLibrary::Functions {
    decltype(&::zlibVersion) version = nullptr;
    decltype(&::inflateInit2_) initRaw = nullptr;
    decltype(&::inflate) inflate = nullptr;
    decltype(&::inflateEnd) inflateEnd = nullptr;
};

namespace {

QMutex nameLock;
QByteArray moduleName = QByteArrayLiteral("libz.so.1");

QByteArray currentModuleName()
{
    QMutexLocker lock(&nameLock);
    return moduleName;
}

void *openModule()
{
    const QByteArray name = currentModuleName();
    if (void *module = ::dlopen(name.constData(), RTLD_NOW | RTLD_LOCAL))
        return module;
    // The copy that ships beside the library.
    const QString own
        = cs::csGetModulePrettyFileName(cs::csGetModuleHandleOf(reinterpret_cast<const void *>(&openModule)));
    if (own.isEmpty())
        return nullptr;
    const QString path = cs::csBuildFileName(cs::csGetFilePath(own), QFile::decodeName(name));
    return ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
}

template <typename F> F symbol(void *module, const char *name)
{
    return reinterpret_cast<F>(::dlsym(module, name));
}

// zlib counts its buffers in 32-bit units; longer inputs go in pieces.
constexpr qsizetype MaxPiece = 1 << 30;

// A large output is written once from front to back; in 2 MB pages it
// costs a few hundred page faults instead of one per 4 KB.
void askForHugePages(char *data, qsizetype size)
{
    constexpr quintptr HugePage = 2 * 1024 * 1024;
    const quintptr begin = (quintptr(data) + HugePage - 1) & ~(HugePage - 1);
    const quintptr end = (quintptr(data) + quintptr(size)) & ~(HugePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
}

} // namespace

ZLibLibrary::ZLibLibrary()
    : m_module(openModule())
{
    if (!m_module)
        return;
    auto f = std::make_unique<Functions>();
    f->version = symbol<decltype(f->version)>(m_module, "zlibVersion");
    f->initRaw = symbol<decltype(f->initRaw)>(m_module, "inflateInit2_");
    f->inflate = symbol<decltype(f->inflate)>(m_module, "inflate");
    f->inflateEnd = symbol<decltype(f->inflateEnd)>(m_module, "inflateEnd");
    m_functions = std::move(f);
}

ZLibLibrary::~ZLibLibrary()
{
    if (m_module)
        ::dlclose(m_module);
}

bool ZLibLibrary::isAvailable() const
{
    return m_functions && m_functions->version && m_functions->version() != nullptr;
}

std::optional<QByteArray> ZLibLibrary::inflateRaw(const QByteArray &input, qsizetype expected) const
{
    if (!isAvailable() || !m_functions->initRaw || !m_functions->inflate || !m_functions->inflateEnd || expected < 0)
        return std::nullopt;
    // One byte more than expected, so a stream that holds more shows itself.
    QByteArray output(expected + 1, Qt::Uninitialized);
    askForHugePages(output.data(), output.size());
    z_stream stream {};
    // Negative window bits: raw deflate data, no zlib header or trailer.
    if (m_functions->initRaw(&stream, -MAX_WBITS, m_functions->version(), int(sizeof stream)) != Z_OK)
        return std::nullopt;
    auto *in = reinterpret_cast<Bytef *>(const_cast<char *>(input.constData()));
    auto *out = reinterpret_cast<Bytef *>(output.data());
    qsizetype inLeft = input.size();
    qsizetype outLeft = output.size();
    int rc = Z_OK;
    while (rc == Z_OK) {
        const qsizetype inPiece = std::min(inLeft, MaxPiece);
        const qsizetype outPiece = std::min(outLeft, MaxPiece);
        stream.next_in = in;
        stream.avail_in = uInt(inPiece);
        stream.next_out = out;
        stream.avail_out = uInt(outPiece);
        rc = m_functions->inflate(&stream, inPiece == inLeft ? Z_FINISH : Z_NO_FLUSH);
        const qsizetype used = inPiece - qsizetype(stream.avail_in);
        const qsizetype written = outPiece - qsizetype(stream.avail_out);
        in += used;
        inLeft -= used;
        out += written;
        outLeft -= written;
        // A pass that moved nothing cannot finish the stream either.
        if (rc == Z_OK && used == 0 && written == 0)
            break;
    }
    m_functions->inflateEnd(&stream);
    if (rc != Z_STREAM_END || inLeft != 0 || outLeft != 1)
        return std::nullopt;
    output.truncate(expected);
    return output;
}

QByteArray setZLibModuleName(const QByteArray &name)
{
    QMutexLocker lock(&nameLock);
    return std::exchange(moduleName, name);
}

} // namespace tessera::detail
