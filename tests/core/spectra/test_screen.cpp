#include "model/linelamps.h"
#include "model/materials.h"
#include "rowname.h"
#include "spectra/observedspectrum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>

using namespace vorlac;

namespace
{

struct Vec {
    double x, y;
};
Vec operator+(Vec a, Vec b)
{
    return {a.x + b.x, a.y + b.y};
}
Vec operator*(double k, Vec a)
{
    return {k * a.x, k * a.y};
}
double dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y;
}
double cross(Vec a, Vec b)
{
    return a.x * b.y - a.y * b.x;
}
Vec direction(double degrees)
{
    return {std::cos(degrees * M_PI / 180.0), std::sin(degrees * M_PI / 180.0)};
}

// Snell's law in vector form; normal points back towards the incoming light. Nothing on total
// reflection.
std::optional<Vec> refract(Vec d, Vec normal, double n1, double n2)
{
    const double eta = n1 / n2, c = -dot(normal, d), k = 1.0 - eta * eta * (1.0 - c * c);
    if (k < 0.0)
        return std::nullopt;
    return eta * d + (eta * c - std::sqrt(k)) * normal;
}

double cauchy(int material, double lambda)
{
    const Material &m = kMaterials[std::size_t(material)];
    return double(m.cauchyA) + double(m.cauchyB) / (lambda * lambda);
}

// The emergent ray through the exit face. The drawn prism (scene pixels, y down) has its base at
// y = 225, its corners 304 -+ round(200 tan(A/2)), faces at exactly A/2 from the vertical through
// them, the entry point on y = 125 halfway between apex and corner.
std::optional<std::pair<Vec, Vec>> emergent(const SceneState &s, double lambda)
{
    const double halfA = s.apexAngle / 2.0, half = std::nearbyint(200.0 * std::tan(halfA * M_PI / 180.0));
    const Vec right{304 + half, 225}, m{std::nearbyint((608 - half) / 2.0), 125};
    const Vec inward = direction(halfA), outward = direction(-halfA), face = direction(-90.0 - halfA);
    const double np = cauchy(s.prismMaterial, lambda), no = cauchy(s.outsideMaterial, lambda);
    const Vec in = direction(s.apexAngle / 2.0 - s.incidenceAngle); // i from the normal
    const std::optional<Vec> inside = refract(in, -1.0 * inward, no, np);
    if (!inside)
        return std::nullopt;
    const double t = cross(right + -1.0 * m, face) / cross(*inside, face);
    const Vec p = m + t * *inside;
    const std::optional<Vec> out = refract(*inside, -1.0 * outward, np, no);
    if (!out || p.y < 25 || p.y > 225)
        return std::nullopt;
    return std::pair{p, *out};
}

// The landing position in mm, the screen at distance along the 589 nm ray, turned.
std::optional<double> landing(const SceneState &s, double distance, double turn, double lambda)
{
    const auto ref = emergent(s, 589.0), ray = emergent(s, lambda);
    if (!ref || !ray)
        return std::nullopt;
    const Vec centre = ref->first + (distance / 0.25) * ref->second;
    const Vec axis = direction(std::atan2(ref->second.y, ref->second.x) * 180.0 / M_PI - 90.0 - turn);
    const Vec w = centre + -1.0 * ray->first;
    return 0.25 * cross(w, ray->second) / cross(ray->second, axis);
}

SceneState scene(int apex, int prism, int outside, double incidence, const char *lamp = "mercure")
{
    SceneState s;
    s.apexAngle = apex;
    s.prismMaterial = prism;
    s.outsideMaterial = outside;
    s.prismCauchyA = kMaterials[std::size_t(prism)].cauchyA;
    s.prismCauchyB = kMaterials[std::size_t(prism)].cauchyB;
    s.outsideCauchyA = kMaterials[std::size_t(outside)].cauchyA;
    s.outsideCauchyB = kMaterials[std::size_t(outside)].cauchyB;
    s.incidenceAngle = incidence;
    s.source = SourceType::LineLamp;
    s.lamp = lineLampRow(QString::fromUtf8(lamp));
    return s;
}

// --- Landing positions against Snell's law -----------------------------------------------------

