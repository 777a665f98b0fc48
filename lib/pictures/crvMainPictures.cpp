// The picture operations of crvMain.
#include "lib/pictures/PictureInfo.h"
#include "lib/pictures/modBitmapWorks.h"
#include "lib/system/crvMain.h"
#include "platform/RuntimeError.h"
#include "platform/VariantConvert.h"
#include "support/csFiles.h"

#include <QFile>
#include <QScopeGuard>

namespace tessera {

namespace {

// A kind's caption and wildcards in the open dialog's filter.
struct FilterEntry {
    const char *caption;
    const char *pattern;
};

constexpr FilterEntry Bitmaps {"Windows bitmap", "*.BMP;*.DIB;*.RLE"};
constexpr FilterEntry Jpeg {"JPEG", "*.JPG;*.JPE;*.JPEG"};
constexpr FilterEntry Gif {"CompuServe GIF", "*.GIF"};
constexpr FilterEntry Wmf {"Windows metafile", "*.WMF"};
constexpr FilterEntry Emf {"Enhanced metafile", "*.EMF"};
constexpr FilterEntry Icon {"Windows icon", "*.ICO"};
constexpr FilterEntry Cursor {"Windows cursor", "*.CUR"};
constexpr FilterEntry Png {"Portable network graphics", "*.PNG"};
constexpr FilterEntry Psd {"Photoshop document", "*.PSD"};
constexpr FilterEntry Pcx {"Zsoft Paintbrush", "*.PCX"};
constexpr FilterEntry Tga {"Truevision Targa", "*.TGA"};
constexpr FilterEntry Tiff {"Tagged image file format", "*.TIF;*.TIFF"};

// The kinds in the order the filter and the pattern list them; the optional
// ones (metafiles, icons, cursors) always in the order WMF, EMF, ICO, CUR.
QList<FilterEntry> filterEntries(bool icon, bool cursor, bool wmf, bool emf)
{
    QList<FilterEntry> entries {Bitmaps, Jpeg, Gif};
    if (wmf)
        entries.append(Wmf);
    if (emf)
        entries.append(Emf);
    if (icon)
        entries.append(Icon);
    if (cursor)
        entries.append(Cursor);
    entries.append({Png, Psd, Pcx, Tga, Tiff});
    return entries;
}

} // namespace

StdPicture crvMain::LoadPictureEx(const QString &FileName, PictureInfo **Info)
{
    if (FileName.isEmpty())
        return {};
    if (!cs::csIsFileExist(FileName))
        throw RuntimeError(RuntimeError::FileNotFound);
    if (Info && !*Info)
        *Info = new PictureInfo;
    return LoadWithReaders(FileName, Info ? *Info : nullptr);
}

QVariant crvMain::LoadPictureExByVar(const QVariant &FileName, QVariant &Info)
{
    const QString fileName = variantToText(FileName);
    PictureInfo *info = nullptr;
    if (Info.isValid()) {
        if (!Info.canConvert<QObject *>())
            throw RuntimeError(RuntimeError::TypeMismatch);
        QObject *object = Info.value<QObject *>();
        info = qobject_cast<PictureInfo *>(object);
        if (object && !info)
            throw RuntimeError(RuntimeError::TypeMismatch);
    }
    const StdPicture picture = LoadPictureEx(fileName, &info);
    Info = QVariant::fromValue<QObject *>(info);
    return QVariant::fromValue(picture);
}

QString crvMain::GetLoadPictureExPattern(bool IncludeIcon, bool IncludeCursor, bool IncludeWMF, bool IncludeEMF) const
{
    QStringList patterns;
    for (const FilterEntry &entry : filterEntries(IncludeIcon, IncludeCursor, IncludeWMF, IncludeEMF))
        patterns.append(QLatin1StringView(entry.pattern));
    return patterns.join(u';');
}

QString crvMain::GetLoadPictureExFilter(bool IncludeIcon, bool IncludeCursor, bool IncludeWMF, bool IncludeEMF) const
{
    QStringList parts {QStringLiteral("Картинки"),
                       GetLoadPictureExPattern(IncludeIcon, IncludeCursor, IncludeWMF, IncludeEMF)};
    for (const FilterEntry &entry : filterEntries(IncludeIcon, IncludeCursor, IncludeWMF, IncludeEMF))
        parts << QLatin1StringView(entry.caption) << QLatin1StringView(entry.pattern);
    parts << QStringLiteral("Все файлы") << QStringLiteral("*.*");
    return parts.join(u'|');
}

StdPicture crvMain::LoadResPictureByData(const QByteArray &ResourceData, PictureInfo **Info)
{
    const QString name = cs::csGetTempFileName2(QString(), QStringLiteral("TMP"));
    const auto removeTemporary = qScopeGuard([&name] { QFile::remove(name); });
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(ResourceData) != ResourceData.size()
        || !file.flush()) {
        throw RuntimeError(RuntimeError::PathFileAccessError, name + QStringLiteral(": ") + file.errorString());
    }
    file.close();
    return LoadPictureEx(name, Info);
}

} // namespace tessera
