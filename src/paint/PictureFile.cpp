#include "paint/PictureFile.h"

#include "paint/BitmapDecoder.h"
#include "paint/MetafilePlayer.h"
#include "platform/SafeFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <bit>
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

QString damagedMessage()
{
    return QStringLiteral("ファイルが壊れています。足りない部分は白で表示しています。");
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

QString unsupportedBitmapMessage(quint32 compression)
{
    return QStringLiteral("このビットマップの圧縮形式 (%1) には対応していません").arg(compression);
}

PictureResult decodeBitmap(QByteArrayView bytes)
{
    const BitmapDecode decoded = decodeBmpFile(bytes);
    switch (decoded.status) {
    case BitmapDecode::Ok:
        return {Picture{PictureKind::Bitmap, decoded.image, {}}, {}};
    case BitmapDecode::Damaged:
        return {Picture{PictureKind::Bitmap, decoded.image, {}}, {}, damagedMessage()};
    case BitmapDecode::TooLarge:
        return {std::nullopt, tooLargeMessage(decoded.width, decoded.height)};
    case BitmapDecode::Unsupported:
        return {std::nullopt, unsupportedBitmapMessage(decoded.compression)};
    case BitmapDecode::Invalid:
        break;
    }
    return {std::nullopt, invalidMessage(PictureKind::Bitmap)};
}

// The entry of a multi-size icon that the standard icon size (32 × 32)
// takes: that size, else the nearest larger, else the largest; of equal
// sizes the one with the most colours. -1 when the directory is unreadable.
int standardIconEntry(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    auto u16 = [&](qint64 at) { return at + 2 <= bytes.size() ? int(p[at] | p[at + 1] << 8) : 0; };
    const int count = u16(4);
    if (bytes.size() < 6 || u16(0) != 0 || count == 0)
        return -1;
    constexpr int kStandard = 32;
    int best = -1;
    qint64 bestSide = 0, bestDepth = 0;
    for (int i = 0; i < count && 6 + 16 * (i + 1) <= bytes.size(); ++i) {
        const uchar* e = p + 6 + 16 * i;
        const int width = e[0] == 0 ? 256 : e[0];
        const int height = e[1] == 0 ? 256 : e[1];
        const qint64 side = std::max(width, height);
        qint64 depth = u16(6 + 16 * i + 6);
        if (depth == 0)
            depth = e[2] == 0 ? 8 : std::bit_width(unsigned(e[2] - 1));
        const auto rank = [](qint64 s) {
            // Smaller is better: exact, then larger ones nearest first, then
            // smaller ones largest first.
            return s == kStandard ? 0 : s > kStandard ? s : 100000 - s;
        };
        if (best < 0 || rank(side) < rank(bestSide) || (side == bestSide && depth > bestDepth)) {
            best = i;
            bestSide = side;
            bestDepth = depth;
        }
    }
    return best;
}

// Icons through Qt's reader, with the size checked before any pixel memory
// is taken.
PictureResult decodeIconEntry(QByteArrayView bytes, int entry)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // Qt's own cap on the memory one image may take, tightened to ours.
    QImageReader::setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)) + 1);
    QImageReader reader(&buffer, "ico");
    reader.setAutoTransform(false);
    if (entry > 0 && !reader.jumpToImage(entry))
        return {std::nullopt, invalidMessage(PictureKind::Icon)};
    const QSize size = reader.size();
    if (size.isValid() && !sizeAllowed(size.width(), size.height()))
        return {std::nullopt, tooLargeMessage(size.width(), size.height())};
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return {std::nullopt, invalidMessage(PictureKind::Icon)};
    if (!sizeAllowed(image.width(), image.height()))
        return {std::nullopt, tooLargeMessage(image.width(), image.height())};
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return {Picture{PictureKind::Icon, image, {}}, {}};
}

