// Paint canvas: flood fill of a large area and of a maze, and one
// rubber-band drag step of every tool on an 800 x 600 bitmap (erase the
// shown shape, draw the new one). Reports figures only; run it from a build configured with
// -DPELMORA_BUILD_BENCH=ON:  QT_QPA_PLATFORM=offscreen ./bench/bench_paint
#include "../tests/paint/MetafileFixtures.h"
#include "paint/FloodFill.h"
#include "paint/ImageControl.h"
#include "paint/PaintTools.h"
#include "paint/PictureFile.h"

#include <QApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>

namespace {

void BM_FloodFill800x600(benchmark::State& state)
{
    QImage image(800, 600, QImage::Format_RGB32);
    const pel::BrushState brush{Qt::blue, static_cast<pel::BrushStyle>(state.range(0))};
    for (auto _ : state) {
        state.PauseTiming();
        image.fill(Qt::white);
        state.ResumeTiming();
        benchmark::DoNotOptimize(pel::floodFill(image, {400, 300}, brush, pel::PenMode::Copy));
    }
}
BENCHMARK(BM_FloodFill800x600)
    ->Arg(int(pel::BrushStyle::Solid))
    ->Arg(int(pel::BrushStyle::DiagCross))
    ->Unit(benchmark::kMillisecond);

// A serpentine of one-pixel corridors across 800 x 600: the fill's worst
// case, every corridor reachable only through the one before.
void BM_FloodFillMaze800x600(benchmark::State& state)
{
    QImage maze(800, 600, QImage::Format_RGB32);
    maze.fill(Qt::white);
    for (int y = 1; y < 600; y += 2) {
        for (int x = 0; x < 800; ++x)
            maze.setPixel(x, y, 0xFF000000u);
        maze.setPixel((y / 2) % 2 ? 0 : 799, y, 0xFFFFFFFFu);
    }
    const pel::BrushState brush{Qt::red, pel::BrushStyle::Solid};
    QImage image;
    for (auto _ : state) {
        state.PauseTiming();
        image = maze.copy();
        state.ResumeTiming();
        benchmark::DoNotOptimize(pel::floodFill(image, {0, 0}, brush, pel::PenMode::Copy));
    }
}
BENCHMARK(BM_FloodFillMaze800x600)->Unit(benchmark::kMillisecond);

// Two not-xor calls, as each mouse move of a drag makes them, across the
// whole picture.
void BM_DragStep800x600(benchmark::State& state)
{
    const int code = int(state.range(0));
    pel::PaintCanvas canvas;
    canvas.replaceWithWhite(800, 600);
    canvas.pen().width = 3;
    const QPoint start(5, 5);
    int i = 0;
    for (auto _ : state) {
        const QPoint a(700 + i % 90, 500 + i % 90);
        const QPoint b(701 + i % 90, 501 + i % 90);
        benchmark::DoNotOptimize(pel::applyTool(canvas, code, start, a, pel::PenMode::NotXor, {}));
        benchmark::DoNotOptimize(pel::applyTool(canvas, code, start, b, pel::PenMode::NotXor, {}));
        ++i;
    }
}
BENCHMARK(BM_DragStep800x600)->DenseRange(0, 28)->Unit(benchmark::kMillisecond);

// A stretched 800 x 600 view of a metafile of 400,000 records: the first
// paint plays the file (argument 1), a repaint at the same size (argument 0)
// shows the picture played before.
void BM_StretchedMetafileRepaint(benchmark::State& state)
{
    using namespace pel::test;
    QByteArray records = wmfSolidBrush(0x0000FF) + wmfSelect(0);
    for (int i = 0; i < 399998; ++i)
        records += wmfRectangle(i % 700, i % 500, i % 700 + 40, i % 500 + 30);
    const pel::PictureResult result = pel::decodePicture(wmfFile(800, 600, records), pel::PictureKind::Metafile);
    const pel::Picture picture = *result.picture;
    pel::ImageControl control;
    control.canvas().replaceShowOnly(picture.image, [picture](QSize size) { return picture.render(size); });
    control.setStretch(true);
    control.setFillsArea(true);
    control.resize(820, 610);
    QPixmap target(control.size());
    const bool replay = state.range(0) == 1;
    control.render(&target);
    for (auto _ : state) {
        if (replay) {
            state.PauseTiming();
            control.canvas().replaceShowOnly(picture.image, [picture](QSize size) { return picture.render(size); });
            state.ResumeTiming();
        }
        control.render(&target);
    }
}
BENCHMARK(BM_StretchedMetafileRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
