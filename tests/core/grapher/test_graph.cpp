#include "grapher/graph.h"
#include "grapher/graphpainter.h"
#include "rowname.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <set>
#include <utility>

using namespace vorlac;

namespace
{

const QLocale kFrench(QLocale::French, QLocale::France);

GraphPicture compute(const QStringList &x, const QStringList &y, GraphOptions o = {})
{
    return ComputeGraph(x, y, o, kFrench);
}

int count(const QImage &img, QRgb c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == c;
    return n;
}

std::set<std::pair<int, int>> pixelsOf(const GraphLine &l)
{
    std::set<std::pair<int, int>> out;
    for (const QRect &r : graphLineSpans(l))
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                out.insert({x, y});
    return out;
}

} // namespace

struct UnitRow {
    const char *name;
    double magnitude;
    double unit;
};
void PrintTo(const UnitRow &r, std::ostream *os)
{
    *os << r.name;
}
class Uniteur : public ::testing::TestWithParam<UnitRow>
{
};
TEST_P(Uniteur, DivisionValue)
{
    double m = GetParam().magnitude;
    ASSERT_TRUE(uniteur(m));
    EXPECT_DOUBLE_EQ(m, GetParam().unit);
    // between 5 and 10 divisions, within the single precision of a cell
    const double divisions = GetParam().magnitude / m;
    EXPECT_GE(divisions, 5.0 * (1 - 1e-7));
    EXPECT_LE(divisions, 10.0 * (1 + 1e-7));
}
INSTANTIATE_TEST_SUITE_P(
    Rows, Uniteur,
    ::testing::Values(
        UnitRow{"three", 3, 0.5}, UnitRow{"six", 6, 1}, UnitRow{"oneThree", 1.3, 0.2}, UnitRow{"twelve", 12, 1.25},
        UnitRow{"hundred", 100, 10}, UnitRow{"threeHundredths", 0.03, 0.005}, UnitRow{"seven", 7, 1},
        // extremes of the single range end in double
        UnitRow{"tenToMinus38", 1e-38, 2e-39}, UnitRow{"smallestSubnormal", 1.4e-45, 2e-46},
        UnitRow{"threeE38", 3e38, 5e37}, UnitRow{"largestSingle", 3.4028235e38, 5e37},
        // cells whose single lies just below a boundary decide as they read
        UnitRow{"cellFiveThousandths", double(0.005f), 0.001}, UnitRow{"cellHundredth", double(0.010f), 0.002},
        UnitRow{"cellTwoHundredths", double(0.020f), 0.0025}, UnitRow{"cellTenToMinus4", double(1e-4f), 2e-5},
        // powers of ten without the drift of repeated division
        UnitRow{"cellTenToThe7", double(1e7f), 1e6}, UnitRow{"cellTenToThe38", double(1e38f), 1e37}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(Uniteur, RefusesMagnitudesThatAreNotPositive)
{
    for (double m : {0.0, -1.0, std::nan(""), HUGE_VAL}) {
        double v = m;
        EXPECT_FALSE(uniteur(v));
    }
}

TEST(Graph, OriginAtBottomLeftForPositiveData)
{
    const GraphPicture g = compute({"1", "2", "3"}, {"2", "4", "6"});
    ASSERT_TRUE(g.valid);
    EXPECT_EQ(g.scale.xmin, 0);
    EXPECT_EQ(g.scale.ymin, 0);
    EXPECT_DOUBLE_EQ(g.scale.xunit, 0.5);
    EXPECT_DOUBLE_EQ(g.scale.yunit, 1);
    // the axes cross at (5, 495)
    EXPECT_EQ(g.lines[0].from, QPoint(5, 0));
    EXPECT_EQ(g.lines[3].from, QPoint(5, 495));
    EXPECT_EQ(g.plottedPoints, 3);
    ASSERT_TRUE(g.scaleSentence);
    EXPECT_EQ(*g.scaleSentence, QStringLiteral("En abscisse, une division correspond à 0,5 unités.\r\n\r\n"
                                               "En ordonnée, une division correspond à 1 unités."));
    // the largest point at (485, 15)
    const QImage img = GraphImage(g);
    EXPECT_EQ(img.pixel(485, 15), graphcolour::Red);
    EXPECT_EQ(img.pixel(487, 15), graphcolour::Red);
    EXPECT_NE(img.pixel(488, 15), graphcolour::Red); // the cross ends before px + 3
    EXPECT_EQ(img.pixel(483, 15), graphcolour::Red);
    EXPECT_NE(img.pixel(482, 15), graphcolour::Red);
}

TEST(Graph, NegativeValuesGraduateBeyondBothEnds)
{
    const GraphPicture g = compute({"-0,3", "1,3"}, {"-5", "2"});
    ASSERT_TRUE(g.valid);
    EXPECT_FLOAT_EQ(static_cast<float>(g.scale.xmin), -0.3f);
    EXPECT_DOUBLE_EQ(g.scale.xunit, 0.2);
    EXPECT_NEAR(g.scale.xs, -0.4, 1e-12);
    EXPECT_NEAR(g.scale.xe, 1.6, 1e-12);
    EXPECT_EQ(g.scale.xGraduations, 11);
    // ordinates: My = 5, unit 1, from -5 to 3
    EXPECT_DOUBLE_EQ(g.scale.yunit, 1);
    EXPECT_NEAR(g.scale.ys, -5, 1e-12);
    EXPECT_NEAR(g.scale.ye, 3, 1e-12);
    // the vertical axis at X0 = 5 + 0.3 * 300
    EXPECT_EQ(g.lines[0].from.x(), 95);
    // the horizontal axis at row 500 - Y0, Y0 = 5 + 5 * 480 / 7
    EXPECT_EQ(g.lines[3].from.y(), graphPixel(500 - (5 + 5 * 480.0 / 7)));
}

static void printColumns(const QStringList &x, const QStringList &y, std::ostream *os)
{
    *os << "x " << x.join(u' ').toStdString() << " y " << y.join(u' ').toStdString();
}

struct InvalidRow {
    QStringList x, y;
};
void PrintTo(const InvalidRow &r, std::ostream *os)
{
    printColumns(r.x, r.y, os);
}
class GraphInvalid : public ::testing::TestWithParam<InvalidRow>
{
};
TEST_P(GraphInvalid, ShowsTheMessageAndKeepsTheSentence)
{
    const GraphPicture g = compute(GetParam().x, GetParam().y);
    EXPECT_FALSE(g.valid);
    EXPECT_FALSE(g.scaleSentence);
    EXPECT_TRUE(g.lines.empty());
    ASSERT_EQ(g.texts.size(), 2u);
    EXPECT_EQ(g.texts[0].text, QStringLiteral("Choisir des grandeurs valides pour l'abscisse et l'ordonnée"));
    EXPECT_EQ(g.texts[0].colour, graphcolour::LightGrey);
    EXPECT_EQ(g.texts[0].top, 102);
    EXPECT_EQ(g.texts[1].colour, graphcolour::Blue);
    const QImage img = GraphImage(g);
    EXPECT_GT(count(img, graphcolour::Blue), 100);
    // the shadow is one pixel right and down of the text
    int blueLeft = kGraphSize;
    for (int y = 0; y < kGraphSize; ++y)
        for (int x = 0; x < kGraphSize; ++x)
            if (img.pixel(x, y) == graphcolour::Blue)
                blueLeft = std::min(blueLeft, x);
    EXPECT_NEAR(blueLeft, (kGraphSize - QFontMetricsF(graphFont(12)).horizontalAdvance(g.texts[0].text)) / 2, 3);
}
INSTANTIATE_TEST_SUITE_P(Rows, GraphInvalid,
                         ::testing::Values(InvalidRow{{"1", "2"}, {"", ""}},     // empty ordinates
                                           InvalidRow{{"0", "0"}, {"1", "2"}},   // zero abscissa range
                                           InvalidRow{{}, {}},                   // no lines
                                           InvalidRow{{"abc", "1"}, {"x", "0"}}, // texts count as 0
                                           InvalidRow{{"1e-50"}, {"1"}}),        // below the single range
                         RowName());

TEST(Graph, EmptyCellsBreakTheChain)
{
    const QStringList x{"1", "2", "", "4", "5", " ", "7"};
    const QStringList y{"1", "2", "3", "4", "5", "6", "7"};
    const GraphPicture g = compute(x, y);
    EXPECT_EQ(g.plottedPoints, 5);
    int joins = 0;
    for (const GraphLine &l : g.lines)
        joins += l.colour == graphcolour::Red && l.from.x() != l.to.x() && l.from.y() != l.to.y();
    EXPECT_EQ(joins, 2); // 1-2 and 4-5; 7 starts a chain of its own
    GraphOptions unjoined;
    unjoined.joinPoints = false;
    unjoined.crosses = false;
    const GraphPicture p = compute(x, y, unjoined);
    EXPECT_EQ(p.pixels.size(), 5u);
    for (const GraphLine &l : p.lines) {
        EXPECT_EQ(l.colour, graphcolour::DarkBlue);
    }
}

TEST(Graph, SameColumnOnBothAxesLiesOnTheDiagonal)
{
    const QStringList v{"-2", "1", "3"};
    const GraphPicture g = compute(v, v, {true, true, false});
    for (const QPoint &p : g.pixels)
        EXPECT_EQ(p.x() - 5, 495 - p.y());
}

TEST(Graph, OnePoint)
{
    const GraphPicture g = compute({"2"}, {"-3"});
    ASSERT_TRUE(g.valid);
    EXPECT_EQ(g.plottedPoints, 1);
    const QImage img = GraphImage(g);
    EXPECT_EQ(img.pixel(485, 495), graphcolour::Red);
}

TEST(Graph, HundredPointsWithTicks)
{
    QStringList x, y;
    for (int i = 0; i < 100; ++i) {
        x << QString::number(i + 1);
        y << QLocale(kFrench).toString(std::sin(i / 10.0), 'f', 3);
    }
    GraphOptions ticks;
    ticks.grid = false;
    const GraphPicture g = compute(x, y, ticks);
    EXPECT_EQ(g.plottedPoints, 100);
    for (const GraphLine &l : g.lines)
        EXPECT_FALSE(l.dotted) << l.from.x() << "," << l.from.y();
    const QImage img = GraphImage(g);
    EXPECT_GT(count(img, graphcolour::Red), 500);
}

// Values at the ends of the single range: every number stays finite, every pixel of a point
// inside the data span, every graduation count small.
struct ExtremeRow {
    QStringList x, y;
};
void PrintTo(const ExtremeRow &r, std::ostream *os)
{
    printColumns(r.x, r.y, os);
}
class GraphExtreme : public ::testing::TestWithParam<ExtremeRow>
{
};
TEST_P(GraphExtreme, StaysFiniteAndInside)
{
    const GraphPicture g = compute(GetParam().x, GetParam().y);
    ASSERT_TRUE(g.valid);
    const GraphScale &s = g.scale;
    for (double v : {s.kx, s.ky, s.x0, s.y0, s.xunit, s.yunit, s.xs, s.xe, s.ys, s.ye})
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_GT(s.kx, 0);
    EXPECT_GT(s.ky, 0);
    EXPECT_GE(s.xGraduations, 2);
    EXPECT_LE(s.xGraduations, 25);
    EXPECT_LE(s.yGraduations, 25);
    // graduations may lie up to 1.5 divisions (at most 144 pixels) past the data; points lie in it
    for (const GraphLine &l : g.lines) {
        const bool point = l.colour == graphcolour::Red;
        for (const QPoint &p : {l.from, l.to}) {
            EXPECT_GE(p.x(), point ? 3 : -150);
            EXPECT_LE(p.x(), point ? 488 : 650);
            EXPECT_GE(p.y(), point ? 13 : -150);
            EXPECT_LE(p.y(), point ? 498 : 650);
        }
    }
    EXPECT_FALSE(g.scaleSentence->contains(QStringLiteral("Inf")));
}
INSTANTIATE_TEST_SUITE_P(Rows, GraphExtreme,
                         ::testing::Values(ExtremeRow{{"1E-38", "2E-38"}, {"1", "2"}},
                                           ExtremeRow{{"3E38", "1"}, {"1E-45", "-1E-45"}},
                                           ExtremeRow{{"-3E38", "3E38"}, {"-3E38", "3E38"}},
                                           ExtremeRow{{"3,4028235E38"}, {"-3,4028235E38"}}),
                         RowName());

TEST(Graph, ExtremeScaleSentence)
{
    const GraphPicture g = compute({"3E38"}, {"1E-38"});
    EXPECT_EQ(*g.scaleSentence, QStringLiteral("En abscisse, une division correspond à 5E+37 unités.\r\n\r\n"
                                               "En ordonnée, une division correspond à 2E-39 unités."));
}

struct BoundaryRow {
    const char *name;
    QStringList x;
    const char *unitText;
    int graduations;
};
void PrintTo(const BoundaryRow &r, std::ostream *os)
{
    *os << r.name;
}
class GraphBoundary : public ::testing::TestWithParam<BoundaryRow>
{
};
TEST_P(GraphBoundary, ScaleOfTheValuesAsWritten)
{
    const GraphPicture g = compute(GetParam().x, {"1", "2", "3"});
    ASSERT_TRUE(g.valid);
    EXPECT_TRUE(g.scaleSentence->startsWith(QStringLiteral("En abscisse, une division correspond à ") +
                                            QString::fromUtf8(GetParam().unitText) + QStringLiteral(" unités.")))
        << g.scaleSentence->toStdString();
    EXPECT_EQ(g.scale.xGraduations, GetParam().graduations);
}
INSTANTIATE_TEST_SUITE_P(Rows, GraphBoundary,
                         ::testing::Values(BoundaryRow{"hundredth", {"0,002", "0,006", "0,010"}, "0,002", 7},
                                           BoundaryRow{"tenToThe7", {"1E+07"}, "1000000", 12},
                                           BoundaryRow{"tenToThe38", {"-1E+38", "5E+37"}, "1E+37", 17},
                                           // the table reads "." as the decimal separator too
                                           BoundaryRow{"pointSeparator", {"1.5", "0.5", "3.0"}, "0,5", 8}),
                         [](const auto &row) { return std::string(row.param.name); });

TEST(Graph, PixelsAreClampedBeforeConversion)
{
    EXPECT_EQ(graphPixel(1e300), 100000);
    EXPECT_EQ(graphPixel(-HUGE_VAL), -100000);
    EXPECT_EQ(graphPixel(std::nan("")), 0);
    EXPECT_EQ(graphPixel(2.5), 2);
    EXPECT_EQ(graphPixel(3.5), 4);
}

struct SpanRow {
    GraphLine line;
    int pixels;
};
void PrintTo(const SpanRow &r, std::ostream *os)
{
    *os << "from " << r.line.from.x() << " " << r.line.from.y() << " to " << r.line.to.x() << " " << r.line.to.y()
        << (r.line.dotted ? " dotted" : "");
}
class LineSpans : public ::testing::TestWithParam<SpanRow>
{
};
TEST_P(LineSpans, EndPixelLeftOutAndDotsCounted)
{
    const GraphLine &l = GetParam().line;
    const auto px = pixelsOf(l);
    EXPECT_EQ(static_cast<int>(px.size()), GetParam().pixels);
    EXPECT_FALSE(px.count({l.to.x(), l.to.y()}));
    if (GetParam().pixels > 0) {
        EXPECT_TRUE(px.count({l.from.x(), l.from.y()}));
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, LineSpans,
                         ::testing::Values(SpanRow{{{10, 5}, {15, 5}, 0, false}, 5},
                                           SpanRow{{{10, 8}, {10, 3}, 0, false}, 5}, // upwards
                                           SpanRow{{{0, 0}, {3, 5}, 0, false}, 5},   // steep
                                           SpanRow{{{5, 5}, {5, 5}, 0, false}, 0},
                                           SpanRow{{{495, 9}, {5, 9}, 0, true}, 246}, // 490 steps, 3 of 6
                                           SpanRow{{{20, 0}, {0, 7}, 0, true}, 11}),
                         RowName());

TEST(GraphPainter, ScaledPainterDrawsBlocks)
{
    const GraphPicture g = compute({"1", "2"}, {"1", "2"}, {false, false, false});
    QImage big(kGraphSize * 2, kGraphSize * 2, QImage::Format_RGB32);
    QPainter p(&big);
    p.scale(2, 2);
    PaintGraph(p, g);
    p.end();
    const QImage small = GraphImage(g);
    EXPECT_EQ(big.scaled(kGraphSize, kGraphSize), small);
}

namespace
{

// The lengths of the runs of colour c down the columns (or along the rows) of img.
std::set<int> runLengths(const QImage &img, QRgb c, bool down)
{
    std::set<int> out;
    for (int a = 0, run = 0; a < (down ? img.width() : img.height()); ++a)
        for (int b = 0; b <= (down ? img.height() : img.width()); ++b)
            if (b < (down ? img.height() : img.width()) && img.pixel(down ? a : b, down ? b : a) == c)
                ++run;
            else if (run)
                out.insert(std::exchange(run, 0));
    return out;
}

} // namespace

class ScreenGraph : public ::testing::TestWithParam<std::pair<double, int>> // ratio, thickness
{
};
// Lines at even and odd pixels and points are as thick everywhere: a scaled painter made them
// one and two device pixels thick by turns at 1.5.
TEST_P(ScreenGraph, LinesAndPointsAreEvenlyThick)
{
    GraphPicture g;
    for (int at = 100; at < 140; at += 11) {
        g.lines.push_back({{10, at}, {400, at}, graphcolour::DarkBlue});
        g.lines.push_back({{at + 300, 150}, {at + 300, 480}, graphcolour::DarkGreen});
        g.pixels.push_back({at - 80, at + 200});
    }
    const QImage img = GraphImage(g, GetParam().first);
    const std::set<int> one{GetParam().second};
    for (const auto &[colour, down] : {std::pair{graphcolour::DarkBlue, true},
                                       {graphcolour::DarkGreen, false},
                                       {graphcolour::Red, true},
                                       {graphcolour::Red, false}})
        EXPECT_EQ(runLengths(img, colour, down), one) << down;
}
INSTANTIATE_TEST_SUITE_P(Rows, ScreenGraph,
                         ::testing::Values(std::pair{1.25, 1}, std::pair{1.5, 2}, std::pair{1.75, 2}, std::pair{2.0, 2},
                                           std::pair{2.5, 3}),
                         RowName());
