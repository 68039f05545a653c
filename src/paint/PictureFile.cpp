#include "paint/PictureFile.h"

#include "paint/MetafilePlayer.h"
#include "platform/SafeFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <csetjmp>
#include <cstdlib>
#include <limits>
#include <cstdio>
#include <cstring>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace pel {

const QList<PictureFormat>& pictureFormats()
{
    static const QList<PictureFormat> formats = {
        {QStringLiteral("jpg"), QStringLiteral("JPEG イメージファイル"), PictureKind::Jpeg},
        {QStringLiteral("jpeg"), QStringLiteral("JPEG イメージファイル"), PictureKind::Jpeg},
        {QStringLiteral("bmp"), QStringLiteral("ビットマップ"), PictureKind::Bitmap},
        {QStringLiteral("ico"), QStringLiteral("アイコン"), PictureKind::Icon},
        {QStringLiteral("emf"), QStringLiteral("エンハンス メタファイル"), PictureKind::EnhancedMetafile},
        {QStringLiteral("wmf"), QStringLiteral("メタファイル"), PictureKind::Metafile},
    };
    return formats;
}

QList<FileFilter> pictureFileFilters()
{
    QStringList all;
    for (const PictureFormat& format : pictureFormats())
        all << QStringLiteral("*.") + format.extension;
    const QString joined = all.join(u';');
    QList<FileFilter> filters;
    filters << FileFilter{QStringLiteral("すべてのファイル (%1)").arg(joined), joined};
    for (const PictureFormat& format : pictureFormats()) {
        const QString pattern = QStringLiteral("*.") + format.extension;
        filters << FileFilter{QStringLiteral("%1 (%2)").arg(format.description, pattern), pattern};
    }
    return filters;
}

std::optional<PictureKind> pictureKindForExtension(const QString& extension)
{
    const QString lower = extension.toLower();
    for (const PictureFormat& format : pictureFormats()) {
        if (format.extension == lower)
            return format.kind;
    }
    return std::nullopt;
}

QString unknownExtensionMessage(const QString& extension)
{
    return QStringLiteral("拡張子 .%1 の画像形式は処理できません").arg(extension);
}

