// The piece table under a large document: 20 MB of Japanese lines and one
// 20 MB line. Reports figures only; run it from a build configured with
// -DPELMORA_BUILD_BENCH=ON:  ./bench/bench_piecetable [lines|single]
#include "platform/Cp932.h"
#include "text/PieceTable.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr qsizetype kFileBytes = 20 << 20;

// Keeps a result alive so the work that made it is not optimised away.
void benchmarkKeep(qsizetype value)
{
    static volatile qsizetype sink;
    sink = value;
}

double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

void measure(const char* what, const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    const double cpu = cpuMs();
    work();
    std::printf("  %-46s %9.3f ms wall %9.3f ms CPU\n", what, timer.nsecsElapsed() / 1e6, cpuMs() - cpu);
    std::fflush(stdout);
}

// Times `count` runs of `work(i)` one by one: mean and worst.
void perCall(const char* what, int count, const std::function<void(int)>& work)
{
    double total = 0;
    double worst = 0;
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        timer.start();
        work(i);
        const double ns = double(timer.nsecsElapsed());
        total += ns;
        worst = std::max(worst, ns);
    }
    std::printf("  %-46s %9.3f µs mean %9.3f µs worst (%d calls)\n", what, total / count / 1e3, worst / 1e3, count);
    std::fflush(stdout);
}

// Japanese lines of varying length, about `bytes` in code page 932 and
// `lines` lines.
QString japaneseLines(qsizetype bytes, int lines)
{
    const QString pieces[] = {
        QStringLiteral("日本語の文章を書きます。"), QStringLiteral("東京都千代田区丸の内一丁目"),
        QStringLiteral("カタカナとひらがな、"), QStringLiteral("<A HREF=\"index.html\">目次</A>"),
        QStringLiteral("　全角スペースと（括弧）「鉤括弧」"), QStringLiteral("標準出力に書き出します。"),
    };
    QRandomGenerator random(28);
    QString text;
    text.reserve(bytes / 2 + lines);
    const qsizetype perLine = bytes / lines;
    for (int i = 0; i < lines; ++i) {
        qsizetype size = 0;
        const qsizetype want = random.bounded(2 * perLine);
        while (size < want) {
            const QString& piece = pieces[random.bounded(int(std::size(pieces)))];
            text += piece;
            size += 2 * piece.size();
        }
        text += u'\n';
    }
    return text;
}

QString oneLine(qsizetype bytes)
{
    const QString piece = QStringLiteral("var 変数=\"日本語の文字列\";function f(a,b){return a+b;}");
    QString text;
    text.reserve(bytes / 2 + piece.size());
    while (text.size() * 3 / 2 < bytes)
        text += piece;
    return text;
}

void run(const char* name, QString text)
{
    const qsizetype fileBytes = pel::encodeTextFile(text).bytes.size();
    const qsizetype characters = text.size();
    std::printf("%s: %.1f MB file, %lld characters, %lld lines\n", name, fileBytes / 1048576.0,
                static_cast<long long>(characters), static_cast<long long>(text.count(u'\n') + 1));
    const double residentBefore = residentMb();
    pel::PieceTable table;
    measure("build (takes the text over, finds the breaks)", [&] { table = pel::PieceTable(std::move(text)); });
    const qsizetype index = table.memoryUse() - characters * 2;
    std::printf("  %-46s %9.2f MB text %9.2f MB index and pieces (%.3f of the text)\n", "memory of the structure",
                characters * 2 / 1048576.0, index / 1048576.0, double(index) / (characters * 2));
    std::printf("  %-46s %9.2f × the file (resident %.1f MB → %.1f MB)\n", "structure relative to the file",
                double(table.memoryUse()) / fileBytes, residentBefore, residentMb());

    QRandomGenerator random(20);
    const qsizetype lines = table.lineCount();
    perCall("lineStart(random line)", 200000,
            [&](int) { benchmarkKeep(table.lineStart(random.bounded(lines))); });
    perCall("lineAt(random position)", 200000,
            [&](int) { benchmarkKeep(table.lineAt(random.bounded(table.length()))); });
    perCall("text of a screen (50 lines or 4000 chars)", 10000, [&](int) {
        const qsizetype line = random.bounded(lines);
        const qsizetype from = lines > 1 ? table.lineStart(line) : random.bounded(table.length() - 4000);
        const qsizetype to = lines > 1 ? table.lineStart(line + 50) : from + 4000;
        benchmarkKeep(table.text(from, to - from).size());
    });
    measure("visit every chunk, count a character", [&] {
        qsizetype count = 0;
        table.chunks(0, table.length(), [&](QStringView chunk) { count += chunk.count(u'字'); });
        benchmarkKeep(count);
    });

    std::vector<pel::PieceTable::Edit> edits;
    perCall("type 1000 characters at the end, per key", 1000, [&](int i) {
        edits.push_back(table.replace(table.length(), 0, i % 80 == 79 ? u"\n" : u"字"));
    });
    const qsizetype middle = lines > 1 ? table.lineStart(lines / 2) + 3 : table.length() / 2;
    perCall("type 1000 characters in the middle, per key", 1000, [&](int i) {
        edits.push_back(table.replace(middle + i, 0, u"字"));
    });
    perCall("undo those 2000 keys, per key", 2000, [&](int i) { table.undo(edits[edits.size() - 1 - i]); });
    edits.clear();

    pel::PieceTable::Edit deletion;
    measure("delete everything", [&] { deletion = table.replace(0, table.length(), {}); });
    measure("undo the deletion", [&] { table.undo(deletion); });
    const QString paste = table.text();
    pel::PieceTable::Edit pasted;
    measure("paste it all again in the middle", [&] { pasted = table.replace(middle, 0, paste); });
    measure("undo the paste", [&] { table.undo(pasted); });
    measure("redo the paste", [&] { table.redo(pasted); });

    // Fragmented: many small edits all over the text.
    measure("50000 random small replacements", [&] {
        for (int i = 0; i < 50000; ++i) {
            const qsizetype from = random.bounded(table.length());
            table.replace(from, random.bounded(3), i % 7 ? u"かな" : u"\n");
        }
    });
    std::printf("  %-46s %9lld pieces, %.2f × the file\n", "after them", static_cast<long long>(table.pieceCount()),
                double(table.memoryUse()) / fileBytes);
    perCall("lineStart(random line), fragmented", 200000,
            [&](int) { benchmarkKeep(table.lineStart(random.bounded(table.lineCount()))); });
    perCall("lineAt(random position), fragmented", 200000,
            [&](int) { benchmarkKeep(table.lineAt(random.bounded(table.length()))); });
    perCall("type at the end, fragmented, per key", 1000,
            [&](int) { table.replace(table.length(), 0, u"字"); });
    measure("visit every chunk, fragmented", [&] {
        qsizetype count = 0;
        table.chunks(0, table.length(), [&](QStringView chunk) { count += chunk.count(u'字'); });
        benchmarkKeep(count);
    });
}

} // namespace

int main(int argc, char** argv)
{
    const char* which = argc > 1 ? argv[1] : "";
    if (!*which || !std::strcmp(which, "lines"))
        run("20 MB of Japanese lines", japaneseLines(kFileBytes, 500000));
    if (!*which || !std::strcmp(which, "single"))
        run("one 20 MB line", oneLine(kFileBytes));
    return 0;
}
