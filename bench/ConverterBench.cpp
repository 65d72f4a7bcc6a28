// The Converter on 1 MB of real simplified text, side by side with what a
// user would pick instead: simplified to traditional against the opencc
// command's whole run, text to Pinyin against pinyin-pro in node. Each
// benchmark reports the peer's time and the ratio as counters.
#include "dictionary/records/RecordStore.h"
#include "tests/support/ChineseCorpus.h"
#include "tools/convert/TextConverter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

using namespace quillory;

namespace {

const QString kStorePath = QStringLiteral(QUILLORY_DATA_DIR "/records.db");
constexpr qsizetype kOneMegabyte = 1000 * 1000;

// 1 MB (UTF-8) of running text from the record store's words, in a file too.
struct BenchText {
    QString text;
    QTemporaryDir folder;
    QString path;

    BenchText() {
        RecordStore store;
        if (!store.Open(kStorePath)) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(kStorePath));
            std::abort();
        }
        text = testing::RealChineseText(store, kOneMegabyte / 2, testing::CorpusForm::Simplified);
        // Cut to the first megabyte of UTF-8, at a line break.
        qsizetype bytes = 0;
        qsizetype end = 0;
        while (end < text.size() && (bytes < kOneMegabyte || text[end - 1] != u'\n')) {
            const char16_t unit = text[end++].unicode();
            bytes += unit < 0x80 ? 1 : unit < 0x800 ? 2 : QChar::isSurrogate(unit) ? 2 : 3;
        }
        text.truncate(end);
        path = folder.filePath(QStringLiteral("text.txt"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < kOneMegabyte) {
            std::abort();
        }
    }
};

const BenchText& Text() {
    static const BenchText text;
    return text;
}

// The best of three runs of a program, in milliseconds; -1 when it fails.
double BestProcessMs(const QString& program, const QStringList& arguments) {
    double best = -1;
    for (int run = 0; run < 3; ++run) {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(program, arguments);
        if (!process.waitForFinished(600000) || process.exitCode() != 0) {
            return -1;
        }
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        best = best < 0 ? ms : std::min(best, ms);
    }
    return best;
}

void Report(benchmark::State& state, double oursMs, double peerMs, const char* peerName) {
    state.counters[peerName] = peerMs;
    state.counters["ours_ms"] = oursMs;
    state.counters["ratio"] = oursMs / peerMs;
}

// A fresh converter each time, so loading OpenCC's tables counts as the
// opencc command's loading does.
void SimplifiedToTraditional1MB(benchmark::State& state) {
    const BenchText& text = Text();
    const double peer =
        BestProcessMs(QStringLiteral("opencc"),
                      {QStringLiteral("-c"), QStringLiteral("s2t.json"), QStringLiteral("-i"), text.path,
                       QStringLiteral("-o"), text.folder.filePath(QStringLiteral("out.txt"))});
    if (peer < 0) {
        state.SkipWithError("the opencc command did not run");
        return;
    }
    double best = -1;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        TextConverter converter(kStorePath);
        benchmark::DoNotOptimize(converter.ConvertText(text.text, TextKind::GB, TextKind::Big5));
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        best = best < 0 ? ms : std::min(best, ms);
    }
    Report(state, best, peer, "opencc_command_ms");
}
BENCHMARK(SimplifiedToTraditional1MB)->Unit(benchmark::kMillisecond)->Iterations(3);

// Both sides warm: the word list loaded (its loading is reported apart),
// pinyin-pro required and run once.
void TextToPinyin1MB(benchmark::State& state) {
    const BenchText& text = Text();
    TextConverter converter(kStorePath);
    QElapsedTimer load;
    load.start();
    if (!converter.LoadLexicon()) {
        state.SkipWithError("the record store cannot be read");
        return;
    }
    state.counters["word_list_load_ms"] = double(load.nsecsElapsed()) / 1e6;
    double best = -1;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        benchmark::DoNotOptimize(converter.ConvertText(text.text, TextKind::GB, TextKind::Pinyin));
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        best = best < 0 ? ms : std::min(best, ms);
    }
    const QString package = QStringLiteral(QUILLORY_BENCH_PEERS "/pinyin-pro/package");
    QProcess node;
    node.start(QStringLiteral("node"),
               {QStringLiteral(QUILLORY_BENCH_SCRIPTS "/pinyin_pro_bench.js"), package, text.path});
    if (!QDir(package).exists() || !node.waitForFinished(600000) || node.exitCode() != 0) {
        state.counters["ours_ms"] = best;
        state.SkipWithError("pinyin-pro is not available for comparison");
        return;
    }
    Report(state, best, QString::fromUtf8(node.readAllStandardOutput()).trimmed().toDouble(),
           "pinyin_pro_ms");
}
BENCHMARK(TextToPinyin1MB)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
