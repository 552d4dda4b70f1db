// The measures panel opens where it hides nothing, moves by its title bar or Alt+arrows, stays
// inside the window and opens there again at the next start; its icon hides under the panels.
#include "common/clicklabel.h"
#include "panels/measurepanel.h"
#include "rowname.h"
#include "vorlacfixture.h"
#include "window/toolbar.h"

#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

using namespace vorlac;

namespace
{

// Window size, the title bar dragged by (null: not), then Alt+key on it (0: none), where it ends.
class MeasurePlace : public VorlacFixture, public ::testing::WithParamInterface<std::tuple<QSize, QPoint, int, QPoint>>
{
};
TEST_P(MeasurePlace, OpensMovesAndIsRemembered)
{
    const auto &[size, drag, key, expected] = GetParam();
    window().resize(size);
    MeasurePanel &panel = window().measurePanel();
    panel.show();
    const QPoint from = panel.titleBar()->mapToGlobal(QPoint(40, 8));
    for (const auto &[type, to] : {std::pair{QEvent::MouseButtonPress, from},
                                   {QEvent::MouseMove, from + drag / 2},
                                   {QEvent::MouseMove, from + drag},
                                   {QEvent::MouseButtonRelease, from + drag}}) {
        QMouseEvent e(type, panel.titleBar()->mapFromGlobal(QPointF(to)), QPointF(to), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        if (!drag.isNull())
            QApplication::sendEvent(panel.titleBar(), &e);
    }
    if (key)
        QTest::keyClick(panel.titleBar(), Qt::Key(key), Qt::AltModifier);
    EXPECT_EQ(panel.pos(), expected);
    EXPECT_FALSE(panel.isHidden()); // a drag is no click
    if (drag.isNull() && !key) {    // where it opens, the tab, the file name and the scene stay free
        for (const char *name : {"btexo", "fich", "Picture3"})
            EXPECT_FALSE(panel.geometry().intersects(child<QWidget>(name)->geometry())) << name;
    }
    win.reset();
    window().resize(size);
    window().measurePanel().show();
    EXPECT_EQ(window().measurePanel().pos(), expected); // the next start
}
INSTANTIATE_TEST_SUITE_P(Rows, MeasurePlace,
                         ::testing::Values(std::tuple{QSize(1280, 900), QPoint(), 0, QPoint(796, 48)},
                                           std::tuple{QSize(800, 900), QPoint(), 0, QPoint(424, 556)},
                                           std::tuple{QSize(786, 571), QPoint(), 0, QPoint(424, 315)},
                                           std::tuple{QSize(1280, 900), QPoint(-300, 100), 0, QPoint(496, 148)},
                                           std::tuple{QSize(1280, 900), QPoint(2000, -500), 0, QPoint(919, 0)},
                                           std::tuple{QSize(1280, 900), QPoint(), int(Qt::Key_Left), QPoint(786, 48)},
                                           std::tuple{QSize(1280, 900), QPoint(-300, 100), int(Qt::Key_Down),
                                                      QPoint(496, 158)}),
                         RowName());

// With the table, the source or the display panel shown: whether the icon shows, and nothing
// of it beside the panel that covers it.
class MeasureIconCover : public VorlacFixture, public ::testing::WithParamInterface<std::tuple<const char *, bool>>
{
};
TEST_P(MeasureIconCover, NothingShowsBesideThePanels)
{
    const auto &[icon, shows] = GetParam();
    window(QSize(800, 600)).show();
    *icon ? QTest::mouseClick(child<QWidget>(icon), Qt::LeftButton, {}, QPoint(60, 40))
          : window().toolbar().tableToggle()->click();
    auto *measures = child<QWidget>("ImageMesures");
    EXPECT_EQ(measures->isVisible(), shows);
    const QRect around = measures->geometry().adjusted(-8, -8, 8, 8);
    const QImage shown = window().grab(around).toImage();
    measures->hide();
    EXPECT_TRUE(shows || shown == window().grab(around).toImage());
}
INSTANTIATE_TEST_SUITE_P(Rows, MeasureIconCover,
                         ::testing::Values(std::tuple{"", false}, std::tuple{"Image3(4)", false},
                                           std::tuple{"Image3(3)", true}),
                         RowName());

} // namespace
