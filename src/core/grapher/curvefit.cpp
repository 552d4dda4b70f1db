#include "grapher/curvefit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vorlac
{

namespace
{

constexpr int kMaxColumns = 3;

// The fit in its well-conditioned form: y = sum c[j] * t^j with t = (v - centre) / scale, v being x
// (or 1/x² for Cauchy). Proportional has no constant term: y = c[1] * t with centre 0.
struct LocalFit {
    double centre = 0;
    double scale = 1;
    std::array<double, kMaxColumns> c{};
    bool constant = true;
    int degree = 1;
};

double variable(FitModel model, double x)
{
    return model == FitModel::Cauchy ? 1.0 / (x * x) : x;
}

double localValue(const LocalFit &f, double v)
{
    const double t = (v - f.centre) / f.scale;
    double y = f.constant ? f.c[0] : 0.0;
    double power = 1;
    for (int j = 1; j <= f.degree; ++j) {
        power *= t;
        y += f.c[static_cast<std::size_t>(j)] * power;
    }
    return y;
}

// Least squares of A c = y by Householder QR (A is rows x cols, column-major in a). False when
// the system is rank deficient.
bool solveLeastSquares(std::vector<double> a, std::vector<double> y, int rows, int cols, double *c)
{
    const auto at = [&](int r, int k) -> double & {
        return a[static_cast<std::size_t>(k) * static_cast<std::size_t>(rows) + static_cast<std::size_t>(r)];
    };
    std::array<double, kMaxColumns> diag{};
    double largest = 0;
    for (int k = 0; k < cols; ++k) {
        double norm = 0;
        for (int r = k; r < rows; ++r)
            norm = std::hypot(norm, at(r, k));
        if (norm == 0)
            return false;
        const double alpha = at(k, k) > 0 ? -norm : norm;
        at(k, k) -= alpha;
        const double vnorm2 = [&] {
            double s = 0;
            for (int r = k; r < rows; ++r)
                s += at(r, k) * at(r, k);
            return s;
        }();
        if (vnorm2 > 0) {
            for (int j = k + 1; j < cols; ++j) {
                double s = 0;
                for (int r = k; r < rows; ++r)
                    s += at(r, k) * at(r, j);
                const double f = 2 * s / vnorm2;
                for (int r = k; r < rows; ++r)
                    at(r, j) -= f * at(r, k);
            }
            double s = 0;
            for (int r = k; r < rows; ++r)
                s += at(r, k) * y[static_cast<std::size_t>(r)];
            const double f = 2 * s / vnorm2;
            for (int r = k; r < rows; ++r)
                y[static_cast<std::size_t>(r)] -= f * at(r, k);
        }
        diag[static_cast<std::size_t>(k)] = alpha;
        largest = std::max(largest, std::abs(alpha));
    }
    // Columns are scaled to unit size, so a tiny diagonal means a (near) dependent column.
    const double tolerance = 1e-10 * largest;
    for (int k = 0; k < cols; ++k)
        if (!(std::abs(diag[static_cast<std::size_t>(k)]) > tolerance))
            return false;
    for (int k = cols - 1; k >= 0; --k) {
        double s = y[static_cast<std::size_t>(k)];
        for (int j = k + 1; j < cols; ++j)
            s -= at(k, j) * c[j];
        c[k] = s / diag[static_cast<std::size_t>(k)];
    }
    return true;
}

QString failure(FitResult &r, const QString &message)
{
    r.ok = false;
    r.coefficients = {};
    r.r2.reset();
    r.message = message;
    return message;
}

// One term of an equation: " + 1,234·x" / " − 1,234·x", or the first term with its own sign.
QString term(double v, const QString &tail, bool first, const QLocale &locale)
{
    const QString number = fitNumberText(std::abs(v), locale);
    if (first)
        return (v < 0 ? QStringLiteral("−") : QString()) + number + tail;
    return (v < 0 ? QStringLiteral(" − ") : QStringLiteral(" + ")) + number + tail;
}

} // namespace

QString fitModelName(FitModel model)
{
    switch (model) {
    case FitModel::None:
        return QStringLiteral("Aucun");
    case FitModel::Proportional:
        return QStringLiteral("Proportionnel : y = a·x");
    case FitModel::Affine:
        return QStringLiteral("Affine : y = a·x + b");
    case FitModel::Parabola:
        return QStringLiteral("Parabole : y = a·x² + b·x + c");
    case FitModel::Cauchy:
        return QStringLiteral("Cauchy : y = A + B/x² (x = λ en nm)");
    }
    return {};
}

int fitCoefficientCount(FitModel model)
{
    switch (model) {
    case FitModel::None:
        return 0;
    case FitModel::Proportional:
        return 1;
    case FitModel::Affine:
    case FitModel::Cauchy:
        return 2;
    case FitModel::Parabola:
        return 3;
    }
    return 0;
}

FitResult fitCurve(FitModel model, const std::vector<double> &x, const std::vector<double> &y)
{
    FitResult r;
    r.model = model;
    if (model == FitModel::None)
        return r;
    std::vector<double> vs, ys;
    const std::size_t n = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(x[i]) || !std::isfinite(y[i]))
            continue;
        if (model == FitModel::Cauchy && x[i] == 0) {
            failure(r, QStringLiteral("Ajustement de Cauchy impossible : une longueur d'onde (abscisse) est nulle."));
            return r;
        }
        vs.push_back(variable(model, x[i]));
        ys.push_back(y[i]);
        r.xmin = vs.size() == 1 ? x[i] : std::min(r.xmin, x[i]);
        r.xmax = vs.size() == 1 ? x[i] : std::max(r.xmax, x[i]);
    }
    r.points = static_cast<int>(vs.size());
    const int cols = fitCoefficientCount(model);
    if (r.points < cols) {
        failure(r, QStringLiteral("Ajustement impossible : il faut au moins %1 point%2 pour ce modèle.")
                       .arg(cols)
                       .arg(cols > 1 ? QStringLiteral("s") : QString()));
        return r;
    }

    LocalFit f;
    f.constant = model != FitModel::Proportional;
    f.degree = model == FitModel::Parabola ? 2 : 1;
    double lo = vs.front(), hi = vs.front(), sum = 0;
    for (const double v : vs) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        sum += v;
    }
    if (f.constant) {
        f.centre = sum / r.points;
        f.scale = (hi - lo) / 2;
    } else {
        f.scale = std::max(std::abs(lo), std::abs(hi));
    }
    if (!(f.scale > 0) || !std::isfinite(f.scale) || !std::isfinite(f.centre)) {
        failure(r, QStringLiteral("Ajustement impossible : les abscisses ne permettent pas de déterminer ce modèle."));
        return r;
    }

    const int rows = r.points;
    std::vector<double> a(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    for (int i = 0; i < rows; ++i) {
        const double t = (vs[static_cast<std::size_t>(i)] - f.centre) / f.scale;
        int k = 0;
        if (f.constant)
            a[static_cast<std::size_t>(k++) * rows + i] = 1.0;
        double power = 1;
        for (int j = 1; j <= f.degree; ++j) {
            power *= t;
            a[static_cast<std::size_t>(k++) * rows + i] = power;
        }
    }
    std::array<double, kMaxColumns> c{};
    if (!solveLeastSquares(std::move(a), ys, rows, cols, c.data())) {
        failure(r, QStringLiteral("Ajustement impossible : les abscisses ne permettent pas de déterminer ce modèle."));
        return r;
    }
    if (f.constant) {
        f.c = c;
    } else {
        f.c[1] = c[0];
    }

    // Back to the coefficients of x (or 1/x²).
    const double m = f.centre, s = f.scale;
    switch (model) {
    case FitModel::Proportional:
        r.coefficients = {f.c[1] / s, 0, 0};
        break;
    case FitModel::Affine:
        r.coefficients = {f.c[1] / s, f.c[0] - f.c[1] * m / s, 0};
        break;
    case FitModel::Cauchy:
        r.coefficients = {f.c[0] - f.c[1] * m / s, f.c[1] / s, 0};
        break;
    case FitModel::Parabola:
        r.coefficients = {f.c[2] / (s * s), f.c[1] / s - 2 * f.c[2] * m / (s * s),
                          f.c[0] - f.c[1] * m / s + f.c[2] * m * m / (s * s)};
        break;
    case FitModel::None:
        break;
    }
    // A term that changes no y of the data by more than rounding noise is 0: an exact line
    // through the origin reads "+ 0", not "+ 4,441E-16".
    double yScale = 0, vScale = 0;
    for (int i = 0; i < rows; ++i) {
        yScale = std::max(yScale, std::abs(ys[static_cast<std::size_t>(i)]));
        vScale = std::max(vScale, std::abs(vs[static_cast<std::size_t>(i)]));
    }
    const auto negligible = [&](double coefficient, int power) {
        return std::abs(coefficient) * std::pow(vScale, power) <= 1e-12 * yScale;
    };
    // Powers of v that the coefficients multiply, in coefficient order.
    const std::array<int, 3> powers = model == FitModel::Parabola ? std::array<int, 3>{2, 1, 0}
                                      : model == FitModel::Cauchy ? std::array<int, 3>{0, 1, 0}
                                                                  : std::array<int, 3>{1, 0, 0};
    for (int j = 0; j < cols; ++j)
        if (negligible(r.coefficients[static_cast<std::size_t>(j)], powers[static_cast<std::size_t>(j)]))
            r.coefficients[static_cast<std::size_t>(j)] = 0;
    if (!std::all_of(r.coefficients.begin(), r.coefficients.end(), [](double v) { return std::isfinite(v); })) {
        failure(r, QStringLiteral("Ajustement impossible : les valeurs sont trop grandes."));
        return r;
    }

    // R² = 1 - SSres / SStot with SStot about the mean for every model: on the same data SStot is
    // the same, so R² orders the models as their residuals do. A line through the origin that
    // does worse than the mean reads below 0, which is what it means.
    double mean = 0;
    for (const double v : ys)
        mean += v;
    mean /= rows;
    const bool allEqual = std::all_of(ys.begin(), ys.end(), [&](double v) { return v == ys[0]; });
    double res = 0, tot = 0;
    for (int i = 0; i < rows; ++i) {
        const double yi = ys[static_cast<std::size_t>(i)];
        const double e = yi - localValue(f, vs[static_cast<std::size_t>(i)]);
        res += e * e;
        tot += (yi - mean) * (yi - mean);
    }
    if (!allEqual && tot > 0 && std::isfinite(res) && std::isfinite(tot))
        r.r2 = 1.0 - res / tot;
    r.ok = true;
    return r;
}

