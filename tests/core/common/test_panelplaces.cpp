#include "common/panelplaces.h"
#include "rowname.h"

#include <gtest/gtest.h>

using namespace vorlac;

namespace
{

struct PlacesRow {
    const char *name;
    const char *text;          // the places file
    std::optional<QPoint> got; // PictureMesures's place in it
    const char *after;         // the file once PictureMesures is at (7, -3)
};
void PrintTo(const PlacesRow &r, std::ostream *os)
{
    *os << r.name;
}
class PanelPlaces : public ::testing::TestWithParam<PlacesRow>
{
};

TEST_P(PanelPlaces, ReadAndRewritten)
{
    const PlacesRow &r = GetParam();
    EXPECT_EQ(panelPlace(r.text, "PictureMesures"), r.got);
    EXPECT_EQ(withPanelPlace(r.text, "PictureMesures", {7, -3}), QByteArray(r.after));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PanelPlaces,
    ::testing::Values(PlacesRow{"empty", "", std::nullopt, "PictureMesures=7,-3\n"},
                      PlacesRow{"own_line", "PictureMesures=796,48\n", QPoint(796, 48), "PictureMesures=7,-3\n"},
                      PlacesRow{"among_others", "Autre=1,2\nPictureMesures = 5 , 6\nX=3,4", QPoint(5, 6),
                                "Autre=1,2\nPictureMesures=7,-3\nX=3,4\n"},
                      PlacesRow{"damaged", "PictureMesures=12\n", std::nullopt, "PictureMesures=7,-3\n"},
                      PlacesRow{"not_numbers", "PictureMesures=a,b\r\n", std::nullopt, "PictureMesures=7,-3\n"}),
    RowName());

TEST(PanelPlace, KeptInside)
{
    EXPECT_EQ(keptInside({900, -20}, {361, 249}, {1000, 700}), QPoint(639, 0));
    EXPECT_EQ(keptInside({10, 10}, {361, 249}, {300, 200}), QPoint(0, 0)); // too small: its corner shows
}

} // namespace
