// English search on the full record store: the words held by most glosses
// (the full-text ranking then scores thousands of matches), everyday words
// and phrases ranked by their counts, long pasted queries, and the
// suggestions for the start of a word being typed.
#include "bench/FullRecordStore.h"

#include <benchmark/benchmark.h>

using namespace quillory;

namespace {

using bench::FullRecordStore;

void EnglishSearchQuery(benchmark::State& state) {
    const RecordStore& store = FullRecordStore();
    static const char* const kQueries[] = {"to", "a", "the", "of", "person", "bank", "to study"};
    const QString query = QString::fromLatin1(kQueries[state.range(0)]);
    state.SetLabel(kQueries[state.range(0)]);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.englishMatches(query));
    }
}
BENCHMARK(EnglishSearchQuery)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

void EnglishSearchLongQuery(benchmark::State& state) {
    const RecordStore& store = FullRecordStore();
    const QString query = QStringLiteral("to study the history of the language ").repeated(2000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.englishMatches(query));
    }
}
BENCHMARK(EnglishSearchLongQuery)->Unit(benchmark::kMillisecond);

// One keystroke's look-up: a single letter (the widest range), a word being
// typed, and a phrase whose last word is still partial.
void EnglishSuggestions(benchmark::State& state) {
    const RecordStore& store = FullRecordStore();
    static const char* const kPrefixes[] = {"s", "ban", "comp", "to st", "apple tr"};
    const QString prefix = QString::fromLatin1(kPrefixes[state.range(0)]);
    state.SetLabel(kPrefixes[state.range(0)]);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.englishPrefixMatches(prefix));
    }
}
BENCHMARK(EnglishSuggestions)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

} // namespace
