// The piece table under a large document: 20 MB of Japanese lines and one
// 20 MB line. Reports figures only; run it from a build configured with
// -DPELMORA_BUILD_BENCH=ON:  ./bench/bench_piecetable [lines|single]
#include "text/PieceTable.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr qsizetype kFileBytes = 20 << 20;

// Keeps a result alive so the work that made it is not optimised away.
void benchmarkKeep(qsizetype value) { benchmark::DoNotOptimize(value); }

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

void measure(const QByteArray& what, const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    const double cpu = cpuMs();
    work();
    std::printf("  %-46s %9.3f ms wall %9.3f ms CPU\n", what.constData(), timer.nsecsElapsed() / 1e6, cpuMs() - cpu);
    std::fflush(stdout);
}

// Times `count` runs of `work(i)` one by one: the median and the 99th
// percentile (on a loaded machine the mean mostly measures preemption).
void perCall(const QByteArray& what, int count, const std::function<void(int)>& work)
{
    std::vector<double> ns(count);
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        timer.start();
        work(i);
        ns[i] = double(timer.nsecsElapsed());
    }
    std::sort(ns.begin(), ns.end());
    std::printf("  %-46s %9.3f µs median %9.3f µs p99 (%d calls)\n", what.constData(), ns[count / 2] / 1e3,
                ns[count * 99 / 100] / 1e3, count);
    std::fflush(stdout);
}

// What the text takes in code page 932 with CR LF breaks.
qsizetype fileBytes(QStringView text)
{
    qsizetype bytes = 0;
    for (const QChar c : text)
        bytes += c == u'\n' || c.unicode() >= 0x80 ? 2 : 1;
    return bytes;
}

// Japanese lines of varying length, about `bytes` in code page 932 over
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
    qsizetype written = 0;
    for (int i = 0; i < lines; ++i) {
        // Each line gets a random share of what is left, so the whole comes
        // out at the size asked for.
        const qsizetype budget = std::max<qsizetype>(1, (bytes - written) / (lines - i) - 2);
        const qsizetype want = random.bounded(2 * budget);
        for (qsizetype size = 0; size < want;) {
            const QString& piece = pieces[random.bounded(int(std::size(pieces)))];
            text += piece;
            size += fileBytes(piece);
            written += fileBytes(piece);
        }
        text += u'\n';
        written += 2;
    }
    text.squeeze();
    return text;
}

QString oneLine(qsizetype bytes)
{
    const QString piece = QStringLiteral("var 変数=\"日本語の文字列\";function f(a,b){return a+b;}");
    const qsizetype pieceBytes = fileBytes(piece);
    QString text;
    text.reserve((bytes / pieceBytes + 1) * piece.size());
    for (qsizetype size = 0; size < bytes; size += pieceBytes)
        text += piece;
    return text;
}

void report(const char* what, const pel::PieceTable& table, qsizetype bytes)
{
    const qsizetype text = table.length() * 2;
    std::printf("  %-46s %9.2f MB: text %.2f MB + %.2f MB more, %.2f × the file, %lld pieces\n", what,
                table.memoryUse() / 1048576.0, text / 1048576.0, (table.memoryUse() - text) / 1048576.0,
                double(table.memoryUse()) / bytes, static_cast<long long>(table.pieceCount()));
}

void lookups(const char* what, const pel::PieceTable& table, QRandomGenerator& random)
{
    const QByteArray suffix = what;
    perCall("lineStart(random line)" + suffix, 200000,
            [&](int) { benchmarkKeep(table.lineStart(random.bounded(table.lineCount()))); });
    perCall("lineAt(random position)" + suffix, 200000,
            [&](int) { benchmarkKeep(table.lineAt(random.bounded(table.length()))); });
    perCall("text of a screen (50 lines, ≤ 4000 chars)" + suffix, 10000, [&](int) {
        const qsizetype line = random.bounded(table.lineCount());
        const qsizetype length = table.lineLength(line);
        const qsizetype from = table.lineStart(line) + (length > 4000 ? random.bounded(length - 4000) : 0);
        const qsizetype to = std::min(table.lineStart(line + 50), from + 4000);
        benchmarkKeep(table.text(from, to - from).size());
    });
    measure("visit every chunk, count a character" + suffix, [&] {
        qsizetype count = 0;
        table.chunks(0, table.length(), [&](QStringView chunk) { count += chunk.count(u'字'); });
        benchmarkKeep(count);
    });
}

void run(const char* name, QString text)
{
    const qsizetype bytes = fileBytes(text);
    std::printf("%s: %.1f MB file, %lld characters, %lld lines\n", name, bytes / 1048576.0,
                static_cast<long long>(text.size()), static_cast<long long>(text.count(u'\n') + 1));
    const QString source = text;  // shared, not copied
    const double residentBefore = residentMb();
    pel::PieceTable table;
    measure("build (takes the text over, finds the breaks)", [&] { table = pel::PieceTable(std::move(text)); });
    std::printf("  %-46s %.1f MB → %.1f MB\n", "resident memory", residentBefore, residentMb());
    report("memory of the structure", table, bytes);
    QRandomGenerator random(20);
    lookups("", table, random);

    std::vector<pel::PieceTable::Edit> edits;
    perCall("type 1000 characters at the end, per key", 1000, [&](int i) {
        edits.push_back(table.replace(table.length(), 0, i % 80 == 79 ? u"\n" : u"字"));
    });
    const qsizetype middle = table.lineStart(table.lineCount() / 2) + table.lineLength(table.lineCount() / 2) / 2;
    perCall("type 1000 characters in the middle, per key", 1000,
            [&](int i) { edits.push_back(table.replace(middle + i, 0, u"字")); });
    perCall("undo those 2000 keys, per key", 2000, [&](int i) { table.undo(edits[edits.size() - 1 - i]); });
    edits.clear();

    pel::PieceTable::Edit deletion;
    measure("delete everything", [&] { deletion = table.replace(0, table.length(), {}); });
    measure("undo the deletion", [&] { table.undo(deletion); });
    pel::PieceTable::Edit pasted;
    measure("paste the whole text again in the middle", [&] { pasted = table.replace(middle, 0, source); });
    measure("undo the paste", [&] { table.undo(pasted); });
    measure("redo the paste", [&] { table.redo(pasted); });
    report("memory after the paste", table, bytes);

    // Many small edits all over a fresh copy.
    pel::PieceTable edited{QString(source)};
    measure("50000 random small replacements", [&] {
        for (int i = 0; i < 50000; ++i) {
            const qsizetype from = random.bounded(edited.length());
            edited.replace(from, random.bounded(3), i % 7 ? u"かな" : u"\n");
        }
    });
    report("memory after them", edited, bytes);
    lookups(", fragmented", edited, random);
    perCall("type at the end, fragmented, per key", 1000,
            [&](int) { edited.replace(edited.length(), 0, u"字"); });
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
