// Scene drawing: one trace, the five-ray picture, the 401-ray white-light picture, and the
// white-light picture drawn the naive way (every trace in full through QPainter's OR raster
// operation) as the baseline.
#include "model/constants.h"
#include "render/scenerenderer.h"

#include <QPainter>
#include <benchmark/benchmark.h>

using namespace vorlac;

namespace
{

SceneState whiteLightState()
{
    SceneState s;
    s.source = SourceType::WhiteLight;
    s.showPropagation = false;
    s.prismCauchyA = kMaterials[3].cauchyA;
    s.prismCauchyB = kMaterials[3].cauchyB;
    return s;
}

void BM_TraceRay(benchmark::State &st)
{
    TraceInput in;
    in.apexAngle = 80;
    in.incidenceAngle = 0;
    in.prismIndex = 1.628852;
    in.outsideIndex = 1.000277;
    in.showNormals = true;
    TraceResult r;
    for (auto _ : st) {
        TraceRay(in, r, true);
        benchmark::DoNotOptimize(r.segments.data());
    }
}
BENCHMARK(BM_TraceRay);

void BM_RedrawScene(benchmark::State &st)
{
    SceneState s;
    ScenePicture pic;
    for (auto _ : st) {
        RedrawScene(s, pic);
        benchmark::DoNotOptimize(pic.image.constBits());
    }
}
BENCHMARK(BM_RedrawScene)->Unit(benchmark::kMicrosecond);

void BM_RedrawWhiteLight(benchmark::State &st)
{
    SceneState s = whiteLightState();
    SpectrumColours spectrum{};
    FillSpectrumColours(spectrum);
    ScenePicture pic;
    for (auto _ : st) {
        RedrawWhiteLight(s, spectrum, pic);
        benchmark::DoNotOptimize(pic.image.constBits());
    }
}
BENCHMARK(BM_RedrawWhiteLight)->Unit(benchmark::kMicrosecond);

// The same picture drawn for a screen of ratio range(0) / 10 too, as the window draws it there:
// the printed picture and the screen's copy from the same traces.
void BM_RedrawWhiteLightForScreen(benchmark::State &st)
{
    SceneState s = whiteLightState();
    SpectrumColours spectrum{};
    FillSpectrumColours(spectrum);
    ScenePicture pic;
    pic.setScreenRatio(st.range(0) / 10.0);
    for (auto _ : st) {
        RedrawWhiteLight(s, spectrum, pic);
        benchmark::DoNotOptimize(pic.shownImage().constBits());
    }
}
BENCHMARK(BM_RedrawWhiteLightForScreen)->Arg(10)->Arg(15)->Arg(20)->Unit(benchmark::kMicrosecond);

void BM_WhiteLightNaiveQPainter(benchmark::State &st)
{
    SceneState s = whiteLightState();
    SpectrumColours spectrum{};
    FillSpectrumColours(spectrum);
    const std::vector<Radiation> rays = whiteLightRadiations(spectrum);
    QImage image(kSceneWidth, kSceneHeight, QImage::Format_RGB32);
    TraceResult r;
    for (auto _ : st) {
        image.fill(Qt::black);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        for (const Radiation &ray : rays) {
            TraceRay(traceInputFor(s, ray), r, true);
            for (const Segment &seg : r.segments) {
                QPen pen(QColor(toQRgb(seg.colour)), 0, seg.dashed ? Qt::DashLine : Qt::SolidLine);
                p.setPen(pen);
                p.drawLine(QPointF(seg.x1, seg.y1), QPointF(seg.x2, seg.y2));
            }
        }
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_WhiteLightNaiveQPainter)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
