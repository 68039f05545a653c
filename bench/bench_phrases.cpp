// Transcription and the move commands of the phrase registers on long lists,
// through the real windows. Reports figures only; run it from a build
// configured with -DPELMORA_BUILD_BENCH=ON:
//   QT_QPA_PLATFORM=offscreen ./bench/bench_phrases
#include "support/EditorDriver.h"
#include "app/Application.h"
#include "main/Pelmain.h"
#include "phrases/Pellist.h"
#include "phrases/PhraseBar.h"
#include "phrases/PhraseList.h"
#include "platform/Fonts.h"
#include "platform/ProgramDirectory.h"
#include "platform/Services.h"

#include <QApplication>
#include <QListView>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "QtBenchmarkMain.h"

namespace {

QList<QByteArray> entries(int count)
{
    QList<QByteArray> result;
    result.reserve(count);
    for (int i = 0; i < count; ++i)
        result << QByteArray("\x8D\x80\x96\xDA ") + QByteArray::number(i);  // "項目 n"
    return result;
}

// The thirteen windows with the ListBox window shown and the phrase bar on.
struct Session {
    QTemporaryDir programDir;
    QTemporaryDir settingsDir;
    explicit Session(int count)
    {
        pel::setProgramDirectory(programDir.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        PelmoraApp::createWindows({});
        Form1->show();
        Form1->action(QStringLiteral("NewTextBox1"))->trigger();
        Form3->list().replaceAll(entries(count));
        Form1->phraseBarList().replaceAll(entries(count));
        Form3->show();
        QApplication::processEvents();
    }
    ~Session() { PelmoraApp::destroyWindows(); }
};

void BM_TranscribeSelected(benchmark::State& state)
{
    Session session(int(state.range(0)));
    Form3->ListBox1->selectAll();
    for (auto _ : state) {
        state.PauseTiming();
        pel::test::mainEditor().setText({});
        state.ResumeTiming();
        Form3->TranscribeSelected();
    }
    state.counters["characters"] = double(Form1->session().document().length());
}
BENCHMARK(BM_TranscribeSelected)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(10);

// Each list-window move on a list of 100 000 entries, the mark in the middle.
template <void (PhraseListWindow::*Command)()>
void BM_WindowMove(benchmark::State& state)
{
    Session session(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Form3->list().setCurrent(Form3->list().count() / 2);
        state.ResumeTiming();
        (Form3->*Command)();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_WindowMove<&PhraseListWindow::Button1Click>)->Name("BM_WindowRotate")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_WindowMove<&PhraseListWindow::Button2Click>)->Name("BM_WindowMoveToTop")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_WindowMove<&PhraseListWindow::Button3Click>)->Name("BM_WindowMoveToBottom")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_WindowMove<&PhraseListWindow::Button5Click>)->Name("BM_WindowMoveUp")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_WindowMove<&PhraseListWindow::Button6Click>)->Name("BM_WindowMoveDown")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_WindowMove<&PhraseListWindow::DeleteClick>)->Name("BM_WindowDelete")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);

// The same on the phrase bar, whose combo box shows the same kind of list.
template <void (pel::PhraseBar::*Command)()>
void BM_BarMove(benchmark::State& state)
{
    Session session(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Form1->phraseBarList().setCurrent(Form1->phraseBarList().count() / 2);
        state.ResumeTiming();
        (Form1->phraseBar().*Command)();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_BarMove<&pel::PhraseBar::IdouButtonClick>)->Name("BM_BarRotate")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_BarMove<&pel::PhraseBar::TopButtonClick>)->Name("BM_BarMoveToTop")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_BarMove<&pel::PhraseBar::BottomButtonClick>)->Name("BM_BarMoveToBottom")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_BarMove<&pel::PhraseBar::UpSpButtonClick>)->Name("BM_BarMoveUp")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_BarMove<&pel::PhraseBar::DownSpButtonClick>)->Name("BM_BarMoveDown")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_BarMove<&pel::PhraseBar::DeleteButtonClick>)->Name("BM_BarDelete")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);

// A restore of 100 000 entries into the open window, painted.
void BM_RestoreIntoOpenWindow(benchmark::State& state)
{
    Session session(10);
    const QList<QByteArray> many = entries(int(state.range(0)));
    for (auto _ : state) {
        Form3->list().replaceAll(many);
        Form3->ListBox1->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RestoreIntoOpenWindow)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    return runWidgetBenchmarks(argc, argv);
}
