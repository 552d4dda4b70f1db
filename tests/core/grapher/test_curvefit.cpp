#include "grapher/curvefit.h"
#include "grapher/graph.h"
#include "model/constants.h"
#include "model/materials.h"
#include "model/raytracer.h"
#include "rowname.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

using namespace vorlac;

namespace
{

const QLocale kFrench(QLocale::French, QLocale::France);

// A fixed pseudo-random noise in [-1, 1], so that noisy rows are the same on every run.
std::vector<double> noise(std::size_t n, std::uint32_t seed)
{
    std::vector<double> out;
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        out.push_back(static_cast<double>(seed >> 8) / double(1u << 24) * 2 - 1);
    }
    return out;
}

// Independent reference: the normal equations of y = sum c_j f_j(x), solved by Cramer's rule in
// long double (fine for the small, well-scaled rows used here).
std::vector<long double> normalEquations(const std::vector<double> &x, const std::vector<double> &y,
                                         const std::vector<long double (*)(long double)> &basis)
{
    const std::size_t p = basis.size();
    std::vector<std::vector<long double>> m(p, std::vector<long double>(p + 1, 0));
    for (std::size_t i = 0; i < x.size(); ++i)
        for (std::size_t a = 0; a < p; ++a) {
            for (std::size_t b = 0; b < p; ++b)
                m[a][b] += basis[a](x[i]) * basis[b](x[i]);
            m[a][p] += basis[a](x[i]) * y[i];
        }
    const auto det = [p](const std::vector<std::vector<long double>> &k) {
        if (p == 1)
            return k[0][0];
        if (p == 2)
            return k[0][0] * k[1][1] - k[0][1] * k[1][0];
        return k[0][0] * (k[1][1] * k[2][2] - k[1][2] * k[2][1]) - k[0][1] * (k[1][0] * k[2][2] - k[1][2] * k[2][0]) +
               k[0][2] * (k[1][0] * k[2][1] - k[1][1] * k[2][0]);
    };
    const long double d = det(m);
    std::vector<long double> c(p);
    for (std::size_t j = 0; j < p; ++j) {
        auto k = m;
        for (std::size_t a = 0; a < p; ++a)
            k[a][j] = m[a][p];
        c[j] = det(k) / d;
    }
    return c;
}

