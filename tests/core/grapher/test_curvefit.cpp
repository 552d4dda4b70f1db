#include "grapher/curvefit.h"
#include "grapher/graph.h"
#include "model/constants.h"
#include "model/materials.h"
#include "model/raytracer.h"
#include "rowname.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

using namespace vorlac;

namespace
{

const QLocale kFrench(QLocale::French, QLocale::France);

struct Data {
    std::vector<double> x, y;
};

Data exact(FitModel model, std::vector<double> x, std::array<double, 3> c)
{
    FitResult f;
    f.model = model;
    f.ok = true;
    f.coefficients = c;
    Data d{std::move(x), {}};
    for (const double v : d.x)
        d.y.push_back(fitValue(f, v));
    return d;
}

// sin i against sin r for crown in air at 589 nm: i as the tracer holds it, r read back from the
// slope of the first segment it draws inside the prism (tan(A/2 - r)), both turned into sines
// with the tracer's own conversion factors so that the data carry none of their rounding.
Data tracedSines()
{
    Data d;
    for (double inc = -60; inc <= 80; inc += 10) {
        TraceInput in;
        in.incidenceAngle = inc;
        in.prismIndex = CauchyIndex(kMaterials[2].cauchyA, kMaterials[2].cauchyB, 589);
        in.outsideIndex = CauchyIndex(kMaterials[0].cauchyA, kMaterials[0].cauchyB, 589);
        in.showPropagation = false;
        const TraceResult r = TraceRay(in);
        const Segment &inside = r.segments[r.sharedCount];
        const double delta = std::atan((inside.y2 - inside.y1) / (inside.x2 - inside.x1)) / kDegToRad;
        d.x.push_back(std::sin((in.apexAngle / 2.0 - delta) / kRadToDeg));
        d.y.push_back(std::sin(r.layout.incidenceAngle * kDegToRad));
    }
    return d;
}

Data indexLaw(int material)
{
    const Material &m = kMaterials[static_cast<std::size_t>(material)];
    Data d;
    for (int l = 400; l <= 800; l += 25) {
        d.x.push_back(l);
        d.y.push_back(CauchyIndex(m.cauchyA, m.cauchyB, l));
    }
    return d;
}

// A smooth curve plus a fixed pseudo-random noise, the same on every run.
Data noisy(double x0, double dx, int n, std::uint32_t seed)
{
    Data d;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        d.x.push_back(x0 + i * dx);
        d.y.push_back(std::sin(d.x.back() / 7.0) * 3 + d.x.back() * 0.01 + (seed >> 8) / double(1u << 23) - 1);
    }
    return d;
}

// The model's terms at x, in the order of its coefficients.
std::vector<long double> terms(FitModel m, long double x)
{
    switch (m) {
    case FitModel::Proportional:
        return {x};
    case FitModel::Affine:
        return {x, 1};
    case FitModel::Parabola:
        return {x * x, x, 1};
    case FitModel::Cauchy:
        return {1, 1 / (x * x)};
    case FitModel::None:
        break;
    }
    return {};
}

// Independent reference: the normal equations in long double, by Gaussian elimination.
std::vector<long double> reference(FitModel m, const Data &d)
{
    const std::size_t p = terms(m, 1).size();
    std::vector<std::vector<long double>> a(p, std::vector<long double>(p + 1, 0));
    for (std::size_t i = 0; i < d.x.size(); ++i) {
        const auto t = terms(m, d.x[i]);
        for (std::size_t r = 0; r < p; ++r) {
            for (std::size_t c = 0; c < p; ++c)
                a[r][c] += t[r] * t[c];
            a[r][p] += t[r] * d.y[i];
        }
    }
    for (std::size_t k = 0; k < p; ++k)
        for (std::size_t r = k + 1; r < p; ++r)
            for (std::size_t c = p + 1; c-- > k;)
                a[r][c] -= a[r][k] / a[k][k] * a[k][c];
    std::vector<long double> out(p);
    for (std::size_t k = p; k-- > 0;) {
        long double s = a[k][p];
        for (std::size_t c = k + 1; c < p; ++c)
            s -= a[k][c] * out[c];
        out[k] = s / a[k][k];
    }
    return out;
}

} // namespace

