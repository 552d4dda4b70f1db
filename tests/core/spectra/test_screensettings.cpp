#include "rowname.h"
#include "spectra/screensettings.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace vorlac;

namespace
{

struct ReadingRow {
    double positionMm;
    std::optional<double> wavelength;
    double pixelMm;
    const char *expected;
    friend void PrintTo(const ReadingRow &r, std::ostream *os) { *os << r.expected; }
};

using ReadingText = ::testing::TestWithParam<ReadingRow>;

TEST_P(ReadingText, FrenchDecimalsFineEnoughForOnePixel)
{
    const ReadingRow &r = GetParam();
    EXPECT_EQ(cursorReadingText({r.positionMm, r.wavelength}, r.pixelMm), QString::fromUtf8(r.expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadingText,
                         ::testing::Values(ReadingRow{12.5, 589.0, 0.1, "x = 12,5 mm ; λ = 589,0 nm"},
                                           ReadingRow{12.5, std::nullopt, 0.1, "x = 12,5 mm"},
                                           ReadingRow{-3.25, 486.13, 0.02, "x = -3,25 mm ; λ = 486,1 nm"},
                                           ReadingRow{0.0004, 656.28, 0.0003, "x = 0,000 mm ; λ = 656,3 nm"},
                                           ReadingRow{-0.01, std::nullopt, 2.0, "x = 0,0 mm"}),
                         RowName());

struct ZoomRow {
    const char *name;
    double from, to, factor, around;
    double expectedFrom, expectedTo;
    friend void PrintTo(const ZoomRow &r, std::ostream *os) { *os << r.name; }
};

using Zoom = ::testing::TestWithParam<ZoomRow>;

TEST_P(Zoom, StaysInsideTheWholeSpectrum)
{
    const ZoomRow &r = GetParam();
    const StripRange whole{-40.0, 40.0, 400};
    const StripRange z = zoomedRange({r.from, r.to, 400}, r.factor, r.around, whole);
    EXPECT_NEAR(z.fromMm, r.expectedFrom, 1e-9);
    EXPECT_NEAR(z.toMm, r.expectedTo, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Rows, Zoom,
                         ::testing::Values(ZoomRow{"in_about_the_middle", -40, 40, 2, 0, -20, 20},
                                           ZoomRow{"in_keeps_the_point_in_place", -40, 40, 2, 20, -10, 30},
                                           ZoomRow{"out_never_past_whole", -10, 10, 0.1, 5, -40, 40},
                                           ZoomRow{"out_pushed_back_inside", 20, 40, 0.5, 40, 0, 40},
                                           ZoomRow{"in_stops_at_narrowest", 0, 1, 100, 0.5, 0.25, 0.75}),
                         RowName());

TEST(ObservedLines, FoundNamedAndSteppedThrough)
{
    const std::vector<ObservedLine> lines{
        {-3.0, true, 1, 656.281, QStringLiteral("C")}, {1.0, false, 1, std::nullopt, {}}, {1.2, false, 2, 435.833, {}}};
    EXPECT_EQ(lineAt(lines, 1.15, 0.1), 2);
    EXPECT_EQ(lineAt(lines, 0.0, 0.1), -1);
    EXPECT_EQ(nextLine(lines, 1.0, 1, 0.1), 2);
    EXPECT_EQ(nextLine(lines, 1.0, -1, 0.1), 0);
    EXPECT_EQ(nextLine(lines, 1.2, 1, 0.1), -1);
    EXPECT_EQ(observedLineText(lines[0]), QStringLiteral("raie sombre C, 656,3 nm"));
    EXPECT_EQ(observedLineText(lines[1]), QStringLiteral("raie brillante n° 1"));
}

TEST(ScreenSettingsRules, LimitsAndHiddenAbsorbers)
{
    const ScreenSettings kept = settingsWithinLimits({false, {1.0, 95.0}, false, {AbsorberKind::Gas, 999, true}});
    EXPECT_EQ(kept.placement.distanceMm, kScreenMinDistanceMm);
    EXPECT_EQ(kept.placement.turnDegrees, kScreenMaxTurnDegrees);
    EXPECT_EQ(kept.absorber, Absorber{});

    for (quint32 draw = 0; draw < 3 * absorberChoices().size(); ++draw) {
        const Absorber a = unknownAbsorber(draw);
        EXPECT_NE(a.kind, AbsorberKind::None) << draw;
        EXPECT_EQ(absorberChoiceRow(a), -1) << draw;
        EXPECT_EQ(settingsWithinLimits({true, {}, false, a}).absorber, a) << draw;
    }
}

} // namespace
