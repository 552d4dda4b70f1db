#include "table/valuetable.h"
#include "table/valuetablemodel.h"

#include <QCoreApplication>
#include <QLocale>
#include <benchmark/benchmark.h>

namespace
{

using vorlac::ValueTable;

// A full table: 100 lines x 7 columns of varied numbers, shown by a model.
void fillFull(ValueTable &t)
{
    t.setRows(ValueTable::kMaxRows);
    for (int r = 1; r < t.Rows(); ++r)
        for (int c = 0; c < ValueTable::kColumns; ++c)
            t.setCellValue(r, c, static_cast<float>((r * 37 + c * 11) % 101) * 0.731f - 20.0f);
}

void BM_ReformatTable(benchmark::State &state)
{
    ValueTable t;
    fillFull(t);
    vorlac::ValueTableModel model(t);
    int notified = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++notified; });
    const QString patterns[2] = {QStringLiteral("0.00E+00"), QStringLiteral("########0.000")};
    int i = 0;
    for (auto _ : state) {
        t.setTableNumberFormat(patterns[i++ & 1]);
        t.ReformatTable();
    }
    benchmark::DoNotOptimize(notified);
}
BENCHMARK(BM_ReformatTable)->Unit(benchmark::kMillisecond);

void BM_Sort100Lines(benchmark::State &state)
{
    ValueTable t;
    fillFull(t);
    vorlac::ValueTableModel model(t);
    bool descending = false;
    for (auto _ : state) {
        t.Sort(state.range(0), descending);
        descending = !descending;
    }
}
BENCHMARK(BM_Sort100Lines)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_Fill100Lines(benchmark::State &state)
{
    ValueTable t;
    vorlac::ValueTableModel model(t);
    for (auto _ : state)
        benchmark::DoNotOptimize(t.fillArithmetic(2, 0.0f, 9.9f, 0.1f));
}
BENCHMARK(BM_Fill100Lines)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
