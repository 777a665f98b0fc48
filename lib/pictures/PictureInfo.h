#pragma once

#include "lib/TesseraExport.h"
#include "lib/pictures/crvPictureTypeEx.h"

#include <QObject>

#include <memory>

namespace tessera {

/// What a picture load found out: width and height in pixels, bits per
/// pixel and the kind of file (crvPictureTypeEx). All 0 in a new object and
/// after a failed load. Icons, cursors and metafiles that the system loader
/// reads report -1 for width, height and depth.
///
///     PictureInfo *info = nullptr;
///     crvMain::global().LoadPictureEx(QStringLiteral("old.pcx"), &info);
///     info->GetPictureTypeName(); // "Zsoft Paintbrush"
class TESSERA_EXPORT PictureInfo : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint32 Width READ Width)
    Q_PROPERTY(qint32 Height READ Height)
    Q_PROPERTY(qint32 ImageBPP READ ImageBPP)
    Q_PROPERTY(qint32 PictureType READ PictureType)

public:
    /// Width, height and depth, as a reader hands them over.
    struct Record {
        qint32 Width = 0;
        qint32 Height = 0;
        qint32 BPP = 0;
    };

    explicit PictureInfo(QObject *parent = nullptr);
    ~PictureInfo() override;

    qint32 Width() const;
    qint32 Height() const;
    qint32 ImageBPP() const;
    qint32 PictureType() const;
    /// The name of PictureType() ("Nothing" for a new object).
    Q_INVOKABLE QString GetPictureTypeName() const;

    /// For the readers: every reader resets the object before it looks at a
    /// file, so a failed reader leaves zeros behind.
    void ResetInfo();
    /// For the readers: takes width, height and depth from \a record and the
    /// kind \a type.
    void SetInfo(const Record &record, crvPictureTypeEx type);

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
