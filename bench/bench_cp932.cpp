// The code page 932 codec on 20 MB of mixed Japanese text.
// Reports figures only; run it from a build configured with
// -DPELMORA_BUILD_BENCH=ON:  ./bench/bench_cp932
#include "platform/Cp932.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <iterator>

namespace {

constexpr qsizetype kSize = 20 << 20;

// Lines of kanji, kana, full-width and half-width forms, markup and ASCII,
// of varying length, with CR LF breaks; a few duplicate codes among them.
const QByteArray& sample()
{
    static const QByteArray bytes = [] {
        const QString pieces[] = {
            QStringLiteral("日本語の文章を書きます。"),
            QStringLiteral("東京都千代田区丸の内一丁目"),
            QStringLiteral("カタカナとひらがな、"),
            QStringLiteral("ｶﾀｶﾅ｡ﾃｽﾄ･ﾃﾞｰﾀ､"),
            QStringLiteral("<A HREF=\"index.html\">目次</A>"),
            QStringLiteral("ASCII text 1234567890 "),
            QStringLiteral("　全角スペースと（括弧）「鉤括弧」"),
            QStringLiteral("≒≡∫√⊥∠∵∩∪Ⅰ Ⅱ Ⅲ №㈱"),
            QStringLiteral("纊褜鍈銈蓜俉炻昱棈鋹"),
        };
        qsizetype pieceBytes[std::size(pieces)];
        for (size_t i = 0; i < std::size(pieces); ++i)
            pieceBytes[i] = pel::Cp932::encode(pieces[i]).bytes.size();
        QRandomGenerator random(932);
        QString text;
        text.reserve(kSize);
        for (qsizetype size = 0; size < kSize; size += 2) {
            const int count = 1 + random.bounded(6);
            for (int i = 0; i < count; ++i) {
                const int piece = random.bounded(int(std::size(pieces)));
                text += pieces[piece];
                size += pieceBytes[piece];
            }
            text += u'\n';
        }
        return pel::encodeTextFile(text).bytes;
    }();
    return bytes;
}

void BM_Decode(benchmark::State& state)
{
    const QByteArray& bytes = sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(pel::Cp932::decode(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);

void BM_Encode(benchmark::State& state)
{
    const QString text = pel::Cp932::decode(sample());
    for (auto _ : state)
        benchmark::DoNotOptimize(pel::Cp932::encode(text));
    state.SetBytesProcessed(state.iterations() * sample().size());
}
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);

void BM_DecodeTextFile(benchmark::State& state)
{
    const QByteArray& bytes = sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(pel::decodeTextFile(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DecodeTextFile)->Unit(benchmark::kMillisecond);

void BM_EncodeTextFile(benchmark::State& state)
{
    const pel::DecodedText file = pel::decodeTextFile(sample());
    bool identical = false;
    for (auto _ : state) {
        const pel::EncodedText encoded = pel::encodeTextFile(file.text, file.marks, file.spelling);
        identical = encoded.bytes == sample();
        benchmark::DoNotOptimize(encoded);
    }
    state.counters["identical"] = identical ? 1 : 0;
    state.counters["marks"] = double(file.marks.size());
    state.SetBytesProcessed(state.iterations() * sample().size());
}
BENCHMARK(BM_EncodeTextFile)->Unit(benchmark::kMillisecond);

// The same text as a file that spells every ≒ with its NEC code and ends
// every line with an invalid byte: half a million marks, and the check
// that reads raw bytes back.
void BM_TextFileWithMarks(benchmark::State& state)
{
    QByteArray bytes = sample();
    bytes.replace("\x81\xe0", "\x87\x90");
    bytes.replace("\r\n", "\x80\r\n");
    const pel::DecodedText file = pel::decodeTextFile(bytes);
    bool identical = false;
    for (auto _ : state) {
        const pel::DecodedText decoded = pel::decodeTextFile(bytes);
        const pel::EncodedText encoded = pel::encodeTextFile(decoded.text, decoded.marks, decoded.spelling);
        identical = encoded.bytes == bytes;
        benchmark::DoNotOptimize(encoded);
    }
    state.counters["identical"] = identical ? 1 : 0;
    state.counters["marks"] = double(file.marks.size());
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_TextFileWithMarks)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The tables are built from ICU on first use; that cost is paid once.
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpu = std::clock();
    pel::Cp932::decode("\x82\xa0");
    std::printf("table build on first use: %.1f ms (CPU %.1f ms)\n", timer.nsecsElapsed() / 1e6,
                (std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
    std::printf("sample: %lld bytes\n", static_cast<long long>(sample().size()));

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
