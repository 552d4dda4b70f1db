#include "model/lampgeometry.h"

#include <gtest/gtest.h>

using namespace vorlac;

namespace
{

struct DirectionRow {
    const char *name;
    double x, y;
    double expected;
};

void PrintTo(const DirectionRow &r, std::ostream *os)
{
    *os << r.name << " (" << r.x << ", " << r.y << ")";
}

class LampDirectionRows : public ::testing::TestWithParam<DirectionRow>
{
};

TEST_P(LampDirectionRows, FromTheMouseTowardsM)
{
    const DirectionRow r = GetParam();
    EXPECT_NEAR(lampDirection(r.x, r.y, 262), r.expected, 1e-6);
}

// M = (262, 125). Straight above and below are exact; the others go through atan.
INSTANTIATE_TEST_SUITE_P(Rows, LampDirectionRows,
                         ::testing::Values(DirectionRow{"StraightAbove", 262, 0, -90.0},
                                           DirectionRow{"StraightAboveNearM", 262, 124.9, -90.0},
                                           DirectionRow{"StraightBelow", 262, 300, 90.0},
                                           DirectionRow{"LevelWithM", 262, 125, 90.0},
                                           DirectionRow{"LevelOnTheLeft", 100, 125, 0.0},
                                           DirectionRow{"LevelOnTheRight", 400, 125, -180.0},
                                           DirectionRow{"UpperLeft", 162, 25, -44.99999979},
                                           DirectionRow{"LowerLeft", 162, 225, 44.99999979},
                                           DirectionRow{"UpperRight", 362, 25, -135.00000021},
                                           DirectionRow{"LowerRight", 362, 225, 135.00000021}),
                         [](const auto &row) { return std::string(row.param.name); });

struct IncidenceRow {
    const char *name;
    double x, y;
    int apex;
    double current;
    bool accepted;
    double expected;
};

void PrintTo(const IncidenceRow &r, std::ostream *os)
{
    *os << r.name << " (" << r.x << ", " << r.y << ") A " << r.apex << " from " << r.current;
}

class LampIncidenceRows : public ::testing::TestWithParam<IncidenceRow>
{
};

TEST_P(LampIncidenceRows, StepAndLimits)
{
    const IncidenceRow r = GetParam();
    const std::optional<double> i = lampIncidence(r.x, r.y, 262, r.apex, r.current);
    ASSERT_EQ(i.has_value(), r.accepted);
    if (r.accepted) {
        EXPECT_NEAR(*i, r.expected, 1e-6);
    }
}

// Level on the left gives exactly A/2, which pins the 15-degree step to its limit.
INSTANTIATE_TEST_SUITE_P(Rows, LampIncidenceRows,
                         ::testing::Values(IncidenceRow{"HalfTheApex", 100, 125, 45, 36, true, 22.5},
                                           IncidenceRow{"FifteenUpIsAccepted", 100, 125, 60, 15, true, 30},
                                           IncidenceRow{"JustPastFifteenUp", 100, 125, 60, 14.999, false, 0},
                                           IncidenceRow{"FifteenDownIsAccepted", 100, 125, 60, 45, true, 30},
                                           IncidenceRow{"JustPastFifteenDown", 100, 125, 60, 45.001, false, 0},
                                           IncidenceRow{"StraightAboveAtTheApexMinimum", 262, 0, 2, -80, true, -89},
                                           IncidenceRow{"StraightBelowIsPast90", 262, 300, 2, 85, false, 0},
                                           IncidenceRow{"JustUnder90", 162, 225, 90, 80, true, 89.99999979},
                                           IncidenceRow{"Past90", 163, 225, 90, 80, false, 0},
                                           IncidenceRow{"PastMinus90", 362, 25, 2, -85, false, 0},
                                           IncidenceRow{"UpperLeftWithTheDefaultApex", 162, 25, 45, -30, true,
                                                        -22.49999979}),
                         [](const auto &row) { return std::string(row.param.name); });

} // namespace
