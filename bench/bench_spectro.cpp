// The spectroscope: a lamp's picture (neon, the lamp with the most lines) against the five-ray
// picture, and a sweep of D against i over 90 incidences.
#include "analysis/sweeps.h"
#include "model/linelamps.h"
#include "render/scenerenderer.h"

#include <benchmark/benchmark.h>

using namespace vorlac;

namespace
{

SceneState neonState()
{
    SceneState s;
    s.source = SourceType::LineLamp;
    s.lamp = lineLampRow(QStringLiteral("néon"));
    s.showPropagation = false;
    return s;
}

void BM_RedrawNeonLamp(benchmark::State &st)
{
    const SceneState s = neonState();
    ScenePicture pic;
    for (auto _ : st) {
        RedrawScene(s, pic);
        benchmark::DoNotOptimize(pic.image.constBits());
    }
    st.counters["lines"] = double(pic.raysTraced);
}
BENCHMARK(BM_RedrawNeonLamp)->Unit(benchmark::kMicrosecond);

// The naive way, every line traced and drawn in full, as the baseline.
void BM_RedrawNeonLampNaively(benchmark::State &st)
{
    const SceneState s = neonState();
    const std::vector<Radiation> rays = lampRadiations(s);
    ScenePicture pic;
    for (auto _ : st) {
        drawRadiationsNaively(s, rays, pic);
        benchmark::DoNotOptimize(pic.image.constBits());
    }
}
BENCHMARK(BM_RedrawNeonLampNaively)->Unit(benchmark::kMicrosecond);

// Crown in air at 589 nm: from the limit incidence (5,1 degrees) by 0,95 degree, 90 incidences.
void BM_DeviationSweep90(benchmark::State &st)
{
    const SceneState s;
    std::size_t lines = 0;
    for (auto _ : st) {
        const Sweep sweep = deviationSweep(s, 589.0, 0.95);
        lines = sweep.lines.size();
        benchmark::DoNotOptimize(sweep.lines.data());
    }
    st.counters["lines"] = double(lines);
}
BENCHMARK(BM_DeviationSweep90)->Unit(benchmark::kMicrosecond);

void BM_LampSweepNeon(benchmark::State &st)
{
    const SceneState s = neonState();
    for (auto _ : st) {
        const Sweep sweep = lampSweep(s);
        benchmark::DoNotOptimize(sweep.lines.data());
    }
}
BENCHMARK(BM_LampSweepNeon)->Unit(benchmark::kMillisecond);

// D_min, n and lambda every 10 nm (41 lines) with a continuous source.
void BM_SpectrumSweep(benchmark::State &st)
{
    const SceneState s;
    for (auto _ : st) {
        const Sweep sweep = spectrumSweep(s);
        benchmark::DoNotOptimize(sweep.lines.data());
    }
}
BENCHMARK(BM_SpectrumSweep)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
