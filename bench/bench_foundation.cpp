// Start-up, opening and saving a large document, and phrase files.
// Reports figures only; run it from a build configured with
// -DPELMORA_BUILD_BENCH=ON:  QT_QPA_PLATFORM=offscreen ./bench/bench_foundation
#include "app/Application.h"
#include "main/Pelmain.h"
#include "phrases/PhraseList.h"
#include "platform/Cp932.h"
#include "platform/Fonts.h"
#include "platform/ProgramDirectory.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "QtBenchmarkMain.h"

namespace {

// About 20 MB of Shift-JIS text: Japanese, ASCII and half-width katakana
// lines of typical length.
QByteArray largeShiftJis(qsizetype size)
{
    const QString line = QStringLiteral("日本語の文章とASCII text、ｶﾀｶﾅ｡ <B>タグ</B> 1234567890 ");
    const QByteArray bytes = pel::Cp932::encode(line).bytes + "\r\n";
    QByteArray out;
    out.reserve(size + bytes.size());
    while (out.size() < size)
        out += bytes;
    return out;
}

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

struct Workspace {
    QTemporaryDir programDir;
    QTemporaryDir settingsDir;
    Workspace()
    {
        pel::setProgramDirectory(programDir.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }
};

void BM_StartUp(benchmark::State& state)
{
    Workspace workspace;
    for (auto _ : state) {
        PelmoraApp::createWindows({});
        Form1->show();
        QApplication::processEvents();
        state.PauseTiming();
        state.counters["rss_MB"] = residentKilobytes() / 1024.0;
        PelmoraApp::destroyWindows();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_OpenLargeDocument(benchmark::State& state)
{
    Workspace workspace;
    const QString path = workspace.programDir.filePath(QStringLiteral("large.txt"));
    const QByteArray bytes = largeShiftJis(20 << 20);
    pel::writeWholeFile(path, bytes);
    PelmoraApp::createWindows({});
    Form1->show();
    for (auto _ : state) {
        Form1->loadFile(path);
        QApplication::processEvents();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    PelmoraApp::destroyWindows();
}
BENCHMARK(BM_OpenLargeDocument)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveLargeDocument(benchmark::State& state)
{
    Workspace workspace;
    const QString path = workspace.programDir.filePath(QStringLiteral("large.txt"));
    const QByteArray bytes = largeShiftJis(20 << 20);
    pel::writeWholeFile(path, bytes);
    PelmoraApp::createWindows({});
    Form1->loadFile(path);
    const QString copy = workspace.programDir.filePath(QStringLiteral("copy.txt"));
    for (auto _ : state)
        Form1->writeDocument(copy);
    QFile written(copy);
    written.open(QIODevice::ReadOnly);
    state.counters["identical"] = written.readAll() == bytes ? 1 : 0;
    state.SetBytesProcessed(state.iterations() * bytes.size());
    PelmoraApp::destroyWindows();
}
BENCHMARK(BM_SaveLargeDocument)->Unit(benchmark::kMillisecond)->Iterations(3);

QList<QByteArray> phraseEntries(int count)
{
    QList<QByteArray> entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i)
        entries << pel::Cp932::encode(QStringLiteral("定型文 %1 <A HREF=\"index.html\">ﾘﾝｸ</A>").arg(i)).bytes;
    return entries;
}

void BM_PhraseFileLoad(benchmark::State& state)
{
    Workspace workspace;
    const QString path = workspace.programDir.filePath(QStringLiteral("HOMELOG.TXT"));
    pel::writeWholeFile(path, pel::PhraseFile::serialize(phraseEntries(100000)));
    pel::PhraseList list;
    for (auto _ : state)
        list.LoadPhraseFile(path);
    state.counters["entries"] = list.count();
}
BENCHMARK(BM_PhraseFileLoad)->Unit(benchmark::kMillisecond);

void BM_PhraseFileSave(benchmark::State& state)
{
    Workspace workspace;
    const QString path = workspace.programDir.filePath(QStringLiteral("HOMELOG.TXT"));
    pel::PhraseList list;
    list.replaceAll(phraseEntries(100000));
    for (auto _ : state)
        list.SavePhraseFile(path);
}
BENCHMARK(BM_PhraseFileSave)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runWidgetBenchmarks(argc, argv);
}
