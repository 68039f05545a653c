#include "FuzzChecks.h"

#include "paint/PictureFile.h"

namespace pel::fuzz {

// ---- Pictures ---------------------------------------------------------------
// As the paint form opens a file of that extension (loadPictureFile without
// the disk), shows it at another size and saves it as a bitmap.

namespace {

QString checkPicture(QByteArrayView bytes, const QString& extension)
{
    const std::optional<PictureKind> kind = pictureKindForExtension(extension);
    if (!kind)
        return QStringLiteral("no picture kind for .%1").arg(extension);
    const PictureResult result = decodePicture(bytes, *kind);
    if (!result.picture)
        return result.error.isEmpty() ? QStringLiteral("refused without saying why") : QString();
    const Picture& picture = *result.picture;
    const QImage& image = picture.image;
    if (picture.kind != *kind)
        return QStringLiteral("opened as another kind");
    if (image.width() > kMaxPictureSide || image.height() > kMaxPictureSide
        || qint64(image.width()) * image.height() > kMaxPicturePixels)
        return QStringLiteral("picture larger than the limits (%1 × %2)").arg(image.width()).arg(image.height());
    if (picture.isBitmap() && !image.isNull() && image.format() != QImage::Format_RGB32)
        return QStringLiteral("bitmap not in the canvas format");
    if (picture.render(QSize(17, 13)).size() != QSize(17, 13))
        return QStringLiteral("drawn at another size, the picture has the wrong size");
    // Saving writes a 24-bit bitmap that opens again as the same pixels.
    if (!image.isNull() && qint64(image.width()) * image.height() <= 256 * 256) {
        const QImage flat = toBitmapImage(image).convertToFormat(QImage::Format_RGB32);
        const PictureResult saved = decodePicture(encodeBmp(image), PictureKind::Bitmap);
        if (!saved.picture || saved.picture->image != flat)
            return QStringLiteral("the saved bitmap does not open as the picture");
    }
    return {};
}

} // namespace

QString checkBmp(QByteArrayView bytes) { return checkPicture(bytes, QStringLiteral("bmp")); }
QString checkIco(QByteArrayView bytes) { return checkPicture(bytes, QStringLiteral("ico")); }
QString checkJpeg(QByteArrayView bytes) { return checkPicture(bytes, QStringLiteral("jpg")); }
QString checkWmf(QByteArrayView bytes) { return checkPicture(bytes, QStringLiteral("wmf")); }
QString checkEmf(QByteArrayView bytes) { return checkPicture(bytes, QStringLiteral("emf")); }

} // namespace pel::fuzz
