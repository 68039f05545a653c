// Find, replace and the caret report on a 20 MB document.
// Reports figures only; run it from a build configured with
// -DPELMORA_BUILD_BENCH=ON:  QT_QPA_PLATFORM=offscreen ./bench/bench_edit
#include "support/EditorDriver.h"
#include "app/Application.h"
#include "main/FindReplaceDialogs.h"
#include "main/Pelmain.h"
#include "platform/Cp932.h"
#include "platform/Fonts.h"
#include "platform/ProgramDirectory.h"
#include "platform/Services.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "QtBenchmarkMain.h"

namespace {

// About 20 MB as Shift-JIS; `last` is the final line.
QString largeDocument(const QString& last)
{
    const QString line = QStringLiteral("日本語の文章とASCII text、ｶﾀｶﾅ｡ <B>タグ</B> 1234567890 ");
    const qsizetype lineBytes = pel::Cp932::encode(line).bytes.size() + 2;
    QString text;
    text.reserve((20 << 20) / lineBytes * (line.size() + 1) + last.size());
    for (qsizetype size = 0; size < (20 << 20); size += lineBytes)
        text += line + u'\n';
    return text + last;
}

struct Session {
    QTemporaryDir programDir;
    QTemporaryDir settingsDir;
    explicit Session(const QString& text)
    {
        pel::setProgramDirectory(programDir.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        PelmoraApp::createWindows({});
        Form1->show();
        pel::test::mainEditor().setText(text);
        QApplication::processEvents();
    }
    ~Session() { PelmoraApp::destroyWindows(); }
    static void caretTo(int position) { pel::test::mainEditor().placeCaret(position); }
};

void BM_FindNextOnLastLine(benchmark::State& state)
{
    Session session(largeDocument(QStringLiteral("最後の行に目印")));
    pel::test::mainChild<FindDialog>("FindDialog1")->setFindText(QStringLiteral("目印"));
    for (auto _ : state) {
        state.PauseTiming();
        Session::caretTo(0);
        state.ResumeTiming();
        Q_EMIT pel::test::mainChild<FindDialog>("FindDialog1")->findNext();
    }
    state.counters["found"] = pel::test::mainEditor().selectedText() == QStringLiteral("目印") ? 1 : 0;
}
BENCHMARK(BM_FindNextOnLastLine)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReplaceOnLastLine(benchmark::State& state)
{
    Session session(largeDocument(QStringLiteral("最後の行に目印A")));
    QLineEdit* find = pel::test::mainChild<ReplaceDialog>("ReplaceDialog1")->FindEdit;
    QLineEdit* replacement = pel::test::mainChild<ReplaceDialog>("ReplaceDialog1")->ReplaceEdit;
    bool forth = true;
    for (auto _ : state) {
        state.PauseTiming();
        find->setText(forth ? QStringLiteral("目印A") : QStringLiteral("目印B"));
        replacement->setText(forth ? QStringLiteral("目印B") : QStringLiteral("目印A"));
        forth = !forth;
        state.ResumeTiming();
        Q_EMIT pel::test::mainChild<ReplaceDialog>("ReplaceDialog1")->replace();
    }
}
BENCHMARK(BM_ReplaceOnLastLine)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CaretReportAtEndOfWrapped(benchmark::State& state)
{
    Session session(largeDocument(QStringLiteral("最後の行")));
    const pel::test::EditorDriver editor = pel::test::mainEditor();
    editor.view().setWordWrap(true);
    editor.placeCaret(editor.session().document().length());
    QApplication::processEvents();
    // A key release reports the caret.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    for (auto _ : state)
        QApplication::sendEvent(&editor.view(), &release);
    state.counters["ok"] = pel::test::mainChild<QStatusBar>("StatusBar1")->currentMessage().startsWith(QStringLiteral("カーソルの位置は")) ? 1 : 0;
}
BENCHMARK(BM_CaretReportAtEndOfWrapped)->Unit(benchmark::kMicrosecond)->Iterations(50);

} // namespace

int main(int argc, char** argv)
{
    return runWidgetBenchmarks(argc, argv);
}
