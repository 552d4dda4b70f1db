// The magnifier during a lamp drag: one lamp step (the main picture redrawn with every line of
// the lamp) and the magnified picture of the emergent beam at 100x for a 520 x 380 window; the
// budget is 2 ms a step. Sodium and neon (the lamp with the most lines), and white light drawn
// in full.
#include "model/linelamps.h"
#include "render/magnifier.h"
#include "render/scenerenderer.h"

#include <benchmark/benchmark.h>
#include <cmath>

using namespace vorlac;

namespace
{

void lampStepAndMagnifier(benchmark::State &st, SceneState state)
{
    SpectrumColours spectrum{};
    FillSpectrumColours(spectrum);
    ScenePicture picture;
    QImage target(520, 380, QImage::Format_RGB32);
    state.apexAngle = 60;
    state.prismMaterial = 3;
    state.prismCauchyA = kMaterials[3].cauchyA;
    state.prismCauchyB = kMaterials[3].cauchyB;
    double step = 0;
    for (auto _ : st) {
        state.incidenceAngle = 40 + (step += 0.1, std::fmod(step, 20));
        const SceneFigure figure = traceFigure(state);
        drawFigure(figure, picture);
        const MagnifiedBeam beam = magnifiedBeam(figure);
        drawMagnifiedScene(figure, magnifierViewport(beam, QSizeF(520, 380), 100), 1.0, kMagnifierRayWidth, target);
        benchmark::DoNotOptimize(target.constBits());
    }
}

void BM_MagnifierLampStepSodium(benchmark::State &st)
{
    SceneState s;
    s.source = SourceType::LineLamp;
    s.lamp = lineLampRow(QStringLiteral("sodium"));
    lampStepAndMagnifier(st, s);
}
BENCHMARK(BM_MagnifierLampStepSodium)->Unit(benchmark::kMicrosecond);

void BM_MagnifierLampStepNeon(benchmark::State &st)
{
    SceneState s;
    s.source = SourceType::LineLamp;
    s.lamp = lineLampRow(QStringLiteral("néon"));
    lampStepAndMagnifier(st, s);
}
BENCHMARK(BM_MagnifierLampStepNeon)->Unit(benchmark::kMicrosecond);

void BM_MagnifierWhiteLight(benchmark::State &st)
{
    SceneState s;
    s.source = SourceType::WhiteLight;
    SpectrumColours spectrum{};
    FillSpectrumColours(spectrum);
    const SceneFigure figure = traceFigure(s, &spectrum);
    QImage target(520, 380, QImage::Format_RGB32);
    const SceneViewport v = magnifierViewport(magnifiedBeam(figure), QSizeF(520, 380), 100);
    for (auto _ : st)
        drawMagnifiedScene(figure, v, 1.0, kMagnifierRayWidth, target);
}
BENCHMARK(BM_MagnifierWhiteLight)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