namespace {

QString tooLargeMessage(qint64 width, qint64 height)
{
    return QStringLiteral("画像が大きすぎるため開けません (%1 × %2)").arg(width).arg(height);
}

bool sizeAllowed(qint64 width, qint64 height)
{
    return width >= 0 && height >= 0 && width <= kMaxPictureSide && height <= kMaxPictureSide
        && width * height <= kMaxPicturePixels;
}

QString invalidMessage(PictureKind kind)
{
    switch (kind) {
    case PictureKind::Bitmap:
        return QStringLiteral("ビットマップ イメージは有効ではありません");
    case PictureKind::Icon:
        return QStringLiteral("アイコン イメージは有効ではありません");
    case PictureKind::Metafile:
    case PictureKind::EnhancedMetafile:
        return QStringLiteral("メタファイルは有効ではありません");
    case PictureKind::Jpeg:
        break;
    }
    return QStringLiteral("画像は有効ではありません");
}

// BMP and ICO through Qt's readers, with the size checked before any pixel
// memory is taken.
// Where an uncompressed BMP file ends before its last row: the rows (in file
// order) it holds whole, and the pixels of the row it breaks off in.
struct BmpShortfall {
    qint64 paddedSize = 0;
    qint64 wholeRows = 0;
    qint64 partialPixels = 0;
    qint64 height = 0;
    bool bottomUp = true;
};

std::optional<BmpShortfall> bmpShortfall(QByteArrayView bytes)
{
    if (bytes.size() < 34 || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    auto u16 = [p](int at) { return quint32(p[at]) | quint32(p[at + 1]) << 8; };
    auto u32 = [u16](int at) { return u16(at) | u16(at + 2) << 16; };
    const quint32 offset = u32(10);
    const quint32 header = u32(14);
    if (header < 40)
        return std::nullopt;
    const qint64 width = qint32(u32(18));
    const qint32 h = qint32(u32(22));
    const quint32 bits = u16(28);
    const quint32 compression = u32(30);
    // Run-length data has no fixed size; only plain and bit-field rows do.
    if ((compression != 0 && compression != 3) || width <= 0 || h == 0 || h == std::numeric_limits<qint32>::min())
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return std::nullopt;
    const qint64 height = std::abs(qint64(h));
    if (!sizeAllowed(width, height) || offset < 14 + header || offset > quint32(bytes.size()))
        return std::nullopt;
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    const qint64 end = qint64(offset) + rowBytes * height;
    if (bytes.size() >= end)
        return std::nullopt;
    const qint64 held = bytes.size() - offset;
    return BmpShortfall{end, held / rowBytes, (held % rowBytes) * 8 / bits, height, h > 0};
}

// The rows a cut-off file does not hold become white, not whatever the
// memory held before.
void whitenMissingRows(QImage& image, const BmpShortfall& shortfall)
{
    const QRgb white = qRgb(255, 255, 255);
    for (qint64 row = shortfall.wholeRows; row < shortfall.height && row < image.height(); ++row) {
        const int y = int(shortfall.bottomUp ? shortfall.height - 1 - row : row);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const qint64 from = row == shortfall.wholeRows ? shortfall.partialPixels : 0;
        for (qint64 x = from; x < image.width(); ++x)
            line[x] = white;
    }
}

PictureResult decodeWithQt(QByteArrayView bytes, PictureKind kind)
{
    std::optional<BmpShortfall> shortfall;
    QByteArray padded;
    if (kind == PictureKind::Bitmap && (shortfall = bmpShortfall(bytes))) {
        padded = QByteArray(bytes.data(), bytes.size());
        padded.append(QByteArray(shortfall->paddedSize - bytes.size(), '\0'));
        bytes = padded;
    }
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    if (kind == PictureKind::Bitmap && bytes.size() >= 26 && bytes[0] == 'B' && bytes[1] == 'M') {
        // Qt refuses some oversized headers without saying why; name the size.
        const auto* p = reinterpret_cast<const uchar*>(bytes.data());
        const quint32 header = quint32(p[14]) | quint32(p[15]) << 8 | quint32(p[16]) << 16 | quint32(p[17]) << 24;
        if (header >= 40) {
            const qint32 w = qint32(quint32(p[18]) | quint32(p[19]) << 8 | quint32(p[20]) << 16 | quint32(p[21]) << 24);
            const qint32 h = qint32(quint32(p[22]) | quint32(p[23]) << 8 | quint32(p[24]) << 16 | quint32(p[25]) << 24);
            const qint64 height = h == std::numeric_limits<qint32>::min() ? qint64(1) << 31 : std::abs(qint64(h));
            if (w > 0 && !sizeAllowed(w, height))
                return {std::nullopt, tooLargeMessage(w, height)};
        }
    }
    // Qt's own cap on the memory one image may take, tightened to ours.
    QImageReader::setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)) + 1);
    QImageReader reader(&buffer, kind == PictureKind::Icon ? "ico" : "bmp");
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && !sizeAllowed(size.width(), size.height()))
        return {std::nullopt, tooLargeMessage(size.width(), size.height())};
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return {std::nullopt, invalidMessage(kind)};
    if (!sizeAllowed(image.width(), image.height()))
        return {std::nullopt, tooLargeMessage(image.width(), image.height())};
    if (kind == PictureKind::Bitmap)
        image = image.convertToFormat(QImage::Format_RGB32);
    else
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (shortfall) {
        whitenMissingRows(image, *shortfall);
        return {Picture{kind, image, {}}, {}, QStringLiteral("ファイルが壊れています。足りない部分は白で表示しています。")};
    }
    return {Picture{kind, image, {}}, {}};
}

// ---- JPEG ---------------------------------------------------------------
// libjpeg reports errors by calling error_exit, which must not return; we
// jump back to the decoder. Nothing with a destructor lives in the frame
// that calls setjmp, so the jump skips no clean-up.

struct JpegFailure {
    enum Kind { None, Library, TooLarge, TooManyScans, OutOfMemory } kind = None;
    int code = 0;
    qint64 width = 0;
    qint64 height = 0;
};

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    JpegFailure* failure;
    long warnings;
};

struct JpegProgress {
    jpeg_progress_mgr pub;
    JpegErrorManager* errors;
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo)
{
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    manager->failure->kind = JpegFailure::Library;
    manager->failure->code = manager->pub.msg_code;
    std::longjmp(manager->jump, 1);
}

void jpegEmitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;  // trace messages
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    // A file cut short would show a half grey picture; report it instead.
    // Streams of corrupt data are cut off before they cost time.
    if (manager->pub.msg_code == JWRN_JPEG_EOF || ++manager->warnings > 1000000)
        jpegErrorExit(cinfo);
}

