#include "projection/projectioncommands.h"
#include "projection/projectionwindow.h"
#include "rowname.h"
#include "scene/figureoptions.h"
#include "scene/sceneframe.h"
#include "scene/sceneview.h"
#include "vorlacfixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWheelEvent>

using namespace vorlac;

namespace
{

// The projection window or the main window's scene, zoomed with Ctrl+wheel at a point.
template <typename Row> class OnViews : public VorlacFixture, public ::testing::WithParamInterface<Row>
{
  protected:
    QWidget *target(bool projection)
    {
        if (projection && !window().projection().window())
            window().projection().toggle();
        return projection ? static_cast<QWidget *>(window().projection().window()) : window().sceneFrame().view();
    }
    SceneViewport view(bool projection)
    {
        return projection ? static_cast<ProjectionWindow *>(target(true))->viewport()
                          : window().sceneFrame().view()->viewport();
    }
    void wheel(bool projection, QPointF at, int notches)
    {
        QWheelEvent e(at, at, {}, {0, 120 * notches}, {}, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target(projection), &e);
    }
};

using K = std::string;
using ZoomInput = OnViews<std::tuple<bool, int, K, double>>;

// Ctrl+wheel, then Ctrl+plus/minus/0: the scene point under the pointer stays within 1x..20x.
TEST_P(ZoomInput, KeepsThePointUnderThePointer)
{
    const auto [projection, notches, keys, zoom] = GetParam();
    QWidget *top = projection ? target(true) : &window();
    top->show();
    top->activateWindow();
    if (!QTest::qWaitForWindowActive(top))
        GTEST_SKIP() << "no active window on this platform";
    const QPointF at(200, 80);
    QCursor::setPos(target(projection)->mapToGlobal(at.toPoint()));
    const QPointF under = view(projection).toScene(at);
    wheel(projection, at, notches);
    QTest::keyClicks(top, QString::fromStdString(keys), Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view(projection).zoom, zoom);
    EXPECT_LT(zoom > 1 ? QLineF(view(projection).toScene(at), under).length() : 0, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Rows, ZoomInput,
                         ::testing::Values(std::tuple(true, 2, K(""), 1.5625), std::tuple(true, 40, K("="), 20.0),
                                           std::tuple(true, -3, K(""), 1.0), std::tuple(true, 0, K("++-"), 1.25),
                                           std::tuple(true, 5, K("0"), 1.0), std::tuple(false, 1, K(""), 1.25),
                                           std::tuple(false, 60, K("+"), 20.0), std::tuple(false, -1, K("++-"), 1.25),
                                           std::tuple(false, 3, K("0"), 1.0)),
                         RowName());

using RayWidth = OnViews<std::tuple<int, bool>>;

// Keys 1..6 or the menu: the menu shows the choice, the next start finds it.
TEST_P(RayWidth, KeyOrMenuChoosesAndKeepsIt)
{
    const auto [width, menu] = GetParam();
    auto *proj = static_cast<ProjectionWindow *>(target(true));
    auto *item = proj->menu()->findChild<QAction *>(QStringLiteral("epaisseur%1").arg(width));
    menu ? item->trigger() : QTest::keyClick(proj, char('0' + width));
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(
        FigureOptions(window().controller(), dir.path() + "/etat/affichage.txt", nullptr).settings().projectionRayWidth,
        width);
}

INSTANTIATE_TEST_SUITE_P(Rows, RayWidth, ::testing::Combine(::testing::Range(1, 7), ::testing::Bool()), RowName());

using ProtractorOnViews = OnViews<std::tuple<bool, int>>;

// The protractor is drawn where the view puts its scene points (so where the prism is), each
// graduation white in its place; its sphere aims where it is drawn.
TEST_P(ProtractorOnViews, GraduationsWhereTheViewPutsThem)
{
    const auto [projection, notches] = GetParam();
    window().figureOptions().setProjectionReadout(false);
    QTest::mouseClick(child<QWidget>("Image3(5)"), Qt::LeftButton);
    auto *protractor = child<ProtractorView>("picturap");
    ProtractorState state = protractor->state();
    const ProtractorFigure figure = layoutProtractor(state);
    wheel(projection, view(projection).toWindow(QPointF(state.position) + QPointF(102, 102)), notches);
    const QImage shown = target(projection)->grab().toImage();
    protractor->hide();
    const QImage bare = target(projection)->grab().toImage();
    protractor->show();
    int checked = 0;
    for (const ProtractorLine &l : figure.lines) {
        const QPoint at = view(projection).toWindow(QPointF(state.position) + (l.a + l.b) / 2).toPoint();
        if (!shown.rect().adjusted(1, 1, -1, -1).contains(at) ||
            QRectF(figure.sphere, QSizeF(16, 16)).contains((l.a + l.b) / 2))
            continue; // the graduation under the sphere neither
        bool drawn = false;
        for (int k = 0; k < 9; ++k) {
            const QPoint q = at + QPoint(k % 3 - 1, k / 3 - 1);
            drawn |= shown.pixel(q) == 0xffffffffu && bare.pixel(q) != 0xffffffffu;
        }
        EXPECT_TRUE(drawn) << at.x() << "," << at.y();
        ++checked;
    }
    EXPECT_GT(checked, 0);
    // Dragged by its sphere in the projection or on the scene: where it is drawn.
    QWidget *to = projection ? target(true) : child<QWidget>("Imageboule");
    const QPointF offset = projection ? QPointF() : QPointF(protractor->pos() + to->pos());
    const QPointF from = view(projection).toWindow(QPointF(state.position) + figure.sphere + QPointF(8, 8)) - offset;
    const QPointF aim = view(projection).toWindow(QPointF(state.position) + protractorPolar(90, 0.7853982)) - offset;
    for (const auto &[type, at] : {std::pair(QEvent::MouseButtonPress, from), std::pair(QEvent::MouseMove, aim)}) {
        QMouseEvent e(type, at, at, Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(to, &e);
    }
    EXPECT_NEAR(readOutDegrees(protractor->state().lineAngle), 45, 0.6);
}

INSTANTIATE_TEST_SUITE_P(Rows, ProtractorOnViews, ::testing::Combine(::testing::Bool(), ::testing::Values(0, 4, 12)),
                         RowName());

using ProjectorScreen = ::testing::TestWithParam<std::tuple<K, int, int>>;

// Another screen that shares no pixel with the main window's: not the span of both, no mirror.
TEST_P(ProjectorScreen, IsOneBesideTheMainWindows)
{
    const auto [kinds, own, chosen] = GetParam(); // L laptop, P projector beside it, S the span of both
    QList<QRect> screens;
    for (const char c : kinds)
        screens.append(c == 'L'   ? QRect(0, 0, 1920, 1080)
                       : c == 'P' ? QRect(1920, 0, 2560, 1440)
                                  : QRect(0, 0, 4480, 1440));
    EXPECT_EQ(projectorScreen(screens, own), chosen);
}

INSTANTIATE_TEST_SUITE_P(Rows, ProjectorScreen,
                         ::testing::Values(std::tuple(K("L"), 0, -1), std::tuple(K("LP"), 0, 1),
                                           std::tuple(K("LP"), 1, 0), std::tuple(K("LPS"), 0, 1),
                                           std::tuple(K("SLP"), 1, 2), std::tuple(K("LL"), 0, -1)),
                         RowName());

} // namespace