struct FitRow {
    const char *name;
    FitModel model;
    Data data;
    std::array<double, 3> expected; // unused when checked against the reference
    bool againstReference;
    double tolerance; // relative to max(1, |coefficient|)
};
void PrintTo(const FitRow &r, std::ostream *os)
{
    *os << r.name;
}
class Fits : public ::testing::TestWithParam<FitRow>
{
};
TEST_P(Fits, FindTheCoefficientsAndR2)
{
    const FitRow &row = GetParam();
    const FitResult fit = fitCurve(row.model, row.data.x, row.data.y);
    ASSERT_TRUE(fit.ok) << fit.message.toStdString();
    std::vector<long double> want(row.expected.begin(), row.expected.begin() + fitCoefficientCount(row.model));
    if (row.againstReference)
        want = reference(row.model, row.data);
    for (std::size_t j = 0; j < want.size(); ++j)
        EXPECT_NEAR(fit.coefficients[j], double(want[j]), row.tolerance * std::max(1.0L, std::abs(want[j])))
            << "coefficient " << j;
    // R² by its usual definition, about the mean, for every model
    long double mean = 0, res = 0, tot = 0;
    for (const double v : row.data.y)
        mean += v / row.data.y.size();
    for (std::size_t i = 0; i < row.data.x.size(); ++i) {
        long double f = 0;
        const auto t = terms(row.model, row.data.x[i]);
        for (std::size_t j = 0; j < t.size(); ++j)
            f += want[j] * t[j];
        res += (row.data.y[i] - f) * (row.data.y[i] - f);
        const long double d = row.data.y[i] - mean;
        tot += d * d;
    }
    ASSERT_TRUE(fit.r2);
    EXPECT_NEAR(*fit.r2, double(1 - res / tot), 1e-9);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, Fits,
    ::testing::Values(FitRow{"exactProportional",
                             FitModel::Proportional,
                             exact(FitModel::Proportional, {-3, 1, 2}, {-0.75}),
                             {-0.75},
                             false,
                             1e-12},
                      FitRow{"exactAffineFarFromOrigin",
                             FitModel::Affine,
                             exact(FitModel::Affine, {1e6, 1e6 + 1, 1e6 + 3}, {2, -1e6}),
                             {2, -1e6},
                             false,
                             1e-9},
                      // x near 1e4: uncentred normal equations would lose every digit
                      FitRow{"exactParabolaFarX",
                             FitModel::Parabola,
                             exact(FitModel::Parabola, {10000, 10001, 10002, 10004}, {1, -20000, 1e8}),
                             {1, -20000, 1e8},
                             false,
                             1e-9},
                      FitRow{"exactCauchy",
                             FitModel::Cauchy,
                             exact(FitModel::Cauchy, {400, 500, 650, 800}, {1.5, 4200}),
                             {1.5, 4200},
                             false,
                             1e-9},
                      FitRow{"tracerCrownInAir589", FitModel::Proportional, tracedSines(), {1.506099}, false, 6e-7},
                      FitRow{"indexLawCrown",
                             FitModel::Cauchy,
                             indexLaw(2),
                             {kMaterials[2].cauchyA, kMaterials[2].cauchyB},
                             false,
                             1e-9},
                      FitRow{"indexLawFlint",
                             FitModel::Cauchy,
                             indexLaw(3),
                             {kMaterials[3].cauchyA, kMaterials[3].cauchyB},
                             false,
                             1e-9},
                      FitRow{"noisyProportional", FitModel::Proportional, noisy(1, 0.5, 40, 7), {}, true, 1e-9},
                      FitRow{"noisyAffine", FitModel::Affine, noisy(-10, 0.7, 30, 11), {}, true, 1e-9},
                      FitRow{"noisyParabola", FitModel::Parabola, noisy(-5, 0.25, 60, 13), {}, true, 1e-9},
                      FitRow{"noisyCauchy", FitModel::Cauchy, noisy(400, 20, 21, 17), {}, true, 1e-8}),
    RowName());

