// Inserting HTML templates into a large document: the edit must touch only
// the place of the insertion, never re-read or re-lay the whole text.
#include "support/EditorDriver.h"
#include "app/Application.h"
#include "main/Pelmain.h"
#include "platform/ProgramDirectory.h"
#include "platform/Services.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kDocumentSize = 20 * 1024 * 1024;

QString largeDocument()
{
    const QString line = QStringLiteral("日本語のテキストと ASCII text の混ざった行です｡<P>本文 %1\n");
    QString text;
    text.reserve(kDocumentSize + 256);
    for (int i = 0; text.size() < kDocumentSize; ++i)
        text += line.arg(i);
    return text;
}

struct Document {
    Document()
    {
        PelmoraApp::createWindows({});
        pel::test::mainEditor().setText(largeDocument());
        // Shown, so each edit also pays for the editor's layout and repaint.
        Form1->show();
        QCoreApplication::processEvents();
    }
    ~Document() { PelmoraApp::destroyWindows(); }
    void placeCaret(int position, int selected = 0)
    {
        pel::test::mainEditor().select(position, selected);
    }
};

Document* document = nullptr;

void insertTemplate(benchmark::State& state, const char* command, int selected)
{
    const int middle = int(Form1->session().document().length()) / 2;
    for (auto _ : state) {
        state.PauseTiming();
        document->placeCaret(middle, selected);
        state.ResumeTiming();
        Form1->runHtmlCommand(QString::fromLatin1(command));
        QCoreApplication::processEvents();
    }
    state.counters["documentMB"] = int(Form1->session().document().length()) / (1024.0 * 1024.0);
}

void BM_FixedTemplate(benchmark::State& state) { insertTemplate(state, "TenPlertAction", 0); }
void BM_PrefectureForm(benchmark::State& state) { insertTemplate(state, "FormOptionAction", 0); }
void BM_WrapSelection(benchmark::State& state) { insertTemplate(state, "BAction", 40); }

BENCHMARK(BM_FixedTemplate)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_PrefectureForm)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_WrapSelection)->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir settings;
    // Settings and phrase files of the run stay out of the user's folders.
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    pel::setProgramDirectory(settings.path());
    pel::installSystemServices();
    benchmark::Initialize(&argc, argv);
    Document big;
    document = &big;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
