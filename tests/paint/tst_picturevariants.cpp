// Pictures as other programs write them: every bitmap header and bit-field
// layout, run-length and JPEG files cut short, multi-size icons, metafile
// mapping modes and files drawn with EMF+.
#include "MetafileFixtures.h"
#include "paint/PictureFile.h"

#include <QBuffer>
#include <bit>
#include <QImageWriter>
#include <QtTest>

using namespace pel;
using namespace pel::test;

namespace {

const QRgb kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 255, 0), kBlue = qRgb(0, 0, 255), kWhite = qRgb(255, 255, 255);

// A BMP file with a header of `headerSize` bytes. Fields a short OS/2
// header has no room for are left out; masks go inside headers of 52 bytes
// and more, after a 40-byte one.
QByteArray bmpWith(int headerSize, int width, int height, int bits, quint32 compression, QList<quint32> masks,
                   const QByteArray& table, const QByteArray& pixels)
{
    Bytes h;
    if (headerSize == 12) {
        h.u32(12).u16(quint32(width)).u16(quint32(height)).u16(1).u16(quint32(bits));
    } else {
        h.u32(quint32(headerSize)).u32(quint32(width)).u32(quint32(height)).u16(1).u16(quint32(bits));
        h.u32(compression).u32(quint32(pixels.size())).u32(2835).u32(2835).u32(0).u32(0);
        if (headerSize >= 52)
            for (quint32 m : masks)
                h.u32(m);
        h.data.resize(headerSize, '\0');
        if (headerSize == 40)
            for (quint32 m : masks)
                h.u32(m);
    }
    const QByteArray dib = h.data + table;
    Bytes file;
    file.data.append("BM", 2);
    file.u32(quint32(14 + dib.size() + pixels.size())).u32(0).u32(quint32(14 + dib.size()));
    return file.data + dib + pixels;
}

// Red, green, blue, white as a colour table of 4-byte or 3-byte entries.
QByteArray table4(int entryBytes)
{
    QByteArray t;
    for (QRgb c : {kRed, kGreen, kBlue, kWhite}) {
        t.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
        if (entryBytes == 4)
            t.append('\0');
    }
    return t;
}

// Two rows of two pixels, bottom row first: blue white, then red green.
QByteArray rows16(quint32 r, quint32 g, quint32 b, quint32 w)
{
    return Bytes().u16(b).u16(w).u16(r).u16(g).data;
}
QByteArray rows32(quint32 r, quint32 g, quint32 b, quint32 w)
{
    return Bytes().u32(b).u32(w).u32(r).u32(g).data;
}

QByteArray encodeWithQt(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(95);
    writer.write(image);
    return bytes;
}

// An icon file of square 32-bit entries, each of one colour.
QByteArray iconFile(const QList<QPair<int, QRgb>>& entries)
{
    QList<QByteArray> images;
    for (const auto& [side, colour] : entries) {
        Bytes dib;
        dib.u32(40).u32(quint32(side)).u32(quint32(side * 2)).u16(1).u16(32).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
        for (int i = 0; i < side * side; ++i)
            dib.u32(0xFF000000u | colour);
        dib.data.append(QByteArray((side + 31) / 32 * 4 * side, '\0'));  // AND mask: all shown
        images << dib.data;
    }
    Bytes file;
    file.u16(0).u16(1).u16(quint32(entries.size()));
    quint32 offset = quint32(6 + 16 * entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const int side = entries[i].first;
        file.data.append(char(side & 0xFF)).append(char(side & 0xFF)).append('\0').append('\0');
        file.u16(1).u16(32).u32(quint32(images[i].size())).u32(offset);
        offset += quint32(images[i].size());
    }
    for (const QByteArray& image : images)
        file.data.append(image);
    return file.data;
}

QRect bounds(const QImage& image, QRgb colour)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                r |= QRect(x, y, 1, 1);
    return r;
}

QByteArray emfMapMode(int mode) { return emfRecord(17, Bytes().u32(quint32(mode)).data); }
QByteArray emfPair(quint32 type, int x, int y) { return emfRecord(type, Bytes().i32s({x, y}).data); }
constexpr quint32 kWindowExt = 9, kWindowOrg = 10, kViewportExt = 11, kViewportOrg = 12;