long double one(long double)
{
    return 1;
}
long double ident(long double x)
{
    return x;
}
long double square(long double x)
{
    return x * x;
}
long double inverseSquare(long double x)
{
    return 1 / (x * x);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Exact data: every model gives its coefficients back, R² = 1, whatever the offset of x.

struct ExactRow {
    const char *name;
    FitModel model;
    std::vector<double> x;
    std::array<double, 3> c; // the generating coefficients
};
void PrintTo(const ExactRow &r, std::ostream *os)
{
    *os << r.name;
}
class ExactFits : public ::testing::TestWithParam<ExactRow>
{
};
TEST_P(ExactFits, GiveTheirCoefficientsBack)
{
    const ExactRow &row = GetParam();
    FitResult model;
    model.model = row.model;
    model.ok = true;
    model.coefficients = row.c;
    std::vector<double> y;
    for (const double x : row.x)
        y.push_back(fitValue(model, x));
    const FitResult fit = fitCurve(row.model, row.x, y);
    ASSERT_TRUE(fit.ok) << fit.message.toStdString();
    for (int j = 0; j < fitCoefficientCount(row.model); ++j)
        EXPECT_NEAR(fit.coefficients[j], row.c[j], 1e-9 * std::max(1.0, std::abs(row.c[j]))) << "coefficient " << j;
    ASSERT_TRUE(fit.r2);
    EXPECT_NEAR(*fit.r2, 1.0, 1e-12);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, ExactFits,
    ::testing::Values(
        ExactRow{"proportional", FitModel::Proportional, {1, 2, 3, 4}, {2.5, 0, 0}},
        ExactRow{"proportionalNegativeX", FitModel::Proportional, {-3, -1, 2}, {-0.75, 0, 0}},
        ExactRow{"affineFalling", FitModel::Affine, {0, 1, 2, 5}, {-3, 7, 0}},
        ExactRow{"affineFarFromOrigin", FitModel::Affine, {1e6, 1e6 + 1, 1e6 + 2}, {2, -1e6, 0}},
        ExactRow{"parabolaSmall", FitModel::Parabola, {-2, -1, 0, 1, 2, 3}, {0.5, -2, 1}},
        // x near 1e4: without centring, x^4 terms of the normal equations lose every digit
        ExactRow{"parabolaCentredFarX", FitModel::Parabola, {10000, 10001, 10002, 10003, 10004}, {1, -20000, 1e8}},
        ExactRow{"parabolaThreePoints", FitModel::Parabola, {1, 2, 4}, {-1, 0, 3}},
        ExactRow{"cauchyNanometres", FitModel::Cauchy, {400, 500, 600, 700, 800}, {1.5, 4200, 0}}),
    RowName());

// ---------------------------------------------------------------------------------------------
// Data from the tracer and the index law.

TEST(FitOfTracedRays, SinIAgainstSinRGivesTheRelativeIndex)
{
    const double nPrism = CauchyIndex(kMaterials[2].cauchyA, kMaterials[2].cauchyB, 589);
    const double nAir = CauchyIndex(kMaterials[0].cauchyA, kMaterials[0].cauchyB, 589);
    std::vector<double> sinR, sinI;
    for (double inc = -60; inc <= 80; inc += 10) {
        TraceInput in;
        in.apexAngle = 45;
        in.incidenceAngle = inc;
        in.prismIndex = nPrism;
        in.outsideIndex = nAir;
        in.showPropagation = false;
        TraceResult r;
        TraceRay(in, r, false);
        ASSERT_FALSE(r.segments.empty());
        // i as the tracer holds it, r read back from the slope of the first segment drawn inside
        // (tan(A/2 - r)); both turned into sines with the tracer's own conversion factors, so that
        // the data carry none of their rounding.
        const Segment &inside = r.segments.front();
        const double delta = std::atan((inside.y2 - inside.y1) / (inside.x2 - inside.x1)) / kDegToRad;
        const double refraction = in.apexAngle / 2.0 - delta;
        sinI.push_back(std::sin(r.layout.incidenceAngle * kDegToRad));
        sinR.push_back(std::sin(refraction / kRadToDeg));
    }
    const FitResult fit = fitCurve(FitModel::Proportional, sinR, sinI);
    ASSERT_TRUE(fit.ok);
    EXPECT_NEAR(fit.coefficients[0], 1.506099, 1e-6);
    EXPECT_NEAR(fit.coefficients[0], nPrism / nAir, 1e-6);
    EXPECT_EQ(fitNumberText(fit.coefficients[0], kFrench), QStringLiteral("1,506"));
}

struct MaterialRow {
    const char *name;
    int material;
};
void PrintTo(const MaterialRow &r, std::ostream *os)
{
    *os << r.name;
}
class CauchyOfIndexLaw : public ::testing::TestWithParam<MaterialRow>
{
};
TEST_P(CauchyOfIndexLaw, GivesTheLawsCoefficientsBack)
{
    const Material &m = kMaterials[static_cast<std::size_t>(GetParam().material)];
    std::vector<double> lambda, n;
    for (int l = 400; l <= 800; l += 25) {
        lambda.push_back(l);
        n.push_back(CauchyIndex(m.cauchyA, m.cauchyB, l));
    }
    const FitResult fit = fitCurve(FitModel::Cauchy, lambda, n);
    ASSERT_TRUE(fit.ok);
    EXPECT_NEAR(fit.coefficients[0], m.cauchyA, 1e-9);
    EXPECT_NEAR(fit.coefficients[1], m.cauchyB, 1e-5 * std::max(1.0f, m.cauchyB));
}
INSTANTIATE_TEST_SUITE_P(Rows, CauchyOfIndexLaw,
                         ::testing::Values(MaterialRow{"air", 0}, MaterialRow{"water", 1}, MaterialRow{"crown", 2},
                                           MaterialRow{"flint", 3}),
                         RowName());

// ---------------------------------------------------------------------------------------------
// Noisy rows against the normal equations solved independently.

struct NoisyRow {
    const char *name;
    FitModel model;
    std::vector<long double (*)(long double)> basis; // in the order of the fit's coefficients
    double x0, dx;
    int n;
    std::uint32_t seed;
};
void PrintTo(const NoisyRow &r, std::ostream *os)
{
    *os << r.name;
}
class NoisyFits : public ::testing::TestWithParam<NoisyRow>
{
};
TEST_P(NoisyFits, MatchTheNormalEquations)
{
    const NoisyRow &row = GetParam();
    std::vector<double> x, y;
    const std::vector<double> e = noise(static_cast<std::size_t>(row.n), row.seed);
    for (int i = 0; i < row.n; ++i) {
        x.push_back(row.x0 + i * row.dx);
        y.push_back(std::sin(x.back() / 7.0) * 3 + x.back() * 0.01 + e[static_cast<std::size_t>(i)]);
    }
    const FitResult fit = fitCurve(row.model, x, y);
    ASSERT_TRUE(fit.ok);
    const std::vector<long double> ref = normalEquations(x, y, row.basis);
    for (std::size_t j = 0; j < ref.size(); ++j)
        EXPECT_NEAR(fit.coefficients[j], static_cast<double>(ref[j]), 1e-8 * std::max(1.0L, std::abs(ref[j])))
            << "coefficient " << j;
    // R² by its definition, from the reference coefficients.
    long double mean = 0, res = 0, tot = 0;
    for (const double v : y)
        mean += v;
    mean /= y.size();
    const bool throughOrigin = row.model == FitModel::Proportional;
    for (std::size_t i = 0; i < x.size(); ++i) {
        long double f = 0;
        for (std::size_t j = 0; j < ref.size(); ++j)
            f += ref[j] * row.basis[j](x[i]);
        res += (y[i] - f) * (y[i] - f);
        const long double d = y[i] - (throughOrigin ? 0 : mean);
        tot += d * d;
    }
    ASSERT_TRUE(fit.r2);
    EXPECT_NEAR(*fit.r2, static_cast<double>(1 - res / tot), 1e-9);
}
INSTANTIATE_TEST_SUITE_P(Rows, NoisyFits,
                         ::testing::Values(NoisyRow{"proportional", FitModel::Proportional, {ident}, 1, 0.5, 40, 7},
                                           NoisyRow{"affine", FitModel::Affine, {ident, one}, -10, 0.7, 30, 11},
                                           NoisyRow{
                                               "parabola", FitModel::Parabola, {square, ident, one}, -5, 0.25, 60, 13},
                                           NoisyRow{"cauchy", FitModel::Cauchy, {one, inverseSquare}, 400, 20, 21, 17}),
                         RowName());

// ---------------------------------------------------------------------------------------------
// What cannot be fitted says why, in French, and nothing is NaN.

struct FailRow {
    const char *name;
    FitModel model;
    std::vector<double> x, y;
    const char *messageStart;
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
    const FailRow &row = GetParam();
    const FitResult fit = fitCurve(row.model, row.x, row.y);
    EXPECT_FALSE(fit.ok);
    EXPECT_TRUE(fit.message.startsWith(QString::fromUtf8(row.messageStart))) << fit.message.toStdString();
    EXPECT_FALSE(fit.r2.has_value());
    EXPECT_TRUE(std::isnan(fitValue(fit, 1.0)));
    EXPECT_EQ(fitEquationText(fit, kFrench), fit.message);
    // On the graph: the message in the fit's box, and no curve.
    QStringList xs, ys;
    for (std::size_t i = 0; i < row.x.size(); ++i) {
        xs << kFrench.toString(row.x[i]);
        ys << kFrench.toString(row.y[i]);
    }
    GraphOptions options;
    options.fit = row.model;
    const GraphPicture g = ComputeGraph(xs, ys, options, kFrench);
    if (g.valid) {
        EXPECT_TRUE(g.curve.empty());
        EXPECT_EQ(g.fitTexts, QStringList{fit.message});
        EXPECT_EQ(g.boxes.size(), 1u);
    }
}
INSTANTIATE_TEST_SUITE_P(
    Rows, FitFailures,
    ::testing::Values(
        FailRow{"parabolaTwoPoints",
                FitModel::Parabola,
                {1, 2},
                {1, 4},
                "Ajustement impossible : il faut au moins 3 points"},
        FailRow{"affineOnePoint", FitModel::Affine, {1}, {1}, "Ajustement impossible : il faut au moins 2 points"},
        FailRow{
            "proportionalNoPoint", FitModel::Proportional, {}, {}, "Ajustement impossible : il faut au moins 1 point "},
        FailRow{"affineAllXEqual", FitModel::Affine, {2, 2, 2}, {1, 2, 3}, "Ajustement impossible : les abscisses"},
        FailRow{"parabolaTwoDistinctX",
                FitModel::Parabola,
                {1, 1, 3, 3},
                {1, 2, 3, 4},
                "Ajustement impossible : les abscisses"},
        FailRow{
            "proportionalAtOrigin", FitModel::Proportional, {0, 0}, {1, 2}, "Ajustement impossible : les abscisses"},
        FailRow{"cauchyZeroWavelength",
                FitModel::Cauchy,
                {0, 500, 600},
                {1.5, 1.51, 1.52},
                "Ajustement de Cauchy impossible"}),
    RowName());

// ---------------------------------------------------------------------------------------------
// R²: through the origin for the proportional model, undefined when every ordinate is equal.

struct R2Row {
    const char *name;
    FitModel model;
    std::vector<double> x, y;
    const char *text;
};
void PrintTo(const R2Row &r, std::ostream *os)
{
    *os << r.name;
}
class R2Texts : public ::testing::TestWithParam<R2Row>
{
};
TEST_P(R2Texts, AreWrittenAsDefined)
{
    const R2Row &row = GetParam();
    const FitResult fit = fitCurve(row.model, row.x, row.y);
    ASSERT_TRUE(fit.ok);
    EXPECT_EQ(fitR2Text(fit, kFrench), QString::fromUtf8(row.text));
}
INSTANTIATE_TEST_SUITE_P(
    Rows, R2Texts,
    ::testing::Values(
        // a = 7/5, residuals -0,4 and 0,2: 1 - 0,2/10 = 0,98 (about the mean it would be 0,9)
        R2Row{"proportionalThroughOrigin", FitModel::Proportional, {1, 2}, {1, 3}, "R² = 0,9800"},
        R2Row{"affineAllYEqual", FitModel::Affine, {1, 2, 3}, {4, 4, 4}, "R² non défini (ordonnées toutes égales)"},
        R2Row{
            "proportionalAllYZero", FitModel::Proportional, {1, 2}, {0, 0}, "R² non défini (ordonnées toutes égales)"},
        // 0,99996 is cut, not rounded up to a perfect 1
        R2Row{"nearlyPerfectIsNotOne", FitModel::Affine, {0, 1, 2, 3, 4}, {0, 1.01, 2, 2.99, 4}, "R² = 0,9999"},
        R2Row{"perfect", FitModel::Affine, {0, 1, 2}, {1, 3, 5}, "R² = 1,0000"}),
    RowName());

// ---------------------------------------------------------------------------------------------
// Numbers and equations on the graph: 4 significant digits, the regional separator.

struct TextRow {
    const char *name;
    FitModel model;
    std::array<double, 3> c;
    QLocale locale;
    const char *equation;
};
void PrintTo(const TextRow &r, std::ostream *os)
{
    *os << r.name;
}
class EquationTexts : public ::testing::TestWithParam<TextRow>
{
};
TEST_P(EquationTexts, AreWrittenWithFourDigits)
{
    FitResult fit;
    fit.ok = true;
    fit.model = GetParam().model;
    fit.coefficients = GetParam().c;
    EXPECT_EQ(fitEquationText(fit, GetParam().locale), QString::fromUtf8(GetParam().equation));
}
INSTANTIATE_TEST_SUITE_P(
    Rows, EquationTexts,
    ::testing::Values(
        TextRow{"proportional", FitModel::Proportional, {1.506099, 0, 0}, kFrench, "y = 1,506·x"},
        TextRow{"roundsUpADecade", FitModel::Proportional, {9.99996, 0, 0}, kFrench, "y = 10,00·x"},
        TextRow{"affineNegative", FitModel::Affine, {-2, -0.0025, 0}, kFrench, "y = −2,000·x − 0,002500"},
        TextRow{"parabola", FitModel::Parabola, {0.5, 0, 123456}, kFrench, "y = 0,5000·x² + 0·x + 1,235E+05"},
        TextRow{"cauchyCrown", FitModel::Cauchy, {1.472363, 11848.408, 0}, kFrench, "y = 1,472 + 11850/x²"},
        TextRow{"englishPoint",
                FitModel::Affine,
                {1.25, 3, 0},
                QLocale(QLocale::English, QLocale::UnitedStates),
                "y = 1.250·x + 3.000"},
        TextRow{"tiny", FitModel::Proportional, {-1.23456e-7, 0, 0}, kFrench, "y = −1,235E-07·x"}),
    RowName());

// ---------------------------------------------------------------------------------------------
// The fitted curve on the graph goes through the points of an exact line and stays in the plot.

struct CurveRow {
    const char *name;
    FitModel model;
    QStringList x, y;
};
void PrintTo(const CurveRow &r, std::ostream *os)
{
    *os << r.name;
}
class FittedCurves : public ::testing::TestWithParam<CurveRow>
{
};
TEST_P(FittedCurves, PassThroughThePointsInsideThePlot)
{
    GraphOptions options;
    options.fit = GetParam().model;
    const GraphPicture g = ComputeGraph(GetParam().x, GetParam().y, options, kFrench);
    ASSERT_TRUE(g.fit.ok);
    ASSERT_FALSE(g.curve.empty());
    ASSERT_EQ(g.fitTexts.size(), 2);
    EXPECT_TRUE(g.fitTexts[1].startsWith(QStringLiteral("R² = ")));
    for (const GraphLine &l : g.curve) {
        EXPECT_TRUE(QRect(0, 0, kGraphSize, kGraphSize).contains(l.from));
        EXPECT_TRUE(QRect(0, 0, kGraphSize, kGraphSize).contains(l.to));
    }
    // every point's pixel is within 2 pixels of the curve's
    const GraphScale &s = g.scale;
    for (qsizetype i = 0; i < GetParam().x.size(); ++i) {
        const double px = kFrench.toDouble(GetParam().x[i]) * s.kx + s.x0;
        const double py = 500 - (kFrench.toDouble(GetParam().y[i]) * s.ky + s.y0);
        double nearest = 1e9;
        for (const GraphLine &l : g.curve) {
            const double dx = l.to.x() - l.from.x(), dy = l.to.y() - l.from.y();
            const double len2 = std::max(1.0, dx * dx + dy * dy);
            const double t = std::clamp(((px - l.from.x()) * dx + (py - l.from.y()) * dy) / len2, 0.0, 1.0);
            nearest = std::min(nearest, std::hypot(l.from.x() + t * dx - px, l.from.y() + t * dy - py));
        }
        EXPECT_LE(nearest, 2.5) << "point " << i;
    }
    // the box holding the equation lies inside the plot
    ASSERT_EQ(g.boxes.size(), 1u);
    EXPECT_TRUE(QRect(0, 0, kGraphSize, kGraphSize).contains(g.boxes[0].rect));
}
INSTANTIATE_TEST_SUITE_P(
    Rows, FittedCurves,
    ::testing::Values(
        CurveRow{"proportional", FitModel::Proportional, {"1", "2", "3", "4"}, {"2", "4", "6", "8"}},
        CurveRow{"affineAcrossOrigin", FitModel::Affine, {"-2", "-1", "0", "1", "2"}, {"5", "3", "1", "-1", "-3"}},
        CurveRow{"parabola", FitModel::Parabola, {"-2", "-1", "0", "1", "2", "3"}, {"4", "1", "0", "1", "4", "9"}},
        CurveRow{"cauchyIndexAgainstLambda",
                 FitModel::Cauchy,
                 {"400", "500", "600", "700", "800"},
                 {"1,546416", "1,519757", "1,505275", "1,496544", "1,490876"}}),
    RowName());
