// tessera-picture: what the library's picture readers make of a file, and
// the picture converted to PNG. Users check and convert old PCX, Targa and
// Photoshop files with it; scripts use the readers through it.
//
//   tessera-picture info FILE...
//   tessera-picture convert FILE OUT.png
//
// Exit status 0 on success, 1 when a file fails, 2 for a wrong command line;
// every failure has a one-line reason on standard error.
#include "lib/pictures/PictureInfo.h"
#include "lib/system/crvMain.h"
#include "platform/RuntimeError.h"
#include "platform/WholeFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

using namespace tessera;

namespace {

constexpr int Failure = 1;
constexpr int UsageError = 2;
constexpr qint64 MaxStreamBytes = qint64(1) << 30; // what a picture read from a pipe may hold

const char Usage[] = R"(Usage: tessera-picture info FILE...
       tessera-picture convert FILE OUT.png
       tessera-picture -h | --help

info     prints one line per FILE: the name, the kind of picture, its width,
         height and bits per pixel, separated by tabs. Icons and cursors
         report -1 for width, height and depth.
convert  writes the picture in FILE to OUT.png as a PNG file, whole or not
         at all.

Options:
  -h, --help  show this help and exit

The kind comes from the file's first bytes, never from its name. Read are
BMP, JPEG, GIF, icons, cursors, PNG and TIFF, and by the library's own
readers PCX (256 colours, 24-bit), Targa (true colour, raw or run-length)
and Photoshop (RGB, 8 bits per channel). FILE may be "-" for standard input,
a pipe or a device; OUT may be "-" for standard output.

Exit status: 0 success, 1 a file could not be read or written, 2 a wrong
command line.
)";

void print(FILE *stream, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stream);
}

int fail(const QString &message, int status = Failure)
{
    print(stderr, QStringLiteral("tessera-picture: %1\n").arg(message));
    return status;
}

int usageError(const QString &message)
{
    return fail(message + QStringLiteral(" (see tessera-picture --help)"), UsageError);
}

// Copies a stream (standard input, a pipe, a device) into \a spool, up to
// MaxStreamBytes. Returns the reason of a failure, or an empty text.
QString spoolStream(const QString &name, QTemporaryFile &spool)
{
    QFile in;
    const bool opened = name == QLatin1StringView("-") ? in.open(stdin, QIODevice::ReadOnly)
                                                       : (in.setFileName(name), in.open(QIODevice::ReadOnly));
    if (!opened)
        return in.errorString();
    if (!spool.open())
        return QStringLiteral("no temporary file: ") + spool.errorString();
    char chunk[65536];
    for (qint64 total = 0;;) {
        const qint64 n = in.read(chunk, sizeof chunk);
        if (n < 0)
            return in.errorString();
        if (n == 0)
            break;
        total += n;
        if (total > MaxStreamBytes)
            return QStringLiteral("more than 1 GB; no picture from a stream may be larger");
        if (spool.write(chunk, n) != n)
            return QStringLiteral("temporary file: ") + spool.errorString();
    }
    return spool.flush() ? QString() : QStringLiteral("temporary file: ") + spool.errorString();
}

// Loads one picture: a file by name; anything else (standard input, pipes,
// devices) through a temporary copy. Returns false after printing the
// reason.
bool load(const QString &name, StdPicture *picture, std::unique_ptr<PictureInfo> *info)
{
    PictureInfo *raw = nullptr;
    const QFileInfo fileInfo(name);
    const bool stream
        = name == QLatin1StringView("-") || (fileInfo.exists() && !fileInfo.isFile() && !fileInfo.isDir());
    if (!stream && !fileInfo.isFile()) {
        fail(QStringLiteral("%1: %2").arg(
            name, fileInfo.isDir() ? QStringLiteral("is a folder, not a picture") : QStringLiteral("no such file")));
        return false;
    }
    QTemporaryFile spool(QDir::tempPath() + QStringLiteral("/tessera-picture-XXXXXX"));
    QString source = name;
    if (stream) {
        if (const QString why = spoolStream(name, spool); !why.isEmpty()) {
            fail(QStringLiteral("%1: cannot be read: %2").arg(name, why));
            return false;
        }
        source = spool.fileName();
    } else if (QFile probe(name); !probe.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("%1: cannot be read: %2").arg(name, probe.errorString()));
        return false;
    }
    try {
        *picture = crvMain::global().LoadPictureEx(source, &raw);
    } catch (const RuntimeError &e) {
        info->reset(raw);
        if (e.Number() == RuntimeError::InvalidPicture)
            fail(QStringLiteral("%1: not a picture that can be read (invalid or unsupported format)").arg(name));
        else
            fail(QStringLiteral("%1: %2").arg(name, e.Description()));
        return false;
    }
    info->reset(raw);
    return true;
}

