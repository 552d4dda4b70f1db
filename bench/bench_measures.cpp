// The measurements panel during a lamp drag: a redraw with the panel hidden, the same redraw with
// the panel shown (the difference is what the panel costs per redraw), the panel's own update,
// and the minimum of deviation, which is recomputed only when the apex, wavelength or materials
// change.
#include "analysis/minimumdeviation.h"
#include "common/hintline.h"
#include "common/messenger.h"
#include "panels/measurepanel.h"
#include "qtbenchmain.h"
#include "scene/scenecontroller.h"
#include "table/valuetable.h"

#include <QApplication>
#include <QWidget>

using namespace vorlac;

namespace
{

struct Bench {
    QWidget window;
    HintLine hints{&window};
    SceneController controller;
    ValueTable table;
    Messenger messenger;
    MeasurePanel panel{controller, table, hints, messenger, &window};

    explicit Bench(SourceType source, bool shown)
    {
        window.resize(800, 600);
        controller.start();
        controller.setSource(source);
        window.show();
        if (shown)
            panel.show();
    }
    // One step of a drag: the incidence swings between 30 and 50 degrees.
    void dragStep(int k) { controller.setIncidenceAngle(30.0 + (k % 40) * 0.5); }
};

void BM_DragRedraw(benchmark::State &st)
{
    Bench b(static_cast<SourceType>(st.range(0)), st.range(1) != 0);
    int k = 0;
    for (auto _ : st)
        b.dragStep(k++);
}
BENCHMARK(BM_DragRedraw)
    ->ArgNames({"source", "panel"})
    ->Args({static_cast<int>(SourceType::Monochromatic), 0})
    ->Args({static_cast<int>(SourceType::Monochromatic), 1})
    ->Args({static_cast<int>(SourceType::FiveRadiations), 0})
    ->Args({static_cast<int>(SourceType::FiveRadiations), 1})
    ->Unit(benchmark::kMicrosecond);

void BM_PanelRefreshFiveRadiations(benchmark::State &st)
{
    // The panel stays hidden so that the redraw does not refresh it; refresh() itself is timed,
    // with new values each time.
    Bench b(SourceType::FiveRadiations, false);
    int k = 0;
    for (auto _ : st) {
        st.PauseTiming();
        b.dragStep(k++);
        st.ResumeTiming();
        b.panel.refresh();
    }
}
BENCHMARK(BM_PanelRefreshFiveRadiations)->Unit(benchmark::kMicrosecond);

void BM_MinimumDeviation(benchmark::State &st)
{
    for (auto _ : st)
        benchmark::DoNotOptimize(findMinimumDeviation(45, 1.5061, 1.0003));
}
BENCHMARK(BM_MinimumDeviation)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return runQtBenchmarks<QApplication>(argc, argv);
}
