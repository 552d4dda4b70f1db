// Dragging the drawn screen: the pointer's move along the beam to a distance (true scale in the
// picture, 10 mm a pixel beyond the break), the handle's sweep to a turn, both within the limits;
// what the pointer is over, the handle kept in what the frame shows.
#include "rowname.h"
#include "spectra/screendrag.h"
#include "spectra/screenfigure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

using namespace vorlac;

namespace
{

enum class Gesture { Move, Turn, Point };

struct DragRow {
    const char *name;
    double distanceMm, turnDegrees;
    Gesture gesture;
    double along;     // Move: pixels along the beam; Point: from the drawn centre (or the handle)
    double swept;     // Turn: degrees anticlockwise around the centre; Point: 1 from the handle
    double expected;  // the distance, the turn, or the ScreenGrip
    double scale = 1; // Point: window pixels per scene pixel
    QRectF shown = QRectF(0, 0, kSceneWidth, kSceneHeight); // what the frame shows of the scene
    friend void PrintTo(const DragRow &row, std::ostream *os) { *os << row.name; }
};
class ScreenDragRows : public ::testing::TestWithParam<DragRow>
{
};

TEST_P(ScreenDragRows, GiveTheDistanceTurnOrGrip)
{
    const DragRow &r = GetParam();
    ScreenSettings settings;
    settings.shown = true;
    settings.placement = {r.distanceMm, r.turnDegrees};
    const SceneState state;
    SceneFigure figure = traceFigure(state, nullptr);
    screenFigure(figure, settings);
    const std::optional<ScreenFrame> frame = screenFrame(state, settings.placement);
    ASSERT_TRUE(frame.has_value());
    const DrawnScreen s = drawnScreen(ScreenLayer{*frame, {}, figure.stop, r.distanceMm}, r.shown);
    EXPECT_EQ(s.shift.x != 0.0 || s.shift.y != 0.0, r.distanceMm >= 500.0) << "not the view the row names";
    const double k = kScreenHandleRadiusPx;
    EXPECT_TRUE(r.shown.adjusted(k, k, -k, -k).contains(s.handle.x, s.handle.y)) << "the handle is out of sight";
    const PointD b = s.frame.beam;
    if (r.gesture == Gesture::Move) {
        const PointD to{s.centre.x + r.along * b.x - r.swept * b.y, s.centre.y + r.along * b.y + r.swept * b.x};
        EXPECT_EQ(draggedScreenDistance(s, r.distanceMm, s.centre, to), r.expected);
    } else if (r.gesture == Gesture::Turn) {
        const double radius = std::hypot(s.handle.x - s.centre.x, s.handle.y - s.centre.y);
        const double a = std::atan2(s.handle.y - s.centre.y, s.handle.x - s.centre.x) - r.swept * M_PI / 180.0;
        const PointD to{s.centre.x + radius * std::cos(a), s.centre.y + radius * std::sin(a)};
        EXPECT_EQ(draggedScreenTurn(s, r.turnDegrees, s.handle, to), r.expected);
    } else {
        const PointD from = r.swept != 0.0 ? s.handle : s.centre;
        EXPECT_EQ(screenGripAt(s, {from.x + r.along * b.x, from.y + r.along * b.y}, r.scale),
                  ScreenGrip(int(r.expected)));
    }
}

constexpr double kNone = double(ScreenGrip::None), kLine = double(ScreenGrip::Screen),
                 kHandle = double(ScreenGrip::Handle);
const DragRow kDrags[] = {
    {"near 40 px away from the prism", 40, 0, Gesture::Move, 40, 0, 50},
    {"near across the beam", 40, 0, Gesture::Move, 0, 30, 40},
    {"near turned screen along the beam", 40, 60, Gesture::Move, 20, 0, 45},
    {"broken 10 px away", 500, 0, Gesture::Move, 10, 0, 600},
    {"broken 20 px towards", 500, 0, Gesture::Move, -20, 5, 300},
    {"clamped far", 500, 0, Gesture::Move, 1000, 0, 3000},
    {"clamped at the prism", 40, 0, Gesture::Move, -1000, 0, 20},
    {"handle 30 anticlockwise", 40, 0, Gesture::Turn, 0, 30, 30},
    {"turned broken handle 25 clockwise", 1000, 40, Gesture::Turn, 0, -25, 15},
    {"handle clamped at 80", 40, 70, Gesture::Turn, 0, 30, 80},
    {"handle clamped at -80", 40, -60, Gesture::Turn, 0, -45, -80},
    {"near 4 px off the line", 40, 0, Gesture::Point, 4, 0, kLine},
    {"near 12 px off the line", 40, 0, Gesture::Point, 12, 0, kNone},
    {"zoomed 4 px off the line", 40, 0, Gesture::Point, 4, 0, kNone, 2},
    {"turned handle", 40, 50, Gesture::Point, 3, 1, kHandle},
    {"broken drawn centre", 500, 0, Gesture::Point, 0, 0, kLine},
    {"broken beyond the picture's edge", 500, 0, Gesture::Point, 320, 0, kNone},
    {"upper end out of sight", 500, 0, Gesture::Point, 0, 1, kHandle, 1, QRectF(0, 0, 600, 200)},
};
INSTANTIATE_TEST_SUITE_P(Rows, ScreenDragRows, ::testing::ValuesIn(kDrags), RowName());

} // namespace
