// The canvas model: drawing primitives at the pixel level, the drawing
// state that belongs to the bitmap, and copying rectangles.
#include "PaintFixtures.h"
#include "paint/PaintCanvas.h"

#include <QTest>

using namespace paintfx;
using pel::BrushStyle;
using pel::PaintCanvas;
using pel::PenMode;
using pel::PenStyle;

class TestCanvas : public QObject {
    Q_OBJECT

private:
    static PaintCanvas canvasOn(const QImage& image)
    {
        PaintCanvas canvas;
        canvas.replace(image);
        return canvas;
    }

private Q_SLOTS:
    void startsAsWhite128Bitmap()
    {
        PaintCanvas canvas;
        QCOMPARE(canvas.image().size(), QSize(128, 128));
        QVERIFY(canvas.isBitmap());
        QCOMPARE(canvas.image().pixel(0, 0), kWhite);
        QCOMPARE(canvas.image().pixel(127, 127), kWhite);
        QCOMPARE(canvas.pen().color, QColor(Qt::black));
        QCOMPARE(canvas.pen().width, 1);
        QCOMPARE(canvas.pen().style, PenStyle::Solid);
        QCOMPARE(canvas.pen().mode, PenMode::Copy);
        QCOMPARE(canvas.brush().color, QColor(Qt::white));
        QCOMPARE(canvas.brush().style, BrushStyle::Solid);
    }

    void replacingThePictureResetsTheDrawingState()
    {
        PaintCanvas canvas;
        canvas.pen() = {Qt::red, 7, PenStyle::Dash, PenMode::NotXor};
        canvas.brush() = {Qt::blue, BrushStyle::Cross};
        canvas.moveTo({20, 30});
        canvas.replaceWithWhite(16, 8);
        QCOMPARE(canvas.image().size(), QSize(16, 8));
        QCOMPARE(canvas.pen(), pel::PenState{});
        QCOMPARE(canvas.brush(), pel::BrushState{});
        QCOMPARE(canvas.state().penPos, QPoint(0, 0));

        // Taking new content in place keeps the state (pasting into a bitmap).
        canvas.pen().width = 5;
        canvas.assignContent(filled(4, 4, kGrey));
        QCOMPARE(canvas.pen().width, 5);
        QCOMPARE(canvas.image().size(), QSize(4, 4));
    }

    void negativeSizesMakeAnEmptyBitmap()
    {
        const QImage image = PaintCanvas::whiteBitmap(-5, 10);
        QCOMPARE(image.width(), 0);
    }

    void rectangleRunsThroughBothCorners()
    {
        PaintCanvas canvas = canvasOn(filled(64, 64, kGrey));
        canvas.pen().color = Qt::red;
        canvas.brush().color = Qt::blue;
        const QImage before = canvas.image();
        const QRect changed = canvas.rectangle({50, 40}, {10, 10});
        const QImage& after = canvas.image();
        for (int x = 10; x <= 50; ++x) {
            QCOMPARE(after.pixel(x, 10), kRed);
            QCOMPARE(after.pixel(x, 40), kRed);
        }
        for (int y = 10; y <= 40; ++y) {
            QCOMPARE(after.pixel(10, y), kRed);
            QCOMPARE(after.pixel(50, y), kRed);
        }
        QCOMPARE(after.pixel(11, 11), kBlue);
        QCOMPARE(after.pixel(49, 39), kBlue);
        QCOMPARE(boundsOf(changedPixels(before, after)), QRect(QPoint(10, 10), QPoint(50, 40)));
        QVERIFY(changed.contains(QRect(QPoint(10, 10), QPoint(50, 40))));
    }

    void clearBrushLeavesTheInterior()
    {
        PaintCanvas canvas = canvasOn(filled(64, 64, kGrey));
        canvas.brush().style = BrushStyle::Clear;
        canvas.ellipse({5, 5}, {40, 30});
        QCOMPARE(canvas.image().pixel(22, 17), kGrey);
        QCOMPARE(canvas.image().pixel(22, 5), kBlack);
    }

    void clearPenDrawsNoOutline()
    {
        PaintCanvas canvas = canvasOn(filled(64, 64, kGrey));
        canvas.pen().style = PenStyle::Clear;
        canvas.brush().color = Qt::blue;
        const QImage before = canvas.image();
        canvas.moveTo({0, 0});
        QVERIFY(canvas.lineTo({60, 60}).isEmpty());
        QCOMPARE(canvas.image(), before);
        canvas.rectangle({10, 10}, {30, 30});
        QCOMPARE(canvas.image().pixel(10, 20), kBlue);  // the interior reaches the edge
        QCOMPARE(canvas.image().pixel(20, 20), kBlue);
    }