void jpegOutputMessage(j_common_ptr) {}

void jpegProgress(j_common_ptr cinfo)
{
    auto* progress = reinterpret_cast<JpegProgress*>(cinfo->progress);
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number > kMaxJpegScans) {
        progress->errors->failure->kind = JpegFailure::TooManyScans;
        std::longjmp(progress->errors->jump, 1);
    }
}

void decodeJpegInto(const unsigned char* data, unsigned long size, QImage* out, JpegFailure* failure)
{
    jpeg_decompress_struct cinfo;
    JpegErrorManager errors;
    JpegProgress progress;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = jpegErrorExit;
    errors.pub.emit_message = jpegEmitMessage;
    errors.pub.output_message = jpegOutputMessage;
    errors.failure = failure;
    errors.warnings = 0;
    progress.pub.progress_monitor = jpegProgress;
    progress.errors = &errors;

    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress.pub;
    // The largest picture we accept needs well under this; a file that asks
    // for more (huge progressive coefficient buffers) is refused.
    cinfo.mem->max_memory_to_use = 200L * 1024 * 1024;
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);

    if (!sizeAllowed(cinfo.image_width, cinfo.image_height)) {
        failure->kind = JpegFailure::TooLarge;
        failure->width = cinfo.image_width;
        failure->height = cinfo.image_height;
        jpeg_destroy_decompress(&cinfo);
        return;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(&cinfo);

    const int width = static_cast<int>(cinfo.output_width);
    const int height = static_cast<int>(cinfo.output_height);
    *out = QImage(width, height, QImage::Format_RGB32);
    if (out->isNull()) {
        failure->kind = JpegFailure::OutOfMemory;
        jpeg_destroy_decompress(&cinfo);
        return;
    }
    JSAMPARRAY cmykRow = nullptr;
    if (cmyk)
        cmykRow = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                             static_cast<JDIMENSION>(width) * 4, 1);
    const bool inverted = cinfo.saw_Adobe_marker;
    while (cinfo.output_scanline < cinfo.output_height) {
        auto* line = reinterpret_cast<QRgb*>(out->scanLine(static_cast<int>(cinfo.output_scanline)));
        if (!cmyk) {
            JSAMPROW row = reinterpret_cast<JSAMPROW>(line);
            jpeg_read_scanlines(&cinfo, &row, 1);
            continue;
        }
        jpeg_read_scanlines(&cinfo, cmykRow, 1);
        const JSAMPLE* p = cmykRow[0];
        for (int x = 0; x < width; ++x, p += 4) {
            // Adobe writes CMYK inverted; then each channel is already
            // "amount of light".
            int c = p[0], m = p[1], y = p[2], k = p[3];
            if (!inverted) {
                c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k;
            }
            line[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}

} // namespace

QImage decodeJpeg(QByteArrayView bytes, QString* error)
{
    QImage image;
    JpegFailure failure;
    if (bytes.isEmpty()) {
        failure.kind = JpegFailure::Library;
        failure.code = JERR_INPUT_EMPTY;
    } else {
        decodeJpegInto(reinterpret_cast<const unsigned char*>(bytes.data()),
                       static_cast<unsigned long>(bytes.size()), &image, &failure);
    }
    QString message;
    switch (failure.kind) {
    case JpegFailure::None:
        return image;
    case JpegFailure::Library:
        message = QStringLiteral("JPEG エラー #%1").arg(failure.code);
        break;
    case JpegFailure::TooLarge:
        message = tooLargeMessage(failure.width, failure.height);
        break;
    case JpegFailure::TooManyScans:
        message = QStringLiteral("JPEG のスキャン数が多すぎるため開けません");
        break;
    case JpegFailure::OutOfMemory:
        message = QStringLiteral("メモリが足りないため画像を開けません");
        break;
    }
    if (error)
        *error = message;
    return {};
}

PictureResult decodePicture(QByteArrayView bytes, PictureKind kind)
{
    switch (kind) {
    case PictureKind::Bitmap:
    case PictureKind::Icon:
        return decodeWithQt(bytes, kind);
    case PictureKind::Jpeg: {
        QString error;
        QImage image = decodeJpeg(bytes, &error);
        if (image.isNull())
            return {std::nullopt, error};
        return {Picture{kind, image, {}}, {}};
    }
    case PictureKind::Metafile:
    case PictureKind::EnhancedMetafile: {
        const QByteArray data(bytes.data(), bytes.size());
        MetafilePlayer player(data, kind == PictureKind::EnhancedMetafile ? MetafilePlayer::Format::Emf
                                                                          : MetafilePlayer::Format::Wmf);
        if (!player.isValid())
            return {std::nullopt, player.errorMessage().isEmpty() ? invalidMessage(kind) : player.errorMessage()};
        const QSize size = player.size();
        if (!sizeAllowed(size.width(), size.height()))
            return {std::nullopt, tooLargeMessage(size.width(), size.height())};
        QImage image = player.render(size);
        if (image.isNull() && !size.isEmpty())
            return {std::nullopt, invalidMessage(kind)};
        return {Picture{kind, image, data}, {}};
    }
    }
    return {std::nullopt, invalidMessage(kind)};
}

PictureResult loadPictureFile(const QString& path)
{
    const QFileInfo info(path);
    const QString extension = info.suffix();
    const std::optional<PictureKind> kind = pictureKindForExtension(extension);
    if (!kind)
        return {std::nullopt, unknownExtensionMessage(extension)};
    if (info.isFile() && info.size() > kMaxPictureFileBytes)
        return {std::nullopt, QStringLiteral("ファイル %1 は大きすぎるため開けません").arg(path)};
    const std::optional<QByteArray> bytes = readWholeFile(path);
    if (!bytes)
        return {std::nullopt, cannotOpenMessage(path)};
    return decodePicture(*bytes, *kind);
}

QImage picturePreview(const QString& path, QSize room)
{
    const PictureResult result = loadPictureFile(path);
    if (!result.picture || result.picture->image.isNull())
        return {};
    const QImage& image = result.picture->image;
    if (image.width() <= room.width() && image.height() <= room.height())
        return image;
    const QSize fitted = image.size().scaled(room, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    return result.picture->render(fitted);
}

QImage Picture::render(QSize size) const
{
    if (size.isEmpty())
        return QImage(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    if ((kind == PictureKind::Metafile || kind == PictureKind::EnhancedMetafile) && !metafile.isEmpty()
        && sizeAllowed(size.width(), size.height())) {
        MetafilePlayer player(metafile, kind == PictureKind::EnhancedMetafile ? MetafilePlayer::Format::Emf
                                                                              : MetafilePlayer::Format::Wmf);
        if (player.isValid())
            return player.render(size);
    }
    if (image.size() == size)
        return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage toBitmapImage(const QImage& image)
{
    if (image.format() == QImage::Format_RGB32 || image.isNull())
        return image;
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    return flat;
}

QByteArray encodeBmp(const QImage& source)
{
    const QImage image = toBitmapImage(source);
    const int width = image.isNull() ? 0 : image.width();
    const int height = image.isNull() ? 0 : image.height();
    const qint64 rowBytes = (qint64(width) * 3 + 3) & ~qint64(3);
    const qint64 pixelBytes = rowBytes * height;
    const qint64 headerBytes = 14 + 40;
    QByteArray out(static_cast<qsizetype>(headerBytes + pixelBytes), '\0');
    auto* p = reinterpret_cast<uchar*>(out.data());
    auto put16 = [](uchar* at, quint32 v) { at[0] = uchar(v); at[1] = uchar(v >> 8); };
    auto put32 = [](uchar* at, quint32 v) {
        at[0] = uchar(v); at[1] = uchar(v >> 8); at[2] = uchar(v >> 16); at[3] = uchar(v >> 24);
    };
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, quint32(headerBytes + pixelBytes));
    put32(p + 10, quint32(headerBytes));
    put32(p + 14, 40);
    put32(p + 18, quint32(width));
    put32(p + 22, quint32(height));  // positive: bottom-up rows
    put16(p + 26, 1);
    put16(p + 28, 24);
    put32(p + 34, quint32(pixelBytes));
    put32(p + 38, 3780);  // 96 dpi
    put32(p + 42, 3780);
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(height - 1 - y));
        uchar* row = p + headerBytes + rowBytes * y;
        for (int x = 0; x < width; ++x) {
            const QRgb c = line[x];
            row[x * 3] = uchar(qBlue(c));
            row[x * 3 + 1] = uchar(qGreen(c));
            row[x * 3 + 2] = uchar(qRed(c));
        }
    }
    return out;
}

bool writeBmpFile(const QString& path, const QImage& image)
{
    return writeWholeFile(path, encodeBmp(image));
}

} // namespace pel
