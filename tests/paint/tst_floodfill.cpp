// Flood fill: a pure scanline fill on QImage.
#include "PaintFixtures.h"
#include "paint/FloodFill.h"

#include <QPainter>
#include <QTest>

using namespace paintfx;
using pel::BrushStyle;
using pel::PenMode;

class TestFloodFill : public QObject {
    Q_OBJECT

private:
    // White picture with a black rectangle outline from (5,5) to (25,20).
    static QImage boxed()
    {
        QImage image = filled(40, 30, kWhite);
        for (int x = 5; x <= 25; ++x) {
            image.setPixel(x, 5, kBlack);
            image.setPixel(x, 20, kBlack);
        }
        for (int y = 5; y <= 20; ++y) {
            image.setPixel(5, y, kBlack);
            image.setPixel(25, y, kBlack);
        }
        return image;
    }

private Q_SLOTS:
    void fillsTheEnclosedAreaOnly()
    {
        QImage image = boxed();
        const QImage before = image;
        const QRect area = pel::floodFill(image, {10, 10}, {Qt::red, BrushStyle::Solid}, PenMode::Copy);
        QCOMPARE(area, QRect(QPoint(6, 6), QPoint(24, 19)));
        const QList<QPoint> changed = changedPixels(before, image);
        QCOMPARE(changed.size(), 19 * 14);
        QCOMPARE(boundsOf(changed), area);
        QCOMPARE(image.pixel(5, 5), kBlack);
        QCOMPARE(image.pixel(0, 0), kWhite);
    }

    void fillsOutsideAroundTheBox()
    {
        QImage image = boxed();
        pel::floodFill(image, {0, 0}, {Qt::red, BrushStyle::Solid}, PenMode::Copy);
        QCOMPARE(image.pixel(39, 29), kRed);
        QCOMPARE(image.pixel(10, 10), kWhite);
        QCOMPARE(image.pixel(25, 20), kBlack);
    }

    void diagonalGapsDoNotLeak()
    {
        // A diagonal wall: 4-connected filling stays on its side.
        QImage image = filled(16, 16, kWhite);
        for (int i = 0; i < 16; ++i)
            image.setPixel(i, i, kBlack);
        pel::floodFill(image, {0, 15}, {Qt::red, BrushStyle::Solid}, PenMode::Copy);
        QCOMPARE(image.pixel(0, 15), kRed);
        QCOMPARE(image.pixel(15, 0), kWhite);
        QCOMPARE(image.pixel(1, 0), kWhite);
    }

    void sameColourEndsAndChangesNothing()
    {
        QImage image = boxed();
        const QImage before = image;
        pel::floodFill(image, {10, 10}, {Qt::white, BrushStyle::Solid}, PenMode::Copy);
        QCOMPARE(image, before);
        // An already filled area filled again with its colour: same result.
        pel::floodFill(image, {10, 10}, {Qt::red, BrushStyle::Solid}, PenMode::Copy);
        const QImage once = image;
        pel::floodFill(image, {10, 10}, {Qt::red, BrushStyle::Solid}, PenMode::Copy);
        QCOMPARE(image, once);
    }

    void startOutsideThePictureDoesNothing_data()
    {
        QTest::addColumn<QPoint>("start");
        QTest::newRow("left") << QPoint(-1, 5);
        QTest::newRow("below") << QPoint(5, 30);
        QTest::newRow("right") << QPoint(40, 0);
    }
    void startOutsideThePictureDoesNothing()
    {
        QFETCH(QPoint, start);
        QImage image = boxed();
        const QImage before = image;
        QVERIFY(pel::floodFill(image, start, {Qt::red, BrushStyle::Solid}, PenMode::Copy).isEmpty());
        QCOMPARE(image, before);
        QImage empty;
        QVERIFY(pel::floodFill(empty, {0, 0}, {Qt::red, BrushStyle::Solid}, PenMode::Copy).isEmpty());
    }

    void largeMazeNeitherOverflowsNorLoops()
    {
        // A serpentine of one-pixel corridors: the worst case for a recursive
        // fill, with every pixel of the corridor reachable only one way.
        QImage image = filled(800, 600, kWhite);
        for (int y = 1; y < 600; y += 2) {
            for (int x = 0; x < 800; ++x)
                image.setPixel(x, y, kBlack);
            image.setPixel((y / 2) % 2 ? 0 : 799, y, kWhite);
        }
        const QRect area = pel::floodFill(image, {0, 0}, {Qt::red, BrushStyle::Solid}, PenMode::Copy);
        QCOMPARE(area, QRect(0, 0, 800, 600));
        QCOMPARE(image.pixel(400, 598), kRed);
        QCOMPARE(image.pixel(400, 1), kBlack);
    }

