// The projection window and the zoom: white light redrawn for a 1920 x 1080 window with 3-pixel
// rays, a lamp step's projection redraw (five rays), a zoomed redraw, the angle marks and the
// protractor drawn over the projection; the designed 616 x 390 picture alone as the baseline.
#include "model/constants.h"
#include "render/anglemarks.h"
#include "render/protractorpainter.h"
#include "render/scenerenderer.h"
#include "render/sceneviewport.h"
#include "render/viewtrail.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace vorlac;

namespace
{

struct Scene {
    SceneState state;
    SpectrumColours spectrum{};
    ScenePicture picture;
    SceneFigure figure;
    explicit Scene(SourceType source)
    {
        state.source = source;
        FillSpectrumColours(spectrum);
        figure = traceFigure(state, &spectrum);
        drawFigure(figure, picture);
    }
};

void BM_DesignedWhitePicture(benchmark::State &st)
{
    Scene s(SourceType::WhiteLight);
    for (auto _ : st)
        RedrawWhiteLight(s.state, s.spectrum, s.picture);
}
BENCHMARK(BM_DesignedWhitePicture)->Unit(benchmark::kMicrosecond);

// Arg 1: as the window draws in its own pixels, clearing only what the last frame drew.
void BM_ProjectionWhite1080p3px(benchmark::State &st)
{
    Scene s(SourceType::WhiteLight);
    QImage target(1920, 1080, QImage::Format_RGB32);
    const SceneViewport v = fittedViewport(QSizeF(1920, 1080));
    ViewTrail trail;
    for (auto _ : st)
        drawSceneView(s.figure, v, 1.0, 3, target, st.range(0) ? &trail : nullptr);
    st.SetLabel(st.range(0) ? "trail" : "whole clear");
}
BENCHMARK(BM_ProjectionWhite1080p3px)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ProjectionLampStep(benchmark::State &st)
{
    Scene s(SourceType::FiveRadiations);
    QImage target(1920, 1080, QImage::Format_RGB32);
    const SceneViewport v = fittedViewport(QSizeF(1920, 1080));
    double step = 0;
    for (auto _ : st) {
        s.state.incidenceAngle = 30 + (step += 0.1, std::fmod(step, 20));
        s.figure = traceFigure(s.state);
        drawFigure(s.figure, s.picture);
        drawSceneView(s.figure, v, 1.0, 3, target);
    }
}
BENCHMARK(BM_ProjectionLampStep)->Unit(benchmark::kMicrosecond);

void BM_ZoomedRedraw(benchmark::State &st)
{
    Scene s(SourceType::WhiteLight);
    QImage target(616, 390, QImage::Format_RGB32);
    SceneViewport v = designedViewport();
    zoomAbout(v, QPointF(400, 150), 8);
    for (auto _ : st)
        drawSceneView(s.figure, v, 1.0, 1, target);
}
BENCHMARK(BM_ZoomedRedraw)->Unit(benchmark::kMicrosecond);

void BM_AngleMarks(benchmark::State &st)
{
    Scene s(SourceType::FiveRadiations);
    const QLocale fr(QLocale::French, QLocale::France);
    for (auto _ : st)
        benchmark::DoNotOptimize(angleMarks(s.figure, fr).marks.size());
}
BENCHMARK(BM_AngleMarks)->Unit(benchmark::kMicrosecond);

// The marks painted over the rays, in the main view (1) and in a 1920-pixel projection, labels
// included: every lamp step paints them in each.
void BM_PaintAngleMarks(benchmark::State &st)
{
    Scene s(SourceType::FiveRadiations);
    const AngleFigure marks = angleMarks(s.figure, QLocale(QLocale::French, QLocale::France));
    const bool projection = st.range(0) == 1;
    const SceneViewport v = projection ? fittedViewport(QSizeF(1920, 1080)) : designedViewport();
    QImage target(projection ? QSize(1920, 1080) : QSize(616, 390), QImage::Format_RGB32);
    drawSceneView(s.figure, v, 1.0, 1, target);
    QTransform toWindow;
    toWindow.scale(v.scale(), v.scale());
    toWindow.translate(-v.origin.x(), -v.origin.y());
    const std::vector<QRectF> places = labelsOnView(marks, toWindow, v.fitScale, QRectF(target.rect()));
    for (auto _ : st) {
        QPainter p(&target);
        p.setTransform(toWindow);
        paintAngleMarks(p, marks, true, false);
        p.resetTransform();
        paintAngleLabels(p, marks, places, v.fitScale, true);
    }
    st.SetLabel(projection ? "projection 1920 x 1080" : "main view");
}
BENCHMARK(BM_PaintAngleMarks)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ProjectionProtractor(benchmark::State &st)
{
    Scene s(SourceType::WhiteLight);
    QImage target(1920, 1080, QImage::Format_RGB32);
    const SceneViewport v = fittedViewport(QSizeF(1920, 1080));
    drawSceneView(s.figure, v, 1.0, 3, target);
    ProtractorState state;
    const ProtractorFigure figure = layoutProtractor(state);
    for (auto _ : st) {
        QPainter p(&target);
        paintProtractorOnView(p, figure, protractorColours(true), state.position, v, 3);
    }
}
BENCHMARK(BM_ProjectionProtractor)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // the label metrics need the fonts
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