struct LandingRow {
    int apex, prism, outside;
    double incidence, distance, turn;
    const char *lamp;
};
std::ostream &operator<<(std::ostream &o, const LandingRow &r)
{
    return o << "A" << r.apex << ' ' << materialName(r.prism).toStdString() << " in "
             << materialName(r.outside).toStdString() << " i" << r.incidence << ' ' << r.distance << "mm turn" << r.turn
             << ' ' << r.lamp;
}

using ScreenLandings = ::testing::TestWithParam<LandingRow>;

TEST_P(ScreenLandings, MatchSnellsLaw)
{
    const LandingRow r = GetParam();
    const SceneState s = scene(r.apex, r.prism, r.outside, r.incidence, r.lamp);
    const ScreenSpectrum spectrum(s, {r.distance, r.turn, 2000.0}, screenSourceFor(s), {});
    ASSERT_TRUE(spectrum.shown());
    int checked = 0;
    for (const SpectralLine &l : lineLamps()[std::size_t(s.lamp)].lines) {
        const std::optional<double> expected = landing(s, r.distance, r.turn, l.wavelength);
        const std::optional<double> got = spectrum.positionOf(l.wavelength);
        ASSERT_EQ(expected.has_value(), got.has_value()) << l.wavelength;
        if (!got)
            continue;
        // The tracer's degree constants differ from the exact ones by 5e-6.
        EXPECT_NEAR(*got, *expected, 0.005 + 1e-4 * std::abs(*expected)) << l.wavelength;
        // The interpolated dispersion agrees with the trace to a small part of a pixel.
        EXPECT_NEAR(*spectrum.dispersion().position(l.wavelength), *got, 2e-3) << l.wavelength;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, ScreenLandings,
                         ::testing::Values(LandingRow{45, 2, 0, 36.0, 500.0, 0.0, "mercure"},
                                           LandingRow{60, 3, 0, 50.0, 1500.0, 0.0, "sodium"},
                                           LandingRow{30, 3, 0, 25.0, 100.0, 20.0, "hydrogène"},
                                           LandingRow{60, 1, 0, 45.0, 800.0, -30.0, "néon"},
                                           LandingRow{60, 3, 1, 60.0, 300.0, 10.0, "cadmium"},
                                           LandingRow{75, 2, 0, 70.0, 2500.0, 45.0, "hélium"}),
                         RowName());

// --- A gas's dark lines at its own emission wavelengths ---------------------------------------

struct DarkRow {
    const char *gas;
    double wavelength, relative; // the line and its intensity relative to the lamp's strongest
};
std::ostream &operator<<(std::ostream &o, const DarkRow &r)
{
    return o << r.gas << ' ' << r.wavelength;
}

using GasDarkLines = ::testing::TestWithParam<DarkRow>;

TEST_P(GasDarkLines, SitAtTheEmissionWavelength)
{
    const DarkRow r = GetParam();
    SceneState s = scene(60, 3, 0, 50.0);
    s.source = SourceType::WhiteLight;
    const Absorber gas{AbsorberKind::Gas, lineLampRow(QString::fromUtf8(r.gas)), false};
    const ScreenSpectrum spectrum(s, {}, screenSourceFor(s), gas);
    const double centre = *spectrum.positionOf(r.wavelength);
    const double span = 0.6 * std::abs(spectrum.dispersion().slope(r.wavelength)); // 0.6 nm
    const StripRange range{centre - span / 2, centre + span / 2, 600};
    const std::vector<Rgb> strip = spectrum.strip(range);
    auto brightness = [&](int x) { return redOf(strip[x]) + greenOf(strip[x]) + blueOf(strip[x]); };
    int darkest = 0;
    for (int x = 1; x < range.widthPx; ++x)
        if (brightness(x) < brightness(darkest))
            darkest = x;
    EXPECT_NEAR(*spectrum.read(range.pixelCentre(darkest)).wavelength, r.wavelength, 0.01);
    // Depth from the line's strength: the edges keep the continuum.
    const double depth = 1.0 - double(brightness(darkest)) / brightness(0);
    EXPECT_NEAR(depth, kGasDeepest * std::sqrt(r.relative), 0.03);
    // Over the whole spectrum, where a pixel spans several times the line's width, it still shows.
    const StripRange whole = spectrum.defaultRange(640);
    ASSERT_GT(std::abs(whole.pixelMm() / spectrum.dispersion().slope(r.wavelength)), 2 * kGasLineWidth);
    const std::vector<Rgb> wide = spectrum.strip(whole);
    auto lum = [&](int x) { return redOf(wide[x]) + greenOf(wide[x]) + blueOf(wide[x]); };
    const int at = whole.pixelOf(centre);
    EXPECT_LT(std::min({lum(at - 1), lum(at), lum(at + 1)}),
              (1.0 - 0.4 * kGasDeepest * std::sqrt(r.relative)) * (lum(at - 4) + lum(at + 4)) / 2.0);
}

INSTANTIATE_TEST_SUITE_P(Rows, GasDarkLines,
                         ::testing::Values(DarkRow{"sodium", 588.995, 1.0}, DarkRow{"sodium", 589.592, 0.5},
                                           DarkRow{"hydrogène", 656.279, 1.0}, DarkRow{"hydrogène", 486.133, 0.36},
                                           DarkRow{"mercure", 435.833, 1.0}, DarkRow{"mercure", 546.074, 0.275},
                                           DarkRow{"néon", 692.947, 1.0}),
                         RowName());

// --- The strip's pixel for a wavelength is where its ray lands ---------------------------------

struct PixelRow {
    double wavelength;
    int widthPx;
    double fromMm, toMm; // NaN: the default range
};
std::ostream &operator<<(std::ostream &o, const PixelRow &r)
{
    return o << r.wavelength << "nm " << r.widthPx << "px " << r.fromMm << " to " << r.toMm;
}

using StripPixels = ::testing::TestWithParam<PixelRow>;

TEST_P(StripPixels, LightWhereTheRayLands)
{
    const PixelRow r = GetParam();
    SceneState s = scene(60, 3, 0, 50.0);
    s.source = SourceType::Monochromatic;
    s.wavelength = int(r.wavelength);
    const ScreenSpectrum spectrum(s, {700.0, 15.0, 300.0}, screenSourceFor(s), {});
    StripRange range = spectrum.defaultRange(r.widthPx);
    if (!std::isnan(r.fromMm))
        range = {r.fromMm, r.toMm, r.widthPx};
    // As the scene draws it: the arrows and normals around the emergent line.
    TraceInput in = rayOnlyInput(60, 50.0, cauchy(3, r.wavelength), cauchy(0, r.wavelength));
    in.showNormals = in.showPropagation = true;
    const TraceResult trace = TraceRay(in);
    const ScreenHit hit = screenHit(*spectrum.frame(), trace);
    ASSERT_EQ(hit.status, ScreenLanding::Lands);
    const std::vector<Rgb> strip = spectrum.strip(range);
    for (int x = 0; x < range.widthPx; ++x)
        EXPECT_EQ(strip[std::size_t(x)] != palette::Black, x == range.pixelOf(hit.positionMm)) << x;
}

INSTANTIATE_TEST_SUITE_P(Rows, StripPixels,
                         ::testing::Values(PixelRow{430, 1920, NAN, NAN}, PixelRow{589, 1920, NAN, NAN},
                                           PixelRow{800, 1920, NAN, NAN}, PixelRow{656, 7, NAN, NAN},
                                           PixelRow{500, 300, -40.0, 40.0}, PixelRow{700, 1000, 10.0, 30.0}),
                         RowName());

// --- The Sun's lines against the published tables ---------------------------------------------

struct SunRow {
    const char *designation;
    double wavelength; // nm, as the tables print it
};
std::ostream &operator<<(std::ostream &o, const SunRow &r)
{
    return o << r.designation << ' ' << r.wavelength;
}

using SunLines = ::testing::TestWithParam<SunRow>;

TEST_P(SunLines, HoldTheTableWavelength)
{
    const SunRow r = GetParam();
    int found = 0;
    for (const FraunhoferLine &f : fraunhoferLines())
        found += std::string(f.designation) == r.designation && std::abs(f.wavelength - r.wavelength) <= 0.005;
    EXPECT_EQ(found, 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, SunLines,
                         ::testing::Values(SunRow{"A", 759.37}, SunRow{"B", 686.72}, SunRow{"C", 656.28},
                                           SunRow{"D1", 589.59}, SunRow{"D2", 589.00}, SunRow{"E", 527.04},
                                           SunRow{"b1", 518.36}, SunRow{"b2", 517.27}, SunRow{"F", 486.13},
                                           SunRow{"G", 430.79}, SunRow{"h", 410.17}),
                         RowName());

// --- The ruler ----------------------------------------------------------------------------------

struct RulerRow {
    double fromMm, toMm;
    int widthPx;
    double step;            // mm between ticks
    const char *firstLabel; // of the first major tick
};
std::ostream &operator<<(std::ostream &o, const RulerRow &r)
{
    return o << r.fromMm << " to " << r.toMm << "mm in " << r.widthPx << "px";
}

using Ruler = ::testing::TestWithParam<RulerRow>;

TEST_P(Ruler, TicksOnRoundMillimetres)
{
    const RulerRow r = GetParam();
    const StripRange range{r.fromMm, r.toMm, r.widthPx};
    const std::vector<RulerTick> ticks = rulerTicks(range);
    ASSERT_GE(ticks.size(), 2u);
    EXPECT_NEAR(ticks[1].mm - ticks[0].mm, r.step, 1e-12);
    EXPECT_GE(r.step / range.pixelMm(), 8.0);
    const auto major = std::find_if(ticks.begin(), ticks.end(), [](const RulerTick &t) { return t.major; });
    ASSERT_NE(major, ticks.end());
    EXPECT_EQ(major->label, QString::fromUtf8(r.firstLabel));
    for (const RulerTick &t : ticks)
        EXPECT_NEAR(range.fromMm + t.x * range.pixelMm(), t.mm, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Rows, Ruler,
                         ::testing::Values(RulerRow{-21.6, 9.96, 1200, 0.5, "-21"}, RulerRow{0.0, 2.0, 1000, 0.02, "0"},
                                           RulerRow{-300.0, 300.0, 600, 10.0, "-300"},
                                           RulerRow{3.01, 3.2, 1920, 0.001, "3,010"}),
                         RowName());

// --- Hidden lamp and absorber give no wavelength away ------------------------------------------

TEST(HiddenOrigins, GiveNoWavelength)
{
    for (int lamp = 0; lamp < lineLampCount(); ++lamp) {
        SceneState s = scene(60, 3, 0, 50.0);
        s.lamp = lamp;
        for (const bool hidden : {false, true}) {
            s.lampHidden = hidden;
            const ScreenSpectrum bright(s, {}, screenSourceFor(s), {});
            const std::vector<ObservedLine> seen = bright.lines();
            ASSERT_FALSE(seen.empty()) << lamp;
            for (const ObservedLine &l : seen)
                EXPECT_EQ(l.wavelength.has_value(), !hidden) << lamp;
            EXPECT_EQ(bright.read(seen.front().positionMm).wavelength.has_value(), !hidden) << lamp;
            EXPECT_EQ(bright.sourceName() == QStringLiteral("lampe inconnue"), hidden) << lamp;

            s.lampHidden = false;
            s.source = SourceType::WhiteLight;
            const Absorber gas{AbsorberKind::Gas, lamp, hidden};
            const ScreenSpectrum dark(s, {}, screenSourceFor(s), gas);
            EXPECT_EQ(dark.absorberName() == QStringLiteral("absorbant inconnu"), hidden) << lamp;
            for (const ObservedLine &l : dark.lines()) {
                EXPECT_EQ(l.wavelength.has_value(), !hidden) << lamp;
                EXPECT_EQ(dark.read(l.positionMm).wavelength.has_value(), !hidden) << lamp;
            }
            s.source = SourceType::LineLamp;
        }
    }
    for (Absorber a : absorberChoices()) {
        a.hidden = true;
        EXPECT_EQ(absorberName(a),
                  a.kind == AbsorberKind::None ? QStringLiteral("aucun") : QStringLiteral("absorbant inconnu"));
    }
}

} // namespace