    void wholePictureFillReachesEveryPixel()
    {
        // bench_paint gives the time this takes.
        QImage image = filled(800, 600, kWhite);
        const QRect area = pel::floodFill(image, {400, 300}, {Qt::blue, BrushStyle::Solid}, PenMode::Copy);
        QCOMPARE(area, image.rect());
        QCOMPARE(image, filled(800, 600, kBlue));
    }

    void hatchPaintsLinesAndKeepsGaps_data()
    {
        QTest::addColumn<BrushStyle>("style");
        QTest::addColumn<QList<QPoint>>("lines");
        QTest::addColumn<QList<QPoint>>("gaps");
        QTest::newRow("horizontal") << BrushStyle::Horizontal << QList<QPoint>{{7, 8}, {20, 16}}
                                    << QList<QPoint>{{7, 9}, {20, 15}};
        QTest::newRow("vertical") << BrushStyle::Vertical << QList<QPoint>{{8, 7}, {16, 18}}
                                  << QList<QPoint>{{9, 7}, {15, 18}};
        QTest::newRow("falling") << BrushStyle::FDiagonal << QList<QPoint>{{9, 9}, {10, 10}, {18, 10}}
                                 << QList<QPoint>{{10, 9}, {9, 10}};
        QTest::newRow("rising") << BrushStyle::BDiagonal << QList<QPoint>{{7, 9}, {6, 10}, {14, 10}}
                                << QList<QPoint>{{7, 10}, {9, 9}};
        QTest::newRow("cross") << BrushStyle::Cross << QList<QPoint>{{8, 11}, {11, 8}, {16, 16}}
                               << QList<QPoint>{{9, 9}, {11, 12}};
        QTest::newRow("diagonal cross") << BrushStyle::DiagCross << QList<QPoint>{{9, 9}, {7, 9}}
                                        << QList<QPoint>{{8, 9}, {9, 8}};
    }
    void hatchPaintsLinesAndKeepsGaps()
    {
        QFETCH(BrushStyle, style);
        QFETCH(QList<QPoint>, lines);
        QFETCH(QList<QPoint>, gaps);
        QImage image = boxed();
        pel::floodFill(image, {12, 12}, {Qt::red, style}, PenMode::Copy);
        for (const QPoint& p : lines)
            QVERIFY2(image.pixel(p) == kRed, qPrintable(QStringLiteral("line at %1,%2").arg(p.x()).arg(p.y())));
        for (const QPoint& p : gaps)
            QVERIFY2(image.pixel(p) == kWhite, qPrintable(QStringLiteral("gap at %1,%2").arg(p.x()).arg(p.y())));
        QCOMPARE(image.pixel(2, 8), kWhite);  // outside the box
        QCOMPARE(image.pixel(5, 8), kBlack);  // the wall
    }

    void notXorFillTwiceRestoresASimplePicture()
    {
        QImage image = boxed();
        const QImage before = image;
        pel::floodFill(image, {10, 10}, {QColor(0x30, 0x60, 0x90), BrushStyle::Solid}, PenMode::NotXor);
        QCOMPARE(image.pixel(10, 10), 0xFF306090u);  // NOT(white XOR c) = c
        pel::floodFill(image, {10, 10}, {QColor(0x30, 0x60, 0x90), BrushStyle::Solid}, PenMode::NotXor);
        QCOMPARE(image, before);
    }

    void clearBrushPaintsNothing()
    {
        QImage image = boxed();
        const QImage before = image;
        pel::floodFill(image, {10, 10}, {Qt::red, BrushStyle::Clear}, PenMode::Copy);
        QCOMPARE(image, before);
    }

    void otherFormatsAreFilledToo()
    {
        QImage image = boxed().convertToFormat(QImage::Format_RGB888);
        pel::floodFill(image, {10, 10}, {Qt::red, BrushStyle::Solid}, PenMode::Copy);
        QCOMPARE(image.pixel(10, 10), kRed);
        QCOMPARE(image.pixel(5, 5), kBlack);
    }
};

QTEST_MAIN(TestFloodFill)
#include "tst_floodfill.moc"
