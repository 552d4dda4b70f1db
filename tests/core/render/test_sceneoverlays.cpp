#include "output/figurepage.h"
#include "render/sceneoverlays.h"
#include "render/scenerenderer.h"

#include <gtest/gtest.h>
#include <ostream>

using namespace vorlac;

namespace
{

struct OverlayRow {
    const char *name;
    PointD start, end, lamp; // as the trace left them
    QLine line1;             // where the window shows them
    QPoint lampTopLeft;
};

// The row's name in a failure message.
[[maybe_unused]] void PrintTo(const OverlayRow &row, std::ostream *os)
{
    *os << row.name;
}

class SceneOverlayPixels : public ::testing::TestWithParam<OverlayRow>
{
};

// The view, the printed or copied figure and the protractor all take these positions; the
// burnt figure shows the line and the lamp there and leaves the picture itself alone.
TEST_P(SceneOverlayPixels, RoundedOnceAndBurntThere)
{
    const OverlayRow &row = GetParam();
    ScenePicture picture;
    picture.image.fill(0xff000000u);
    picture.lastLayout.line1Start = row.start;
    picture.lastLayout.line1End = row.end;
    picture.lastLayout.lampTopLeft = row.lamp;
    picture.line1Colour = palette::Yellow;
    const SceneOverlays o = sceneOverlays(picture);
    EXPECT_EQ(o.line1, row.line1);
    EXPECT_EQ(o.lampTopLeft, row.lampTopLeft);
    EXPECT_EQ(o.line1Colour, palette::Yellow);

    QImage lamp(32, 32, QImage::Format_ARGB32);
    lamp.fill(0xffff0000u);
    const QImage burnt = figureWithOverlays(picture, lamp);
    const QRect inside = picture.image.rect();
    if (inside.contains(row.line1.p2())) {
        EXPECT_EQ(burnt.pixel(row.line1.p2()), toQRgb(palette::Yellow));
    }
    if (inside.contains(row.lampTopLeft + QPoint(31, 31))) {
        EXPECT_EQ(burnt.pixel(row.lampTopLeft + QPoint(31, 31)), 0xffff0000u);
    }
    EXPECT_EQ(picture.image.pixel(row.line1.p2()), 0xff000000u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SceneOverlayPixels,
    ::testing::Values(
        OverlayRow{"HalvesGoToEven", {100.5, 41.5}, {200.5, 43.5}, {84.5, 25.5}, {100, 42, 200, 44}, {84, 26}},
        OverlayRow{"NegativeAndNearHalves", {-3.5, -0.5}, {10.49, 7.51}, {-19.5, 100.5}, {-4, 0, 10, 8}, {-20, 100}},
        OverlayRow{
            "FarOutsideSaturates", {1e6, -1e6}, {300, 200}, {-1e6, 40}, {32767, -32768, 300, 200}, {-32768, 40}}),
    [](const auto &row) { return std::string(row.param.name); });

} // namespace
