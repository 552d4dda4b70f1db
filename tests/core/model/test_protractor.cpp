#include "model/protractor.h"
#include "render/protractorpainter.h"
#include "rowname.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <limits>

using namespace vorlac;

namespace
{

const QLocale kFrench(QLocale::French, QLocale::France);

QPointF at(double radius, double angle)
{
    return protractorPolar(radius, angle);
}

struct DirectionRow {
    double x, y, expected;
};

void PrintTo(const DirectionRow &r, std::ostream *os)
{
    *os << "x " << r.x << " y " << r.y;
}

class MouseDirectionRows : public ::testing::TestWithParam<DirectionRow>
{
};

TEST_P(MouseDirectionRows, SeenFromTheCentre)
{
    EXPECT_NEAR(mouseDirection(GetParam().x, GetParam().y), GetParam().expected, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Protractor, MouseDirectionRows,
                         ::testing::Values(DirectionRow{100, 40, 1.571}, DirectionRow{100, 160, -1.571},
                                           DirectionRow{100, 100, -1.571}, DirectionRow{150, 50, 0.7853982},
                                           DirectionRow{50, 50, 3.1416 - 0.7853982},
                                           DirectionRow{50, 150, 3.1416 + 0.7853982},
                                           DirectionRow{150, 150, -0.7853982}, DirectionRow{190, 100, 0.0},
                                           DirectionRow{10, 100, 3.1416}),
                         RowName());

// The sphere dragged to a point given by its direction from the centre (radius 50), with the
// protractor turned by rotation and the line starting perpendicular to the base.
struct AimRow {
    const char *what;
    float rotation;
    double direction;
    float expectedAngle; // radians, stored
    const char *readOut;
};

void PrintTo(const AimRow &r, std::ostream *os)
{
    *os << r.what;
}

class AimRows : public ::testing::TestWithParam<AimRow>
{
};

TEST_P(AimRows, SnapsRestoresAndReadsOut)
{
    const AimRow &row = GetParam();
    ProtractorState s;
    s.rotation = row.rotation;
    const QPointF p = at(50, row.direction);
    aimLine(s, p.x(), p.y());
    EXPECT_NEAR(s.lineAngle, row.expectedAngle, 2e-6) << row.what;
    EXPECT_EQ(readOutText(s.lineAngle, kFrench), QString::fromUtf8(row.readOut)) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Protractor, AimRows,
    ::testing::Values(AimRow{"right end of the base", 0, 0.0, 0.0f, "0,0"},
                      AimRow{"left end: 180 degrees reads 0", 0, 3.1416, 3.1415927f, "0,0"},
                      AimRow{"30 degrees", 0, 0.5235988, 0.5235988f, "30,0"},
                      AimRow{"150 degrees reads 30", 0, 2.6179939, 2.6180012f, "30,0"},
                      AimRow{"straight up", 0, 1.5707963, 1.5707963f, "90,0"},
                      AimRow{"just below the right end snaps to 0", 0, -0.27, 0.0f, "0,0"},
                      AimRow{"further below the right end keeps the line", 0, -0.29, 1.571f, "90,0"},
                      AimRow{"just below the left end snaps to 180", 0, 3.1416 + 0.15, 3.1415927f, "0,0"},
                      AimRow{"further below the left end keeps the line", 0, 3.1416 + 0.17, 1.571f, "90,0"},
                      AimRow{"straight below keeps the line", 0, -1.5707963, 1.571f, "90,0"},
                      AimRow{"turned protractor, measured from its base", 1.0f, 1.5, 0.5f, "28,6"},
                      AimRow{"turned past pi, line across 0", 5.0f, 0.5, 1.78f, "78,0"},
                      AimRow{"turned past pi, below its base", 5.0f, 4.0, 1.571f, "90,0"}),
    RowName());

TEST(Protractor, StartReadOutIsTheDesignedText)
{
    EXPECT_EQ(readOutText(ProtractorState{}.lineAngle, kFrench), QStringLiteral("90,0"));
    EXPECT_EQ(readOutText(ProtractorState{}.lineAngle, QLocale(QLocale::English, QLocale::UnitedStates)),
              QStringLiteral("90.0"));
}

TEST(Protractor, TurningKeepsTheHandleUnderTheMouseAndTheMeasuredAngle)
{
    struct Row {
        double x, y, rotation;
    };
    for (const Row &row :
         {Row{100, 20, 1.671}, Row{100, 180, 6.28 - 1.471}, Row{20, 100, 3.2416}, Row{180, 100, 0.1}}) {
        ProtractorState s;
        turnProtractor(s, row.x, row.y);
        layoutProtractor(s);
        EXPECT_NEAR(s.rotation, row.rotation, 2e-6) << row.x << "," << row.y;
        EXPECT_EQ(s.lineAngle, 1.571f);
    }
}

TEST(Protractor, NormalisationIsBoundedForAnyValue)
{
    struct Row {
        float in;
        double out;
    };
    for (const Row &row :
         {Row{0.0f, 0.0}, Row{3.0f, 3.0}, Row{7.0f, 0.72}, Row{-1.0f, 5.28}, Row{13.0f, 13.0 - 2 * 6.28},
          Row{std::numeric_limits<float>::quiet_NaN(), 0.0}, Row{std::numeric_limits<float>::infinity(), 0.0},
          Row{-std::numeric_limits<float>::infinity(), 0.0}})
        EXPECT_NEAR(normaliseRotation(row.in), row.out, 2e-6) << row.in;
    for (float huge : {1e30f, -1e30f, 4e7f, -12345.6f}) {
        const float r = normaliseRotation(huge);
        EXPECT_GE(r, 0.0f) << huge;
        EXPECT_LE(r, 6.2800002f) << huge;
    }
}

TEST(Protractor, MovesStayInsideTheSceneOnEverySide)
{
    struct Row {
        double x, y;
        QPoint expected;
    };
    const QRect scene(0, 0, 616, 390);
    // Grabbed at (8, 8) of the cross; the cross is where the move puts the mouse.
    for (const Row &row : {Row{18, 13, {74, 21}}, Row{-100, 8, {0, 16}}, Row{8, -100, {64, 0}}, Row{600, 8, {414, 16}},
                           Row{8, 400, {64, 188}}, Row{-999, -999, {0, 0}}, Row{999, 999, {414, 188}}}) {
        ProtractorState s;
        recordCrossGrab(s, 8, 8);
        moveProtractor(s, row.x, row.y, scene);
        EXPECT_EQ(s.position, row.expected) << row.x << "," << row.y;
    }
}

TEST(Protractor, GrabPointRoundsHalvesToEven)
{
    ProtractorState s;
    recordCrossGrab(s, 2.5, 3.5);
    EXPECT_EQ(s.crossGrabX, 2);
    EXPECT_EQ(s.crossGrabY, 4);
}

TEST(Protractor, LayoutAtStart)
{
    ProtractorState s;
    const ProtractorFigure f = layoutProtractor(s);
    ASSERT_EQ(f.arcs.size(), 2u);
    EXPECT_DOUBLE_EQ(f.arcs[0].end, 3.1415927);
    EXPECT_DOUBLE_EQ(f.arcs[1].end, 3.1416);
    // 2 base radii, 19 graduations, 3 straight-edge lines, the centre mark.
    ASSERT_EQ(f.lines.size(), 25u);
    EXPECT_EQ(f.lines[21].a, QPointF(1, 120));
    EXPECT_EQ(f.lines[21].b, QPointF(199, 120));
    EXPECT_EQ(f.lines[22].b, QPointF(1, 100));
    EXPECT_EQ(f.lines[23].b, QPointF(199, 100));
    EXPECT_EQ(f.lines[24].a, QPointF(100, 104));
    EXPECT_EQ(f.lines[24].b, QPointF(100, 96));
    EXPECT_NEAR(f.turnHandle.x(), 179.531938, 1e-4);
    EXPECT_NEAR(f.turnHandle.y(), 101.064202, 1e-4);
    EXPECT_NEAR(f.cross.x(), 4.425753, 1e-4);
    EXPECT_NEAR(f.cross.y(), 100.645876, 1e-4);
    EXPECT_NEAR(f.sphere.x(), 91.981669, 1e-4);
    EXPECT_NEAR(f.sphere.y(), 2.000002, 1e-4);
    EXPECT_EQ(f.measuringLine.a, QPointF(100, 100));
    EXPECT_NEAR(f.measuringLine.b.y(), 10.000002, 1e-4);
}

TEST(Protractor, PastPiTheOuterArcIsTwoPiecesThatMeetAtZero)
{
    ProtractorState s;
    s.rotation = 4.0f + 6.28f; // stored normalised by the drawing
    const ProtractorFigure f = layoutProtractor(s);
    EXPECT_NEAR(s.rotation, 4.0f, 1e-5);
    ASSERT_EQ(f.arcs.size(), 3u);
    EXPECT_NEAR(f.arcs[0].start, 4.0, 1e-5);
    EXPECT_DOUBLE_EQ(f.arcs[0].end, 6.28);
    EXPECT_DOUBLE_EQ(f.arcs[1].start, 0.0);
    EXPECT_NEAR(f.arcs[1].end, 4.0 + 3.1415927 - 6.28, 1e-5);
}

// Pixels of the painted picture: colours per background, the copy of the scene under the
// protractor, and the outer arc lit across the rightward direction when turned past pi.
TEST(ProtractorPicture, ColoursBackgroundAndContinuousArc)
{
    struct Row {
        bool black;
        QRgb scene, main, line;
    };
    for (const Row &row :
         {Row{true, 0xff000000u, 0xffffffffu, 0xff00ffffu}, Row{false, 0xffffffffu, 0xff000000u, 0xff008080u}}) {
        QImage scene(616, 390, QImage::Format_RGB32);
        scene.fill(row.scene);
        scene.setPixel(64 + 150, 16 + 150, 0xff123456u);
        ProtractorState s;
        const QImage bg = copyProtractorBackground(scene, s.position);
        EXPECT_EQ(bg.pixel(150, 150), 0xff123456u);
        const ProtractorFigure f = layoutProtractor(s);
        const QImage pic = drawProtractorPicture(bg, s.position, {}, nullptr, f, protractorColours(row.black));
        EXPECT_EQ(pic.pixel(100, 1), row.main);                                       // top of the outer arc
        EXPECT_TRUE(pic.pixel(99, 50) == row.line || pic.pixel(100, 50) == row.line); // measuring line
        EXPECT_EQ(pic.pixel(100, 150), row.scene);                                    // under the base, nothing drawn

        s.rotation = 4.5f;
        const ProtractorFigure turned = layoutProtractor(s);
        const QImage pic2 = drawProtractorPicture(bg, s.position, {}, nullptr, turned, protractorColours(row.black));
        for (int y = 92; y <= 108; ++y) {
            bool lit = false;
            for (int x = 197; x <= 200; ++x)
                lit = lit || pic2.pixel(x, y) == row.main;
            EXPECT_TRUE(lit) << "gap in the outer arc at y " << y;
        }
    }
}

TEST(ProtractorPicture, BackgroundPastTheSceneIsWhite)
{
    QImage scene(616, 390, QImage::Format_RGB32);
    scene.fill(0xff000000u);
    const QImage bg = copyProtractorBackground(scene, QPoint(500, 300));
    EXPECT_EQ(bg.pixel(10, 10), 0xff000000u);
    EXPECT_EQ(bg.pixel(150, 10), 0xffffffffu);
    EXPECT_EQ(bg.pixel(10, 150), 0xffffffffu);
}

TEST(ProtractorPicture, OverlaysAreShiftedIntoTheProtractor)
{
    QImage bg(202, 202, QImage::Format_RGB32);
    bg.fill(0xff000000u);
    QImage lamp(32, 32, QImage::Format_ARGB32);
    lamp.fill(0xffff0000u);
    SceneOverlays o;
    o.line1 = QLine(64, 116, 264, 116); // y 100 in the protractor
    o.line1Colour = makeRgb(0, 255, 0);
    o.lampTopLeft = QPoint(64 + 150, 16 + 20);
    QImage pic = bg;
    QPainter p(&pic);
    paintSceneOverlays(p, o, &lamp, QPoint(64, 16));
    p.end();
    EXPECT_EQ(pic.pixel(50, 100), 0xff00ff00u);
    EXPECT_EQ(pic.pixel(160, 30), 0xffff0000u);
    EXPECT_EQ(pic.pixel(140, 30), 0xff000000u);
}

} // namespace