// An EMF+ header inside a comment; `dual` says the file draws in plain
// records as well.
QByteArray emfPlusHeader(bool dual)
{
    Bytes plus;
    plus.u32(0x2B464D45).u16(0x4001).u16(dual ? 1 : 0).u32(28).u32(16).u32(0xDBC01002).u32(0).u32(96).u32(96);
    return emfRecord(70, Bytes().u32(quint32(plus.data.size())).data + plus.data);
}

} // namespace

class TestPictureVariants : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyBitmapHeaderGivesItsColours_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray bgrw24 = QByteArray::fromHex("ff0000ffffff0000" "0000ff00ff000000");
        QTest::newRow("core 12, 24 bits") << bmpWith(12, 2, 2, 24, 0, {}, {}, bgrw24);
        QTest::newRow("core 12, 8 bits") << bmpWith(12, 2, 2, 8, 0, {}, table4(3) + QByteArray(252 * 3, '\0'),
                                                   QByteArray::fromHex("02030000" "00010000"));
        QTest::newRow("OS/2 16, 8 bits") << bmpWith(16, 2, 2, 8, 0, {}, table4(4) + QByteArray(252 * 4, '\0'),
                                                    QByteArray::fromHex("02030000" "00010000"));
        QTest::newRow("OS/2 64, 4 bits") << bmpWith(64, 2, 2, 4, 0, {}, table4(4) + QByteArray(12 * 4, '\0'),
                                                    QByteArray::fromHex("23000000" "01000000"));
        QTest::newRow("info 40, 2 bits") << bmpWith(40, 2, 2, 2, 0, {}, table4(4), QByteArray::fromHex("b0000000" "10000000"));
        QTest::newRow("info 40, 16 bits 555") << bmpWith(40, 2, 2, 16, 0, {}, {}, rows16(0x7C00, 0x03E0, 0x001F, 0x7FFF));
        QTest::newRow("info 40, 565 fields")
            << bmpWith(40, 2, 2, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, rows16(0xF800, 0x07E0, 0x001F, 0xFFFF));
        QTest::newRow("V2 52, 565 fields")
            << bmpWith(52, 2, 2, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, rows16(0xF800, 0x07E0, 0x001F, 0xFFFF));
        QTest::newRow("V3 56, 4444 fields")
            << bmpWith(56, 2, 2, 16, 3, {0x0F00, 0x00F0, 0x000F, 0xF000}, {}, rows16(0xFF00, 0x00F0, 0x800F, 0x0FFF));
        QTest::newRow("V3 56, 32-bit XBGR fields")
            << bmpWith(56, 2, 2, 32, 3, {0xFF, 0xFF00, 0xFF0000, 0}, {}, rows32(0xFF, 0xFF00, 0xFF0000, 0xFFFFFF));
        QTest::newRow("info 40, 11-11-10 fields")
            << bmpWith(40, 2, 2, 32, 3, {0xFFE00000, 0x001FFC00, 0x3FF}, {},
                       rows32(0xFFE00000, 0x001FFC00, 0x3FF, 0xFFFFFFFF));
        QTest::newRow("V4 108, 32 bits, alpha not used")
            << bmpWith(108, 2, 2, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {},
                       rows32(0x00FF0000, 0x8000FF00, 0xFF0000FF, 0x00FFFFFF));
        QTest::newRow("V5 124, 32 bits plain")
            << bmpWith(124, 2, 2, 32, 0, {0, 0, 0, 0}, {}, rows32(0xFF0000, 0xFF00, 0xFF, 0xFFFFFF));
    }
    void everyBitmapHeaderGivesItsColours()
    {
        QFETCH(QByteArray, bytes);
        const PictureResult result = decodePicture(bytes, PictureKind::Bitmap);
        QVERIFY2(result.picture, qPrintable(result.error));
        QVERIFY2(result.warning.isEmpty(), qPrintable(result.warning));
        const QImage& image = result.picture->image;
        QCOMPARE(image.size(), QSize(2, 2));
        QCOMPARE(image.pixel(0, 0), kRed);
        QCOMPARE(image.pixel(1, 0), kGreen);
        QCOMPARE(image.pixel(0, 1), kBlue);
        QCOMPARE(image.pixel(1, 1), kWhite);
    }

    // Runs that stop before the end-of-bitmap mark: the rows they reach are
    // shown, the rest is white, and the status says the file is damaged.
    // Pixels a run skips on purpose take the first colour of the table.
    void runLengthFilesCutShortShowTheRestWhite_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<QByteArray>("runs");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QList<QRgb>>("rowsFromTheBottom");
        // 4 × 3 pictures; colour 1 is green, 0 red.
        QTest::newRow("RLE8 two rows of three") << 8 << QByteArray::fromHex("04010000" "0401") << true
                                                << QList<QRgb>{kGreen, kGreen, kWhite};
        QTest::newRow("RLE8 literal run cut") << 8 << QByteArray::fromHex("0401000000040101") << true
                                              << QList<QRgb>{kGreen, kWhite, kWhite};
        QTest::newRow("RLE4 one row") << 4 << QByteArray::fromHex("04110000") << true
                                      << QList<QRgb>{kGreen, kWhite, kWhite};
        QTest::newRow("RLE8 whole, delta skips a row") << 8 << QByteArray::fromHex("04010000" "00020001" "0401" "0001")
                                                       << false << QList<QRgb>{kGreen, kRed, kGreen};
        QTest::newRow("RLE4 ended by its mark") << 4 << QByteArray::fromHex("04110000" "0001") << false
                                                << QList<QRgb>{kGreen, kRed, kRed};
    }
    void runLengthFilesCutShortShowTheRestWhite()
    {
        QFETCH(int, bits);
        QFETCH(QByteArray, runs);
        QFETCH(bool, damaged);
        QFETCH(QList<QRgb>, rowsFromTheBottom);
        QByteArray table = table4(4);
        table.append(QByteArray(((1 << bits) - 4) * 4, '\0'));
        const PictureResult result
            = decodePicture(bmpWith(40, 4, 3, bits, bits == 8 ? 1 : 2, {}, table, runs), PictureKind::Bitmap);
        QVERIFY2(result.picture, qPrintable(result.error));
        QCOMPARE(!result.warning.isEmpty(), damaged);
        const QImage& image = result.picture->image;
        for (int row = 0; row < 3; ++row)
            for (int x = 0; x < 4; ++x)
                QCOMPARE(QColor(image.pixel(x, 2 - row)), QColor(rowsFromTheBottom[row]));
    }

    void otherCompressionsAreNamed()
    {
        const PictureResult result
            = decodePicture(bmpWith(40, 2, 2, 24, 4, {}, {}, QByteArray::fromHex("ffd8ffd9")), PictureKind::Bitmap);
        QVERIFY(!result.picture);
        QCOMPARE(result.error, QStringLiteral("このビットマップの圧縮形式 (4) には対応していません"));
    }

    void jpegCutShortShowsWhatItHolds_data()
    {
        QTest::addColumn<int>("keptPercent");
        QTest::newRow("seven tenths") << 70;
        QTest::newRow("four fifths") << 80;
        QTest::newRow("all but the end mark") << -2;
    }
    void jpegCutShortShowsWhatItHolds()
    {
        QFETCH(int, keptPercent);
        QImage source(64, 96, QImage::Format_RGB32);
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                source.setPixel(x, y, qRgb(x * 4, 255 - y * 2, 60 + y + x));
        const QByteArray whole = encodeWithQt(source, "jpeg");
        const QByteArray cut = keptPercent < 0 ? whole.chopped(-keptPercent) : whole.left(whole.size() * keptPercent / 100);
        const PictureResult result = decodePicture(cut, PictureKind::Jpeg);
        QVERIFY2(result.picture, qPrintable(result.error));
        QCOMPARE(result.warning, QStringLiteral("ファイルが壊れています。足りない部分は白で表示しています。"));
        const QImage& image = result.picture->image;
        QCOMPARE(image.size(), source.size());
        const auto near = [](QRgb a, QRgb b) {
            return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) < 40;
        };
        // The first rows are the picture; the last row is white unless the
        // file lacks only its end mark.
        for (int x = 0; x < 64; x += 7)
            QVERIFY2(near(image.pixel(x, 2), source.pixel(x, 2)),
                     qPrintable(QStringLiteral("%1: %2 for %3 (%4 of %5 bytes)").arg(x).arg(image.pixel(x, 2), 0, 16)
                                    .arg(source.pixel(x, 2), 0, 16).arg(cut.size()).arg(whole.size())));
        for (int x = 0; x < 64; x += 7) {
            if (keptPercent < 0)
                QVERIFY(near(image.pixel(x, 95), source.pixel(x, 95)));
            else
                QCOMPARE(image.pixel(x, 95), kWhite);
        }
        // No grey blocks are left where the data stopped.
        int grey = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                grey += image.pixel(x, y) == qRgb(128, 128, 128);
        QVERIFY(grey < 8);
    }

    void iconShowsTheStandardSizeEntry_data()
    {
        QTest::addColumn<QList<int>>("sides");
        QTest::addColumn<int>("expected");
        QTest::newRow("32 among others") << QList<int>{16, 48, 32, 64} << 32;
        QTest::newRow("nearest larger") << QList<int>{16, 64, 48} << 48;
        QTest::newRow("all smaller: the largest") << QList<int>{16, 24, 20} << 24;
        QTest::newRow("one entry") << QList<int>{16} << 16;
    }
    void iconShowsTheStandardSizeEntry()
    {
        QFETCH(QList<int>, sides);
        QFETCH(int, expected);
        const QList<QRgb> colours = {kRed, kGreen, kBlue, qRgb(10, 20, 30)};
        QList<QPair<int, QRgb>> entries;
        for (qsizetype i = 0; i < sides.size(); ++i)
            entries << qMakePair(sides[i], colours[i]);
        const PictureResult result = decodePicture(iconFile(entries), PictureKind::Icon);
        QVERIFY2(result.picture, qPrintable(result.error));
        const QImage& image = result.picture->image;
        QCOMPARE(image.size(), QSize(expected, expected));
        QCOMPARE(QColor(image.pixel(expected / 2, expected / 2)), QColor(colours[sides.indexOf(expected)]));
    }

    void iconWithADamagedStandardEntryShowsItsFirst()
    {
        QByteArray bytes = iconFile({{16, kRed}, {32, kBlue}});
        // The 32 × 32 entry's data lies past the end of the file.
        bytes.replace(6 + 16 + 12, 4, Bytes().u32(0x7FFFFFF0).data);
        const PictureResult result = decodePicture(bytes, PictureKind::Icon);
        QVERIFY2(result.picture, qPrintable(result.error));
        QCOMPARE(result.picture->image.size(), QSize(16, 16));
        QCOMPARE(QColor(result.picture->image.pixel(8, 8)), QColor(kRed));
    }

    // Where a red rectangle lands under each mapping mode. The reference
    // device has 4 pixels a millimetre and the picture is 40 mm square, so
    // it is drawn at 160 × 160 pixels one for one.
    void mappingModesPlaceTheDrawingAsGdiDoes_data()
    {
        QTest::addColumn<QByteArray>("setup");
        QTest::addColumn<QRect>("rect");  // logical corners
        QTest::addColumn<QRect>("expected");
        const QRect square(40, 40, 80, 80);
        QTest::newRow("MM_TEXT ignores extents")
            << emfPair(kWindowExt, 10, 10) + emfPair(kViewportExt, 1000, 1000) << QRect(QPoint(20, 30), QPoint(60, 90))
            << QRect(20, 30, 40, 60);
        QTest::newRow("MM_LOMETRIC, y up") << emfMapMode(2) << QRect(QPoint(100, -100), QPoint(300, -300)) << square;
        QTest::newRow("MM_HIMETRIC") << emfMapMode(3) << QRect(QPoint(1000, -1000), QPoint(3000, -3000)) << square;
        QTest::newRow("MM_LOENGLISH") << emfMapMode(4) << QRect(QPoint(50, -50), QPoint(100, -100))
                                      << QRect(51, 51, 51, 51);
        QTest::newRow("MM_HIENGLISH") << emfMapMode(5) << QRect(QPoint(500, -500), QPoint(1000, -1000))
                                      << QRect(51, 51, 51, 51);
        QTest::newRow("MM_TWIPS") << emfMapMode(6) << QRect(QPoint(576, -576), QPoint(1728, -1728))
                                  << QRect(41, 41, 81, 81);
        QTest::newRow("MM_LOMETRIC ignores extents")
            << emfMapMode(2) + emfPair(kWindowExt, 1, 1) + emfPair(kViewportExt, 1, 1)
            << QRect(QPoint(100, -100), QPoint(300, -300)) << square;
        QTest::newRow("MM_LOMETRIC, viewport origin at the bottom")
            << emfMapMode(2) + emfPair(kViewportOrg, 0, 160) << QRect(QPoint(100, 100), QPoint(300, 300)) << square;
        QTest::newRow("MM_ANISOTROPIC") << emfMapMode(8) + emfPair(kWindowExt, 200, 200) + emfPair(kViewportExt, 100, 50)
                                        << QRect(QPoint(40, 40), QPoint(200, 200)) << QRect(20, 10, 80, 40);
        QTest::newRow("MM_ISOTROPIC keeps the aspect")
            << emfMapMode(7) + emfPair(kWindowExt, 200, 200) + emfPair(kViewportExt, 100, 50)
            << QRect(QPoint(40, 40), QPoint(200, 200)) << QRect(10, 10, 40, 40);
        QTest::newRow("MM_ISOTROPIC set again keeps its extents")
            << emfMapMode(7) + emfPair(kWindowExt, 200, 200) + emfPair(kViewportExt, 100, 50) + emfMapMode(7)
            << QRect(QPoint(40, 40), QPoint(200, 200)) << QRect(10, 10, 40, 40);
        QTest::newRow("MM_ISOTROPIC starts as MM_LOMETRIC")
            << emfMapMode(7) + emfPair(kViewportOrg, 0, 160) << QRect(QPoint(100, 100), QPoint(300, 300)) << square;
        QTest::newRow("MM_ANISOTROPIC keeps the extents it finds")
            << emfMapMode(2) + emfMapMode(8) << QRect(QPoint(100, -100), QPoint(300, -300)) << square;
        QTest::newRow("window origin")
            << emfMapMode(8) + emfPair(kWindowExt, 200, 200) + emfPair(kViewportExt, 160, 160)
                   + emfPair(kWindowOrg, 100, 100)
            << QRect(QPoint(100, 100), QPoint(200, 200)) << QRect(0, 0, 80, 80);
        QTest::newRow("scaled viewport")
            << emfMapMode(8) + emfPair(kWindowExt, 100, 100) + emfPair(kViewportExt, 100, 100)
                   + emfRecord(31, Bytes().i32s({1, 2, 1, 4}).data)
            << QRect(QPoint(0, 0), QPoint(100, 100)) << QRect(0, 0, 50, 25);
    }
    void mappingModesPlaceTheDrawingAsGdiDoes()
    {
        QFETCH(QByteArray, setup);
        QFETCH(QRect, rect);
        QFETCH(QRect, expected);
        const QByteArray records = emfSolidBrush(1, 0x0000FF) + emfSelect(1) + emfNullPen(2) + emfSelect(2) + setup
            + emfRectangle(rect.left(), rect.top(), rect.right(), rect.bottom());
        const PictureResult result
            = decodePicture(emfFileOn(4000, 4000, 1000, 1000, 250, 250, records), PictureKind::EnhancedMetafile);
        QVERIFY2(result.picture, qPrintable(result.error));
        const QRect drawn = bounds(result.picture->render(QSize(160, 160)), kRed);
        QVERIFY2(std::abs(drawn.left() - expected.left()) <= 1 && std::abs(drawn.top() - expected.top()) <= 1
                     && std::abs(drawn.right() - expected.right()) <= 1
                     && std::abs(drawn.bottom() - expected.bottom()) <= 1,
                 qPrintable(QStringLiteral("drawn at %1,%2 %3×%4").arg(drawn.x()).arg(drawn.y()).arg(drawn.width())
                                .arg(drawn.height())));
    }

    // A WMF plays into the picture's frame; turning to MM_ISOTROPIC keeps
    // it there (the aspect rule only).
    void wmfIsotropicKeepsToTheFrame()
    {
        const QByteArray records = wmfRecord(0x0103, Bytes().u16(7).data) + wmfRecord(0x020C, Bytes().i16s({30, 40}).data)
            + wmfSolidBrush(0x0000FF) + wmfSelect(0) + wmfNullPen() + wmfSelect(1) + wmfRectangle(10, 10, 30, 20);
        const PictureResult result = decodePicture(wmfFile(40, 30, records), PictureKind::Metafile);
        QVERIFY2(result.picture, qPrintable(result.error));
        QCOMPARE(bounds(result.picture->image, kRed), QRect(10, 10, 20, 10));
    }

    // A dual file is drawn from its plain records; an EMF+ only one from its
    // EMF+ records, with plain records only after a GetDC record.
    void emfPlusFilesAreDrawn()
    {
        const QByteArray drawing
            = emfSolidBrush(1, 0x0000FF) + emfSelect(1) + emfNullPen(2) + emfSelect(2) + emfRectangle(4, 4, 28, 28);
        const PictureResult dual = decodePicture(emfFile(32, 32, emfPlusHeader(true) + drawing),
                                                 PictureKind::EnhancedMetafile);
        QVERIFY2(dual.picture, qPrintable(dual.error));
        QCOMPARE(dual.picture->image.pixel(16, 16), kRed);
        QVERIFY(dual.warning.isEmpty());

        const auto plus = [](quint16 type, quint16 flags, const QByteArray& data) {
            return Bytes().u16(type).u16(flags).u32(quint32(12 + data.size())).u32(quint32(data.size())).data + data;
        };
        const auto comment = [](const QByteArray& records) {
            return emfRecord(70, Bytes().u32(quint32(4 + records.size())).u32(0x2B464D45).data + records);
        };
        const auto floats = [](std::initializer_list<float> values) {
            Bytes b;
            for (float v : values)
                b.u32(std::bit_cast<quint32>(v));
            return b.data;
        };
        const QByteArray shapes = comment(
            plus(0x4008, 0x0100, Bytes().u32(0xDBC01002).u32(0).u32(0xFF0000FF).data)      // brush 0: blue
            + plus(0x400A, 0, Bytes().u32(0).u32(1).data + floats({2, 2, 12, 12}))          // FillRects, brush 0
            + plus(0x400E, 0xC000, Bytes().u32(0xFF00FF00).i16s({16, 2, 12, 12}).data)     // FillEllipse, green
            + plus(0x402D, 0, floats({0, 16}))                                              // TranslateWorldTransform
            + plus(0x400A, 0xC000, Bytes().u32(0xFFFF0000).u32(1).i16s({2, 2, 12, 12}).data));  // red
        const QByteArray plainBeforeGetDc = emfSolidBrush(1, 0x0000FF) + emfSelect(1) + emfRectangle(16, 16, 24, 24);
        const QByteArray afterGetDc = comment(plus(0x4004, 0, {})) + emfSolidBrush(3, 0) + emfSelect(3)
            + emfNullPen(4) + emfSelect(4) + emfRectangle(25, 25, 31, 31);
        const QByteArray text = comment(plus(0x401C, 0, QByteArray(28, '\0')));
        const PictureResult only = decodePicture(
            emfFile(32, 32, emfPlusHeader(false) + shapes + plainBeforeGetDc + afterGetDc + text),
            PictureKind::EnhancedMetafile);
        QVERIFY2(only.picture, qPrintable(only.error));
        const QImage& image = only.picture->image;
        QCOMPARE(image.pixel(6, 6), kBlue);
        QCOMPARE(image.pixel(22, 8), kGreen);
        QCOMPARE(image.pixel(6, 22), kRed);
        QCOMPARE(image.pixel(20, 20), kWhite);
        QCOMPARE(image.pixel(28, 28), qRgb(0, 0, 0));
        QCOMPARE(only.warning, QStringLiteral("EMF+ 形式の文字や画像など、表示できない部分があります。"));
    }
};

QTEST_MAIN(TestPictureVariants)
#include "tst_picturevariants.moc"
