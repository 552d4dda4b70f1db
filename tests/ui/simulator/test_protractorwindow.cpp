#include "vorlacfixture.h"

#include "scene/protractorview.h"
#include "scene/scenecontroller.h"

#include <QLabel>
#include <QTest>

using namespace vorlac;

namespace
{

class ProtractorWindow : public VorlacFixture
{
  protected:
    void openProtractor() { QTest::mouseClick(child<QWidget>("Image3(5)"), Qt::LeftButton); }

    // Drags a handle of the protractor to a point of its picture.
    void dragHandle(const char *name, QPointF target)
    {
        auto *h = child<QWidget>(name);
        QTest::mousePress(h, Qt::LeftButton, {}, QPoint(8, 8));
        QTest::mouseMove(h, target.toPoint() - h->pos());
        QTest::mouseRelease(h, Qt::LeftButton, {}, target.toPoint() - h->pos());
    }
};

TEST_F(ProtractorWindow, LiesOnTheSceneHiddenUntilItsIconIsClicked)
{
    auto *p = child<ProtractorView>("picturap");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->parentWidget()->objectName(), QStringLiteral("dessin"));
    EXPECT_EQ(p->geometry(), QRect(64, 16, 202, 202));
    EXPECT_TRUE(p->isHidden());
    EXPECT_EQ(child<QLabel>("Label10")->text(), QStringLiteral("90,0"));
    openProtractor();
    EXPECT_FALSE(child<QWidget>("Picture2")->isHidden());
    EXPECT_FALSE(p->isHidden());
}

TEST_F(ProtractorWindow, ReadOutAndStateSurviveClosingByIconOrTitle)
{
    for (const char *closer : {"Image4", "Label25"}) {
        openProtractor();
        auto *p = child<ProtractorView>("picturap");
        dragHandle("Imageboule", protractorPolar(60, p->state().rotation + 0.5235988));
        const QString readOut = child<QLabel>("Label10")->text();
        EXPECT_TRUE(readOut.startsWith(QStringLiteral("29,")) || readOut == QStringLiteral("30,0")) << closer;
        dragHandle("Imaged", {100, 20});
        const ProtractorState kept = p->state();
        QTest::mouseClick(child<QWidget>(closer), Qt::LeftButton);
        EXPECT_TRUE(p->isHidden()) << closer;
        EXPECT_TRUE(child<QWidget>("Picture2")->isHidden()) << closer;
        openProtractor();
        EXPECT_EQ(p->state().rotation, kept.rotation) << closer;
        EXPECT_EQ(p->state().lineAngle, kept.lineAngle) << closer;
        EXPECT_EQ(p->pos(), kept.position) << closer;
        EXPECT_EQ(child<QLabel>("Label10")->text(), readOut) << closer;
        // Turn it back for the next closer.
        dragHandle("Imaged", {190, 100});
    }
}

TEST_F(ProtractorWindow, EveryRedrawRefreshesItWhileShown)
{
    openProtractor();
    auto *p = child<ProtractorView>("picturap");
    EXPECT_EQ(p->picture().pixel(100, 1), 0xffffffffu);
    window().controller().setBlackBackground(false);
    EXPECT_EQ(p->picture().pixel(100, 1), 0xff000000u);
    // The copy under the protractor is the new scene's.
    const QImage &scene = window().controller().picture().image;
    EXPECT_EQ(p->picture().pixel(150, 160), scene.pixel(p->pos() + QPoint(150, 160)));
}

} // namespace
