#include "grapher/curvereading.h"
#include "grapher/graphpainter.h"
#include "rowname.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vorlac;

namespace
{

const QLocale kFrench(QLocale::French, QLocale::France);

struct ReadRow {
    const char *name;
    FitModel model;
    std::vector<double> x;
    std::array<double, 3> coefficients; // the data are exact on this curve
    double y;
    std::vector<double> expected;
    const char *sentence;
};
void PrintTo(const ReadRow &r, std::ostream *os)
{
    *os << r.name;
}
class CurveReadings : public ::testing::TestWithParam<ReadRow>
{
};

} // namespace

TEST_P(CurveReadings, SolveTheFittedCurve)
{
    const ReadRow &row = GetParam();
    FitResult exact;
    exact.model = row.model;
    exact.ok = true;
    exact.coefficients = row.coefficients;
    std::vector<double> y;
    for (const double x : row.x)
        y.push_back(fitValue(exact, x));
    const FitResult fit = fitCurve(row.model, row.x, y);
    ASSERT_TRUE(fit.ok);
    const CurveReading r = readCurve(fit, row.y, kFrench);
    ASSERT_EQ(r.x.size(), row.expected.size()) << r.sentence.toStdString();
    for (std::size_t i = 0; i < r.x.size(); ++i) {
        EXPECT_NEAR(r.x[i], row.expected[i], 1e-9 * std::max(1.0, std::abs(row.expected[i])));
        EXPECT_NEAR(fitValue(fit, r.x[i]), row.y, 1e-9 * std::max(1.0, std::abs(row.y)));
    }
    EXPECT_EQ(r.sentence, QString::fromUtf8(row.sentence));
}

// Cauchy rows: mercury-like D(λ) with A = 40, B = 1.2e6 nm²; y = 44 gives λ = sqrt(1.2e6 / 4).
INSTANTIATE_TEST_SUITE_P(Rows, CurveReadings,
                         ::testing::Values(ReadRow{"proportional",
                                                   FitModel::Proportional,
                                                   {1, 2, 3},
                                                   {1.5},
                                                   2.25,
                                                   {1.5},
                                                   "Pour y = 2,250, la courbe donne x = 1,500."},
                                           ReadRow{"affineNegativeSlope",
                                                   FitModel::Affine,
                                                   {0, 1, 2, 3},
                                                   {-2, 7},
                                                   2,
                                                   {2.5},
                                                   "Pour y = 2,000, la courbe donne x = 2,500."},
                                           ReadRow{
                                               "affineFarOutside",
                                               FitModel::Affine,
                                               {0, 1, 2, 3},
                                               {2, 1},
                                               100,
                                               {},
                                               "Aucune abscisse proche des mesures ne donne y = 100,0 sur la courbe."},
                                           ReadRow{"parabolaTwo",
                                                   FitModel::Parabola,
                                                   {-2, -1, 0, 1, 2},
                                                   {1, 0, -1},
                                                   0,
                                                   {-1, 1},
                                                   "Deux abscisses donnent y = 0 : x = -1,000 et x = 1,000."},
                                           ReadRow{"parabolaOneInRange",
                                                   FitModel::Parabola,
                                                   {1, 2, 3, 4},
                                                   {1, 0, 0},
                                                   9,
                                                   {3},
                                                   "Pour y = 9,000, la courbe donne x = 3,000."},
                                           ReadRow{"parabolaBelowVertex",
                                                   FitModel::Parabola,
                                                   {-2, -1, 0, 1, 2},
                                                   {1, 0, 1},
                                                   0.5,
                                                   {},
                                                   "Aucune abscisse de la courbe ne donne y = 0,5000."},
                                           ReadRow{"cauchy",
                                                   FitModel::Cauchy,
                                                   {404.656, 435.833, 546.074, 576.96, 579.066},
                                                   {40, 1.2e6},
                                                   44,
                                                   {std::sqrt(3e5)},
                                                   "Pour y = 44,00, la courbe donne x = 547,7."},
                                           ReadRow{"cauchyUnderAsymptote",
                                                   FitModel::Cauchy,
                                                   {400, 500, 600},
                                                   {40, 1.2e6},
                                                   39,
                                                   {},
                                                   "Aucune abscisse de la courbe ne donne y = 39,00."},
                                           ReadRow{"horizontal",
                                                   FitModel::Affine,
                                                   {0, 1, 2},
                                                   {0, 3},
                                                   3,
                                                   {},
                                                   "Aucune abscisse de la courbe ne donne y = 3,000."}),
                         RowName());

// The sentence of a reading without one abscissa sits in a filled box: it must not hide the x
// axis when the axis runs along the bottom (positive ordinates), nor leave the picture.
class ReadingSentence : public ::testing::TestWithParam<std::array<const char *, 2>> // name, y values
{
};

TEST_P(ReadingSentence, LeavesTheXAxisVisible)
{
    GraphOptions options;
    options.fit = FitModel::Cauchy;
    const QStringList y = QString::fromUtf8(GetParam()[1]).split(u' ');
    GraphPicture g = ComputeGraph({"404,656", "435,833", "546,074", "579,066"}, y, options, kFrench);
    ASSERT_TRUE(g.fit.ok);
    const std::size_t before = g.boxes.size();
    addCurveReading(g, readCurve(g.fit, 1000.0, kFrench), kFrench);
    ASSERT_EQ(g.boxes.size(), before + 1);
    const QRect box = g.boxes.back().rect;
    const int axisRow = graphPixel(500.0 - g.scale.y0);
    EXPECT_GE(box.top(), 0);
    EXPECT_LE(box.bottom(), kGraphSize);
    EXPECT_FALSE(box.top() <= axisRow && axisRow <= box.bottom()) << box.top() << ".." << box.bottom();
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadingSentence,
                         ::testing::Values(std::array<const char *, 2>{"positive", "41,094 40,198 38,197 37,813"},
                                           std::array<const char *, 2>{"axisInTheMiddle",
                                                                       "-41,094 -40,198 38,197 37,813"}),
                         [](const auto &p) { return std::string(p.param[0]); });
