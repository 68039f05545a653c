#pragma once
// Picture files of the paint form: which kinds open, how each is decoded,
// and the one format pictures are saved in (Windows BMP).
#include "platform/Dialogs.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QString>
#include <optional>

namespace pel {

enum class PictureKind { Bitmap, Jpeg, Icon, Metafile, EnhancedMetafile };

struct PictureFormat {
    QString extension;    // without the dot, lower case
    QString description;  // as the file dialogs show it
    PictureKind kind;
};

// Every picture file decoder stays within these, whatever the file claims.
inline constexpr qint64 kMaxPicturePixels = 32LL * 1024 * 1024;      // 128 MB at 32 bits a pixel
inline constexpr int kMaxPictureSide = 32767;
inline constexpr qint64 kMaxPictureFileBytes = 128LL * 1024 * 1024;
inline constexpr int kMaxJpegScans = 500;

// The formats in the order the dialogs list them.
const QList<PictureFormat>& pictureFormats();
// "すべてのファイル (...)" first, then one entry per format.
QList<FileFilter> pictureFileFilters();
std::optional<PictureKind> pictureKindForExtension(const QString& extension);
// "拡張子 .%s の画像形式は処理できません"
QString unknownExtensionMessage(const QString& extension);

// A picture as it was loaded: its kind, its pixels at its own size, and for
// metafiles the file itself, so it can be drawn again at any size.
struct Picture {
    PictureKind kind = PictureKind::Bitmap;
    QImage image;
    QByteArray metafile;

    bool isBitmap() const { return kind == PictureKind::Bitmap; }
    // The picture drawn into `size` (stretched); metafiles are played again.
    QImage render(QSize size) const;
};

struct PictureResult {
    std::optional<Picture> picture;
    QString error;  // the message for the status bar when `picture` is empty
    // Said after the opening message when the file was damaged but what it
    // holds could be shown.
    QString warning = {};
};

// The picture of a file scaled down to fit `room` (never enlarged), as the
// open dialog shows it; a null image when the file cannot be read.
QImage picturePreview(const QString& path, QSize room);

// Opens a picture file; the extension decides how it is read.
PictureResult loadPictureFile(const QString& path);
PictureResult decodePicture(QByteArrayView bytes, PictureKind kind);

// JPEG through libjpeg-turbo. A damaged file gives "JPEG エラー #<code>"
// with the library's message code in `error`. A file cut short gives what it
// holds, the rest white, and sets `cutShort`.
QImage decodeJpeg(QByteArrayView bytes, QString* error, bool* cutShort = nullptr);

// A picture as the pixels of a bitmap file: alpha is flattened onto white.
QImage toBitmapImage(const QImage& image);
// The bytes of a Windows BMP file of `image` (24 bits a pixel).
QByteArray encodeBmp(const QImage& image);
// Writes a BMP file atomically; false when it cannot be written (the old
// file, if any, is left as it was).
bool writeBmpFile(const QString& path, const QImage& image);

} // namespace pel
