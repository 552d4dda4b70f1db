// Dragging the drawn screen: the pointer's move along the beam to a distance (true scale in the
// picture, 10 mm a pixel beyond the break), the handle's sweep to a turn, both within the limits.
#include "rowname.h"
#include "spectra/screendrag.h"
#include "spectra/screenfigure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

using namespace vorlac;

namespace
{

DrawnScreen drawnAt(double distanceMm, double turnDegrees, QRectF shown = QRectF(0, 0, kSceneWidth, kSceneHeight))
{
    ScreenSettings settings;
    settings.shown = true;
    settings.placement.distanceMm = distanceMm;
    settings.placement.turnDegrees = turnDegrees;
    SceneState state;
    state.source = SourceType::WhiteLight;
    SpectrumColours colours;
    FillSpectrumColours(colours);
    SceneFigure figure = traceFigure(state, &colours);
    screenFigure(figure, settings);
    const std::optional<ScreenFrame> frame = screenFrame(state, settings.placement);
    EXPECT_TRUE(frame.has_value());
    return drawnScreen(ScreenLayer{*frame, {}, figure.stop, distanceMm}, shown);
}

PointD offset(PointD p, PointD direction, double t)
{
    return {p.x + t * direction.x, p.y + t * direction.y};
}

struct DragRow {
    const char *name;
    double distanceMm, turnDegrees;
    ScreenGrip grip;
    double along, across; // the screen's drag: pixels along the beam and across it
    double swept;         // the handle's drag: degrees anticlockwise around the centre
    double expected;      // the distance or the turn after the drag
};
void PrintTo(const DragRow &row, std::ostream *os)
{
    *os << row.name;
}
class ScreenDragRows : public ::testing::TestWithParam<DragRow>
{
};

TEST_P(ScreenDragRows, GiveTheDistanceOrTurn)
{
    const DragRow &r = GetParam();
    const DrawnScreen s = drawnAt(r.distanceMm, r.turnDegrees);
    const bool broken = s.shift.x != 0.0 || s.shift.y != 0.0;
    EXPECT_EQ(broken, r.distanceMm >= 500.0) << "the row's view is not the one it names";
    if (r.grip == ScreenGrip::Screen) {
        const PointD across{-s.frame.beam.y, s.frame.beam.x};
        const PointD to = offset(offset(s.centre, s.frame.beam, r.along), across, r.across);
        EXPECT_EQ(draggedScreenDistance(s, r.distanceMm, s.centre, to), r.expected);
    } else {
        const double radius = std::hypot(s.handle.x - s.centre.x, s.handle.y - s.centre.y);
        const double from = std::atan2(s.handle.y - s.centre.y, s.handle.x - s.centre.x);
        const double a = from - r.swept * M_PI / 180.0; // y downwards: anticlockwise as drawn
        const PointD to{s.centre.x + radius * std::cos(a), s.centre.y + radius * std::sin(a)};
        EXPECT_EQ(draggedScreenTurn(s, r.turnDegrees, s.handle, to), r.expected);
    }
}

const DragRow kDrags[] = {
    {"near 40 px away from the prism", 40, 0, ScreenGrip::Screen, 40, 0, 0, 50},
    {"near 40 px towards it", 40, 0, ScreenGrip::Screen, -40, 0, 0, 30},
    {"near across the beam", 40, 0, ScreenGrip::Screen, 0, 30, 0, 40},
    {"near turned screen along the beam", 40, 60, ScreenGrip::Screen, 20, 0, 0, 45},
    {"broken 10 px away", 500, 0, ScreenGrip::Screen, 10, 0, 0, 600},
    {"broken 20 px towards", 500, 0, ScreenGrip::Screen, -20, 5, 0, 300},
    {"clamped far", 500, 0, ScreenGrip::Screen, 1000, 0, 0, 3000},
    {"clamped at the prism", 40, 0, ScreenGrip::Screen, -1000, 0, 0, 20},
    {"handle 30 anticlockwise", 40, 0, ScreenGrip::Handle, 0, 0, 30, 30},
    {"turned handle 25 clockwise", 40, 40, ScreenGrip::Handle, 0, 0, -25, 15},
    {"broken handle 20 anticlockwise", 1000, -10, ScreenGrip::Handle, 0, 0, 20, 10},
    {"handle clamped at 80", 40, 70, ScreenGrip::Handle, 0, 0, 30, 80},
    {"handle clamped at -80", 40, -60, ScreenGrip::Handle, 0, 0, -45, -80},
};
INSTANTIATE_TEST_SUITE_P(Rows, ScreenDragRows, ::testing::ValuesIn(kDrags), RowName());

struct GripRow {
    const char *name;
    double distanceMm, turnDegrees;
    bool atHandle;
    double along; // pixels along the beam from the drawn centre (or the handle)
    bool trueCentre;
    ScreenGrip expected;
    QRectF shown = QRectF(0, 0, kSceneWidth, kSceneHeight); // what the frame shows of the scene
};
void PrintTo(const GripRow &row, std::ostream *os)
{
    *os << row.name;
}
class ScreenGripRows : public ::testing::TestWithParam<GripRow>
{
};

TEST_P(ScreenGripRows, FindWhatThePointerIsOver)
{
    const GripRow &r = GetParam();
    const DrawnScreen s = drawnAt(r.distanceMm, r.turnDegrees, r.shown);
    EXPECT_TRUE(
        r.shown.adjusted(kScreenHandleRadiusPx, kScreenHandleRadiusPx, -kScreenHandleRadiusPx, -kScreenHandleRadiusPx)
            .contains(s.handle.x, s.handle.y))
        << "the handle is out of sight";
    const PointD base = r.trueCentre ? s.frame.centre : r.atHandle ? s.handle : s.centre;
    EXPECT_EQ(screenGripAt(s, offset(base, s.frame.beam, r.along)), r.expected);
}

const GripRow kGrips[] = {
    {"near centre", 40, 0, false, 0, false, ScreenGrip::Screen},
    {"near 4 px off the line", 40, 0, false, 4, false, ScreenGrip::Screen},
    {"near 12 px off the line", 40, 0, false, 12, false, ScreenGrip::None},
    {"near handle", 40, 0, true, 3, false, ScreenGrip::Handle},
    {"turned handle", 40, 50, true, 0, false, ScreenGrip::Handle},
    {"broken drawn centre", 500, 0, false, 0, false, ScreenGrip::Screen},
    {"broken true centre outside", 500, 0, false, 0, true, ScreenGrip::None},
    {"broken handle", 500, 0, true, -2, false, ScreenGrip::Handle},
    {"broken handle in the frame's top", 500, 40, true, 0, false, ScreenGrip::Handle, QRectF(0, 0, 616, 247)},
    {"upper end out of sight", 500, 0, true, 0, false, ScreenGrip::Handle, QRectF(0, 0, 600, 200)},
};
INSTANTIATE_TEST_SUITE_P(Rows, ScreenGripRows, ::testing::ValuesIn(kGrips), RowName());

} // namespace