    void lineCoversBothEndsAndMovesThePen()
    {
        PaintCanvas canvas = canvasOn(filled(32, 32, kWhite));
        canvas.moveTo({2, 5});
        canvas.lineTo({20, 5});
        QCOMPARE(canvas.state().penPos, QPoint(20, 5));
        QCOMPARE(canvas.image().pixel(2, 5), kBlack);
        QCOMPARE(canvas.image().pixel(20, 5), kBlack);
        QCOMPARE(canvas.image().pixel(21, 5), kWhite);
        QCOMPARE(canvas.image().pixel(1, 5), kWhite);
        QCOMPARE(canvas.image().pixel(10, 6), kWhite);
    }

    void styledLinesOnlyAtWidthOne_data()
    {
        QTest::addColumn<PenStyle>("style");
        QTest::newRow("dash") << PenStyle::Dash;
        QTest::newRow("dot") << PenStyle::Dot;
        QTest::newRow("dash-dot") << PenStyle::DashDot;
        QTest::newRow("dash-dot-dot") << PenStyle::DashDotDot;
    }
    void styledLinesOnlyAtWidthOne()
    {
        QFETCH(PenStyle, style);
        auto blackOnRow = [](const QImage& image, int y) {
            int count = 0;
            for (int x = 10; x < 90; ++x)
                count += image.pixel(x, y) == kBlack;
            return count;
        };
        PaintCanvas thin = canvasOn(filled(100, 20, kWhite));
        thin.pen().style = style;
        thin.moveTo({10, 10});
        thin.lineTo({90, 10});
        const int thinCount = blackOnRow(thin.image(), 10);
        QVERIFY2(thinCount > 10 && thinCount < 70, qPrintable(QString::number(thinCount)));

        PaintCanvas wide = canvasOn(filled(100, 20, kWhite));
        wide.pen().style = style;
        wide.pen().width = 2;
        wide.moveTo({10, 10});
        wide.lineTo({90, 10});
        QCOMPARE(blackOnRow(wide.image(), 10), 80);
    }

    void notXorTwiceRestoresEveryPrimitive()
    {
        const QImage original = noisy(64, 64);
        PaintCanvas canvas = canvasOn(original);
        canvas.pen() = {QColor(0x12, 0x34, 0x56), 3, PenStyle::Solid, PenMode::NotXor};
        canvas.brush() = {QColor(0xAB, 0xCD, 0xEF), BrushStyle::DiagCross};
        for (int pass = 0; pass < 2; ++pass) {
            canvas.moveTo({3, 60});
            canvas.lineTo({60, 2});
            canvas.rectangle({5, 5}, {40, 30});
            canvas.ellipse({10, 12}, {55, 50});
            canvas.roundRect({2, 40}, {30, 62}, -9, 7);
            canvas.polygon(QPolygon({{0, 0}, {63, 10}, {20, 63}, {0, 0}}));
        }
        QCOMPARE(canvas.image(), original);
    }

    void notXorInvertsAgainstTheColour()
    {
        PaintCanvas canvas = canvasOn(filled(8, 8, 0xFF00FF00u));
        canvas.pen() = {Qt::black, 1, PenStyle::Solid, PenMode::NotXor};
        canvas.moveTo({0, 1});
        canvas.lineTo({8, 1});
        // NOT (green XOR black) = magenta
        QCOMPARE(canvas.image().pixel(3, 1), 0xFFFF00FFu);
    }

    void whiteModePaintsWhite()
    {
        PaintCanvas canvas = canvasOn(filled(8, 8, kGrey));
        canvas.pen().mode = PenMode::White;
        canvas.pen().color = Qt::red;
        canvas.moveTo({0, 2});
        canvas.lineTo({8, 2});
        QCOMPARE(canvas.image().pixel(4, 2), kWhite);
    }