double fitValue(const FitResult &fit, double x)
{
    if (!fit.ok)
        return std::numeric_limits<double>::quiet_NaN();
    const auto &k = fit.coefficients;
    switch (fit.model) {
    case FitModel::None:
        break;
    case FitModel::Proportional:
        return k[0] * x;
    case FitModel::Affine:
        return k[0] * x + k[1];
    case FitModel::Parabola:
        return (k[0] * x + k[1]) * x + k[2];
    case FitModel::Cauchy:
        return x == 0 ? std::numeric_limits<double>::quiet_NaN() : k[0] + k[1] / (x * x);
    }
    return std::numeric_limits<double>::quiet_NaN();
}

QString fitNumberText(double v, const QLocale &locale)
{
    if (!std::isfinite(v))
        return QStringLiteral("?");
    if (v == 0)
        return QStringLiteral("0");
    // Rounded to 4 significant digits first, so that 9,9996 is written 10,00 and not 10,000.
    // to_chars and from_chars ignore the C library's locale.
    char buffer[40];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 3);
    double rounded = v;
    std::from_chars(buffer, written.ptr, rounded, std::chars_format::scientific);
    const char *e = std::find(buffer, written.ptr, 'e');
    int exponent = 0;
    std::from_chars(e + 1 + (e[1] == '+'), written.ptr, exponent);
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    if (exponent >= -3 && exponent < 5)
        return l.toString(rounded, 'f', std::max(0, 3 - exponent));
    const double mantissa = rounded / std::pow(10.0, exponent);
    return l.toString(mantissa, 'f', 3) + (exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) +
           QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
}

