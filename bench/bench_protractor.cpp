// The protractor: a refresh (copy of the scene under it, overlays, figure), one drag step of
// each handle (geometry and the drawing it causes), and the scene redraw with the protractor
// refreshed on top against the redraw alone.
#include "model/protractor.h"
#include "render/protractorpainter.h"
#include "render/scenerenderer.h"

#include <benchmark/benchmark.h>

using namespace vorlac;

namespace
{

struct Setup {
    Setup()
    {
        RedrawScene(state, picture);
        lamp.fill(0xffffcc00u);
        overlays = sceneOverlays(picture);
    }
    QImage refresh()
    {
        const QImage background = copyProtractorBackground(picture.image, protractor.position);
        const ProtractorFigure figure = layoutProtractor(protractor);
        return drawProtractorPicture(background, protractor.position, overlays, &lamp, figure, protractorColours(true));
    }
    SceneState state;
    ScenePicture picture;
    ProtractorState protractor;
    QImage lamp{32, 32, QImage::Format_ARGB32_Premultiplied};
    SceneOverlays overlays;
};

void BM_ProtractorRefresh(benchmark::State &st)
{
    Setup s;
    s.protractor.rotation = 4.0f; // past pi: the outer arc in two pieces
    for (auto _ : st) {
        QImage img = s.refresh();
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_ProtractorRefresh)->Unit(benchmark::kMicrosecond);

// A move step recopies the background; turning and aiming only redraw.
void BM_ProtractorDragStep(benchmark::State &st)
{
    Setup s;
    const int which = static_cast<int>(st.range(0));
    int k = 0;
    const QRect scene(QPoint(0, 0), s.picture.image.size());
    QImage background = copyProtractorBackground(s.picture.image, s.protractor.position);
    for (auto _ : st) {
        const double wobble = (k++ & 7) - 3.5;
        if (which == 0) {
            recordCrossGrab(s.protractor, 8, 8);
            moveProtractor(s.protractor, 8 + wobble, 8 - wobble, scene);
            background = copyProtractorBackground(s.picture.image, s.protractor.position);
        } else if (which == 1) {
            turnProtractor(s.protractor, 150 + wobble * 10, 60);
        } else {
            aimLine(s.protractor, 150 + wobble * 10, 60);
        }
        const ProtractorFigure f = layoutProtractor(s.protractor);
        QImage img =
            drawProtractorPicture(background, s.protractor.position, s.overlays, &s.lamp, f, protractorColours(true));
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_ProtractorDragStep)->Arg(0)->Arg(1)->Arg(2)->ArgNames({"move0_turn1_aim2"})->Unit(benchmark::kMicrosecond);

void BM_RedrawSceneAlone(benchmark::State &st)
{
    Setup s;
    for (auto _ : st) {
        RedrawScene(s.state, s.picture);
        benchmark::DoNotOptimize(s.picture.image.constBits());
    }
}
BENCHMARK(BM_RedrawSceneAlone)->Unit(benchmark::kMicrosecond);

void BM_RedrawSceneWithProtractor(benchmark::State &st)
{
    Setup s;
    for (auto _ : st) {
        RedrawScene(s.state, s.picture);
        QImage img = s.refresh();
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_RedrawSceneWithProtractor)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
