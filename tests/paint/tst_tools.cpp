// The tool table: what each tool code draws through the mouse protocol, the
// styles it leaves for the next call, and the fixed-position figures.
#include "PaintFixtures.h"
#include "paint/FigureGeometry.h"
#include "paint/PaintTools.h"
#include "paint/ToolDrag.h"

#include <QTest>

using namespace paintfx;
using pel::BrushStyle;
using pel::FigureOffset;
using pel::PaintCanvas;
using pel::PenMode;
using pel::PenStyle;

namespace {

pel::ToolDrag toolOn(PaintCanvas& canvas, int code, FigureOffset offset = {})
{
    pel::ToolDrag tool(canvas);
    tool.ToolCode = quint8(code);
    tool.figureOffset = offset;
    return tool;
}

// A press at `start`, moves through `moves` with the left button held.
void pressAndMove(pel::ToolDrag& tool, QPoint start, const QList<QPoint>& moves)
{
    tool.press(Qt::LeftButton, start);
    for (const QPoint& m : moves)
        tool.move(Qt::LeftButton, m);
}

// The same, then a release at `release`.
void drag(PaintCanvas& canvas, int code, QPoint start, const QList<QPoint>& moves, QPoint release,
          FigureOffset offset = {})
{
    pel::ToolDrag tool = toolOn(canvas, code, offset);
    pressAndMove(tool, start, moves);
    tool.release(Qt::LeftButton, release);
}

PaintCanvas redBlueOnGrey()
{
    PaintCanvas canvas;
    canvas.replace(filled(128, 128, kGrey));
    canvas.pen().color = Qt::red;
    canvas.brush().color = Qt::blue;
    return canvas;
}

bool isFill(int code)
{
    return code == 10 || (code >= 23 && code <= 28);
}

} // namespace

