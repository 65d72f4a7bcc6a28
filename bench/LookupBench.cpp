// Look-up speed on the full data: the figures a page needs before it shows.
#include "dictionary/Dictionary.h"
#include "pages/builders/PlainListPage.h"
#include "dictionary/text/Romanisation.h"

#include <benchmark/benchmark.h>

using namespace quillory;

namespace {

Dictionary& FullDictionary() {
    static RecordingReporter reporter;
    static Dictionary dictionary(QStringLiteral(QUILLORY_DATA_DIR), reporter);
    static const bool opened = dictionary.Open();
    if (!opened) {
        fprintf(stderr, "cannot open the data in %s\n", QUILLORY_DATA_DIR);
        std::abort();
    }
    return dictionary;
}

void CharacterRecordOfZhong(benchmark::State& state) {
    Dictionary& dictionary = FullDictionary();
    for (auto _ : state) {
        benchmark::DoNotOptimize(dictionary.records().characterRecord(0x4E2D));
    }
}
BENCHMARK(CharacterRecordOfZhong);

void WordEntry(benchmark::State& state) {
    Dictionary& dictionary = FullDictionary();
    for (auto _ : state) {
        benchmark::DoNotOptimize(dictionary.records().wordEntry(QStringLiteral("學習")));
    }
}
BENCHMARK(WordEntry);

// yi is the syllable with the most characters: the largest Pinyin page.
void ListByPinyinAllTones(benchmark::State& state) {
    Dictionary& dictionary = FullDictionary();
    const SyllableId id = *EncodeSyllable(state.range(0) ? "yi4" : "zhong1", Scheme::Pinyin);
    for (auto _ : state) {
        PlainListPage page;
        QString title;
        benchmark::DoNotOptimize(dictionary.lists().ListByPinyin(id, page, title));
    }
}
BENCHMARK(ListByPinyinAllTones)->Arg(0)->Arg(1);

void ListByStrokeCount(benchmark::State& state) {
    Dictionary& dictionary = FullDictionary();
    for (auto _ : state) {
        PlainListPage page;
        QString title;
        benchmark::DoNotOptimize(
            dictionary.lists().ListByStrokeCount(static_cast<int>(state.range(0)), page, title));
    }
}
BENCHMARK(ListByStrokeCount)->Arg(4)->Arg(12);

void ListByRadical(benchmark::State& state) {
    Dictionary& dictionary = FullDictionary();
    for (auto _ : state) {
        PlainListPage page;
        QString title;
        benchmark::DoNotOptimize(dictionary.lists().ListByRadical(85, page, title));
    }
}
BENCHMARK(ListByRadical);

void EnglishSearch(benchmark::State& state) {
    Dictionary& dictionary = FullDictionary();
    const QString query = state.range(0) ? QStringLiteral("water") : QStringLiteral("to study");
    for (auto _ : state) {
        benchmark::DoNotOptimize(dictionary.records().englishMatches(query));
    }
}
BENCHMARK(EnglishSearch)->Arg(0)->Arg(1);

// What a speaker click costs before the sound is handed to the output:
// finding and decoding the recording.
void DecodeSyllableSound(benchmark::State& state) {
    Dictionary& dictionary = FullDictionary();
    const Scheme scheme = state.range(0) ? Scheme::Jyutping : Scheme::Pinyin;
    const SyllableId id = *EncodeSyllable(state.range(0) ? "zung1" : "zhong1", scheme);
    for (auto _ : state) {
        benchmark::DoNotOptimize(dictionary.sounds().samples(scheme, id));
    }
}
BENCHMARK(DecodeSyllableSound)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
