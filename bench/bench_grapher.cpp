// majgraf with the grid on 100 points: reading the two columns, the scales, the primitives and
// the 501 x 501 picture. Target: at most 10 ms.
#include "grapher/graph.h"
#include "grapher/graphpainter.h"
#include "qtbenchmain.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace vorlac;

namespace
{

void columns(QStringList &x, QStringList &y)
{
    const QLocale french(QLocale::French, QLocale::France);
    for (int i = 0; i < 100; ++i) {
        x << french.toString(i * 0.37 - 5, 'f', 3);
        y << french.toString(std::sin(i / 7.0) * 40, 'f', 3);
    }
}

void BM_MajgrafGrid100(benchmark::State &state)
{
    QStringList x, y;
    columns(x, y);
    const QLocale french(QLocale::French, QLocale::France);
    for (auto _ : state) {
        const GraphPicture g = ComputeGraph(x, y, GraphOptions{}, french);
        QImage image = GraphImage(g);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_MajgrafGrid100)->Unit(benchmark::kMillisecond);

void BM_ComputeOnly(benchmark::State &state)
{
    QStringList x, y;
    columns(x, y);
    const QLocale french(QLocale::French, QLocale::France);
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeGraph(x, y, GraphOptions{}, french).lines.size());
}
BENCHMARK(BM_ComputeOnly)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return vorlac::runQtBenchmarks<QGuiApplication>(argc, argv);
}