// The entry the standard size takes; when that one is damaged, the first.
PictureResult decodeIcon(QByteArrayView bytes)
{
    const int entry = standardIconEntry(bytes);
    PictureResult result = decodeIconEntry(bytes, entry);
    if (!result.picture && entry > 0) {
        PictureResult first = decodeIconEntry(bytes, 0);
        if (first.picture)
            return first;
    }
    return result;
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
    // The data ended before the picture did (libjpeg went on as if the rest
    // were empty).
    bool cutShort = false;
    // The block a cut-off file leaves undecoded, in output pixels, and the
    // colour such a block comes out as (all coefficients zero).
    QSize block;
    QRgb emptyColour = 0;
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
    if (manager->pub.msg_code == JWRN_JPEG_EOF)
        manager->failure->cutShort = true;
    // Streams of corrupt data are cut off before they cost time.
    if (++manager->warnings > 1000000)
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

QRgb cmykToRgb(int c, int m, int y, int k, bool inverted)
{
    // Adobe writes CMYK inverted; then each channel is already "amount of
    // light".
    if (!inverted) {
        c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k;
    }
    return qRgb(c * k / 255, m * k / 255, y * k / 255);
}

// `plain`: no smoothing across blocks, so the blocks a cut-off file lacks
// come out as exactly their empty colour.
void decodeJpegInto(const unsigned char* data, unsigned long size, QImage* out, JpegFailure* failure, bool plain)
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
    if (plain) {
        cinfo.do_fancy_upsampling = FALSE;
        cinfo.do_block_smoothing = FALSE;
    }
    jpeg_start_decompress(&cinfo);
    const bool inverted = cinfo.saw_Adobe_marker;
    failure->emptyColour = cmyk ? cmykToRgb(128, 128, 128, 128, inverted) : qRgb(128, 128, 128);
    if (cinfo.num_components == 1)
        failure->block = QSize(8, 8);
    else
        failure->block = QSize(8 * cinfo.max_h_samp_factor, 8 * cinfo.max_v_samp_factor);

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
    while (cinfo.output_scanline < cinfo.output_height) {
        auto* line = reinterpret_cast<QRgb*>(out->scanLine(static_cast<int>(cinfo.output_scanline)));
        if (!cmyk) {
            JSAMPROW row = reinterpret_cast<JSAMPROW>(line);
            jpeg_read_scanlines(&cinfo, &row, 1);
            continue;
        }
        jpeg_read_scanlines(&cinfo, cmykRow, 1);
        const JSAMPLE* p = cmykRow[0];
        for (int x = 0; x < width; ++x, p += 4)
            line[x] = cmykToRgb(p[0], p[1], p[2], p[3], inverted);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}

// The blocks a cut-off file did not reach are the trailing run, in file
// order, of blocks in the empty colour; they become white.
void whitenUndecodedBlocks(QImage& image, QSize block, QRgb empty)
{
    if (block.isEmpty())
        return;
    const qint64 columns = (image.width() + block.width() - 1) / block.width();
    const qint64 rows = (image.height() + block.height() - 1) / block.height();
    const auto rectOf = [&](qint64 index) {
        return QRect(int(index % columns) * block.width(), int(index / columns) * block.height(), block.width(),
                     block.height()).intersected(image.rect());
    };
    qint64 first = columns * rows;
    for (; first > 0; --first) {
        const QRect r = rectOf(first - 1);
        bool blank = true;
        for (int y = r.top(); y <= r.bottom() && blank; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = r.left(); x <= r.right() && blank; ++x)
                blank = (line[x] | 0xFF000000u) == (empty | 0xFF000000u);
        }
        if (!blank)
            break;
    }
    for (qint64 index = first; index < columns * rows; ++index) {
        const QRect r = rectOf(index);
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            std::fill(line + r.left(), line + r.right() + 1, qRgb(255, 255, 255));
        }
    }
}

} // namespace

QImage decodeJpeg(QByteArrayView bytes, QString* error, bool* cutShort)
{
    QImage image;
    JpegFailure failure;
    if (bytes.isEmpty()) {
        failure.kind = JpegFailure::Library;
        failure.code = JERR_INPUT_EMPTY;
    } else {
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
        const auto size = static_cast<unsigned long>(bytes.size());
        decodeJpegInto(data, size, &image, &failure, false);
        if (failure.kind == JpegFailure::None && failure.cutShort) {
            // Again without smoothing, so what the file lacks can be told
            // from what it holds.
            failure = JpegFailure();
            decodeJpegInto(data, size, &image, &failure, true);
            if (failure.kind == JpegFailure::None)
                whitenUndecodedBlocks(image, failure.block, failure.emptyColour);
        }
    }
    if (cutShort)
        *cutShort = failure.kind == JpegFailure::None && failure.cutShort;
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
        return decodeBitmap(bytes);
    case PictureKind::Icon:
        return decodeIcon(bytes);
    case PictureKind::Jpeg: {
        QString error;
        bool cutShort = false;
        QImage image = decodeJpeg(bytes, &error, &cutShort);
        if (image.isNull())
            return {std::nullopt, error};
        return {Picture{kind, image, {}}, {}, cutShort ? damagedMessage() : QString()};
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
        return {Picture{kind, image, data}, {}, player.notice()};
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
