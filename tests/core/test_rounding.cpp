#include "common/rounding.h"

#include <gtest/gtest.h>

namespace
{

struct RoundRow {
    double in;
    int expected;
};

void PrintTo(const RoundRow &r, std::ostream *os)
{
    *os << r.in;
}

class ToInt16 : public ::testing::TestWithParam<RoundRow>
{
};

TEST_P(ToInt16, HalvesGoToEven)
{
    EXPECT_EQ(vorlac::toInt16(GetParam().in), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, ToInt16,
                         ::testing::Values(RoundRow{262.5, 262}, RoundRow{263.5, 264}, RoundRow{-2.5, -2},
                                           RoundRow{-3.5, -4}, RoundRow{127.5, 128}, RoundRow{0.49, 0},
                                           RoundRow{1e9, 32767}, RoundRow{-1e9, -32768}, RoundRow{std::nan(""), 0}));

} // namespace
