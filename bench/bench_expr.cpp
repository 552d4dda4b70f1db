// One table column: 100 evaluations of typical formulas with the cell values substituted.
#include "expr/expression.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>

namespace
{

const QStringList &column()
{
    static const QStringList formulas = [] {
        const char *kinds[] = {"%1 * 2", "sin (%1) / sin (19.5)", "(%1 - 1.7) ^ 2 + 3", "invSIN (sin (%1) / 1.5)",
                               "%1 / (1 + %1 * .0001)"};
        QStringList out;
        for (int line = 0; line < 100; ++line) {
            const QString value = QString::number(10 + line * 0.35, 'f', 3);
            out << QString::fromLatin1(kinds[line % 5]).arg(value);
        }
        return out;
    }();
    return formulas;
}

void evaluateColumn(benchmark::State &state, const QStringList &formulas)
{
    for (auto _ : state) {
        for (const QString &formula : formulas) {
            QString text = formula;
            int error = 0;
            vorlac::EvaluateExpression(text, error, 0);
            benchmark::DoNotOptimize(text);
            benchmark::DoNotOptimize(error);
        }
    }
    state.SetItemsProcessed(state.iterations() * formulas.size());
}

void BM_ColumnOfMixedFormulas(benchmark::State &state)
{
    evaluateColumn(state, column());
}

void BM_ColumnOfProducts(benchmark::State &state)
{
    evaluateColumn(state, QStringList(100, QStringLiteral("1.5 * 2")));
}

void BM_ColumnOfSineRatios(benchmark::State &state)
{
    evaluateColumn(state, QStringList(100, QStringLiteral("sin (30) / sin (19.5)")));
}

void BM_ColumnOfSquares(benchmark::State &state)
{
    evaluateColumn(state, QStringList(100, QStringLiteral("(3.2 - 1.7) ^ 2 + 3")));
}

// Worst cases at the length cap: a long sum and deep nesting (one evaluation each).
void BM_LongSumAtTheCap(benchmark::State &state)
{
    const QString sum = QStringLiteral("1") + QStringLiteral("+1").repeated((vorlac::MaxExpressionLength - 1) / 2);
    evaluateColumn(state, QStringList{sum});
}

void BM_DeepParenthesesAtTheCap(benchmark::State &state)
{
    const qsizetype depth = vorlac::MaxExpressionLength / 2 - 4;
    evaluateColumn(state, QStringList{QString(depth, u'(') + QStringLiteral("1+1") + QString(depth, u')')});
}

} // namespace

BENCHMARK(BM_LongSumAtTheCap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeepParenthesesAtTheCap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColumnOfProducts)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColumnOfSineRatios)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColumnOfSquares)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColumnOfMixedFormulas)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