class TestTools : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyCodeHasItsRow()
    {
        QCOMPARE(int(pel::toolTable().size()), pel::kToolCount);
        for (int code = 0; code < pel::kToolCount; ++code)
            QCOMPARE(pel::toolRow(code)->code, code);
        QVERIFY(!pel::toolRow(29));
        QVERIFY(!pel::toolRow(255));
    }

    void toolOutput_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QList<QPoint>>("moves");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<QList<QPoint>>("pen");
        QTest::addColumn<QList<QPoint>>("brush");
        QTest::addColumn<QList<QPoint>>("untouched");
        using L = QList<QPoint>;
        const QPoint a(10, 10), b(50, 40);
        const L via{{30, 30}, {45, 35}};
        QTest::newRow("0 line") << 0 << a << via << QPoint(50, 10) << L{{10, 10}, {30, 10}, {49, 10}} << L{}
                                << L{{30, 30}, {20, 20}, {50, 11}};
        // The first call of a drag already leaves the clear brush, so the
        // plain shapes end with their interior untouched.
        QTest::newRow("1 rectangle") << 1 << a << via << b << L{{10, 10}, {50, 40}, {30, 10}, {10, 25}, {50, 25}}
                                     << L{} << L{{30, 25}, {11, 11}, {51, 41}, {60, 20}, {9, 9}};
        QTest::newRow("2 coloured rectangle") << 2 << a << via << b << L{{10, 10}, {50, 40}} << L{{30, 25}}
                                              << L{{51, 41}};
        QTest::newRow("3 ellipse") << 3 << a << via << b << L{{30, 10}, {30, 40}, {10, 25}} << L{}
                                   << L{{30, 25}, {10, 10}, {50, 40}, {11, 11}};
        QTest::newRow("4 coloured ellipse") << 4 << a << via << b << L{{30, 10}} << L{{30, 25}} << L{{10, 10}};
        QTest::newRow("5 rounded rectangle") << 5 << a << via << b << L{{30, 10}, {10, 25}} << L{}
                                             << L{{30, 25}, {10, 10}, {50, 40}};
        QTest::newRow("6 coloured rounded rectangle") << 6 << a << via << b << L{{30, 10}} << L{{30, 25}}
                                                      << L{{10, 10}};
        QTest::newRow("7 free hand") << 7 << a << L{{30, 10}} << QPoint(50, 10) << L{{10, 10}, {29, 10}, {40, 10}}
                                     << L{} << L{{10, 11}, {51, 10}};
        QTest::newRow("8 nothing") << 8 << a << via << b << L{} << L{} << L{{10, 10}, {30, 25}, {50, 40}};
        QTest::newRow("9 star") << 9 << QPoint(1, 1) << via << b << L{{60, 15}, {20, 45}, {100, 45}} << L{}
                                << L{{60, 50}, {1, 1}};
        QTest::newRow("10 fill") << 10 << QPoint(3, 3) << L{} << QPoint(3, 3) << L{}
                                 << L{{0, 0}, {127, 127}, {3, 3}} << L{};
        QTest::newRow("11 rhombus") << 11 << a << via << b << L{{10, 10}, {35, 10}, {85, 60}, {35, 60}} << L{}
                                    << L{{45, 35}};
        QTest::newRow("12 dotted line") << 12 << a << via << QPoint(50, 10) << L{{10, 10}} << L{} << L{{30, 30}};
        QTest::newRow("13 pentagon") << 13 << a << via << b << L{{58, 20}, {93, 46}, {84, 85}, {25, 46}} << L{}
                                     << L{{58, 55}};
        QTest::newRow("14 vertical rhombus") << 14 << a << via << b << L{{50, 10}, {75, 60}, {50, 110}} << L{}
                                             << L{{50, 60}};
        QTest::newRow("15 filled star") << 15 << a << via << b << L{{60, 15}, {20, 45}} << L{{60, 50}}
                                        << L{{5, 5}};
        QTest::newRow("16 triangle") << 16 << a << via << b << L{{40, 0}, {0, 80}, {40, 80}} << L{}
                                     << L{{40, 50}};
        QTest::newRow("17 filled triangle") << 17 << a << via << b << L{{40, 0}, {40, 80}} << L{{40, 50}}
                                            << L{{100, 100}};
        QTest::newRow("18 filled pentagon") << 18 << a << via << b << L{{58, 20}} << L{{58, 55}} << L{{5, 5}};
        QTest::newRow("19 filled vertical rhombus") << 19 << a << via << b << L{{50, 10}} << L{{50, 60}}
                                                    << L{{5, 5}};
        QTest::newRow("20 dashed line") << 20 << a << via << QPoint(50, 10) << L{{10, 10}} << L{} << L{{30, 30}};
        QTest::newRow("21 dash-dot line") << 21 << a << via << QPoint(50, 10) << L{{10, 10}} << L{}
                                          << L{{30, 30}};
        QTest::newRow("22 dash-dot-dot line") << 22 << a << via << QPoint(50, 10) << L{{10, 10}} << L{}
                                              << L{{30, 30}};
        QTest::newRow("23 rising hatch") << 23 << QPoint(3, 3) << L{} << QPoint(90, 90) << L{}
                                         << L{{1, 7}, {7, 1}, {0, 8}} << L{{1, 1}, {3, 3}};
        QTest::newRow("24 falling hatch") << 24 << QPoint(3, 3) << L{} << QPoint(90, 90) << L{}
                                          << L{{1, 1}, {3, 3}, {9, 1}} << L{{1, 2}, {7, 1}};
        QTest::newRow("25 cross hatch") << 25 << QPoint(3, 3) << L{} << QPoint(90, 90) << L{}
                                        << L{{0, 5}, {5, 0}, {8, 3}} << L{{5, 5}, {3, 3}};
        QTest::newRow("26 diagonal cross") << 26 << QPoint(3, 3) << L{} << QPoint(90, 90) << L{}
                                           << L{{1, 1}, {1, 7}, {3, 3}} << L{{1, 2}, {3, 4}};
        QTest::newRow("27 horizontal hatch") << 27 << QPoint(3, 3) << L{} << QPoint(90, 90) << L{}
                                             << L{{5, 0}, {5, 8}, {127, 120}} << L{{5, 1}, {3, 3}};
        QTest::newRow("28 vertical hatch") << 28 << QPoint(3, 3) << L{} << QPoint(90, 90) << L{}
                                           << L{{0, 5}, {8, 5}, {120, 127}} << L{{1, 5}, {3, 3}};
    }
    void toolOutput()
    {
        QFETCH(int, code);
        QFETCH(QPoint, start);
        QFETCH(QList<QPoint>, moves);
        QFETCH(QPoint, release);
        QFETCH(QList<QPoint>, pen);
        QFETCH(QList<QPoint>, brush);
        QFETCH(QList<QPoint>, untouched);
        PaintCanvas canvas = redBlueOnGrey();
        drag(canvas, code, start, moves, release);
        auto at = [](QPoint p) { return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y()); };
        for (const QPoint& p : pen)
            QVERIFY2(canvas.image().pixel(p) == kRed, qPrintable(at(p)));
        for (const QPoint& p : brush)
            QVERIFY2(canvas.image().pixel(p) == kBlue, qPrintable(at(p)));
        for (const QPoint& p : untouched)
            QVERIFY2(canvas.image().pixel(p) == kGrey, qPrintable(at(p)));
        QCOMPARE(canvas.pen().mode, PenMode::Copy);
    }

    void stylesLeftForTheNextCall_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<PenStyle>("penAfter");
        QTest::addColumn<BrushStyle>("brushAfter");
        // The canvas starts with dash-dot-dot and vertical lines, so
        // "unchanged" shows as those.
        const PenStyle keepPen = PenStyle::DashDotDot;
        const BrushStyle keepBrush = BrushStyle::Vertical;
        const struct {
            int code;
            PenStyle pen;
            BrushStyle brush;
        } rows[] = {
            {0, PenStyle::Solid, keepBrush},        {1, PenStyle::Solid, BrushStyle::Clear},
            {2, keepPen, keepBrush},                {3, PenStyle::Solid, BrushStyle::Clear},
            {4, keepPen, keepBrush},                {5, PenStyle::Solid, BrushStyle::Clear},
            {6, keepPen, keepBrush},                {7, PenStyle::Solid, keepBrush},
            {8, keepPen, keepBrush},                {9, PenStyle::Solid, BrushStyle::Clear},
            {10, keepPen, BrushStyle::Solid},       {11, PenStyle::Solid, BrushStyle::Clear},
            {12, PenStyle::Dot, BrushStyle::Clear}, {13, PenStyle::Solid, BrushStyle::Clear},
            {14, PenStyle::Solid, BrushStyle::Clear}, {15, PenStyle::Solid, BrushStyle::Solid},
            {16, keepPen, BrushStyle::Clear},       {17, keepPen, BrushStyle::Solid},
            {18, PenStyle::Solid, BrushStyle::Solid}, {19, PenStyle::Solid, BrushStyle::Solid},
            {20, PenStyle::Dash, BrushStyle::Clear}, {21, PenStyle::DashDot, BrushStyle::Clear},
            {22, PenStyle::DashDotDot, BrushStyle::Clear}, {23, keepPen, BrushStyle::BDiagonal},
            {24, keepPen, BrushStyle::FDiagonal},   {25, keepPen, BrushStyle::Cross},
            {26, keepPen, BrushStyle::DiagCross},   {27, keepPen, BrushStyle::Horizontal},
            {28, keepPen, BrushStyle::Vertical},    {29, keepPen, keepBrush},
            {255, keepPen, keepBrush},
        };
        for (const auto& row : rows)
            QTest::addRow("%d", row.code) << row.code << row.pen << row.brush;
    }
    void stylesLeftForTheNextCall()
    {
        QFETCH(int, code);
        QFETCH(PenStyle, penAfter);
        QFETCH(BrushStyle, brushAfter);
        PaintCanvas canvas = redBlueOnGrey();
        canvas.pen().style = PenStyle::DashDotDot;
        canvas.brush().style = BrushStyle::Vertical;
        pel::applyTool(canvas, code, {20, 20}, {40, 30}, PenMode::NotXor, {});
        QCOMPARE(canvas.pen().mode, PenMode::NotXor);  // the mode is set whatever the code
        QCOMPARE(canvas.pen().style, penAfter);
        QCOMPARE(canvas.brush().style, brushAfter);
    }

    void dragLeavesOnlyTheFinalShape_data()
    {
        QTest::addColumn<int>("code");
        for (int code = 0; code <= 30; ++code) {
            if (!isFill(code) && code != pel::kFreeHandTool)
                QTest::addRow("%d", code) << code;
        }
    }
    void dragLeavesOnlyTheFinalShape()
    {
        QFETCH(int, code);
        const QImage original = noisy(128, 128);
        PaintCanvas dragged;
        dragged.replace(original);
        dragged.pen().color = QColor(0x20, 0x40, 0x60);
        dragged.pen().width = 2;
        dragged.brush().color = QColor(0xC0, 0x80, 0x10);
        const FigureOffset offset{3, 4, 5};
        const QPoint start(10, 10), release(50, 40);

        // The rubber band: every shape shown is erased again before the
        // release, and only the styles remain.
        PaintCanvas probe = dragged;
        drag(probe, code, start, {{20, 30}, {70, 15}, release}, release, offset);
        PaintCanvas reference = dragged;
        {
            PaintCanvas band = dragged;
            pel::ToolDrag tool = toolOn(band, code, offset);
            pressAndMove(tool, start, {{20, 30}, {70, 15}, release});
            // A fixed figure is shown at one place, so its calls cancel in
            // pairs already; any other shape is still shown and is erased.
            const pel::ToolRow* row = pel::toolRow(code);
            const bool fixed = row && (row->action == pel::ToolAction::FigureOutline
                                       || row->action == pel::ToolAction::FigureFilled);
            if (!fixed)
                tool.ApplyTool(tool.TrackPoint, PenMode::NotXor);
            QCOMPARE(band.image(), original);
            reference.state() = band.state();
            reference.moveTo(start);
        }
        pel::applyTool(reference, code, start, release, PenMode::Copy, offset);
        QCOMPARE(probe.image(), reference.image());
    }

    // Per kind of tool: the press asks for the undo snapshot before anything
    // is drawn, and every step reports all the pixels it changed.
    void dragSteps_data()
    {
        QTest::addColumn<int>("code");
        for (int code : {0, 1, 3, 5, 7, 8, 9, 10, 15, 23})
            QTest::addRow("%d", code) << code;
    }
    void dragSteps()
    {
        QFETCH(int, code);
        PaintCanvas canvas = redBlueOnGrey();
        pel::ToolDrag tool = toolOn(canvas, code, {3, 4, 5});
        QImage before = canvas.image();
        auto check = [&](const pel::ToolDrag::Step& step, bool snapshot, const char* event) {
            const QList<QPoint> changed = changedPixels(before, canvas.image());
            before = canvas.image();
            QVERIFY2(step.takeSnapshot == snapshot, event);
            for (const QPoint& p : changed)
                QVERIFY2(step.changed.contains(p), event);
        };
        check(tool.press(Qt::LeftButton, {10, 10}), true, "press");
        for (const QPoint& m : {QPoint(30, 20), QPoint(60, 50), QPoint(20, 70)})
            check(tool.move(Qt::LeftButton, m), false, "move");
        check(tool.move(Qt::NoButton, {90, 90}), false, "move without the button");
        check(tool.release(Qt::LeftButton, {40, 45}), false, "release");
        QCOMPARE(tool.StartPoint, QPoint(10, 10));
        QCOMPARE(tool.TrackPoint, QPoint(20, 70));
    }

    void refusedAndOtherButtonsDrawNothing_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("ready");
        QTest::newRow("right button") << int(Qt::RightButton) << true;
        QTest::newRow("middle button") << int(Qt::MiddleButton) << true;
        QTest::newRow("refused press") << int(Qt::LeftButton) << false;
    }
    void refusedAndOtherButtonsDrawNothing()
    {
        QFETCH(int, button);
        QFETCH(bool, ready);
        PaintCanvas canvas = redBlueOnGrey();
        const QImage before = canvas.image();
        int asked = 0;
        bool readyNow = ready;
        pel::ToolDrag tool(canvas, [&] {
            ++asked;
            return readyNow;
        });
        tool.ToolCode = 1;
        const auto b = Qt::MouseButton(button);
        QVERIFY(!tool.press(b, {10, 10}).takeSnapshot);
        readyNow = true;  // a refused press stays refused for its whole drag
        QVERIFY(tool.move(b, {50, 40}).changed.isEmpty());
        QVERIFY(tool.release(b, {50, 40}).changed.isEmpty());
        QCOMPARE(canvas.image(), before);
        QCOMPARE(tool.StartPoint, QPoint());
        QCOMPARE(asked, ready ? 0 : 1);  // one refusal per drag, not one per move
        // The next left press draws again.
        QVERIFY(tool.press(Qt::LeftButton, {10, 10}).takeSnapshot);
        QVERIFY(!tool.release(Qt::LeftButton, {50, 40}).changed.isEmpty());
        QCOMPARE(canvas.image().pixel(50, 40), kRed);
    }

    void rectangleDragLeavesExactlyOneRectangle()
    {
        PaintCanvas canvas;
        const QImage white = canvas.image();
        drag(canvas, 1, {10, 10}, {{20, 20}, {60, 30}, {40, 45}, {50, 40}}, {50, 40});
        const QList<QPoint> changed = changedPixels(white, canvas.image());
        // The outline of a 41 x 31 rectangle and nothing else.
        QCOMPARE(changed.size(), 2 * 41 + 2 * 29);
        for (const QPoint& p : changed) {
            const bool onEdge = p.x() == 10 || p.x() == 50 || p.y() == 10 || p.y() == 40;
            QVERIFY(onEdge && canvas.image().pixel(p) == kBlack);
        }
    }

    void colouredShapeFollowsThePreviousStyles()
    {
        // After a plain rectangle the coloured one has a clear interior...
        PaintCanvas canvas = redBlueOnGrey();
        pel::applyTool(canvas, 1, {5, 5}, {20, 20}, PenMode::Copy, {});
        pel::applyTool(canvas, 2, {30, 30}, {60, 60}, PenMode::Copy, {});
        QCOMPARE(canvas.image().pixel(45, 45), kGrey);
        QCOMPARE(canvas.image().pixel(30, 45), kRed);
        // ...after a solid fill it is filled with the brush colour.
        pel::applyTool(canvas, 10, {100, 5}, {100, 5}, PenMode::Copy, {});
        canvas.brush().color = Qt::green;
        pel::applyTool(canvas, 2, {70, 70}, {90, 90}, PenMode::Copy, {});
        QCOMPARE(canvas.image().pixel(80, 80), 0xFF00FF00u);
    }

    void lineStyleChangesFromTheSecondCall()
    {
        PaintCanvas canvas = redBlueOnGrey();
        auto redOnRow = [&](int y) {
            int n = 0;
            for (int x = 10; x < 90; ++x)
                n += canvas.image().pixel(x, y) == kRed;
            return n;
        };
        pel::applyTool(canvas, 20, {10, 10}, {90, 10}, PenMode::Copy, {});
        QCOMPARE(redOnRow(10), 80);  // still solid
        pel::applyTool(canvas, 20, {10, 20}, {90, 20}, PenMode::Copy, {});
        QVERIFY(redOnRow(20) < 70);  // dashed now
        // A plain line after the dashed one is dashed once, then solid.
        pel::applyTool(canvas, 0, {10, 30}, {90, 30}, PenMode::Copy, {});
        QVERIFY(redOnRow(30) < 70);
        pel::applyTool(canvas, 0, {10, 40}, {90, 40}, PenMode::Copy, {});
        QCOMPARE(redOnRow(40), 80);
    }

    void clearPenAfterClearAll()
    {
        // A new picture with a clear pen: the first call of a code that sets
        // the pen draws no line; the codes that leave the pen draw no outline.
        PaintCanvas canvas;
        canvas.replaceWithWhite(64, 64);
        canvas.pen().style = PenStyle::Clear;
        canvas.brush().color = Qt::blue;
        const QImage white = canvas.image();
        canvas.moveTo({5, 5});
        pel::applyTool(canvas, 7, {5, 5}, {60, 5}, PenMode::Copy, {});
        QCOMPARE(canvas.image(), white);
        pel::applyTool(canvas, 7, {5, 5}, {60, 20}, PenMode::Copy, {});
        QVERIFY(canvas.image() != white);

        PaintCanvas shapes;
        shapes.replaceWithWhite(64, 64);
        shapes.pen().style = PenStyle::Clear;
        shapes.brush().color = Qt::blue;
        pel::applyTool(shapes, 2, {10, 10}, {40, 40}, PenMode::Copy, {});
        QCOMPARE(shapes.image().pixel(10, 25), kBlue);  // interior only, no black edge
        QCOMPARE(shapes.image().pixel(25, 25), kBlue);
    }

    void roundedCornersTruncateTowardZero()
    {
        // (10 - 61) / 2 = -25 and (10 - 49) / 2 = -19, not -26 and -20.
        PaintCanvas byTool;
        pel::applyTool(byTool, 5, {10, 10}, {61, 49}, PenMode::Copy, {});
        PaintCanvas truncated;
        truncated.roundRect({10, 10}, {61, 49}, -25, -19);
        PaintCanvas floored;
        floored.roundRect({10, 10}, {61, 49}, -26, -20);
        QCOMPARE(byTool.image(), truncated.image());
        QVERIFY(floored.image() != truncated.image());
    }

    void starPoints()
    {
        const QPolygon star = pel::figurePoints(pel::Figure::Star, {});
        const QPolygon expected({{60, 15}, {47, 45}, {20, 45}, {44, 62}, {35, 90}, {60, 72}, {85, 90}, {75, 62},
                                 {100, 45}, {73, 45}, {60, 15}});
        QCOMPARE(star, expected);
        const QPolygon bigger = pel::figurePoints(pel::Figure::Star, {0, 0, 10});
        QCOMPARE(bigger.first(), QPoint(60, 5));
        QCOMPARE(bigger.last(), QPoint(60, 5));
        QCOMPARE(bigger[3], QPoint(34, 62));
        QCOMPARE(bigger[6], QPoint(95, 100));
        const QPolygon moved = pel::figurePoints(pel::Figure::Star, {-200, 7, 0});
        QCOMPARE(moved.first(), QPoint(-140, 22));
    }

    void figuresClose_data()
    {
        QTest::addColumn<pel::Figure>("figure");
        QTest::addColumn<int>("points");
        QTest::newRow("star") << pel::Figure::Star << 11;
        QTest::newRow("rhombus") << pel::Figure::Rhombus << 5;
        QTest::newRow("pentagon") << pel::Figure::Pentagon << 6;
        QTest::newRow("vertical rhombus") << pel::Figure::VerticalRhombus << 5;
        QTest::newRow("triangle") << pel::Figure::Triangle << 4;
    }
    void figuresClose()
    {
        QFETCH(pel::Figure, figure);
        QFETCH(int, points);
        const QPolygon p = pel::figurePoints(figure, {5, -3, 8});
        QCOMPARE(p.size(), points);
        QCOMPARE(p.first(), p.last());
    }

    void otherFigurePoints()
    {
        QCOMPARE(pel::figurePoints(pel::Figure::Rhombus, {1, 2, 30}),
                 QPolygon({{11, 12}, {61, 12}, {86, 62}, {36, 62}, {11, 12}}));
        QCOMPARE(pel::figurePoints(pel::Figure::Triangle, {0, 0, 10}),
                 QPolygon({{40, -10}, {-10, 90}, {90, 90}, {40, -10}}));
        QCOMPARE(pel::figurePoints(pel::Figure::Pentagon, {0, 0, -10}),
                 QPolygon({{58, 30}, {83, 56}, {74, 75}, {47, 75}, {35, 56}, {58, 30}}));
        QCOMPARE(pel::figurePoints(pel::Figure::VerticalRhombus, {0, 0, 0}),
                 QPolygon({{50, 10}, {75, 60}, {50, 110}, {25, 60}, {50, 10}}));
    }

    void figureOutsideThePictureDrawsItsVisiblePart()
    {
        PaintCanvas canvas = redBlueOnGrey();
        const QImage before = canvas.image();
        pel::applyTool(canvas, 15, {0, 0}, {0, 0}, PenMode::Copy, {-200, 0, 0});
        QVERIFY(changedPixels(before, canvas.image()).isEmpty());  // entirely left of x = 0
        pel::applyTool(canvas, 15, {0, 0}, {0, 0}, PenMode::Copy, {-60, 0, 0});
        QCOMPARE(canvas.image().pixel(0, 15), kRed);   // the top vertex at x = 0
        QCOMPARE(canvas.image().pixel(0, 50), kBlue);  // the interior reaches the edge
    }

    void clickWithAFigureToolDrawsItAtItsPlace()
    {
        PaintCanvas a = redBlueOnGrey();
        PaintCanvas b = redBlueOnGrey();
        drag(a, 13, {3, 3}, {}, {3, 3});
        drag(b, 13, {120, 100}, {{5, 5}}, {70, 70});
        QCOMPARE(a.image(), b.image());
        QCOMPARE(a.image().pixel(58, 20), kRed);
    }

    void iconsAreDrawn()
    {
        for (int i = 0; i < pel::kPaintIconCount; ++i) {
            const QImage image = pel::paintIcon(i).pixmap(16, 16).toImage();
            QVERIFY2(!image.isNull(), qPrintable(QString::number(i)));
            QVERIFY(image.pixelColor(8, 8).alpha() > 0);
        }
        QVERIFY(pel::paintIcon(pel::kPaintIconCount).isNull());
    }

    void choiceTablesNameTheirCodes()
    {
        QCOMPARE(int(pel::toolButtonChoices().size()), 19);
        QCOMPARE(pel::toolButtonChoices().front().code, pel::kFreeHandTool);
        for (const pel::ToolChoice& c : pel::toolButtonChoices())
            QVERIFY2(pel::toolRow(c.code) && c.icon >= 0 && c.icon < pel::kPaintIconCount, c.name);
        for (const auto& table : {pel::penStyleChoices(), pel::brushStyleChoices()})
            for (const pel::ToolChoice& c : table)
                QVERIFY2(pel::toolRow(c.code), c.name);
    }
};

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
