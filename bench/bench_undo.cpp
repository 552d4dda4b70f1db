// The undo history: what pushing a step costs beyond the change itself, and what 100 steps on a
// full table hold in memory (glibc's count of bytes in use, before and after).
#include "qtbenchmain.h"
#include "undo/undohistory.h"

#include <QGuiApplication>
#include <QUndoStack>
#include <functional>
#include <malloc.h>
#include <memory>

namespace
{

using vorlac::UndoHistory;
using vorlac::ValueTable;

void fillFull(ValueTable &t)
{
    t.setRows(ValueTable::kMaxRows);
    for (int r = 1; r < t.Rows(); ++r)
        for (int c = 0; c < ValueTable::kColumns; ++c)
            t.setCellValue(r, c, static_cast<float>((r * 37 + c * 11) % 101) * 0.731f - 20.0f);
}

// One change of each kind measured: a typed cell (a new cell each time, so steps never merge),
// a sort, a column fill, a new number format.
using Change = std::function<void(ValueTable &, int i)>;

void typeCell(ValueTable &t, int i)
{
    t.setTextMatrix(1 + (i / 7) % 100, i % 7, QString::number(i % 1000) + QStringLiteral(",5"));
}

void sortColumn(ValueTable &t, int i)
{
    t.Sort(i % 7, (i / 7) % 2 == 1);
}

void fillColumn(ValueTable &t, int i)
{
    t.fillArithmetic(i % 7, float(i % 13), float(i % 13) + 99.0f, 1.0f);
}

void reformat(ValueTable &t, int i)
{
    t.setTableNumberFormat(i % 2 ? QStringLiteral("0.0") : QStringLiteral("########0.000"));
    t.ReformatTable();
}

const Change kChanges[] = {typeCell, sortColumn, fillColumn, reformat};

// state.range(0): the kind of change; range(1): 1 with the history, 0 without.
void BM_ChangeFullTable(benchmark::State &state)
{
    const Change change = kChanges[state.range(0)];
    ValueTable t;
    fillFull(t);
    std::unique_ptr<UndoHistory> history;
    if (state.range(1))
        history = std::make_unique<UndoHistory>(t);
    int i = 0;
    for (auto _ : state) {
        change(t, i++);
        if (history)
            history->closeStep();
    }
    state.SetLabel(state.range(1) ? "with the history" : "change alone");
}
BENCHMARK(BM_ChangeFullTable)
    ->ArgNames({"kind", "history"})
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// Bytes the history holds after 100 steps of one kind on a full table (reported as a counter).
void BM_HundredStepsMemory(benchmark::State &state)
{
    const Change change = kChanges[state.range(0)];
    double bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ValueTable t;
        fillFull(t);
        state.ResumeTiming();
        // The table's own texts are replaced by texts of the same size: what grows is the history.
        const auto inUse = [] { return double(mallinfo2().uordblks); };
        const double start = inUse();
        {
            UndoHistory history(t);
            for (int i = 0; i < UndoHistory::kLimit; ++i) {
                change(t, i);
                history.closeStep();
            }
            bytes = inUse() - start;
            benchmark::DoNotOptimize(history.stack().count());
        }
    }
    state.counters["bytes"] = bytes;
    state.counters["MB"] = bytes / (1024.0 * 1024.0);
}
BENCHMARK(BM_HundredStepsMemory)->ArgName("kind")->DenseRange(0, 3)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return vorlac::runQtBenchmarks<QGuiApplication>(argc, argv);
}