QString fitEquationText(const FitResult &fit, const QLocale &locale)
{
    if (!fit.ok)
        return fit.message;
    const auto &k = fit.coefficients;
    switch (fit.model) {
    case FitModel::None:
        return {};
    case FitModel::Proportional:
        return QStringLiteral("y = ") + term(k[0], QStringLiteral("·x"), true, locale);
    case FitModel::Affine:
        return QStringLiteral("y = ") + term(k[0], QStringLiteral("·x"), true, locale) +
               term(k[1], QString(), false, locale);
    case FitModel::Parabola:
        return QStringLiteral("y = ") + term(k[0], QStringLiteral("·x²"), true, locale) +
               term(k[1], QStringLiteral("·x"), false, locale) + term(k[2], QString(), false, locale);
    case FitModel::Cauchy:
        return QStringLiteral("y = ") + term(k[0], QString(), true, locale) +
               term(k[1], QStringLiteral("/x²"), false, locale);
    }
    return {};
}

QString fitR2Text(const FitResult &fit, const QLocale &locale)
{
    if (!fit.ok)
        return {};
    if (!fit.r2)
        return QStringLiteral("R² non défini (ordonnées toutes égales)");
    double r2 = *fit.r2;
    r2 = r2 >= 1 - 1e-12 ? 1.0 : std::floor(r2 * 1e4) / 1e4;
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    // The minus of the equations, whatever the locale's sign.
    return QStringLiteral("R² = ") + (r2 < 0 ? QStringLiteral("−") : QString()) + l.toString(std::abs(r2), 'f', 4);
}

} // namespace vorlac
