#include "grapher/graph.h"

#include "common/numberpattern.h"
#include "common/rounding.h"
#include "common/segmentclip.h"
#include "grapher/graphpainter.h"

#include <QFontMetricsF>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace vorlac
{

namespace
{

// The data span columns 5..485 and rows 495..15 (480 pixels).
constexpr double kSpan = 480.0;
constexpr double kMargin = 5.0;
constexpr double kBottom = 500.0;

// Far enough outside the picture that no line changes, small enough for any integer type.
constexpr double kPixelLimit = 100000.0;

// uniteur changes k tenfold per round at least, so a magnitude of the double range needs
// some 340 rounds; the cap only guards against a bug, never a real magnitude.
constexpr int kMaxUnitRounds = 2000;

// Graduations from xs to xe: at most about 24 on any axis; the cap guards the loop.
constexpr int kMaxGraduations = 1000;

// Cells are single precision: a quotient within that precision of a half division is that half,
// so that 1,3 / 0,2 counts as 6,5 and -0,4 / 0,2 as -2, as they are written.
double snapToHalf(double q)
{
    const double half = std::nearbyint(2.0 * q) / 2.0;
    return std::abs(q - half) <= 1e-6 * std::max(1.0, std::abs(q)) ? half : q;
}

// A positive decimal n x 10^e, n whole: k x M stepped exactly, so that a boundary such as
// k x M = 5 or 10 is met where the written value meets it.
struct Decimal {
    std::uint64_t n = 1;
    int e = 0;

    void normalise()
    {
        while (n != 0 && n % 10 == 0) {
            n /= 10;
            ++e;
        }
    }
    void times(std::uint64_t f) // f is 2 or 5
    {
        n *= f;
        normalise();
    }
    void dividedBy(std::uint64_t f) // f is 2 or 5: n / f, or n x (10 / f) one decade down
    {
        if (n % f == 0) {
            n /= f;
        } else {
            n *= 10 / f;
            --e;
        }
        normalise();
    }
    // -1, 0 or 1 as n x 10^e is below, at or above t (2, 5 or 10).
    int compare(std::uint64_t t) const
    {
        if (e >= 0) {
            if (e >= 2 || n > 10)
                return 1;
            const std::uint64_t value = e == 0 ? n : 10 * n;
            return (value > t) - (value < t);
        }
        if (e <= -19)
            return -1; // t x 10^19 is beyond any n
        std::uint64_t rhs = t;
        for (int i = 0; i < -e; ++i)
            rhs *= 10;
        return (n > rhs) - (n < rhs);
    }
};

// The value the user reads: the shortest decimal of the single a cell holds (0,01 and not its
// binary 0,00999999977648258), or of the double when m is no single.
Decimal shownDecimal(double m)
{
    char buffer[48];
    const bool inSingleRange = m <= static_cast<double>(std::numeric_limits<float>::max());
    const float single = inSingleRange ? static_cast<float>(m) : 0.0f;
    const auto r = inSingleRange && static_cast<double>(single) == m
                       ? std::to_chars(buffer, buffer + sizeof buffer, single, std::chars_format::scientific)
                       : std::to_chars(buffer, buffer + sizeof buffer, m, std::chars_format::scientific);
    Decimal d{0, 0};
    int fractionDigits = 0;
    bool fraction = false;
    const char *p = buffer;
    for (; p < r.ptr && *p != 'e'; ++p) {
        if (*p == '.') {
            fraction = true;
            continue;
        }
        d.n = d.n * 10 + static_cast<std::uint64_t>(*p - '0');
        fractionDigits += fraction;
    }
    int exponent = 0;
    if (p < r.ptr)
        std::from_chars(p + (p[1] == '+' ? 2 : 1), r.ptr, exponent);
    d.e = exponent - fractionDigits;
    d.normalise();
    return d;
}

// 2^-twos x 5^-fives, the nearest double of that exact decimal.
double inverseOf(int twos, int fives)
{
    // 2^-a 5^-b = 2^(b-a) 10^-b when b >= a, else 5^(a-b) 10^-a.
    std::uint64_t mantissa = 1;
    const int spare = fives - twos;
    for (int i = 0; i < std::abs(spare) && mantissa < (std::uint64_t{1} << 60); ++i)
        mantissa *= spare >= 0 ? 2 : 5;
    const int exponent = spare >= 0 ? -fives : -twos;
    const std::string text = std::to_string(mantissa) + 'e' + std::to_string(exponent);
    double out = 0;
    std::from_chars(text.data(), text.data() + text.size(), out);
    return out;
}

struct Column {
    std::vector<double> values;  // for the ranges (0 for a text that does not convert)
    std::vector<bool> plottable; // the text is a number
};

Column readColumn(const QStringList &texts, qsizetype lines, const QLocale &locale)
{
    Column c;
    c.values.assign(static_cast<std::size_t>(lines), 0.0);
    c.plottable.assign(static_cast<std::size_t>(lines), false);
    for (qsizetype r = 0; r < lines && r < texts.size(); ++r) {
        if (const auto v = readCellSingle(texts[r], locale)) {
            c.values[static_cast<std::size_t>(r)] = static_cast<double>(*v);
            c.plottable[static_cast<std::size_t>(r)] = true;
        }
    }
    return c;
}

void range(const Column &c, double &lo, double &hi)
{
    lo = 0;
    hi = 0;
    for (const double v : c.values) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
}

// Larger of the two magnitudes of a range.
double largestMagnitude(double lo, double hi)
{
    return -lo >= hi ? std::abs(lo) : hi;
}

class Builder
{
  public:
    explicit Builder(GraphPicture &g) : m_g(g) {}
    void line(double x1, double y1, double x2, double y2, QRgb colour, bool dotted = false)
    {
        m_g.lines.push_back(
            {QPoint(graphPixel(x1), graphPixel(y1)), QPoint(graphPixel(x2), graphPixel(y2)), colour, dotted});
    }

  private:
    GraphPicture &m_g;
};

int graduationCount(double start, double end, double unit)
{
    const double n = std::nearbyint((end - start) / unit);
    if (!(n >= 0))
        return 0;
    return static_cast<int>(std::min(n, static_cast<double>(kMaxGraduations - 1))) + 1;
}

// Clips the segment to the picture square; false when nothing of it is inside.
bool clipToPicture(double &x1, double &y1, double &x2, double &y2)
{
    const auto inside = clipSegment({x1, y1}, {x2, y2}, QRectF(0, 0, kBottom, kBottom));
    if (!inside)
        return false;
    const double dx = x2 - x1, dy = y2 - y1;
    const double ax = x1 + inside->first * dx, ay = y1 + inside->first * dy;
    x2 = x1 + inside->second * dx;
    y2 = y1 + inside->second * dy;
    x1 = ax;
    y1 = ay;
    return true;
}

// Fitted curve sampled every few pixel columns across the data span; a sample where the model is
// not defined, or where a Cauchy curve crosses x = 0, breaks the line.
constexpr double kCurveStep = 2.0;

void addCurve(GraphPicture &g)
{
    const GraphScale &s = g.scale;
    bool open = false;
    double px = 0, py = 0, previousX = 0;
    for (double col = kMargin; col <= kMargin + kSpan + 1e-9; col += kCurveStep) {
        const double x = (col - s.x0) / s.kx;
        const double y = fitValue(g.fit, x);
        const double row = kBottom - (y * s.ky + s.y0);
        if (!std::isfinite(row)) {
            open = false;
            continue;
        }
        if (g.fit.model == FitModel::Cauchy && (x > 0) != (previousX > 0))
            open = false;
        if (open) {
            double x1 = px, y1 = py, x2 = col, y2 = row;
            if (clipToPicture(x1, y1, x2, y2))
                g.curve.push_back({QPoint(graphPixel(x1), graphPixel(y1)), QPoint(graphPixel(x2), graphPixel(y2)),
                                   graphcolour::DarkGreen, false});
        }
        open = true;
        px = col;
        py = row;
        previousX = x;
    }
}

constexpr int kFitFontPoints = 9;
constexpr int kBoxPadding = 4;
constexpr int kBoxMargin = 10;

// The equation and R² in a box, in whichever corner of the plot holds fewest points and curve.
void addFitLabel(GraphPicture &g, const std::vector<QPoint> &points)
{
    const QFontMetricsF metrics(graphFont(kFitFontPoints));
    double width = 0;
    for (const QString &t : g.fitTexts)
        width = std::max(width, metrics.horizontalAdvance(t));
    const int lineHeight = static_cast<int>(std::ceil(metrics.height()));
    const QSize size(static_cast<int>(std::ceil(width)) + 2 * kBoxPadding,
                     lineHeight * static_cast<int>(g.fitTexts.size()) + 2 * kBoxPadding);
    const int right = kGraphSize - kBoxMargin - size.width();
    const int bottom = kGraphSize - 2 * kBoxMargin - size.height();
    const QRect candidates[] = {QRect(QPoint(kBoxMargin + 10, kBoxMargin), size),
                                QRect(QPoint(right, kBoxMargin), size), QRect(QPoint(right, bottom), size),
                                QRect(QPoint(kBoxMargin + 10, bottom), size)};
    const QRect *best = &candidates[0];
    int fewest = std::numeric_limits<int>::max();
    for (const QRect &c : candidates) {
        int covered = 0;
        for (const QPoint &p : points)
            covered += c.adjusted(-3, -3, 3, 3).contains(p) ? 4 : 0;
        for (const GraphLine &l : g.curve)
            covered += c.contains(l.from);
        if (covered < fewest) {
            fewest = covered;
            best = &c;
        }
    }
    g.boxes.push_back({*best, graphcolour::DarkGreen});
    double top = best->top() + kBoxPadding;
    for (const QString &t : g.fitTexts) {
        g.texts.push_back({t, graphcolour::DarkGreen, kFitFontPoints, double(best->left() + kBoxPadding), top, true});
        top += lineHeight;
    }
}

} // namespace

int graphPixel(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int>(roundHalfEven(std::clamp(v, -kPixelLimit, kPixelLimit)));
}

bool uniteur(double &m)
{
    if (!(m > 0) || !std::isfinite(m))
        return false;
    // k = 2^twos x 5^fives; km = k x M.
    int twos = 0, fives = 0;
    Decimal km = shownDecimal(m);
    for (int round = 0; round < kMaxUnitRounds; ++round) {
        if (km.compare(2) < 0) {
            km.times(5);
            ++fives;
        }
        if (km.compare(10) > 0) {
            km.dividedBy(5);
            --fives;
        }
        if (km.compare(5) < 0) {
            km.times(2);
            ++twos;
        }
        if (km.compare(10) > 0) {
            km.dividedBy(2);
            --twos;
        }
        if (km.compare(5) >= 0 && km.compare(10) <= 0)
            break;
    }
    m = inverseOf(twos, fives);
    return true;
}

QString graphUnitText(double unit, const QLocale &locale)
{
    if (!std::isfinite(unit))
        return detail::nonFiniteText(unit);
    char buffer[40];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, unit, std::chars_format::scientific, 14);
    return detail::generalLayout(
        detail::parseScientific(std::string_view(buffer, static_cast<std::size_t>(r.ptr - buffer))), locale);
}

