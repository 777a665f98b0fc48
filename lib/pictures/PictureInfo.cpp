#include "lib/pictures/PictureInfo.h"

namespace tessera {

class PictureInfo::Private
{
public:
    Record record;
    qint32 type = crvPteNothing;
};

PictureInfo::PictureInfo(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Private>())
{ }

PictureInfo::~PictureInfo() = default;

qint32 PictureInfo::Width() const
{
    return d->record.Width;
}

qint32 PictureInfo::Height() const
{
    return d->record.Height;
}

qint32 PictureInfo::ImageBPP() const
{
    return d->record.BPP;
}

qint32 PictureInfo::PictureType() const
{
    return d->type;
}

QString PictureInfo::GetPictureTypeName() const
{
    return pictureTypeName(d->type);
}

void PictureInfo::ResetInfo()
{
    d->record = {};
    d->type = crvPteNothing;
}

void PictureInfo::SetInfo(const Record &record, crvPictureTypeEx type)
{
    d->record = record;
    d->type = type;
}

} // namespace tessera
