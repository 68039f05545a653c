// Detection and the codecs of the other encodings on 20 MB of Japanese
// text, beside bench_cp932's figures for code page 932. Reports figures
// only; build with -DPELMORA_BUILD_BENCH=ON:  ./bench/bench_encodings
//
// With --detect it reads file paths (one a line) from standard input and
// prints, per file, what it is opened as and whether it saves back byte
// for byte:  encoding <TAB> stand-ins <TAB> same|DIFFERS <TAB> path
// (scripts/encoding-corpus.py runs it over package trees).
#include "platform/TextEncoding.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

constexpr qsizetype kSize = 20 << 20;

const QString& sampleText()
{
    static const QString text = [] {
        const QString pieces[] = {
            QStringLiteral("日本語の文章を書きます。"), QStringLiteral("東京都千代田区丸の内一丁目"),
            QStringLiteral("カタカナとひらがな、"),     QStringLiteral("<A HREF=\"index.html\">目次</A>"),
            QStringLiteral("ASCII text 1234567890 "), QStringLiteral("　全角スペースと（括弧）「鉤括弧」"),
        };
        QRandomGenerator random(29);
        QString t;
        t.reserve(kSize / 2);
        while (t.size() < kSize / 2) {
            const int count = 1 + random.bounded(6);
            for (int i = 0; i < count; ++i)
                t += pieces[random.bounded(int(std::size(pieces)))];
            t += u'\n';
        }
        return t;
    }();
    return text;
}

pel::TextSpelling spelled(pel::TextEncoding encoding)
{
    pel::TextSpelling spelling;
    spelling.encoding = encoding;
    spelling.bom = encoding == pel::TextEncoding::Utf16Le || encoding == pel::TextEncoding::Utf16Be;
    return spelling;
}

const QByteArray& sampleIn(pel::TextEncoding encoding)
{
    static QByteArray files[6];
    QByteArray& bytes = files[int(encoding)];
    if (bytes.isEmpty())
        bytes = pel::encodeTextFile(sampleText(), {}, spelled(encoding)).bytes;
    return bytes;
}

void BM_Detect(benchmark::State& state)
{
    const QByteArray& bytes = sampleIn(pel::TextEncoding(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(pel::detectTextEncoding(bytes));
    state.SetLabel(pel::textEncodingName(spelled(pel::TextEncoding(state.range(0)))).toStdString());
}
BENCHMARK(BM_Detect)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

void BM_DecodeTextFile(benchmark::State& state)
{
    const QByteArray& bytes = sampleIn(pel::TextEncoding(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(pel::decodeTextFile(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.SetLabel(pel::textEncodingName(spelled(pel::TextEncoding(state.range(0)))).toStdString());
}
BENCHMARK(BM_DecodeTextFile)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

void BM_EncodeTextFile(benchmark::State& state)
{
    const pel::TextSpelling spelling = spelled(pel::TextEncoding(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(pel::encodeTextFile(sampleText(), {}, spelling));
    state.SetBytesProcessed(state.iterations() * sampleIn(spelling.encoding).size());
    state.SetLabel(pel::textEncodingName(spelling).toStdString());
}
BENCHMARK(BM_EncodeTextFile)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

int detectFiles()
{
    QTextStream in(stdin);
    QString path;
    while (in.readLineInto(&path)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::printf("unreadable\t0\t-\t%s\n", qPrintable(path));
            continue;
        }
        const QByteArray bytes = file.readAll();
        const pel::DecodedText decoded = pel::decodeTextFile(bytes);
        const pel::EncodedText saved = pel::encodeTextFile(decoded.text, decoded.marks, decoded.spelling);
        const qsizetype standIns = decoded.text.count(QChar::ObjectReplacementCharacter);
        std::printf("%s\t%lld\t%s\t%s\n", qPrintable(pel::textEncodingName(decoded.spelling)),
                    static_cast<long long>(standIns), saved.ok() && saved.bytes == bytes ? "same" : "DIFFERS",
                    qPrintable(path));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--detect") == 0)
        return detectFiles();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
