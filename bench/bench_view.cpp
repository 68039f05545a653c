// The text view alone over a document of many megabytes: what a key, a
// caret move and a repaint cost (medians of many), wrapped and unwrapped.
//   QT_QPA_PLATFORM=offscreen ./bench/bench_view [lines|single]
#include "platform/Fonts.h"
#include "text/DocumentSession.h"
#include "view/DocumentView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Median wall time of `work` over `times` runs, events it leaves handled.
void measure(const char* what, int times, const std::function<void()>& work)
{
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        QApplication::processEvents();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("  %-36s median %7.2f ms, worst %7.2f ms\n", what, ms[ms.size() / 2], ms.back());
    std::fflush(stdout);
}

void key(QWidget& view, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
    QApplication::sendEvent(&view, &press);
}

void run(const char* name, const QString& text)
{
    std::printf("%s: %.1f M characters\n", name, text.size() / 1e6);
    pel::DocumentSession session;
    pel::DocumentView view(session);
    view.setFont(pel::japaneseFont(19));
    view.resize(1000, 700);
    view.show();
    view.setFocus();
    measure("show the text (first paint)", 1, [&] { session.restore(text, {}, {}); view.viewport()->repaint(); });
    for (bool wrap : {true, false}) {
        std::printf(" word wrap %s\n", wrap ? "on" : "off");
        measure("switch word wrap", 1, [&] { view.setWordWrap(wrap); view.viewport()->repaint(); });
        for (const auto& [where, position] : {std::pair("start", qsizetype(0)), std::pair("middle", text.size() / 2),
                                              std::pair("end", text.size())}) {
            session.select(position, position);
            QApplication::processEvents();
            const QByteArray what = QByteArray("type a character at the ") + where;
            measure(what.constData(), 50, [&] { key(view, Qt::Key_A, Qt::NoModifier, QStringLiteral("あ")); });
            measure("Backspace", 50, [&] { key(view, Qt::Key_Backspace); });
        }
        session.select(text.size() / 3, text.size() / 3);
        measure("arrow right", 50, [&] { key(view, Qt::Key_Right); });
        measure("arrow down", 50, [&] { key(view, Qt::Key_Down); });
        measure("page down", 20, [&] { key(view, Qt::Key_PageDown); });
        measure("shift+arrow down (selecting)", 50, [&] { key(view, Qt::Key_Down, Qt::ShiftModifier); });
        measure("repaint", 50, [&] { view.viewport()->repaint(); });
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    pel::installFontSubstitutions();
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString piece = QStringLiteral("var 変数=\"日本語の文字列\";function f(a,b){return a+b;}");
    if (which.isEmpty() || which == u"single") {
        QString line;
        while (line.size() < 10'000'000)
            line += piece;
        run("one line of 20 MB", line);
    }
    if (which.isEmpty() || which == u"lines") {
        QString lines;
        for (int i = 0; lines.size() < 10'000'000; ++i)
            lines += QStringLiteral("日本語の文章を書きます。東京都千代田区丸の内一丁目 %1\n").arg(i);
        run("500,000 lines", lines);
    }
    return 0;
}