int info(const QStringList &files)
{
    int status = 0;
    for (const QString &name : files) {
        StdPicture picture;
        std::unique_ptr<PictureInfo> facts;
        if (!load(name, &picture, &facts)) {
            status = Failure;
            continue;
        }
        print(stdout,
              QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                  .arg(name, facts->GetPictureTypeName())
                  .arg(facts->Width())
                  .arg(facts->Height())
                  .arg(facts->ImageBPP()));
    }
    std::fflush(stdout);
    return status;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Writes \a bytes to \a name: a new or regular file whole or not at all
// (a temporary file in the same folder, synced, renamed, the folder synced);
// standard output ("-"), a pipe or a device directly, as they cannot be
// replaced. Returns the reason of a failure, or an empty text.
QString writeOutput(const QString &name, const QByteArray &bytes)
{
    const QFileInfo target(name);
    if (name == QLatin1StringView("-") || (target.exists() && !target.isFile() && !target.isDir())) {
        const int fd = name == QLatin1StringView("-") ? STDOUT_FILENO : ::open(QFile::encodeName(name), O_WRONLY);
        if (fd < 0)
            return QString::fromLocal8Bit(std::strerror(errno));
        const bool written = writeAll(fd, bytes);
        const int error = errno;
        if (fd != STDOUT_FILENO && ::close(fd) != 0 && written)
            return QString::fromLocal8Bit(std::strerror(errno));
        return written ? QString() : QString::fromLocal8Bit(std::strerror(error));
    }
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // A full disk first shows as a short write without an error; the next
    // write fails with the reason.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return file.errorString();
        done += qsizetype(n);
    }
    if (!file.commit())
        return file.errorString();
    // The rename is only lasting once the folder is on the disk too.
    WholeFile::syncFolder(target.absolutePath());
    return {};
}

int convert(const QString &input, const QString &output)
{
    StdPicture picture;
    std::unique_ptr<PictureInfo> facts;
    if (!load(input, &picture, &facts))
        return Failure;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.image().save(&buffer, "PNG"))
        return fail(QStringLiteral("%1: the picture cannot be encoded as PNG").arg(input));
    if (const QString why = writeOutput(output, png); !why.isEmpty())
        return fail(QStringLiteral("%1: cannot be written: %2").arg(output, why));
    return 0;
}

int run(const QStringList &args)
{
    if (args.isEmpty())
        return usageError(QStringLiteral("no operation given"));
    const QString &operation = args.first();
    if (operation == QLatin1StringView("--help") || operation == QLatin1StringView("-h")) {
        print(stdout, QString::fromUtf8(Usage));
        return 0;
    }
    if (operation == QLatin1StringView("info")) {
        if (args.size() < 2)
            return usageError(QStringLiteral("info needs at least one FILE"));
        return info(args.mid(1));
    }
    if (operation == QLatin1StringView("convert")) {
        if (args.size() != 3)
            return usageError(QStringLiteral("convert needs FILE and OUT.png"));
        return convert(args.at(1), args.at(2));
    }
    return usageError(QStringLiteral("unknown operation \"%1\"").arg(operation));
}

} // namespace

int main(int argc, char **argv)
{
    // No window is shown, so no display is needed: transparent parts of PNG
    // and TIFF files show the default palette's button face.
    QCoreApplication app(argc, argv);
    return run(QCoreApplication::arguments().mid(1));
}