    void hatchedInteriorLeavesTheGaps_data()
    {
        QTest::addColumn<BrushStyle>("style");
        QTest::addColumn<QPoint>("line");
        QTest::addColumn<QPoint>("gap");
        QTest::newRow("horizontal") << BrushStyle::Horizontal << QPoint(13, 16) << QPoint(13, 17);
        QTest::newRow("vertical") << BrushStyle::Vertical << QPoint(16, 13) << QPoint(17, 13);
        QTest::newRow("falling") << BrushStyle::FDiagonal << QPoint(13, 13) << QPoint(13, 15);
        QTest::newRow("rising") << BrushStyle::BDiagonal << QPoint(13, 19) << QPoint(13, 13);
        QTest::newRow("cross") << BrushStyle::Cross << QPoint(13, 24) << QPoint(13, 13);
        QTest::newRow("diagonal cross") << BrushStyle::DiagCross << QPoint(19, 13) << QPoint(14, 13);
    }
    void hatchedInteriorLeavesTheGaps()
    {
        QFETCH(BrushStyle, style);
        QFETCH(QPoint, line);
        QFETCH(QPoint, gap);
        PaintCanvas canvas = canvasOn(filled(40, 40, kGrey));
        canvas.brush() = {Qt::blue, style};
        canvas.rectangle({10, 10}, {30, 30});
        QCOMPARE(canvas.image().pixel(line), kBlue);
        QCOMPARE(canvas.image().pixel(gap), kGrey);
        QCOMPARE(canvas.image().pixel(10, 20), kBlack);
    }

    void roundRectCornerSizeSignDoesNotMatter()
    {
        PaintCanvas a = canvasOn(filled(64, 64, kWhite));
        PaintCanvas b = canvasOn(filled(64, 64, kWhite));
        a.roundRect({5, 5}, {50, 40}, 20, 16);
        b.roundRect({5, 5}, {50, 40}, -20, -16);
        QCOMPARE(a.image(), b.image());
        QCOMPARE(a.image().pixel(5, 5), kWhite);  // the corner is cut
        QCOMPARE(a.image().pixel(27, 5), kBlack);
    }

    void copyRectReadsOnlyWhatExists()
    {
        PaintCanvas target = canvasOn(filled(20, 20, kWhite));
        const QImage small = filled(5, 5, kRed);
        const QRect changed = target.copyRect(QRect(0, 0, 20, 20), small, QRect(0, 0, 20, 20));
        QCOMPARE(changed, QRect(0, 0, 5, 5));
        QCOMPARE(target.image().pixel(4, 4), kRed);
        QCOMPARE(target.image().pixel(5, 5), kWhite);  // not stretched, not blackened
    }

    void textIsDrawnOnlyWhereItLies()
    {
        PaintCanvas canvas = canvasOn(filled(64, 32, kWhite));
        canvas.brush().style = BrushStyle::Clear;
        canvas.state().fontColor = Qt::red;
        QVERIFY(canvas.textOut({2, 2}, QString()).isEmpty());
        QCOMPARE(changedPixels(filled(64, 32, kWhite), canvas.image()).size(), 0);
        canvas.textOut({2, 2}, QStringLiteral("WW"));
        const QList<QPoint> changed = changedPixels(filled(64, 32, kWhite), canvas.image());
        QVERIFY(!changed.isEmpty());
        QVERIFY(boundsOf(changed).top() >= 2);
        QVERIFY(boundsOf(changed).left() >= 2);
        // Outside the picture: nothing, and no crash.
        const QImage before = canvas.image();
        canvas.textOut({800, 600}, QStringLiteral("WW"));
        QCOMPARE(canvas.image(), before);
    }

    void showOnlyPicturesAreNotBitmaps()
    {
        PaintCanvas canvas;
        canvas.replaceShowOnly(filled(10, 10, kRed));
        QVERIFY(!canvas.isBitmap());
        QVERIFY(canvas.hasPicture());
        canvas.clear();
        QVERIFY(!canvas.hasPicture());
    }

    // A metafile is played once per size: repaints at the same size reuse
    // the picture, a new size or a new picture plays again.
    void playedPictureIsReusedUntilTheSizeChanges()
    {
        PaintCanvas canvas;
        QList<QSize> played;
        auto renderer = [&played](QSize size) {
            played << size;
            return filled(size.width(), size.height(), kRed);
        };
        canvas.replaceShowOnly(filled(10, 10, kRed), renderer);
        QCOMPARE(canvas.rendered(QSize(40, 30)).size(), QSize(40, 30));
        QCOMPARE(canvas.rendered(QSize(40, 30)).pixel(39, 29), kRed);
        QCOMPARE(played, QList<QSize>{QSize(40, 30)});
        canvas.rendered(QSize(80, 60));
        canvas.rendered(QSize(80, 60));
        QCOMPARE(played.size(), 2);
        canvas.replaceShowOnly(filled(10, 10, kRed), renderer);
        canvas.rendered(QSize(80, 60));
        QCOMPARE(played.size(), 3);
    }
};

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
