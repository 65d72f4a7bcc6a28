// Search-box look-ups on the full data: romanised queries read as Pinyin
// (toneless, several syllables, every split tried), English queries and the
// suggestions while typing.
#include "bench/FullRecordStore.h"
#include "dictionary/search/Lookup.h"

#include <benchmark/benchmark.h>

using namespace quillory;

namespace {

const Lookup& FullLookup() {
    static const Lookup lookup(bench::FullRecordStore());
    return lookup;
}

void FindTonelessPinyin(benchmark::State& state) {
    const Lookup& lookup = FullLookup();
    static const char* const kQueries[] = {"shi",         "zhongwen", "xian",          "fangan",
                                           "zhongguoren", "yidianr",  "zhonghuarenmin"};
    const QString query = QString::fromLatin1(kQueries[state.range(0)]);
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup.Find(query));
    }
    state.SetLabel(query.toStdString());
}
BENCHMARK(FindTonelessPinyin)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

void FindToned(benchmark::State& state) {
    const Lookup& lookup = FullLookup();
    static const char* const kQueries[] = {"ni3hao3", "lǚyóu", "nei5 hou2", "shi4"};
    const QString query = QString::fromUtf8(kQueries[state.range(0)]);
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup.Find(query));
    }
    state.SetLabel(kQueries[state.range(0)]);
}
BENCHMARK(FindToned)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void FindEnglish(benchmark::State& state) {
    const Lookup& lookup = FullLookup();
    static const char* const kQueries[] = {"to", "bank", "water", "to study", "fan"};
    const QString query = QString::fromLatin1(kQueries[state.range(0)]);
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup.Find(query));
    }
    state.SetLabel(kQueries[state.range(0)]);
}
BENCHMARK(FindEnglish)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// Each keystroke's look-up: one letter (the widest prefix), a syllable and
// a half, Chinese text, English words.
void Suggest(benchmark::State& state) {
    const Lookup& lookup = FullLookup();
    static const char* const kPrefixes[] = {"s", "zh", "zhongw", "ni3h", "nei5 h", "中", "wat", "to s"};
    const QString prefix = QString::fromUtf8(kPrefixes[state.range(0)]);
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup.Suggest(prefix));
    }
    state.SetLabel(kPrefixes[state.range(0)]);
}
BENCHMARK(Suggest)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

} // namespace
