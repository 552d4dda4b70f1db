// Printing costs: the figure page with its report, 40 copies of it into a PDF, the table of
// 100 lines into a PDF; each beside the cost of an empty PDF page for comparison.
#include "output/figurepage.h"
#include "output/tablepages.h"
#include "qtbenchmain.h"
#include "table/valuetable.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

using namespace vorlac;

namespace
{

QImage figure()
{
    QImage img(616, 390, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setPen(Qt::white);
    for (int i = 0; i < 40; ++i)
        p.drawLine(i * 15, 0, 616 - i * 15, 389);
    return img;
}

const std::vector<ReportLine> &report()
{
    static const auto lines = parameterReport(
        {SourceType::Monochromatic, "589", "45", "Verre Crown", "n = 1,516961", "Air", "n = 1,000276", {}});
    return lines;
}

template <typename Draw> void intoPdf(benchmark::State &state, Draw draw)
{
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QPdfWriter writer(&out);
        writer.setResolution(1200);
        QPainter p(&writer);
        p.setRenderHint(QPainter::LosslessImageRendering);
        draw(p, writer);
        p.end();
        benchmark::DoNotOptimize(out.data().size());
    }
}

void BM_EmptyPdfPage(benchmark::State &state)
{
    intoPdf(state, [](QPainter &, QPdfWriter &) {});
}

void BM_FigurePageWithReport(benchmark::State &state)
{
    const QImage img = figure();
    intoPdf(state, [&](QPainter &p, QPdfWriter &w) { paintFigurePage(p, PageMetrics::of(w), img, {}, report()); });
}

void BM_FigureFortyCopiesToPdf(benchmark::State &state)
{
    const QImage img = figure();
    intoPdf(state, [&](QPainter &p, QPdfWriter &w) {
        paintFigureCopies(p, PageMetrics::of(w), img, {}, report(), 40, [&] { return w.newPage(); });
    });
}

void BM_TableHundredLinesToPdf(benchmark::State &state)
{
    ValueTable table;
    table.setRows(101);
    for (int r = 1; r < 101; ++r)
        for (int c = 0; c < 7; ++c)
            table.setCellValue(r, c, static_cast<float>(r * 7 + c) / 3);
    intoPdf(state, [&](QPainter &p, QPdfWriter &w) {
        paintTableCopies(p, PageMetrics::of(w), table, {}, 1, [&] { return w.newPage(); });
    });
}

} // namespace

BENCHMARK(BM_EmptyPdfPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FigurePageWithReport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FigureFortyCopiesToPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableHundredLinesToPdf)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return vorlac::runQtBenchmarks<QGuiApplication>(argc, argv);
}
