// Opening, editing, finding and saving large documents in the main window:
// 20 MB of Japanese lines, one 20 MB line, four 1 MB lines.
// Reports figures only; run it from a build configured with
// -DPELMORA_BUILD_BENCH=ON:
//   QT_QPA_PLATFORM=offscreen ./bench/bench_document [startup|lines|marked|single|four|huge]
// (each case in a process of its own shows its memory best).
#include "support/EditorDriver.h"
#include "app/Application.h"
#include "main/FindReplaceDialogs.h"
#include "main/Pelmain.h"
#include "platform/Cp932.h"
#include "platform/Fonts.h"
#include "platform/ProgramDirectory.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <functional>

namespace {

double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

// Wall and CPU time of `work`, with the events it leaves (layout, paint)
// handled.
void measure(const char* what, const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    const double cpu = cpuMs();
    work();
    QApplication::processEvents();
    std::printf("  %-44s %9.1f ms wall %9.1f ms CPU\n", what, timer.nsecsElapsed() / 1e6, cpuMs() - cpu);
    std::fflush(stdout);
}

// Realistic Japanese lines of varying length (empty lines included), CR LF.
QByteArray japaneseLines(int lines)
{
    const QString pieces[] = {
        QStringLiteral("日本語の文章を書きます。"), QStringLiteral("東京都千代田区丸の内一丁目"),
        QStringLiteral("カタカナとひらがな、"), QStringLiteral("ｶﾀｶﾅ｡ﾃｽﾄ･ﾃﾞｰﾀ､"),
        QStringLiteral("<A HREF=\"index.html\">目次</A>"), QStringLiteral("ASCII text 1234567890 "),
        QStringLiteral("　全角スペースと（括弧）「鉤括弧」"), QStringLiteral("このコマンドはファイルを読み込み、"),
        QStringLiteral("オプション -f を指定すると"), QStringLiteral("標準出力に書き出します。"),
    };
    QRandomGenerator random(18);
    QString text;
    for (int i = 0; i < lines; ++i) {
        const int count = random.bounded(4);
        for (int k = 0; k < count; ++k)
            text += pieces[random.bounded(int(std::size(pieces)))];
        text += u'\n';
    }
    return pel::encodeTextFile(text).bytes;
}

QByteArray longLines(int count, qsizetype bytesEach)
{
    const QString piece = QStringLiteral("var 変数=\"日本語の文字列\";function f(a,b){return a+b;}");
    const qsizetype pieceBytes = pel::encodeTextFile(piece).bytes.size();
    QString text;
    for (int i = 0; i < count; ++i) {
        for (qsizetype size = 0; size < bytesEach; size += pieceBytes)
            text += piece;
        if (i + 1 < count)
            text += u'\n';
    }
    return pel::encodeTextFile(text).bytes;
}

struct Session {
    QTemporaryDir programDir;
    QTemporaryDir settingsDir;
    Session()
    {
        pel::setProgramDirectory(programDir.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }
    QString file(const QByteArray& bytes)
    {
        const QString path = programDir.filePath(QStringLiteral("large.txt"));
        pel::writeWholeFile(path, bytes);
        return path;
    }
};

void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
    QApplication::sendEvent(&pel::test::mainEditor().view(), &press);
    QApplication::sendEvent(&pel::test::mainEditor().view(), &release);
}

void idle(const char* what)
{
    const double cpu = cpuMs();
    QEventLoop loop;
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    loop.exec();
    std::printf("  %-44s %9.1f ms CPU in 3 s\n", what, cpuMs() - cpu);
}

void openAndEdit(const char* name, const QByteArray& bytes, bool findAndSave, bool keys = true)
{
    Session session;
    const QString path = session.file(bytes);
    std::printf("%s: %.1f MB\n", name, bytes.size() / 1048576.0);
    const double before = residentMb();
    PelmoraApp::createWindows({});
    Form1->show();
    QApplication::processEvents();
    const double windows = residentMb();
    int updates = 0;
    const auto connection = QObject::connect(pel::test::mainChild<QStatusBar>("StatusBar1"), &QStatusBar::messageChanged, [&] { ++updates; });
    measure("open (read, decode, load, first paint)", [&] { Form1->loadFile(path); });
    QObject::disconnect(connection);
    std::printf("  %-44s %9d\n", "status bar updates while loading", updates);
    std::printf("  %-44s %9.1f MB (%.1f x the file)\n", "memory held by the document", residentMb() - windows,
                (residentMb() - windows) / (bytes.size() / 1048576.0));
    std::printf("  %-44s %9.1f MB\n", "process resident", residentMb());
    (void)before;
    for (bool wrap : {true, false}) {
        if (!keys)
            break;
        std::printf(" word wrap %s\n", wrap ? "on" : "off");
        if (Form1->action(QStringLiteral("WordWrapAction"))->isChecked() != wrap)
            measure("switch word wrap", [] { Form1->action(QStringLiteral("WordWrapAction"))->trigger(); });
        measure("caret to start (Ctrl+Home)", [] { key(Qt::Key_Home, Qt::ControlModifier); });
        measure("arrow right", [] { key(Qt::Key_Right); });
        measure("arrow down", [] { key(Qt::Key_Down); });
        measure("End", [] { key(Qt::Key_End); });
        measure("type a character", [] { key(Qt::Key_A, Qt::NoModifier, QStringLiteral("あ")); });
        measure("page down", [] { key(Qt::Key_PageDown); });
        measure("caret to end (Ctrl+End)", [] { key(Qt::Key_End, Qt::ControlModifier); });
        measure("type a character at the end", [] { key(Qt::Key_A, Qt::NoModifier, QStringLiteral("あ")); });
        measure("repaint", [] { pel::test::mainEditor().view().viewport()->repaint(); });
        idle("typing paused (the recovery copy is written)");
        idle("idle");
    }
    if (findAndSave) {
        measure("find-next from the top to the last line", [] {
            key(Qt::Key_Home, Qt::ControlModifier);
            pel::test::mainChild<FindDialog>("FindDialog1")->setFindText(QStringLiteral("最後の行"));
            pel::test::mainChild<FindDialog>("FindDialog1")->findNext();
        });
        // Back to the file's text, then saved over a copy of it.
        while (pel::test::mainEditor().undoable())
            pel::edit::undo(Form1->session());
        const QString copy = path + QStringLiteral(".saved");
        Form1->session().setFileName(copy);
        measure("save", [] { Form1->action(QStringLiteral("SaveAction"))->trigger(); });
        std::printf("  %-44s %s\n", "saved bytes identical", *pel::readWholeFile(copy) == bytes ? "yes" : "NO");
    }
    PelmoraApp::destroyWindows();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    pel::installFontSubstitutions();
    pel::installSystemServices();
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const auto wanted = [&](const char* name) {
        return which == QLatin1String(name) || (which.isEmpty() && qstrcmp(name, "huge") != 0);
    };

    if (wanted("startup")) {
        Session session;
        measure("start-up: windows created and shown", [] {
            PelmoraApp::createWindows({});
            Form1->show();
        });
        std::printf("  %-44s %9.1f MB\n", "process resident", residentMb());
        PelmoraApp::destroyWindows();
    }
    if (wanted("lines")) {
        QByteArray bytes = japaneseLines(500000);
        bytes += pel::encodeTextFile(QStringLiteral("最後の行\n")).bytes;
        openAndEdit("20 MB of Japanese lines", bytes, true);
    }
    if (wanted("marked")) {
        // Every line ends in an invalid byte and every ≒ has its NEC code:
        // the cost of keeping codes beside the text.
        QByteArray bytes = japaneseLines(500000);
        bytes.replace("\r\n", "\x80\r\n");
        bytes.replace("\x81\x41", "\x87\x90\x81\x41");
        bytes += pel::encodeTextFile(QStringLiteral("最後の行\n")).bytes;
        openAndEdit("20 MB of lines with 500,000 stand-ins and NEC codes", bytes, true, false);
    }
    if (wanted("huge")) {
        // Not part of a plain run: it needs several gigabytes.
        QByteArray bytes = japaneseLines(5000000);
        bytes += pel::encodeTextFile(QStringLiteral("最後の行\n")).bytes;
        openAndEdit("200 MB of Japanese lines", bytes, true, false);
    }
    if (wanted("single"))
        openAndEdit("one 20 MB line", longLines(1, 20 << 20), false);
    if (wanted("four"))
        openAndEdit("four 1 MB lines", longLines(4, 1 << 20), false);
    return 0;
}