GraphPicture ComputeGraph(const QStringList &x, const QStringList &y, const GraphOptions &options,
                          const QLocale &locale)
{
    GraphPicture g;
    GraphScale &s = g.scale;
    const qsizetype lines = std::max(x.size(), y.size());
    const Column cx = readColumn(x, lines, locale);
    const Column cy = readColumn(y, lines, locale);
    range(cx, s.xmin, s.xmax);
    range(cy, s.ymin, s.ymax);

    if ((s.xmin == 0 && s.xmax == 0) || (s.ymin == 0 && s.ymax == 0)) {
        const QString message = kGraphInvalidMessage.toString();
        g.texts.push_back({message, graphcolour::LightGrey, 12, 1.0, 102.0});
        g.texts.push_back({message, graphcolour::Blue, 12, 0.0, 101.0});
        return g;
    }
    g.valid = true;

    s.kx = kSpan / (s.xmax - s.xmin);
    s.ky = kSpan / (s.ymax - s.ymin);
    s.x0 = kMargin - s.xmin * s.kx;
    s.y0 = kMargin - s.ymin * s.ky;
    const double a = kBottom - s.y0; // row of the horizontal axis

    Builder b(g);
    b.line(s.x0, 0, s.x0, 495, graphcolour::DarkBlue);
    b.line(s.x0, 0, s.x0 - 3, 5, graphcolour::DarkBlue);
    b.line(s.x0, 0, s.x0 + 3, 5, graphcolour::DarkBlue);
    b.line(5, a, 500, a, graphcolour::DarkBlue);
    b.line(495, a - 3, 500, a, graphcolour::DarkBlue);
    b.line(495, a + 3, 500, a, graphcolour::DarkBlue);

    s.xunit = largestMagnitude(s.xmin, s.xmax);
    s.yunit = largestMagnitude(s.ymin, s.ymax);
    uniteur(s.xunit);
    uniteur(s.yunit);
    s.xs = std::floor(snapToHalf(s.xmin / s.xunit)) * s.xunit;
    s.xe = std::floor(snapToHalf(s.xmax / s.xunit) + 1.5) * s.xunit;
    s.ys = std::floor(snapToHalf(s.ymin / s.yunit)) * s.yunit;
    s.ye = std::floor(snapToHalf(s.ymax / s.yunit) + 1.5) * s.yunit;

    g.scaleSentence = QStringLiteral("En abscisse, une division correspond à ") + graphUnitText(s.xunit, locale) +
                      QStringLiteral(" unités.\r\n\r\nEn ordonnée, une division correspond à ") +
                      graphUnitText(s.yunit, locale) + QStringLiteral(" unités.");

    // Each graduation is start + i * unit: no running sum to drift past the last one.
    s.xGraduations = graduationCount(s.xs, s.xe, s.xunit);
    s.yGraduations = graduationCount(s.ys, s.ye, s.yunit);
    for (int i = 0; i < s.xGraduations; ++i) {
        const double col = (s.xs + i * s.xunit) * s.kx + s.x0;
        if (options.grid)
            b.line(col, 495, col, 5, graphcolour::DarkBlue, true);
        else
            b.line(col, a + 2, col, a - 3, graphcolour::DarkBlue);
    }
    for (int i = 0; i < s.yGraduations; ++i) {
        const double row = kBottom - ((s.ys + i * s.yunit) * s.ky + s.y0);
        if (options.grid)
            b.line(495, row, 5, row, graphcolour::DarkBlue, true);
        else
            b.line(s.x0 + 2, row, s.x0 - 3, row, graphcolour::DarkBlue);
    }

    bool chained = false;
    QPoint previous;
    std::vector<double> fitX, fitY;
    std::vector<QPoint> plotted;
    for (qsizetype r = 0; r < lines; ++r) {
        const auto i = static_cast<std::size_t>(r);
        if (!cx.plottable[i] || !cy.plottable[i]) {
            chained = false;
            continue;
        }
        const QPoint p(graphPixel(cx.values[i] * s.kx + s.x0), graphPixel(kBottom - (cy.values[i] * s.ky + s.y0)));
        if (options.crosses) {
            g.lines.push_back({p + QPoint(-2, 0), p + QPoint(3, 0), graphcolour::Red, false});
            g.lines.push_back({p + QPoint(0, -2), p + QPoint(0, 3), graphcolour::Red, false});
        } else {
            g.pixels.push_back(p);
        }
        if (options.joinPoints && chained)
            g.lines.push_back({previous, p, graphcolour::Red, false});
        previous = p;
        chained = true;
        ++g.plottedPoints;
        fitX.push_back(cx.values[i]);
        fitY.push_back(cy.values[i]);
        plotted.push_back(p);
    }
    if (options.fit != FitModel::None) {
        g.fit = fitCurve(options.fit, fitX, fitY);
        if (g.fit.ok) {
            addCurve(g);
            g.fitTexts << fitEquationText(g.fit, locale) << fitR2Text(g.fit, locale);
        } else {
            g.fitTexts << g.fit.message;
        }
        addFitLabel(g, plotted);
    }
    return g;
}

} // namespace vorlac
