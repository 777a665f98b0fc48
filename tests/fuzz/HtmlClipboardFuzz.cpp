// libFuzzer target: the "HTML Format" reader on any bytes.
//
// Every GetHTMLReturnValue is read from the input; the only errors allowed
// are the conversion errors of an offset (13, 6). The input is also read as
// HTML of another program (fromHtml), whose document must read back without
// an error except for the selection, and as a fragment, which a written
// document must return unchanged.
#include "lib/data/HtmlClipboardDocument.h"
#include "platform/RuntimeError.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void readEveryPart(const QByteArray &document)
{
    for (qint32 part = -1; part <= 7; ++part) {
        try {
            tessera::HtmlClipboardDocument::extract(document, part);
        } catch (const tessera::RuntimeError &e) {
            check(e.Number() == tessera::RuntimeError::TypeMismatch || e.Number() == tessera::RuntimeError::Overflow);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tessera;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    readEveryPart(bytes);

    const QString text = QString::fromUtf8(bytes);
    const QByteArray foreign = HtmlClipboardDocument::fromHtml(text);
    for (qint32 part = ghrvRaw; part <= ghrvSourceURL; ++part) {
        // The offsets a document was written with always convert; only the
        // selection keys, which the writer leaves out, may be found in the HTML.
        if (part != ghrvSelection)
            HtmlClipboardDocument::extract(foreign, part);
    }
    readEveryPart(foreign);

    if (!text.isEmpty() && !text.contains(QChar(0))) {
        const QByteArray written = HtmlClipboardDocument::build(text);
        check(HtmlClipboardDocument::extract(written, ghrvFragment) == text);
    }
    return 0;
}
