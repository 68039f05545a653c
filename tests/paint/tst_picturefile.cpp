// Picture files: kinds by extension, the dialog filter, BMP writing, and the
// decoders' behaviour on good and damaged files.
#include "MetafileFixtures.h"
#include "paint/MetafilePlayer.h"
#include "paint/PictureFile.h"
#include "platform/SafeFile.h"
#include "support/TestServices.h"

#include <QBuffer>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QtTest>

using namespace pel;
using namespace pel::test;

namespace {

QImage noiseImage(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xFF000000u | (random.generate() & 0xFFFFFF));
    return image;
}

QByteArray encodeWithQt(const QImage& image, const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.setQuality(95);
    if (!writer.write(image))
        qWarning() << writer.errorString();
    return bytes;
}

QImage gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / qMax(1, width - 1), y * 255 / qMax(1, height - 1), 128));
    return image;
}

// A BMP header with the given fields and `pixels` bytes after it.
QByteArray bmpBytes(qint32 width, qint32 height, quint16 bits, quint32 compression, const QByteArray& pixels,
                    int paletteEntries = 0)
{
    Bytes b;
    const quint32 offset = 14 + 40 + quint32(paletteEntries) * 4;
    b.data.append("BM", 2);
    b.u32(offset + quint32(pixels.size())).u32(0).u32(offset);
    b.u32(40).u32(quint32(width)).u32(quint32(height)).u16(1).u16(bits).u32(compression)
        .u32(quint32(pixels.size())).u32(2835).u32(2835).u32(quint32(paletteEntries)).u32(0);
    for (int i = 0; i < paletteEntries; ++i)
        b.u32(quint32(i * 0x010101));
    return b.data + pixels;
}

bool closeColour(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

} // namespace

class TestPictureFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filterListsEveryFormatAfterTheCombinedEntry()
    {
        const QList<FileFilter> filters = pictureFileFilters();
        QCOMPARE(filters.size(), 7);
        QCOMPARE(filters[0].description,
                 QStringLiteral("すべてのファイル (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)"));
        QCOMPARE(filters[0].patterns, QStringLiteral("*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf"));
        QCOMPARE(filters[1].description, QStringLiteral("JPEG イメージファイル (*.jpg)"));
        QCOMPARE(filters[2].description, QStringLiteral("JPEG イメージファイル (*.jpeg)"));
        QCOMPARE(filters[3].description, QStringLiteral("ビットマップ (*.bmp)"));
        QCOMPARE(filters[4].description, QStringLiteral("アイコン (*.ico)"));
        QCOMPARE(filters[5].description, QStringLiteral("エンハンス メタファイル (*.emf)"));
        QCOMPARE(filters[6].description, QStringLiteral("メタファイル (*.wmf)"));
        QCOMPARE(filters[6].patterns, QStringLiteral("*.wmf"));
    }

    void kindFollowsExtension_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("kind");  // -1: none
        QTest::newRow("jpg") << "jpg" << int(PictureKind::Jpeg);
        QTest::newRow("JPEG upper") << "JPEG" << int(PictureKind::Jpeg);
        QTest::newRow("Bmp mixed") << "Bmp" << int(PictureKind::Bitmap);
        QTest::newRow("ico") << "ico" << int(PictureKind::Icon);
        QTest::newRow("emf") << "emf" << int(PictureKind::EnhancedMetafile);
        QTest::newRow("WMF") << "WMF" << int(PictureKind::Metafile);
        QTest::newRow("png") << "png" << -1;
        QTest::newRow("none") << "" << -1;
        QTest::newRow("jpg.txt style") << "jpgx" << -1;
    }
    void kindFollowsExtension()
    {
        QFETCH(QString, extension);
        QFETCH(int, kind);
        const std::optional<PictureKind> found = pictureKindForExtension(extension);
        QCOMPARE(found ? int(*found) : -1, kind);
    }

    void unknownExtensionIsRefusedWithItsName()
    {
        TestEnvironment env;
        const QString path = env.path(QStringLiteral("picture.png"));
        writeFile(path, encodeWithQt(gradient(4, 4), "png"));
        const PictureResult result = loadPictureFile(path);
        QVERIFY(!result.picture);
        QCOMPARE(result.error, QStringLiteral("拡張子 .png の画像形式は処理できません"));
    }

    void missingFileGivesTheOpenMessage()
    {
        TestEnvironment env;
        const QString path = env.path(QStringLiteral("missing.bmp"));
        const PictureResult result = loadPictureFile(path);
        QVERIFY(!result.picture);
        QCOMPARE(result.error, cannotOpenMessage(path));
    }

    void bmpRoundTripIsPixelIdentical_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("1x1") << 1 << 1;
        QTest::newRow("odd row padding 3x2") << 3 << 2;
        QTest::newRow("128x128") << 128 << 128;
        QTest::newRow("801x7") << 801 << 7;
    }
    void bmpRoundTripIsPixelIdentical()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        TestEnvironment env;
        const QImage image = noiseImage(width, height, quint32(width * 31 + height));
        const QString path = env.path(QStringLiteral("round.bmp"));
        QVERIFY(writeBmpFile(path, image));
        const QByteArray bytes = readFile(path);
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 2), quint32(bytes.size()));
        const PictureResult result = loadPictureFile(path);
        QVERIFY2(result.picture, qPrintable(result.error));
        QCOMPARE(result.picture->kind, PictureKind::Bitmap);
        QCOMPARE(result.picture->image.size(), image.size());
        QCOMPARE(result.picture->image.convertToFormat(QImage::Format_RGB32), image);
    }

    void emptyPictureWritesAValidEmptyBitmap()
    {
        const QByteArray bytes = encodeBmp(QImage());
        QCOMPARE(bytes.size(), 54);
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 18), 0);
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 22), 0);
    }

    void transparentPixelsAreSavedOverWhite()
    {
        QImage icon(2, 1, QImage::Format_ARGB32);
        icon.setPixel(0, 0, qRgba(0, 0, 0, 0));
        icon.setPixel(1, 0, qRgba(255, 0, 0, 255));
        const QImage flat = toBitmapImage(icon);
        QCOMPARE(flat.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(flat.pixel(1, 0), qRgb(255, 0, 0));
    }

    void damagedBitmapsAreRefusedSafely_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = encodeBmp(noiseImage(16, 16, 7));
        QTest::newRow("zero length") << QByteArray();
        QTest::newRow("header only") << good.left(20);
        QTest::newRow("30000x30000") << bmpBytes(30000, 30000, 24, 0, QByteArray(64, '\0'));
        QTest::newRow("negative huge height") << bmpBytes(100, -2000000000, 24, 0, QByteArray(64, '\0'));
        QTest::newRow("zero width") << bmpBytes(0, 10, 24, 0, QByteArray(64, '\0'));
        // RLE8 run that runs far past the row and the picture.
        QTest::newRow("RLE8 overrun") << bmpBytes(4, 4, 8, 1, QByteArray::fromHex("ff01ff01ff01ff010001"), 256);
        QTest::newRow("bit depth 7") << bmpBytes(4, 4, 7, 0, QByteArray(64, '\0'));
        QTest::newRow("not a bitmap") << QByteArray("GIF89a this is not a bitmap at all");
    }
    void damagedBitmapsAreRefusedSafely()
    {
        QFETCH(QByteArray, bytes);
        const PictureResult result = decodePicture(bytes, PictureKind::Bitmap);
        if (result.picture) {
            // A damaged file may show what could be read of it; it must stay
            // within the limits.
            QVERIFY(result.picture->image.width() * qint64(result.picture->image.height()) <= kMaxPicturePixels);
        } else {
            QVERIFY(!result.error.isEmpty());
        }
        if (bytes.isEmpty() || bytes.startsWith("GIF") || bytes.size() == 20)
            QVERIFY(!result.picture);
    }

    // A file cut off inside its pixel rows: the rows it holds are shown,
    // the rest is white (not leftover memory), and the status says so.
    void truncatedBitmapShowsMissingRowsWhite_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<bool>("topDown");
        QTest::addColumn<int>("keptBytes");  // of the pixel data
        QTest::newRow("24 bit, 3 rows and a bit") << 24 << false << 3 * 24 + 7;
        QTest::newRow("24 bit, no rows") << 24 << false << 0;
        QTest::newRow("24 bit top-down") << 24 << true << 5 * 24;
        QTest::newRow("32 bit") << 32 << false << 2 * 32 + 8;
        QTest::newRow("8 bit palette") << 8 << false << 4 * 8 + 3;
    }
    void truncatedBitmapShowsMissingRowsWhite()
    {
        QFETCH(int, bits);
        QFETCH(bool, topDown);
        QFETCH(int, keptBytes);
        const int w = 8, h = 8;
        const int rowBytes = (w * bits + 31) / 32 * 4;
        // Every pixel dark grey (palette entry 1, or 0x10 in each channel).
        QByteArray pixels(rowBytes * h, char(bits == 8 ? 1 : 0x10));
        const QByteArray bytes = bmpBytes(w, topDown ? -h : h, quint16(bits), 0, pixels, bits == 8 ? 256 : 0);
        const int header = int(bytes.size()) - int(pixels.size());
        const QByteArray cut = bytes.left(header + keptBytes);
        const PictureResult first = decodePicture(cut, PictureKind::Bitmap);
        QVERIFY2(first.picture, qPrintable(first.error));
        QVERIFY(!first.warning.isEmpty());
        const QImage& image = first.picture->image;
        QCOMPARE(image.size(), QSize(w, h));
        const int wholeRows = keptBytes / rowBytes;
        const int partialPixels = keptBytes % rowBytes * 8 / bits;
        for (int y = 0; y < h; ++y) {
            const int fileRow = topDown ? y : h - 1 - y;
            for (int x = 0; x < w; ++x) {
                const bool held = fileRow < wholeRows || (fileRow == wholeRows && x < partialPixels);
                const QRgb expected = held ? (bits == 8 ? qRgb(1, 1, 1) : qRgb(0x10, 0x10, 0x10)) : qRgb(255, 255, 255);
                QVERIFY2(image.pixel(x, y) == expected, qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
        // The same every time: nothing of the memory's old content shows.
        QCOMPARE(decodePicture(cut, PictureKind::Bitmap).picture->image, image);
        QVERIFY(decodePicture(bytes, PictureKind::Bitmap).warning.isEmpty());
    }

    void hugeBitmapNamesItsSize()
    {
        const PictureResult result
            = decodePicture(bmpBytes(30000, 30000, 24, 0, QByteArray(64, '\0')), PictureKind::Bitmap);
        QVERIFY(!result.picture);
        QCOMPARE(result.error, QStringLiteral("画像が大きすぎるため開けません (30000 × 30000)"));
    }

    void iconsOpenAndBadIconsAreRefused()
    {
        QImage source(32, 32, QImage::Format_ARGB32);
        source.fill(qRgba(0, 0, 255, 255));
        const QByteArray ico = encodeWithQt(source, "ico");
        QVERIFY(!ico.isEmpty());
        const PictureResult good = decodePicture(ico, PictureKind::Icon);
        QVERIFY2(good.picture, qPrintable(good.error));
        QCOMPARE(good.picture->kind, PictureKind::Icon);
        QCOMPARE(good.picture->image.size(), QSize(32, 32));
        QCOMPARE(good.picture->image.pixel(5, 5), qRgb(0, 0, 255));

        QByteArray bad = ico;
        // Directory entry: bit count field set to 3, and the image's own header too.
        bad[6 + 6] = 3;
        bad[6 + 16 + 14] = 3;
        const PictureResult refused = decodePicture(bad, PictureKind::Icon);
        if (!refused.picture)
            QCOMPARE(refused.error, QStringLiteral("アイコン イメージは有効ではありません"));
        QVERIFY(!decodePicture(ico.left(10), PictureKind::Icon).picture);
    }

    void jpegDecodesCloseToTheSource()
    {
        const QImage source = gradient(64, 48);
        for (bool progressive : {false, true}) {
            QString error;
            const QImage decoded = decodeJpeg(encodeWithQt(source, "jpeg", progressive), &error);
            QVERIFY2(!decoded.isNull(), qPrintable(error));
            QCOMPARE(decoded.size(), source.size());
            QCOMPARE(decoded.format(), QImage::Format_RGB32);
            QVERIFY(closeColour(decoded.pixel(10, 10), source.pixel(10, 10), 12));
            QVERIFY(closeColour(decoded.pixel(60, 40), source.pixel(60, 40), 12));
        }
    }

    void grayscaleJpegDecodes()
    {
        QImage gray(16, 16, QImage::Format_Grayscale8);
        gray.fill(200);
        QString error;
        const QImage decoded = decodeJpeg(encodeWithQt(gray, "jpeg"), &error);
        QVERIFY2(!decoded.isNull(), qPrintable(error));
        QVERIFY(closeColour(decoded.pixel(8, 8), qRgb(200, 200, 200), 3));
    }

    void damagedJpegGivesTheLibraryErrorNumber_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = encodeWithQt(gradient(64, 64), "jpeg");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a jpeg") << QByteArray("BM not a jpeg at all");
        QTest::newRow("only SOI") << good.left(2);
        QTest::newRow("cut in the header") << good.left(good.size() / 8);
        QByteArray badMarker = good;
        // The first marker after SOI becomes an SOF of an unsupported kind.
        badMarker[3] = char(0xC3);
        QTest::newRow("lossless marker") << badMarker;
        QByteArray zeroSize = good;
        const int sof = int(good.indexOf(QByteArray::fromHex("ffc0")));
        zeroSize[sof + 5] = 0;
        zeroSize[sof + 6] = 0;
        QTest::newRow("zero height") << zeroSize;
    }
    void damagedJpegGivesTheLibraryErrorNumber()
    {
        QFETCH(QByteArray, bytes);
        QString error;
        const QImage image = decodeJpeg(bytes, &error);
        QVERIFY(image.isNull());
        QVERIFY2(QRegularExpression(QStringLiteral("^JPEG エラー #\\d+$")).match(error).hasMatch(),
                 qPrintable(error));
    }

    void jpegWithEndlessScansIsCutOff()
    {
        // A progressive file whose last scan repeats thousands of times.
        const QByteArray good = encodeWithQt(gradient(32, 32), "jpeg", true);
        const qsizetype lastScan = good.lastIndexOf(QByteArray::fromHex("ffda"));
        QVERIFY(lastScan > 0);
        const QByteArray scan = good.mid(lastScan, good.size() - 2 - lastScan);
        QByteArray bytes = good.left(good.size() - 2);
        for (int i = 0; i < 3000; ++i)
            bytes += scan;
        bytes += QByteArray::fromHex("ffd9");
        QString error;
        const QImage image = decodeJpeg(bytes, &error);
        QVERIFY(image.isNull());
        QCOMPARE(error, QStringLiteral("JPEG のスキャン数が多すぎるため開けません"));
    }

    void hugeJpegHeaderIsRefusedBeforeDecoding()
    {
        QByteArray bytes = encodeWithQt(gradient(16, 16), "jpeg");
        const int sof = int(bytes.indexOf(QByteArray::fromHex("ffc0")));
        bytes[sof + 5] = char(0x75);  // height 30000
        bytes[sof + 6] = char(0x30);
        bytes[sof + 7] = char(0x75);  // width 30000
        bytes[sof + 8] = char(0x30);
        QString error;
        QVERIFY(decodeJpeg(bytes, &error).isNull());
        QCOMPARE(error, QStringLiteral("画像が大きすぎるため開けません (30000 × 30000)"));
    }

    void fileWithLyingExtensionIsRefused()
    {
        TestEnvironment env;
        const QString path = env.path(QStringLiteral("really-a-bitmap.jpg"));
        writeFile(path, encodeBmp(gradient(8, 8)));
        const PictureResult result = loadPictureFile(path);
        QVERIFY(!result.picture);
        QVERIFY(result.error.startsWith(QStringLiteral("JPEG エラー #")));
    }

    void wmfDrawsItsRecords()
    {
        const QByteArray wmf = wmfFile(40, 30, wmfSolidBrush(0x0000FF) + wmfSelect(0) + wmfNullPen() + wmfSelect(1)
                                                   + wmfRectangle(10, 10, 30, 20));
        const PictureResult result = decodePicture(wmf, PictureKind::Metafile);
        QVERIFY2(result.picture, qPrintable(result.error));
        const QImage& image = result.picture->image;
        QCOMPARE(image.size(), QSize(40, 30));
        QCOMPARE(image.pixel(20, 15), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(5, 5), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(35, 25), qRgb(255, 255, 255));
        // Played again at twice the size, the rectangle doubles.
        const QImage twice = result.picture->render(QSize(80, 60));
        QCOMPARE(twice.pixel(40, 30), qRgb(255, 0, 0));
        QCOMPARE(twice.pixel(15, 15), qRgb(255, 255, 255));
        QCOMPARE(twice.pixel(25, 25), qRgb(255, 0, 0));
    }

    void emfDrawsItsRecords()
    {
        const QByteArray emf = emfFile(32, 32, emfSolidBrush(1, 0xFF0000) + emfSelect(1) + emfNullPen(2) + emfSelect(2)
                                                   + emfRectangle(4, 4, 16, 28) + emfEllipse(18, 4, 30, 16));
        const PictureResult result = decodePicture(emf, PictureKind::EnhancedMetafile);
        QVERIFY2(result.picture, qPrintable(result.error));
        const QImage& image = result.picture->image;
        QCOMPARE(image.size(), QSize(32, 32));
        QCOMPARE(image.pixel(10, 16), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(24, 10), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(24, 24), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(1, 1), qRgb(255, 255, 255));
    }

    void brokenRecordChainsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        const QByteArray rect = wmfRectangle(1, 1, 5, 5);
        Bytes huge;
        huge.u32(0xFFFFFFFF).u16(0x041B);
        QTest::newRow("wmf record size overflows") << wmfFile(8, 8, huge.data + QByteArray(8, '\0')) << 0;
        Bytes zero;
        zero.u32(0).u16(0x041B);
        QTest::newRow("wmf record size zero") << wmfFile(8, 8, zero.data) << 0;
        Bytes past;
        past.u32(1000).u16(0x041B).i16s({1, 2, 3, 4});
        QTest::newRow("wmf record beyond the end") << wmfFile(8, 8, past.data) << 0;
        QTest::newRow("wmf without end record") << wmfFile(8, 8, rect).chopped(6) << 0;
        QTest::newRow("wmf header only") << wmfFile(8, 8, {}).left(30) << 0;

        const QByteArray good = emfFile(8, 8, emfRectangle(1, 1, 5, 5));
        QByteArray negative = good;
        qToLittleEndian<quint32>(0xFFFFFFF8u, negative.data() + 108 + 4);
        QTest::newRow("emf negative record size") << negative << 1;
        QByteArray unaligned = good;
        qToLittleEndian<quint32>(26, unaligned.data() + 108 + 4);
        QTest::newRow("emf unaligned record size") << unaligned << 1;
        QByteArray small = good;
        qToLittleEndian<quint32>(4, small.data() + 108 + 4);
        QTest::newRow("emf record smaller than its head") << small << 1;
        QByteArray header = good;
        qToLittleEndian<quint32>(0x7FFFFFF0, header.data() + 4);
        QTest::newRow("emf header beyond the end") << header << 1;
        QTest::newRow("emf cut short") << good.chopped(20) << 1;
        QByteArray signature = good;
        signature[40] = 'X';
        QTest::newRow("emf bad signature") << signature << 1;
    }
    void brokenRecordChainsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        const PictureResult result
            = decodePicture(bytes, kind == 0 ? PictureKind::Metafile : PictureKind::EnhancedMetafile);
        QVERIFY(!result.picture);
        QCOMPARE(result.error, QStringLiteral("メタファイルは有効ではありません"));
    }

    void countsBeyondTheRecordAreSkipped_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        const QByteArray fill = wmfSolidBrush(0x00FF00) + wmfSelect(0) + wmfNullPen() + wmfSelect(1);
        // Polygon claiming 65535 points with room for two.
        const QByteArray polygon = wmfRecord(0x0324, Bytes().u16(0xFFFF).i16s({0, 0, 5, 5}).data);
        QTest::newRow("wmf polygon count") << wmfFile(16, 16, fill + polygon + wmfRectangle(0, 0, 16, 16)) << 0;
        const QByteArray polypoly = wmfRecord(0x0538, Bytes().u16(0x7FFF).u16(3).i16s({0, 0, 5, 5, 0, 5}).data);
        QTest::newRow("wmf polypolygon counts") << wmfFile(16, 16, fill + polypoly + wmfRectangle(0, 0, 16, 16)) << 0;
        const QByteArray text = wmfRecord(0x0521, Bytes().u16(0x7FFF).data);
        QTest::newRow("wmf text length") << wmfFile(16, 16, fill + text + wmfRectangle(0, 0, 16, 16)) << 0;
        const QByteArray stretch = wmfRecord(0x0F43, Bytes().u32(0x00CC0020).u16(0).i16s({4, 4, 0, 0, 4, 4, 0, 0})
                                                          .u32(40).u32(0x7FFFFFFF).u32(0x7FFFFFFF).u16(1).u16(24).data);
        QTest::newRow("wmf dib huge") << wmfFile(16, 16, fill + stretch + wmfRectangle(0, 0, 16, 16)) << 0;

        const QByteArray emfFill = emfSolidBrush(1, 0x00FF00) + emfSelect(1) + emfNullPen(2) + emfSelect(2);
        const QByteArray emfPolygon = emfRecord(3, Bytes().i32s({0, 0, 5, 5}).u32(0x20000001).i32s({0, 0, 5, 5}).data);
        QTest::newRow("emf polygon count wraps") << emfFile(16, 16, emfFill + emfPolygon + emfRectangle(0, 0, 16, 16)) << 1;
        const QByteArray emfPolyPoly
            = emfRecord(8, Bytes().i32s({0, 0, 5, 5}).u32(0x40000000).u32(2).u32(2).i32s({0, 0, 5, 5}).data);
        QTest::newRow("emf polypolygon counts") << emfFile(16, 16, emfFill + emfPolyPoly + emfRectangle(0, 0, 16, 16)) << 1;
        Bytes textParams;
        textParams.i32s({0, 0, 5, 5}).u32(1).u32(0).u32(0);         // bounds, graphics mode, scales
        textParams.i32s({1, 1}).u32(0x7FFFFFFF).u32(0x7FFFFFF0).u32(0x100).u32(0);  // emrtext, offDx
        QTest::newRow("emf text beyond record") << emfFile(16, 16, emfFill + emfRecord(84, textParams.data)
                                                                      + emfRectangle(0, 0, 16, 16)) << 1;
        Bytes blt;
        blt.i32s({0, 0, 5, 5}).i32s({0, 0}).i32s({0, 0}).i32s({4, 4}).u32(0).u32(0x00CC0020).i32s({4, 4})
            .u32(0).u32(0xFFFFFF00).u32(40).u32(0xFFFFFF00).u32(64);
        QTest::newRow("emf dib offsets beyond record") << emfFile(16, 16, emfFill + emfRecord(81, blt.data)
                                                                             + emfRectangle(0, 0, 16, 16)) << 1;
    }
    void countsBeyondTheRecordAreSkipped()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        const PictureResult result
            = decodePicture(bytes, kind == 0 ? PictureKind::Metafile : PictureKind::EnhancedMetafile);
        QVERIFY2(result.picture, qPrintable(result.error));
        // The damaged record is skipped; the rectangle after it is drawn.
        QCOMPARE(result.picture->image.pixel(8, 8), qRgb(0, 255, 0));
    }

    // Fixed-seed damage to every kind of file: decoders may refuse or show
    // what they can, but never crash, hang or hand back an oversized image.
    void randomDamageNeverCrashes()
    {
        const QList<QPair<QByteArray, PictureKind>> seeds = {
            {encodeBmp(noiseImage(9, 7, 3)), PictureKind::Bitmap},
            {encodeWithQt(gradient(24, 16), "jpeg"), PictureKind::Jpeg},
            {encodeWithQt(gradient(24, 16), "jpeg", true), PictureKind::Jpeg},
            {encodeWithQt(gradient(16, 16).convertToFormat(QImage::Format_ARGB32), "ico"), PictureKind::Icon},
            {wmfFile(20, 20, wmfSolidBrush(0xFF) + wmfSelect(0) + wmfRectangle(1, 1, 9, 9)
                                 + wmfRecord(0x0521, Bytes().u16(3).data + QByteArray("abc\0", 4) + Bytes().i16s({2, 2}).data)),
             PictureKind::Metafile},
            {emfFile(20, 20, emfSolidBrush(1, 0xFF) + emfSelect(1) + emfEllipse(1, 1, 15, 15) + emfRectangle(2, 2, 8, 8)),
             PictureKind::EnhancedMetafile},
        };
        QRandomGenerator random(20240506);
        for (int round = 0; round < 3000; ++round) {
            const auto& [seed, kind] = seeds[round % seeds.size()];
            QByteArray bytes = seed;
            const int edits = 1 + int(random.bounded(8));
            for (int e = 0; e < edits; ++e) {
                const int at = int(random.bounded(quint32(bytes.size())));
                switch (random.bounded(4)) {
                case 0: bytes[at] = char(random.bounded(256)); break;
                case 1: bytes[at] = char(0xFF); break;
                case 2: bytes.truncate(at + 1); break;
                default: bytes.insert(at, QByteArray(int(random.bounded(16)), char(random.bounded(256)))); break;
                }
                if (bytes.isEmpty())
                    break;
            }
            const PictureResult result = decodePicture(bytes, kind);
            if (result.picture) {
                const QImage& image = result.picture->image;
                QVERIFY(qint64(image.width()) * image.height() <= kMaxPicturePixels);
                QCOMPARE(result.picture->render(QSize(11, 9)).size(), QSize(11, 9));
            } else {
                QVERIFY(!result.error.isEmpty());
            }
        }
    }

    // The header's object table size only bounds the slots: a file whose
    // header claims the largest table draws exactly as with its true size,
    // deleted slots included (they are taken again, lowest first).
    void wmfObjectTableSizeDoesNotChangeTheDrawing_data()
    {
        QTest::addColumn<QByteArray>("records");
        QTest::addColumn<int>("objects");
        const QByteArray red = wmfSolidBrush(0x0000FF), blue = wmfSolidBrush(0xFF0000);
        QTest::newRow("create and select") << red + wmfSelect(0) + wmfRectangle(2, 2, 14, 14) << 1;
        // Slot 0 freed and taken by the blue brush; selecting 1 picks the pen.
        QTest::newRow("slot reused")
            << red + wmfNullPen() + wmfRecord(0x01F0, Bytes().u16(0).data) + blue + wmfSelect(0) + wmfSelect(1)
                   + wmfRectangle(2, 2, 14, 14)
            << 2;
        QTest::newRow("index past the table") << red + wmfSelect(0) + wmfSelect(40) + wmfRectangle(2, 2, 14, 14) << 1;
    }

    void wmfObjectTableSizeDoesNotChangeTheDrawing()
    {
        QFETCH(QByteArray, records);
        QFETCH(int, objects);
        const PictureResult exact = decodePicture(wmfFile(16, 16, records, objects), PictureKind::Metafile);
        const PictureResult claimed = decodePicture(wmfFile(16, 16, records, 65535), PictureKind::Metafile);
        QVERIFY2(exact.picture && claimed.picture, qPrintable(exact.error + claimed.error));
        QCOMPARE(claimed.picture->image, exact.picture->image);
        QCOMPARE(exact.picture->image.pixel(8, 8), QTest::currentDataTag() == QByteArray("slot reused")
                                                       ? qRgb(0, 0, 255) : qRgb(255, 0, 0));
    }

    // DIB blits without a bitmap (a reserved word after the raster
    // operation) fill their rectangle as the operation says.
    void wmfBlitsWithoutBitmapFill_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QRgb>("inside");
        // rop, reserved, [srcH, srcW,] ySrc, xSrc, height, width, yDst, xDst
        QTest::newRow("bitblt blackness")
            << wmfRecord(0x0940, Bytes().u32(0x00000042).u16(0).i16s({0, 0, 8, 8, 4, 4}).data) << qRgb(0, 0, 0);
        QTest::newRow("stretchblt patcopy")
            << wmfRecord(0x0B41, Bytes().u32(0x00F00021).u16(0).i16s({0, 0, 0, 0, 8, 8, 4, 4}).data)
            << qRgb(255, 0, 0);
    }

    void wmfBlitsWithoutBitmapFill()
    {
        QFETCH(QByteArray, record);
        QFETCH(QRgb, inside);
        const QByteArray wmf = wmfFile(16, 16, wmfSolidBrush(0x0000FF) + wmfSelect(0) + record);
        const PictureResult result = decodePicture(wmf, PictureKind::Metafile);
        QVERIFY2(result.picture, qPrintable(result.error));
        QCOMPARE(result.picture->image.pixel(8, 8), inside);
        QCOMPARE(result.picture->image.pixel(2, 2), qRgb(255, 255, 255));
    }

    // A clip path clips by the part of it on the picture, however far the
    // rest reaches (a path millions of pixels tall once took minutes).
    void clipPathClipsByItsVisiblePart_data()
    {
        QTest::addColumn<QByteArray>("figure");
        QTest::addColumn<QRgb>("left");
        QTest::addColumn<QRgb>("right");
        const QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255);
        QTest::newRow("ellipse around the picture") << emfEllipse(-8000000, -8000000, 8000000, 8000000) << red << red;
        QTest::newRow("left half, miles high") << emfRectangle(-8000000, -8000000, 16, 8000000) << red << white;
        QTest::newRow("small ellipse on the right") << emfEllipse(18, 4, 30, 28) << white << red;
    }

    void clipPathClipsByItsVisiblePart()
    {
        QFETCH(QByteArray, figure);
        QFETCH(QRgb, left);
        QFETCH(QRgb, right);
        const QByteArray records = emfSolidBrush(1, 0x0000FF) + emfSelect(1) + emfNullPen(2) + emfSelect(2)
            + emfRecord(59, {}) + figure + emfRecord(60, {}) + emfRecord(67, Bytes().u32(5).data)
            + emfRectangle(0, 0, 32, 32);
        const PictureResult result = decodePicture(emfFile(32, 32, records), PictureKind::EnhancedMetafile);
        QVERIFY2(result.picture, qPrintable(result.error));
        QCOMPARE(result.picture->image.pixel(8, 16), left);
        QCOMPARE(result.picture->image.pixel(24, 16), right);
    }

    void metafileTooLargeIsRefused()
    {
        const PictureResult result = decodePicture(wmfFile(32000, 32000, {}), PictureKind::Metafile);
        QVERIFY(!result.picture);
        QVERIFY(result.error.startsWith(QStringLiteral("画像が大きすぎるため開けません")));
    }
};

QTEST_MAIN(TestPictureFile)
#include "tst_picturefile.moc"
