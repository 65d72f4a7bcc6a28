// English search on the full record store in its worst cases: words held by
// most glosses (the full-text ranking then scores every match) and long
// pasted queries.
#include "dictionary/records/RecordStore.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

using namespace quillory;

namespace {

const RecordStore& FullRecordStore() {
    static RecordStore store;
    static const bool opened = store.Open(QStringLiteral(QUILLORY_DATA_DIR "/records.db"));
    if (!opened) {
        std::fprintf(stderr, "cannot open %s/records.db\n", QUILLORY_DATA_DIR);
        std::abort();
    }
    return store;
}

void EnglishSearchCommonWord(benchmark::State& state) {
    const RecordStore& store = FullRecordStore();
    static const char* const kQueries[] = {"to", "a", "of", "person"};
    const QString query = QString::fromLatin1(kQueries[state.range(0)]);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.englishMatches(query));
    }
}
BENCHMARK(EnglishSearchCommonWord)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void EnglishSearchLongQuery(benchmark::State& state) {
    const RecordStore& store = FullRecordStore();
    const QString query = QStringLiteral("to study the history of the language ").repeated(2000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.englishMatches(query));
    }
}
BENCHMARK(EnglishSearchLongQuery)->Unit(benchmark::kMillisecond);

} // namespace
