// The stroke animation's timer ticks on real glyphs of the full data: a tick
// runs every 50 ms on the GUI thread and must never make the window stutter.
#include "dictionary/Dictionary.h"
#include "stroke/glyph/GlyphRenderer.h"
#include "stroke/model/StrokeAnimation.h"
#include "stroke/records/StrokeOrderFormat.h"
#include "stroke/records/StrokeOrderStore.h"
#include "tests/support/SyntheticGlyph.h"

#include <QFile>
#include <benchmark/benchmark.h>

using namespace quillory;
using namespace quillory::stroke;
using quillory::testing::RecordingHost;

namespace {

const QString kData = QStringLiteral(QUILLORY_DATA_DIR);

// A character loaded as the player loads it: glyph, whole-glyph bitmap and
// record; play started.
struct LoadedCharacter {
    RecordingReporter reporter;
    Dictionary dictionary{kData, reporter};
    GlyphRenderer renderer{reporter};
    RecordingHost host;
    StrokeAnimation animation{renderer, host};

    bool Load(std::uint32_t code) {
        if (!dictionary.Open())
            return false;
        renderer.SetFontPaths(QFile::encodeName(kData + u'/' + QLatin1String(kStrokeFontFileName)), {});
        if (!renderer.LoadGlyph(code, kMaxGlyphPixelSize))
            return false;
        animation.TakeGlyph();
        const StrokeOrderStore store(dictionary.index(),
                                     dictionary.files().DataPath(QLatin1String(kStrokeOrderFileName)));
        StrokeOrderBytes record{};
        animation.LoadRecord(record, store.ReadRecord(code, record));
        return animation.hasRecord();
    }
};

// Every tick of a whole play (pauses skipped): sweeps, and the ticks that
// load, render and segment the next contour.
void StepTick(benchmark::State& state) {
    LoadedCharacter c;
    if (!c.Load(std::uint32_t(state.range(0)))) {
        state.SkipWithError("no glyph or record");
        return;
    }
    c.animation.settings().scanFactor = int(state.range(1));
    std::int64_t ticks = 0;
    for (auto _ : state) {
        if (c.host.timer == RecordingHost::Timer::None) {
            state.PauseTiming();
            c.animation.PlayPause();
            state.ResumeTiming();
        }
        if (c.host.timer == RecordingHost::Timer::Pause)
            c.animation.PauseTick();
        else
            c.animation.StepTick();
        ++ticks;
    }
    state.counters["strokes"] = c.animation.strokeCount();
}
// 鬱 29 strokes, 議 20, 永 5; scan factors 2 (the default) and 11.
BENCHMARK(StepTick)
    ->Args({0x9B31, 2})
    ->Args({0x8B70, 2})
    ->Args({0x6C38, 2})
    ->Args({0x9B31, 11})
    ->Unit(benchmark::kMicrosecond);

// The costliest tick: the one that renders the next contour, cuts it into
// segments and sweeps its first lines (Next, then one step).
void ContourLoadingTick(benchmark::State& state) {
    LoadedCharacter c;
    if (!c.Load(std::uint32_t(state.range(0)))) {
        state.SkipWithError("no glyph or record");
        return;
    }
    for (auto _ : state) {
        if (c.animation.currentEntry() >= c.renderer.ContourCount() - 1) {
            state.PauseTiming();
            c.animation.Beginning();
            state.ResumeTiming();
        }
        c.animation.Next();
        c.animation.StepTick();
        state.PauseTiming();
        c.host.Run(c.animation);
        state.ResumeTiming();
    }
}
BENCHMARK(ContourLoadingTick)->Arg(0x9B31)->Arg(0x6C38)->Unit(benchmark::kMicrosecond);

} // namespace
