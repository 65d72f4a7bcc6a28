// Glyph rendering for the stroke player on the full data: what showing a
// character costs before its animation starts.
#include "stroke/glyph/GlyphRenderer.h"
#include "stroke/records/StrokeOrderFormat.h"

#include <QFile>
#include <benchmark/benchmark.h>

using namespace quillory;
using namespace quillory::stroke;

namespace {

GlyphRenderer& Renderer() {
    static RecordingReporter reporter;
    static GlyphRenderer renderer(reporter);
    static const bool paths = (renderer.SetFontPaths(QFile::encodeName(QStringLiteral(QUILLORY_DATA_DIR "/") +
                                                                       QLatin1String(kStrokeFontFileName)),
                                                     {}),
                               true);
    (void)paths;
    return renderer;
}

// Load the glyph (the whole-glyph rendering included) and render every contour once.
void LoadAndRenderEveryContour(benchmark::State& state) {
    GlyphRenderer& renderer = Renderer();
    const auto code = std::uint32_t(state.range(0));
    for (auto _ : state) {
        renderer.ReleaseGlyph();
        if (!renderer.LoadGlyph(code, kMaxGlyphPixelSize)) {
            state.SkipWithError("the glyph did not load");
            break;
        }
        for (int k = 0; k < renderer.ContourCount(); ++k)
            benchmark::DoNotOptimize(renderer.RenderContour(k));
    }
    state.counters["contours"] = renderer.ContourCount();
}
// 議 has 20 strokes, 鬱 29, 中 4.
BENCHMARK(LoadAndRenderEveryContour)->Arg(0x8B70)->Arg(0x9B31)->Arg(0x4E2D)->Unit(benchmark::kMicrosecond);

} // namespace
