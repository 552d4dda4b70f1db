// The screen after the prism: the observed strip 1920 pixels wide, the Sun through a gas, from a
// spectrum already traced (what a cursor move or a resize redraws) and from scratch (what a
// change of the scene costs: the dispersion traced, then the strip), and the rays' marks on the
// screen in the scene; the white-light scene without and with the screen shown.
#include "model/linelamps.h"
#include "qtbenchmain.h"
#include "spectra/observedspectrum.h"
#include "spectra/screenfigure.h"

#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace vorlac;

namespace
{

Absorber gas(const char *name)
{
    return {AbsorberKind::Gas, lineLampRow(QString::fromUtf8(name)), false};
}

void stripFromTraced(benchmark::State &st, const char *absorber)
{
    const SceneState s;
    const ScreenSpectrum spectrum(s, {}, sunSource(), gas(absorber));
    const StripRange range = spectrum.defaultRange(1920);
    for (auto _ : st) {
        const std::vector<Rgb> strip = spectrum.strip(range);
        benchmark::DoNotOptimize(strip.data());
    }
}

void BM_StripSunSodium1920(benchmark::State &st)
{
    stripFromTraced(st, "sodium");
}
BENCHMARK(BM_StripSunSodium1920)->Unit(benchmark::kMicrosecond);

// Neon: the lamp with the most lines, so the most dark lines to place.
void BM_StripSunNeon1920(benchmark::State &st)
{
    stripFromTraced(st, "néon");
}
BENCHMARK(BM_StripSunNeon1920)->Unit(benchmark::kMicrosecond);

void BM_SpectrumAndStripSunSodium1920(benchmark::State &st)
{
    const SceneState s;
    for (auto _ : st) {
        const ScreenSpectrum spectrum(s, {}, sunSource(), gas("sodium"));
        const std::vector<Rgb> strip = spectrum.strip(spectrum.defaultRange(1920));
        benchmark::DoNotOptimize(strip.data());
    }
}
BENCHMARK(BM_SpectrumAndStripSunSodium1920)->Unit(benchmark::kMicrosecond);

// What the screen adds to the white-light scene: its frame and where the 401 rays land on it.
void BM_ScreenMarksWhiteLight(benchmark::State &st)
{
    SceneState s;
    s.source = SourceType::WhiteLight;
    SpectrumColours colours;
    FillSpectrumColours(colours);
    const std::vector<Radiation> rays = whiteLightRadiations(colours);
    std::size_t landed = 0;
    for (auto _ : st) {
        const std::optional<ScreenFrame> frame = screenFrame(s, {});
        const std::vector<ScreenMark> marks = screenMarks(s, *frame, rays);
        landed = marks.size();
        benchmark::DoNotOptimize(marks.data());
    }
    st.counters["landed"] = double(landed);
}
BENCHMARK(BM_ScreenMarksWhiteLight)->Unit(benchmark::kMicrosecond);

// The white-light scene as a change of it costs the main window: the figure, the picture, and with
// the screen shown at its default distance its part in the figure (the rays ending on it), its
// frame, the marks and the layer painted over the picture. The screen's cost is the difference.
void whiteLightScene(benchmark::State &st, bool screen, bool sun)
{
    SceneState s;
    s.source = SourceType::WhiteLight;
    s.showPropagation = false;
    SpectrumColours colours;
    FillSpectrumColours(colours);
    ScreenSettings settings;
    settings.shown = true;
    if (sun) {
        settings.sun = true;
        settings.absorber = gas("sodium");
    }
    ScenePicture pic;
    for (auto _ : st) {
        SceneFigure f = traceFigure(s, &colours);
        if (screen)
            screenFigure(f, settings);
        drawFigure(f, pic);
        if (screen) {
            const std::optional<ScreenFrame> frame = screenFrame(f.state, settings.placement);
            const ScreenLayer layer{*frame, screenMarks(f, *frame), f.stop, settings.placement.distanceMm};
            QPainter p(&pic.image);
            paintScreenLayer(p, layer, s.blackBackground);
        }
        benchmark::DoNotOptimize(pic.image.constBits());
    }
}

void BM_WhiteLightSceneWithoutScreen(benchmark::State &st)
{
    whiteLightScene(st, false, false);
}
BENCHMARK(BM_WhiteLightSceneWithoutScreen)->Unit(benchmark::kMicrosecond);

void BM_WhiteLightSceneWithScreen(benchmark::State &st)
{
    whiteLightScene(st, true, false);
}
BENCHMARK(BM_WhiteLightSceneWithScreen)->Unit(benchmark::kMicrosecond);

void BM_SunSodiumSceneWithScreen(benchmark::State &st)
{
    whiteLightScene(st, true, true);
}
BENCHMARK(BM_SunSodiumSceneWithScreen)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return vorlac::runQtBenchmarks<QGuiApplication>(argc, argv);
}