// One R² for every model: on the same data, a model that holds another (affine holds
// proportional, the parabola holds affine) never reads a smaller R², as its residuals are never
// larger. D against i (crown, A = 60°): the line through the origin read the highest.
struct NestedRow {
    const char *name;
    Data data;
};
void PrintTo(const NestedRow &r, std::ostream *os)
{
    *os << r.name;
}
class NestedModels : public ::testing::TestWithParam<NestedRow>
{
};
TEST_P(NestedModels, NeverReadASmallerR2)
{
    double previous = -std::numeric_limits<double>::infinity();
    for (const FitModel m : {FitModel::Proportional, FitModel::Affine, FitModel::Parabola}) {
        const FitResult fit = fitCurve(m, GetParam().data.x, GetParam().data.y);
        ASSERT_TRUE(fit.ok && fit.r2) << fitModelName(m).toStdString();
        EXPECT_GE(*fit.r2, previous - 1e-12) << fitModelName(m).toStdString();
        previous = *fit.r2;
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, NestedModels,
                         ::testing::Values(NestedRow{"deviationAgainstIncidence",
                                                     {{30, 40, 50, 60, 70, 80}, {47.9, 39.5, 38.6, 40.6, 45.3, 51.0}}},
                                           NestedRow{"noisyFarFromOrigin", noisy(20, 0.5, 30, 5)}),
                         RowName());

// What cannot be fitted says why in French, on the graph too, and nothing is NaN.
struct FailRow {
    const char *name;
    FitModel model;
    QStringList x, y;
    const char *message;
};
void PrintTo(const FailRow &r, std::ostream *os)
{
    *os << r.name;
}
class FitFailures : public ::testing::TestWithParam<FailRow>
{
};
TEST_P(FitFailures, GiveAMessageAndNoNumbers)
{
    GraphOptions options;
    options.fit = GetParam().model;
    const GraphPicture g = ComputeGraph(GetParam().x, GetParam().y, options, kFrench);
    EXPECT_FALSE(g.fit.ok);
    EXPECT_FALSE(g.fit.r2.has_value());
    EXPECT_TRUE(std::isnan(fitValue(g.fit, 1.0)));
    EXPECT_EQ(g.fitTexts, QStringList{QString::fromUtf8(GetParam().message)});
    EXPECT_TRUE(g.curve.empty());
}
INSTANTIATE_TEST_SUITE_P(
    Rows, FitFailures,
    ::testing::Values(FailRow{"parabolaTwoPoints",
                              FitModel::Parabola,
                              {"1", "2"},
                              {"1", "4"},
                              "Ajustement impossible : il faut au moins 3 points pour ce modèle."},
                      FailRow{"affineAllXEqual",
                              FitModel::Affine,
                              {"2", "2", "2"},
                              {"1", "2", "3"},
                              "Ajustement impossible : les abscisses ne permettent pas de déterminer ce modèle."},
                      FailRow{"parabolaTwoDistinctX",
                              FitModel::Parabola,
                              {"1", "1", "3", "3"},
                              {"1", "2", "3", "4"},
                              "Ajustement impossible : les abscisses ne permettent pas de déterminer ce modèle."},
                      FailRow{"cauchyZeroWavelength",
                              FitModel::Cauchy,
                              {"0", "500", "600"},
                              {"1,5", "1,51", "1,52"},
                              "Ajustement de Cauchy impossible : une longueur d'onde (abscisse) est nulle."}),
    RowName());

// The equation and R² as written on the graph: 4 significant digits, the regional separator.
struct TextRow {
    const char *name;
    FitModel model;
    std::vector<double> x, y;
    const char *equation, *r2;
};
void PrintTo(const TextRow &r, std::ostream *os)
{
    *os << r.name;
}
class FitTexts : public ::testing::TestWithParam<TextRow>
{
};
TEST_P(FitTexts, AreWrittenAsShown)
{
    const FitResult fit = fitCurve(GetParam().model, GetParam().x, GetParam().y);
    EXPECT_EQ(fitEquationText(fit, kFrench), QString::fromUtf8(GetParam().equation));
    EXPECT_EQ(fitR2Text(fit, kFrench), QString::fromUtf8(GetParam().r2));
}
INSTANTIATE_TEST_SUITE_P(
    Rows, FitTexts,
    ::testing::Values(
        // a = 7/5, residuals -0,4 and 0,2: 1 - 0,2/2 about the mean (not 1 - 0,2/10 about 0)
        TextRow{"proportionalThroughOrigin", FitModel::Proportional, {1, 2}, {1, 3}, "y = 1,400·x", "R² = 0,9000"},
        // worse than the horizontal line at the mean: said, not hidden behind 0
        TextRow{"proportionalWorseThanMean", FitModel::Proportional, {1, 2}, {3, 1}, "y = 1,000·x", "R² = −1,5000"},
        TextRow{"allYEqual",
                FitModel::Affine,
                {1, 2, 3},
                {4, 4, 4},
                "y = 0·x + 4,000",
                "R² non défini (ordonnées toutes égales)"},
        // 0,99998 is cut, not rounded up to a perfect 1
        TextRow{"nearlyPerfect",
                FitModel::Affine,
                {0, 1, 2, 3, 4},
                {0, 1.01, 2, 2.99, 4},
                "y = 0,9980·x + 0,004000",
                "R² = 0,9999"},
        TextRow{"roundsUpADecade", FitModel::Proportional, {1, 2}, {9.99996, 19.99992}, "y = 10,00·x", "R² = 1,0000"},
        TextRow{"negativeTiny",
                FitModel::Affine,
                {1, 2},
                {-1.23456e-7 + 3, -2.46912e-7 + 3},
                "y = −1,235E-07·x + 3,000",
                "R² = 1,0000"},
        TextRow{"cauchyCrown",
                FitModel::Cauchy,
                {400, 600, 800},
                {1.472363 + 11848.408 / 160000, 1.472363 + 11848.408 / 360000, 1.472363 + 11848.408 / 640000},
                "y = 1,472 + 11850/x²",
                "R² = 1,0000"}),
    RowName());
