#include "scene/protractorview.h"
#include "scene/sceneview.h"

#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>
#include <memory>

using namespace vorlac;

namespace
{

// A scene view with the protractor on it, shown as its own window so that mouse events go
// through the window system like a user's (implicit grab of the pressed handle included).
class ProtractorViewTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        RedrawScene(state, picture);
        scene = std::make_unique<SceneView>(picture, nullptr);
        scene->placeOverlays();
        view = new ProtractorView(picture, scene.get());
        view->RefreshProtractor(true);
        view->show();
        scene->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(scene.get()));
    }

    QWidget *handle(const char *name) { return view->findChild<QWidget *>(QString::fromLatin1(name)); }

    // A point of a handle in the window's coordinates.
    QPoint onHandle(const char *name, QPoint inside = {8, 8}) { return handle(name)->mapTo(scene.get(), inside); }
    // A point of the protractor picture in the window's coordinates.
    QPoint inPicture(QPointF p) { return view->mapTo(scene.get(), p.toPoint()); }

    QWindow *win() { return scene->windowHandle(); }

    void drag(QPoint from, std::initializer_list<QPoint> to)
    {
        QTest::mousePress(win(), Qt::LeftButton, {}, from);
        for (QPoint p : to)
            QTest::mouseMove(win(), p);
        QTest::mouseRelease(win(), Qt::LeftButton, {}, *(to.end() - 1));
    }

    SceneState state;
    ScenePicture picture;
    std::unique_ptr<SceneView> scene;
    ProtractorView *view = nullptr;
};

TEST_F(ProtractorViewTest, HoverHints)
{
    struct Row {
        const char *handle;
        const char *hint;
    };
    QSignalSpy hints(view, &ProtractorView::hint);
    for (const Row &row : {Row{"Imagecroix", "Utiliser la croix pour déplacer le rapporteur"},
                           Row{"Imaged", "Utiliser la souris pour faire pivoter le rapporteur"},
                           Row{"Imageboule", "Utiliser la sphère cyan pour déplacer la droite et mesurer un angle"}}) {
        hints.clear();
        QTest::mouseMove(win(), onHandle(row.handle));
        ASSERT_FALSE(hints.isEmpty()) << row.handle;
        EXPECT_EQ(hints.last().at(0).toString(), QString::fromUtf8(row.hint));
    }
    hints.clear();
    QTest::mouseMove(win(), inPicture({100, 150}));
    ASSERT_FALSE(hints.isEmpty());
    EXPECT_TRUE(hints.last().at(0).toString().startsWith(QStringLiteral("Le rapporteur peut pivoter")));
}

TEST_F(ProtractorViewTest, MoveDragFollowsTheMouseFromThePressAndRecopiesTheScene)
{
    const QPoint start = view->pos();
    const QPoint press = onHandle("Imagecroix", {10, 10});
    drag(press, {press + QPoint(30, 20), press + QPoint(40, 25)});
    EXPECT_EQ(view->pos(), start + QPoint(40, 25));
    EXPECT_EQ(view->state().position, view->pos());
    // The picture under the protractor is the scene's at its new place.
    const QImage shown = view->picture();
    const QPoint probe(150, 160);
    EXPECT_EQ(shown.pixel(probe), picture.image.pixel(view->pos() + probe));

    // Hovered at one point, then pressed at another with no move in between (the press
    // delivered straight to the cross): the grab point is the press, so nothing jumps.
    QTest::mouseMove(win(), onHandle("Imagecroix", {2, 2}));
    QWidget *cross = handle("Imagecroix");
    const QPoint before = view->pos();
    QTest::mousePress(cross, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(cross, QPoint(15, 13));
    QTest::mouseRelease(cross, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(view->pos(), before + QPoint(5, 3));

    // Dragged far beyond the top-left corner, it stops at the scene's edge.
    const QPoint again = onHandle("Imagecroix");
    drag(again, {again - QPoint(400, 400)});
    EXPECT_EQ(view->pos(), QPoint(0, 0));
}

TEST_F(ProtractorViewTest, TurningCarriesTheLineAndKeepsTheReadOut)
{
    QSignalSpy readOuts(view, &ProtractorView::readOutChanged);
    drag(onHandle("Imaged"), {inPicture({140, 60}), inPicture({100, 20})});
    EXPECT_NEAR(view->state().rotation, 1.671f, 0.02f);
    EXPECT_EQ(view->state().lineAngle, 1.571f);
    EXPECT_TRUE(readOuts.isEmpty());
    // The turning handle followed the mouse: it sits just before the start of the arc.
    const QPointF expected = protractorPolar(88, view->state().rotation + 6.18) - QPointF(8, 8);
    EXPECT_LE((QPointF(handle("Imaged")->pos()) - expected).manhattanLength(), 1.0);
}

TEST_F(ProtractorViewTest, AimingReadsOutAndRepaintsOnlyTheLine)
{
    QSignalSpy readOuts(view, &ProtractorView::readOutChanged);
    struct Paints : QObject {
        QRegion painted;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent *>(e)->region();
            return false;
        }
    } paints;
    QCoreApplication::processEvents();
    view->installEventFilter(&paints);

    const QPoint thirty = inPicture(protractorPolar(60, 0.5235988));
    drag(onHandle("Imageboule"), {thirty});
    QCoreApplication::processEvents();
    ASSERT_FALSE(readOuts.isEmpty());
    EXPECT_EQ(readOuts.last().at(0).toString(), QStringLiteral("30,0"));
    EXPECT_EQ(view->readOut(), QStringLiteral("30,0"));
    EXPECT_FALSE(paints.painted.isEmpty());
    EXPECT_LT(paints.painted.boundingRect().width() * paints.painted.boundingRect().height(), 202 * 202 / 2);

    // Below the base the line stays where it was.
    const float before = view->state().lineAngle;
    drag(onHandle("Imageboule"), {inPicture({100, 180})});
    EXPECT_EQ(view->state().lineAngle, before);
    EXPECT_EQ(readOuts.last().at(0).toString(), QStringLiteral("30,0"));
}

TEST_F(ProtractorViewTest, ColoursFollowTheBackground)
{
    struct Row {
        bool black;
        QRgb main;
    };
    for (const Row &row : {Row{false, 0xff000000u}, Row{true, 0xffffffffu}}) {
        state.blackBackground = row.black;
        RedrawScene(state, picture);
        view->RefreshProtractor(row.black);
        EXPECT_EQ(view->picture().pixel(100, 1), row.main) << row.black;
    }
}

} // namespace
