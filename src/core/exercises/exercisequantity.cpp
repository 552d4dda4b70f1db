#include "exercises/exercisequantity.h"

#include "grapher/curvefit.h"
#include "model/constants.h"
#include "model/glasscatalogue.h"
#include "model/linelamps.h"
#include "model/raytracer.h"
#include "spectra/screen.h"

#include <QStringList>
#include <array>
#include <cmath>
#include <utility>

namespace vorlac
{

namespace
{

constexpr std::array<std::pair<const char16_t *, Quantity>, 25> kNames = {{
    {u"A", Quantity::Apex},
    {u"lambda", Quantity::Wavelength},
    {u"x", Quantity::InverseSquare},
    {u"i", Quantity::Incidence},
    {u"r", Quantity::Refraction},
    {u"r'", Quantity::ExitIncidence},
    {u"i'", Quantity::Emergence},
    {u"D", Quantity::Deviation},
    {u"Dm", Quantity::MinimumDeviation},
    {u"im", Quantity::MinimumIncidence},
    {u"n", Quantity::PrismIndex},
    {u"ne", Quantity::OutsideIndex},
    {u"n/ne", Quantity::RelativeIndex},
    {u"l", Quantity::CriticalAngle},
    {u"i0", Quantity::LimitIncidence},
    {u"Amax", Quantity::LargestApex},
    {u"cA", Quantity::CauchyA},
    {u"cB", Quantity::CauchyB},
    {u"cal.a", Quantity::CalibrationSlope},
    {u"cal.b", Quantity::CalibrationIntercept},
    {u"cal.lambda", Quantity::CalibratedWavelength},
    {u"xe", Quantity::ScreenPosition},
    {u"cale.A", Quantity::ScreenCalibrationA},
    {u"cale.B", Quantity::ScreenCalibrationB},
    {u"cale.lambda", Quantity::ScreenCalibratedWavelength},
}};

// Enough halvings of the 180-degree range for any quoted precision.
constexpr int kSearchSteps = 80;

double indexOf(const IndexLaw &law, double wavelength)
{
    return CauchyIndex(law.cauchyA, law.cauchyB, wavelength);
}

double prismIndexOf(const QuantityScene &s)
{
    return s.glass >= 0 ? glassIndex(s.glass, s.wavelength) : indexOf(s.prism, s.wavelength);
}

// One ray through the scene, without marks: the first segment is the ray inside the vorlac.
struct Ray {
    TraceResult trace;
    bool entered() const { return trace.end != TraceEnd::ReflectedAtEntry && !trace.segments.empty(); }
    bool leftByExit() const
    {
        return trace.end == TraceEnd::Emerged && trace.lastFace == TraceFace::Exit && trace.reflections == 0;
    }
};

Ray traceScene(const QuantityScene &s, double incidence)
{
    const TraceInput in = rayOnlyInput(s.apexAngle, incidence, prismIndexOf(s), indexOf(s.outside, s.wavelength));
    Ray ray;
    TraceRay(in, ray.trace, false);
    return ray;
}

// r from the drawn inside ray: its direction is A/2 - r, drawn with the tracer's own factor.
// With reachesExit, only a ray that meets the exit face first (not the base) counts.
std::optional<double> refraction(const QuantityScene &s, double incidence, bool reachesExit = false)
{
    const Ray ray = traceScene(s, incidence);
    if (!ray.entered())
        return std::nullopt;
    const Segment &inside = ray.trace.segments.front();
    if (reachesExit && inside.y2 >= kBaseY)
        return std::nullopt;
    const double direction = std::atan2(inside.y2 - inside.y1, inside.x2 - inside.x1) / kDegToRad;
    return s.apexAngle / 2.0 - direction;
}

// i' at the exit face; nullopt unless the ray leaves there without reflection.
std::optional<double> emergence(const QuantityScene &s, double incidence)
{
    const Ray ray = traceScene(s, incidence);
    if (!ray.leftByExit())
        return std::nullopt;
    return ray.trace.emergentDirection + s.apexAngle / 2.0;
}

std::optional<double> deviation(const QuantityScene &s, double incidence)
{
    const std::optional<double> e = emergence(s, incidence);
    if (!e)
        return std::nullopt;
    return incidence + *e - s.apexAngle;
}

std::optional<double> limitIncidence(const QuantityScene &s)
{
    double lo = -90.0, hi = 90.0;
    if (!emergence(s, hi))
        return std::nullopt;
    if (emergence(s, lo))
        return lo;
    for (int k = 0; k < kSearchSteps; ++k) {
        const double mid = (lo + hi) / 2.0;
        (emergence(s, mid) ? hi : lo) = mid;
    }
    return hi;
}

// Golden-section search of the deviation's minimum over the incidences that leave by the exit
// face; returns (incidence, deviation).
std::optional<std::pair<double, double>> minimumDeviation(const QuantityScene &s)
{
    const std::optional<double> from = limitIncidence(s);
    if (!from)
        return std::nullopt;
    const double g = (std::sqrt(5.0) - 1.0) / 2.0;
    double a = *from, b = 90.0;
    for (int k = 0; k < 2 * kSearchSteps; ++k) {
        const double c = b - g * (b - a), d = a + g * (b - a);
        if (deviation(s, c).value_or(1e9) < deviation(s, d).value_or(1e9))
            b = d;
        else
            a = c;
    }
    const double im = (a + b) / 2.0;
    const std::optional<double> dm = deviation(s, im);
    if (!dm)
        return std::nullopt;
    return std::pair{im, *dm};
}

std::optional<double> largestApex(QuantityScene s)
{
    for (int a = 90; a >= 2; --a) {
        s.apexAngle = a;
        if (emergence(s, 90.0))
            return a;
    }
    return std::nullopt;
}

double inverseSquare(double wavelength)
{
    return 1e6 / (wavelength * wavelength);
}

// The fit of model over the mercury lamp's lines, each giving its point (x, y); nullopt when a
// line gives none or the fit fails.
template <typename Point> std::optional<FitResult> fitOverMercury(FitModel model, Point point)
{
    std::vector<double> x, y;
    for (const SpectralLine &line : lineLamps()[std::size_t(lineLampRow(QStringLiteral("mercure")))].lines) {
        const std::optional<std::pair<double, double>> p = point(line.wavelength);
        if (!p)
            return std::nullopt;
        x.push_back(p->first);
        y.push_back(p->second);
    }
    FitResult fit = fitCurve(model, x, y);
    if (!fit.ok)
        return std::nullopt;
    return fit;
}

// The affine fit of Dm against x over the mercury lamp's lines.
std::optional<FitResult> mercuryCalibration(QuantityScene s)
{
    return fitOverMercury(FitModel::Affine, [&s](double wavelength) -> std::optional<std::pair<double, double>> {
        s.wavelength = wavelength;
        const auto m = minimumDeviation(s);
        if (!m)
            return std::nullopt;
        return std::pair(inverseSquare(wavelength), m->second);
    });
}

std::optional<double> calibratedWavelength(const QuantityScene &s)
{
    const std::optional<FitResult> fit = mercuryCalibration(s);
    const auto m = minimumDeviation(s);
    if (!fit || !m || fit->coefficients[0] == 0)
        return std::nullopt;
    const double x = (m->second - fit->coefficients[1]) / fit->coefficients[0];
    if (!(x > 0))
        return std::nullopt;
    return 1000.0 / std::sqrt(x);
}

// The scene the screen is traced in: the situation's, with the quantity's own settings.
SceneState screenState(const QuantityScene &s)
{
    SceneState state = s.state;
    state.apexAngle = s.apexAngle;
    state.incidenceAngle = s.incidenceAngle;
    state.glass = s.glass;
    state.prismCauchyA = s.prism.cauchyA;
    state.prismCauchyB = s.prism.cauchyB;
    state.outsideCauchyA = s.outside.cauchyA;
    state.outsideCauchyB = s.outside.cauchyB;
    return state;
}

// Where a wavelength lands on the screen: the exactly traced ray, as the strip places a line.
std::optional<double> screenPosition(const QuantityScene &s, double wavelength)
{
    const SceneState state = screenState(s);
    const std::optional<ScreenFrame> frame = screenFrame(state, s.screen);
    if (!frame)
        return std::nullopt;
    const ScreenHit hit = screenHitAt(state, *frame, wavelength);
    if (hit.status != ScreenLanding::Lands)
        return std::nullopt;
    return hit.positionMm;
}

// The Cauchy fit x = A + B/lambda² of the positions of the mercury lamp's lines.
std::optional<FitResult> screenCalibration(const QuantityScene &s)
{
    return fitOverMercury(FitModel::Cauchy, [&s](double wavelength) -> std::optional<std::pair<double, double>> {
        const std::optional<double> at = screenPosition(s, wavelength);
        if (!at)
            return std::nullopt;
        return std::pair(wavelength, *at);
    });
}

std::optional<double> screenCalibratedWavelength(const QuantityScene &s)
{
    const std::optional<FitResult> fit = screenCalibration(s);
    const std::optional<double> at = screenPosition(s, s.wavelength);
    if (!fit || !at)
        return std::nullopt;
    const double inverseSquare = (*at - fit->coefficients[0]) / fit->coefficients[1];
    if (!(inverseSquare > 0))
        return std::nullopt;
    return 1.0 / std::sqrt(inverseSquare);
}

std::optional<IndexLaw> materialLaw(QStringView name, const IndexLaw &current)
{
    for (int row = 0; row < kMaterialCount; ++row) {
        if (name == materialName(row))
            return row == kCustomMaterial
                       ? current
                       : IndexLaw{kMaterials[std::size_t(row)].cauchyA, kMaterials[std::size_t(row)].cauchyB};
    }
    return std::nullopt;
}

} // namespace

std::optional<Quantity> quantityNamed(QStringView name)
{
    for (const auto &[text, q] : kNames)
        if (name == QStringView(text))
            return q;
    return std::nullopt;
}

QuantityScene quantitySceneOf(const Situation &situation)
{
    QuantityScene s;
    s.apexAngle = situation.scene.apexAngle;
    s.incidenceAngle = situation.scene.incidenceAngle;
    s.wavelength = situation.scene.wavelength;
    s.prism = {situation.scene.prismCauchyA, situation.scene.prismCauchyB};
    s.outside = {situation.scene.outsideCauchyA, situation.scene.outsideCauchyB};
    s.glass = situation.scene.glass;
    s.state = situation.scene;
    s.screen = situation.screen.placement;
    return s;
}

bool applyQuantitySettings(QuantityScene &scene, QStringView settings)
{
    for (QStringView item : settings.split(u';', Qt::SkipEmptyParts)) {
        item = item.trimmed();
        if (item.isEmpty())
            continue;
        const qsizetype eq = item.indexOf(u'=');
        if (eq < 0)
            return false;
        const QStringView key = item.first(eq).trimmed();
        const QStringView value = item.sliced(eq + 1).trimmed();
        bool ok = false;
        if (key == u"i") {
            scene.incidenceAngle = value.toDouble(&ok);
            ok = ok && std::isfinite(scene.incidenceAngle) && std::fabs(scene.incidenceAngle) <= 180.0;
        } else if (key == u"lambda") {
            scene.wavelength = value.toDouble(&ok);
            ok = ok && scene.wavelength >= 400 && scene.wavelength <= 800;
        } else if (key == u"A") {
            scene.apexAngle = value.toInt(&ok);
            ok = ok && scene.apexAngle >= 2 && scene.apexAngle <= 90;
        } else if (key == u"prism" || key == u"outside") {
            IndexLaw &law = key == u"prism" ? scene.prism : scene.outside;
            const std::optional<IndexLaw> chosen = materialLaw(value, law);
            ok = chosen.has_value();
            if (ok)
                law = *chosen;
            if (ok && key == u"prism" && value != materialName(kCustomMaterial))
                scene.glass = -1;
        }
        if (!ok)
            return false;
    }
    return true;
}

std::optional<double> computeQuantity(Quantity quantity, const QuantityScene &s)
{
    const double n = prismIndexOf(s);
    const double ne = indexOf(s.outside, s.wavelength);
    switch (quantity) {
    case Quantity::Apex:
        return s.apexAngle;
    case Quantity::Wavelength:
        return s.wavelength;
    case Quantity::InverseSquare:
        return inverseSquare(s.wavelength);
    case Quantity::Incidence:
        return s.incidenceAngle;
    case Quantity::Refraction:
        return refraction(s, s.incidenceAngle);
    case Quantity::ExitIncidence: {
        const std::optional<double> r = refraction(s, s.incidenceAngle, true);
        return r ? std::optional<double>(s.apexAngle - *r) : std::nullopt;
    }
    case Quantity::Emergence:
        return emergence(s, s.incidenceAngle);
    case Quantity::Deviation:
        return deviation(s, s.incidenceAngle);
    case Quantity::MinimumDeviation:
    case Quantity::MinimumIncidence: {
        const auto m = minimumDeviation(s);
        if (!m)
            return std::nullopt;
        return quantity == Quantity::MinimumDeviation ? m->second : m->first;
    }
    case Quantity::PrismIndex:
        return n;
    case Quantity::OutsideIndex:
        return ne;
    case Quantity::RelativeIndex:
        return n / ne;
    case Quantity::CriticalAngle:
        if (ne >= n)
            return std::nullopt;
        return std::asin(ne / n) * 180.0 / M_PI;
    case Quantity::LimitIncidence:
        return limitIncidence(s);
    case Quantity::LargestApex:
        return largestApex(s);
    case Quantity::CauchyA:
        return double(s.prism.cauchyA);
    case Quantity::CauchyB:
        return double(s.prism.cauchyB);
    case Quantity::CalibrationSlope:
    case Quantity::CalibrationIntercept: {
        const std::optional<FitResult> fit = mercuryCalibration(s);
        if (!fit)
            return std::nullopt;
        return fit->coefficients[quantity == Quantity::CalibrationSlope ? 0 : 1];
    }
    case Quantity::CalibratedWavelength:
        return calibratedWavelength(s);
    case Quantity::ScreenPosition:
        return screenPosition(s, s.wavelength);
    case Quantity::ScreenCalibrationA:
    case Quantity::ScreenCalibrationB: {
        const std::optional<FitResult> fit = screenCalibration(s);
        if (!fit)
            return std::nullopt;
        return fit->coefficients[quantity == Quantity::ScreenCalibrationA ? 0 : 1];
    }
    case Quantity::ScreenCalibratedWavelength:
        return screenCalibratedWavelength(s);
    }
    return std::nullopt;
}

} // namespace vorlac
