// A written file must be on the disk before it takes its name, and the name
// must be on the disk before the green light: fsync of the file, the rename,
// then fsync of the folder. This test binary puts its own fsync, rename and
// renameat2 in front of the C library's to see the order of the calls; they
// are visible to the shared libraries too, which make some of the calls.
#include "app/common/StringTextHolder.h"
#include "app/mail/FileAccess.h"
#include "app/mail/modMail.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace {

struct Call {
    QString what; // "fsync", "rename"
    QString path; // the synced file or folder, or the new name
    QString from; // for a rename: the old name
};

std::mutex g_lock;
bool g_recording = false;
std::vector<Call> g_calls;

void record(const Call &call)
{
    std::lock_guard guard(g_lock);
    if (g_recording)
        g_calls.push_back(call);
}

QString pathOf(int fd)
{
    return QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(fd)).symLinkTarget();
}

template <typename F> F real(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" __attribute__((visibility("default"))) int fsync(int fd)
{
    record({QStringLiteral("fsync"), pathOf(fd), {}});
    static const auto next = real<int (*)(int)>("fsync");
    return next(fd);
}

extern "C" __attribute__((visibility("default"))) int rename(const char *from, const char *to) noexcept
{
    record({QStringLiteral("rename"), QFile::decodeName(to), QFile::decodeName(from)});
    static const auto next = real<int (*)(const char *, const char *)>("rename");
    return next(from, to);
}

extern "C" __attribute__((visibility("default"))) int renameat2(int fromDir, const char *from, int toDir,
                                                                const char *to, unsigned int flags) noexcept
{
    record({QStringLiteral("rename"), QFile::decodeName(to), QFile::decodeName(from)});
    static const auto next = real<int (*)(int, const char *, int, const char *, unsigned int)>("renameat2");
    return next(fromDir, from, toDir, to, flags);
}

namespace {

using namespace quillon;

std::vector<Call> recorded(const std::function<QString()> &write)
{
    {
        std::lock_guard guard(g_lock);
        g_calls.clear();
        g_recording = true;
    }
    const QString path = write();
    std::lock_guard guard(g_lock);
    g_recording = false;
    std::vector<Call> calls = g_calls;
    calls.push_back({QStringLiteral("written"), path, {}});
    return calls;
}

TEST(FileSync, FileIsSyncedBeforeItsNameAndTheFolderAfter)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("p.jpg"));
    FileAccess::WriteFileRaw(picture, "picture");
    const std::pair<const char *, std::function<QString()>> writers[] = {
        {"a message",
         [&] {
             StringTextHolder folder(dir.path());
             QString path;
             EXPECT_TRUE(modMail::MakePostMail(folder, QStringLiteral("a@b.c"), QStringLiteral("d@e.f"), {}, picture,
                                               MailFailureReporter::messageBoxes(), &path));
             return path;
         }},
        {"a new file",
         [&] {
             return FileAccess::WriteNewFileRaw([&] { return dir.filePath(QStringLiteral("new.eml")); }, {"data"});
         }},
        {"a replaced file (history)",
         [&] {
             const QString path = dir.filePath(QStringLiteral("History.DAT"));
             FileAccess::WriteFileText(path, QStringLiteral("a\r\nb"));
             return path;
         }},
    };
    for (const auto &[label, write] : writers) {
        SCOPED_TRACE(label);
        const std::vector<Call> calls = recorded(write);
        const QString target = calls.back().path;
        ASSERT_FALSE(target.isEmpty());
        // The last rename to the target, the fsync of the data file before
        // it and of the folder after it.
        const auto renamed = std::find_if(calls.rbegin(), calls.rend(), [&](const Call &c) {
            return c.what == QLatin1String("rename") && c.path == target;
        });
        ASSERT_NE(renamed, calls.rend()) << "the file was not renamed into place";
        const QString temporary = renamed->from;
        const auto renameAt = calls.rend() - renamed - 1;
        const auto syncedAt = [&](const QString &path) -> std::ptrdiff_t {
            for (std::size_t i = 0; i < calls.size(); ++i)
                if (calls[i].what == QLatin1String("fsync") && calls[i].path == path)
                    return std::ptrdiff_t(i);
            return -1;
        };
        const std::ptrdiff_t fileSync = syncedAt(temporary);
        EXPECT_GE(fileSync, 0) << "the data file was never synced";
        EXPECT_LT(fileSync, renameAt) << "synced after it took its name";
        std::ptrdiff_t folderSync = -1;
        for (std::size_t i = std::size_t(renameAt) + 1; i < calls.size(); ++i)
            if (calls[i].what == QLatin1String("fsync") && calls[i].path == QFileInfo(target).absolutePath())
                folderSync = std::ptrdiff_t(i);
        EXPECT_GT(folderSync, renameAt) << "the folder was not synced after the rename";
    }
}

} // namespace
