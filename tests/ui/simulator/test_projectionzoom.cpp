#include "rowname.h"
#include "simulator/figureoptions.h"
#include "simulator/projectioncommands.h"
#include "simulator/projectionwindow.h"
#include "simulator/protractorview.h"
#include "simulator/sceneframe.h"
#include "simulator/sceneview.h"
#include "vorlacfixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <ostream>

using namespace vorlac;

namespace
{

struct ZoomRow {
    const char *name;
    bool projection;
    int notches;           // Ctrl+wheel, one event
    std::vector<int> keys; // then Ctrl+these
    double zoom;
};

[[maybe_unused]] void PrintTo(const ZoomRow &row, std::ostream *os)
{
    *os << row.name;
}

class ZoomInput : public VorlacFixture, public ::testing::WithParamInterface<ZoomRow>
{
};

// Ctrl+wheel and Ctrl+plus/minus keep the scene point under the pointer within 1x..20x; Ctrl+0
// is the whole scene again.
TEST_P(ZoomInput, KeepsThePointUnderThePointer)
{
    const ZoomRow &row = GetParam();
    Vorlac &w = window();
    w.show();
    w.activateWindow();
    if (!row.projection && !QTest::qWaitForWindowActive(&w))
        GTEST_SKIP() << "no active window on this platform";
    if (row.projection)
        w.projection().toggle();
    QWidget *target = row.projection ? static_cast<QWidget *>(w.projection().window()) : w.sceneFrame().view();
    const auto view = [&] {
        return row.projection ? w.projection().window()->viewport() : w.sceneFrame().view()->viewport();
    };
    const QPointF pointer = row.projection ? QPointF(target->width() * 0.7, target->height() * 0.3) : QPointF(200, 80);
    QCursor::setPos(target->mapToGlobal(pointer.toPoint()));
    const QPointF under = view().toScene(pointer);
    QWheelEvent wheel(pointer, target->mapToGlobal(pointer), {}, {0, 120 * row.notches}, {}, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
    for (const int key : row.keys)
        QTest::keyClick(row.projection ? target : &w, static_cast<Qt::Key>(key), Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view().zoom, row.zoom);
    if (row.zoom > 1) {
        EXPECT_NEAR(view().toScene(pointer).x(), under.x(), 1e-6);
        EXPECT_NEAR(view().toScene(pointer).y(), under.y(), 1e-6);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ZoomInput,
    ::testing::Values(ZoomRow{"projection wheel", true, 2, {}, 1.5625}, ZoomRow{"projection to 20", true, 40, {}, 20},
                      ZoomRow{"projection out stays 1", true, -3, {}, 1},
                      ZoomRow{"projection keys", true, 0, {Qt::Key_Plus, Qt::Key_Plus, Qt::Key_Minus}, 1.25},
                      ZoomRow{"projection ctrl 0", true, 5, {Qt::Key_0}, 1}, ZoomRow{"main wheel", false, 1, {}, 1.25},
                      ZoomRow{"main to 20", false, 60, {Qt::Key_Equal}, 20},
                      ZoomRow{"main keys", false, -1, {Qt::Key_Plus, Qt::Key_Plus, Qt::Key_Minus}, 1.25},
                      ZoomRow{"main ctrl 0", false, 3, {Qt::Key_0}, 1}),
    RowName());

class RayWidth : public VorlacFixture, public ::testing::WithParamInterface<std::tuple<int, bool>>
{
};

// Keys 1..6 and the menu choose the rays' width: wider rays light more pixels, the menu shows
// the choice and the next start finds it.
TEST_P(RayWidth, KeyOrMenuChoosesAndKeepsIt)
{
    const auto [width, menu] = GetParam();
    Vorlac &w = window();
    w.projection().toggle();
    ProjectionWindow *proj = w.projection().window();
    const auto lit = [proj] {
        qsizetype n = 0;
        for (int y = 0; y < proj->sceneImage().height(); ++y)
            for (int x = 0; x < proj->sceneImage().width(); ++x)
                n += proj->sceneImage().pixel(x, y) != 0xff000000u;
        return n;
    };
    QTest::keyClick(proj, Qt::Key_1);
    const qsizetype thin = lit();
    auto *item = proj->menu()->findChild<QAction *>(QStringLiteral("epaisseur%1").arg(width));
    if (menu)
        item->trigger();
    else
        QTest::keyClick(proj, static_cast<Qt::Key>(Qt::Key_0 + width));
    EXPECT_EQ(w.figureOptions().settings().projectionRayWidth, width);
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(lit() > thin, width > 1);
    FigureOptions next(w.controller(), dir.path() + "/etat/affichage.txt", nullptr);
    EXPECT_EQ(next.settings().projectionRayWidth, width);
}

INSTANTIATE_TEST_SUITE_P(Rows, RayWidth, ::testing::Combine(::testing::Range(1, 7), ::testing::Bool()));

class ProtractorOnViews : public VorlacFixture, public ::testing::WithParamInterface<std::tuple<bool, double>>
{
};

// The protractor is drawn in the projection and in the zoomed scene where the view puts its own
// scene points (so where the prism is), each graduation on its place; zoomed in the main window
// its sphere still aims the line where it is drawn.
TEST_P(ProtractorOnViews, GraduationsWhereTheViewPutsThem)
{
    const auto [projection, zoom] = GetParam();
    Vorlac &w = window();
    w.figureOptions().setProjectionReadout(false);
    QTest::mouseClick(child<QWidget>("Image3(5)"), Qt::LeftButton);
    auto *protractor = child<ProtractorView>("picturap");
    if (projection)
        w.projection().toggle();
    QWidget *target = projection ? static_cast<QWidget *>(w.projection().window()) : w.sceneFrame().view();
    const auto view = [&] {
        return projection ? w.projection().window()->viewport() : w.sceneFrame().view()->viewport();
    };
    const QPointF centre = QPointF(protractor->state().position) + QPointF(100, 100);
    QWheelEvent wheel(view().toWindow(centre + QPointF(2, 2)), {}, {},
                      {0, qRound(120 * std::log(zoom) / std::log(1.25))}, {}, Qt::ControlModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(target, &wheel);
    const QImage shown = target->grab().toImage();
    protractor->hide();
    const QImage bare = target->grab().toImage();
    protractor->show();
    ProtractorState state = protractor->state();
    int checked = 0;
    const ProtractorFigure figure = layoutProtractor(state);
    for (const ProtractorLine &l : figure.lines) {
        const QPoint at = view().toWindow(QPointF(state.position) + (l.a + l.b) / 2).toPoint();
        // Not the graduation under the sphere.
        if (!shown.rect().adjusted(1, 1, -1, -1).contains(at) ||
            QRectF(figure.sphere, QSizeF(16, 16)).contains((l.a + l.b) / 2))
            continue;
        bool drawn = false; // white on the black scene, where the scene itself is not
        for (int k = 0; k < 9; ++k) {
            const QPoint q = at + QPoint(k % 3 - 1, k / 3 - 1);
            drawn |= shown.pixel(q) == 0xffffffffu && bare.pixel(q) != 0xffffffffu;
        }
        EXPECT_TRUE(drawn) << at.x() << "," << at.y();
        ++checked;
    }
    EXPECT_GT(checked, 0);
    if (projection)
        return;
    auto *sphere = child<LampLabel>("Imageboule");
    const QPointF aim = view().toWindow(QPointF(state.position) + protractorPolar(90, state.rotation + 0.7853982));
    emit sphere->mouseMoved(Qt::LeftButton, aim - QPointF(protractor->pos() + sphere->pos()));
    EXPECT_NEAR(readOutDegrees(protractor->state().lineAngle), 45, 0.6);
}

INSTANTIATE_TEST_SUITE_P(Rows, ProtractorOnViews,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(1.0, 2.44140625, 14.551915228)));

struct ScreenRow {
    const char *name;
    QList<QRect> screens;
    int own, chosen;
};

[[maybe_unused]] void PrintTo(const ScreenRow &row, std::ostream *os)
{
    *os << row.name;
}

class ProjectorScreen : public ::testing::TestWithParam<ScreenRow>
{
};

// Another screen that shares no pixel with the main window's; not the span of both.
TEST_P(ProjectorScreen, IsOneBesideTheMainWindows)
{
    EXPECT_EQ(projectorScreen(GetParam().screens, GetParam().own), GetParam().chosen);
}

const QRect kLaptop(0, 0, 1920, 1080), kProjector(1920, 0, 2560, 1440), kSpan(0, 0, 4480, 1440);
INSTANTIATE_TEST_SUITE_P(Rows, ProjectorScreen,
                         ::testing::Values(ScreenRow{"one screen", {kLaptop}, 0, -1},
                                           ScreenRow{"second", {kLaptop, kProjector}, 0, 1},
                                           ScreenRow{"from the second", {kLaptop, kProjector}, 1, 0},
                                           ScreenRow{"span listed last", {kLaptop, kProjector, kSpan}, 0, 1},
                                           ScreenRow{"span listed first", {kSpan, kLaptop, kProjector}, 1, 2},
                                           ScreenRow{"mirror", {kLaptop, kLaptop}, 0, -1}),
                         RowName());

} // namespace
