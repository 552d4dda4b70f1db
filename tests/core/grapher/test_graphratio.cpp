// The plot drawn for a screen's device pixel ratio: ratio 1 is the persistent picture, and at a
// larger ratio every plotted pixel becomes a block of its colour.
#include "grapher/graph.h"
#include "grapher/graphpainter.h"
#include "rowname.h"

#include <gtest/gtest.h>

using namespace vorlac;

namespace
{

struct RatioRow {
    const char *name;
    GraphOptions options;
    qreal ratio;
};

void PrintTo(const RatioRow &r, std::ostream *os)
{
    *os << r.name;
}

class GraphForScreen : public ::testing::TestWithParam<RatioRow>
{
};

TEST_P(GraphForScreen, SamePlotInTheScreensPixels)
{
    const RatioRow row = GetParam();
    const QLocale french(QLocale::French, QLocale::France);
    const GraphPicture graph = ComputeGraph({"0", "1", "2", "3,5"}, {"0,2", "1,9", "4,1", "7"}, row.options, french);
    const QImage plain = GraphImage(graph);
    const QImage scaled = GraphImage(graph, row.ratio);
    if (row.ratio == 1.0) {
        EXPECT_EQ(scaled, plain);
        return;
    }
    EXPECT_EQ(scaled.deviceIndependentSize().toSize(), plain.size());
    int checked = 0;
    for (const GraphLine &line : graph.lines)
        for (const QRect &span : graphLineSpans(line))
            for (int y = span.top(); y <= span.bottom(); ++y)
                for (int x = span.left(); x <= span.right(); ++x) {
                    if (!plain.rect().contains(x, y))
                        continue;
                    // The device pixel at the middle of the logical pixel's block.
                    const QPoint at(qFloor((x + 0.5) * row.ratio), qFloor((y + 0.5) * row.ratio));
                    ASSERT_EQ(scaled.pixel(at), plain.pixel(x, y)) << x << "," << y;
                    ++checked;
                }
    EXPECT_GT(checked, 500);
}

INSTANTIATE_TEST_SUITE_P(Rows, GraphForScreen,
                         ::testing::Values(RatioRow{"ratio_1_unchanged", GraphOptions{}, 1.0},
                                           RatioRow{"ratio_2_grid_crosses", GraphOptions{}, 2.0},
                                           RatioRow{"ratio_1_5_no_grid", GraphOptions{true, false, true}, 1.5}),
                         RowName());

} // namespace
