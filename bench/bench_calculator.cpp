// Computing a 100-line column from "sin C1 / sin C2", table update included (target: 5 ms).
#include "expr/calculator.h"
#include "qtbenchmain.h"
#include "table/valuetable.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace
{

void BM_ComputeColumn100(benchmark::State &state)
{
    vorlac::ValueTable table;
    table.setRows(101);
    for (int r = 1; r <= 100; ++r) {
        table.setCellValue(r, 0, float(10 + r * 0.5));
        table.setCellValue(r, 1, float(5 + r * 0.3));
    }
    int changes = 0;
    QObject::connect(&table, &vorlac::ValueTable::cellsChanged, [&](int, int) { ++changes; });
    for (auto _ : state) {
        const int uncomputed = vorlac::ComputeColumn(table, 2, QStringLiteral("sin C1 / sin C2"), 0, false);
        benchmark::DoNotOptimize(uncomputed);
    }
    state.counters["notifications"] = double(changes) / double(state.iterations());
}
BENCHMARK(BM_ComputeColumn100)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    return vorlac::runQtBenchmarks<QCoreApplication>(argc, argv, false);
}
