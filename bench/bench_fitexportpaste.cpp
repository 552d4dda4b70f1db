// The lab bench's costs: a parabola fit of 100 points, the SVG of the white-light figure, and a
// paste of 100 x 7 cells, each beside the naive way.
#include "grapher/curvefit.h"
#include "output/exports.h"
#include "qtbenchmain.h"
#include "render/scenerenderer.h"
#include "table/valuetable.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

namespace
{

using namespace vorlac;

void parabolaData(std::vector<double> &x, std::vector<double> &y)
{
    for (int i = 0; i < 100; ++i) {
        x.push_back(400 + 4.0 * i);
        y.push_back(1e-5 * x.back() * x.back() - 0.01 * x.back() + 3 + 0.01 * std::sin(i * 1.7));
    }
}

void BM_ParabolaFit100(benchmark::State &state)
{
    std::vector<double> x, y;
    parabolaData(x, y);
    for (auto _ : state) {
        FitResult fit = fitCurve(FitModel::Parabola, x, y);
        benchmark::DoNotOptimize(fit);
    }
}
BENCHMARK(BM_ParabolaFit100)->Unit(benchmark::kMicrosecond);

// The naive way: the normal equations of raw x, solved by Cramer's rule (fast, but loses most
// digits for x near 1000).
void BM_ParabolaNormalEquationsNaive(benchmark::State &state)
{
    std::vector<double> x, y;
    parabolaData(x, y);
    for (auto _ : state) {
        double s[5] = {}, t[3] = {};
        for (std::size_t i = 0; i < x.size(); ++i) {
            double p = 1;
            for (int k = 0; k < 5; ++k, p *= x[i]) {
                s[k] += p;
                if (k < 3)
                    t[k] += p * y[i];
            }
        }
        const double d = s[4] * (s[2] * s[0] - s[1] * s[1]) - s[3] * (s[3] * s[0] - s[1] * s[2]) +
                         s[2] * (s[3] * s[1] - s[2] * s[2]);
        const double a = (t[2] * (s[2] * s[0] - s[1] * s[1]) - s[3] * (t[1] * s[0] - s[1] * t[0]) +
                          s[2] * (t[1] * s[1] - s[2] * t[0])) /
                         d;
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(BM_ParabolaNormalEquationsNaive)->Unit(benchmark::kMicrosecond);

struct WhiteFigure {
    SceneState state;
    ScenePicture picture;
    SceneFigure figure;
    QImage lamp{32, 32, QImage::Format_ARGB32};
    WhiteFigure()
    {
        state.source = SourceType::WhiteLight;
        SpectrumColours spectrum{};
        FillSpectrumColours(spectrum);
        figure = traceFigure(state, &spectrum);
        drawFigure(figure, picture);
        lamp.fill(Qt::yellow);
    }
};

void BM_SvgWhiteLightFigure(benchmark::State &state)
{
    const WhiteFigure f;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const QByteArray svg = svgBytes(f.picture.image.size(), QStringLiteral("schéma"),
                                        [&](QPainter &p) { paintFigureVector(p, f.figure, f.picture.image, &f.lamp); });
        bytes = static_cast<std::size_t>(svg.size());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SvgWhiteLightFigure)->Unit(benchmark::kMillisecond);

// For scale: the PNG of the same figure.
void BM_PngWhiteLightFigure(benchmark::State &state)
{
    const WhiteFigure f;
    for (auto _ : state)
        benchmark::DoNotOptimize(pngBytes(f.picture.image, 1));
}
BENCHMARK(BM_PngWhiteLightFigure)->Unit(benchmark::kMillisecond);

QString pasteText()
{
    QString text;
    for (int r = 0; r < 100; ++r) {
        QStringList cells;
        for (int c = 0; c < 7; ++c)
            cells << QString::number((r * 37 + c * 11) % 101 * 0.731 - 20, 'f', 3).replace(u'.', u',');
        text += cells.join(u'\t') + QStringLiteral("\r\n");
    }
    return text;
}

void BM_Paste100x7(benchmark::State &state)
{
    const QString text = pasteText();
    int notifications = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ValueTable t;
        t.setLocale(QLocale(QLocale::French, QLocale::France));
        QObject::connect(&t, &ValueTable::tableReset, [&] { ++notifications; });
        QObject::connect(&t, &ValueTable::cellsChanged, [&] { ++notifications; });
        state.ResumeTiming();
        benchmark::DoNotOptimize(t.paste(text));
    }
    state.counters["notifications"] = benchmark::Counter(notifications, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Paste100x7)->Unit(benchmark::kMillisecond);

// The naive way: one cell write, and one notification, per cell.
void BM_PasteCellByCellNaive(benchmark::State &state)
{
    const QString text = pasteText();
    int notifications = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ValueTable t;
        t.setLocale(QLocale(QLocale::French, QLocale::France));
        QObject::connect(&t, &ValueTable::tableReset, [&] { ++notifications; });
        QObject::connect(&t, &ValueTable::cellsChanged, [&] { ++notifications; });
        state.ResumeTiming();
        t.setRows(ValueTable::kMaxRows);
        const std::vector<QStringList> lines = splitPastedText(text);
        for (std::size_t r = 0; r < lines.size(); ++r)
            for (qsizetype c = 0; c < lines[r].size(); ++c)
                t.setCellValue(static_cast<int>(r) + 1, static_cast<int>(c), t.readValue(lines[r][c]));
    }
    state.counters["notifications"] = benchmark::Counter(notifications, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PasteCellByCellNaive)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return vorlac::runQtBenchmarks<QGuiApplication>(argc, argv);
}
