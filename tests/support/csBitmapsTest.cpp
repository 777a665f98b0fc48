// Bitmap handles and the picture object over them.
#include "support/csBitmaps.h"

#include <gtest/gtest.h>

namespace {

using tessera::StdPicture;

TEST(csBitmaps, APictureSharesItsBitmapAndACopyHasItsOwnHandle)
{
    QImage bitmap(4, 3, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    const StdPicture picture = cs::csGetBitmapFromHandle(bitmap);
    EXPECT_EQ(picture.Type(), StdPicture::vbPicTypeBitmap);
    EXPECT_EQ(picture.Handle(), bitmap.cacheKey()) << "the picture owns the bitmap it was given";
    EXPECT_EQ(QSize(picture.Width(), picture.Height()), QSize(4, 3));

    const QImage copy = cs::csCopyBitmap(bitmap);
    EXPECT_NE(copy.cacheKey(), bitmap.cacheKey());
    EXPECT_EQ(copy, bitmap);
    bitmap.fill(Qt::blue);
    EXPECT_EQ(copy.pixelColor(0, 0), QColor(Qt::red)) << "the copy does not follow the original";
}

TEST(csBitmaps, TheNullBitmapIsHandleZero)
{
    const StdPicture picture = cs::csGetBitmapFromHandle(QImage());
    EXPECT_TRUE(picture.isEmpty());
    EXPECT_EQ(picture.Type(), StdPicture::vbPicTypeNone);
    EXPECT_EQ(picture.Handle(), 0);
    EXPECT_TRUE(cs::csCopyBitmap(QImage()).isNull());
    // A picture of type none holds no image, whatever it was given.
    EXPECT_TRUE(StdPicture(StdPicture::vbPicTypeNone, QImage(2, 2, QImage::Format_RGB32)).image().isNull());
    EXPECT_TRUE(StdPicture().pixmap().isNull());
}

} // namespace
