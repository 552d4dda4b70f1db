// The focus mark of the program's own controls shows where the keyboard is, never after a click.
#include "rowname.h"
#include "scene/sceneframe.h"
#include "scene/sceneview.h"
#include "vorlacfixture.h"

#include <QApplication>
#include <QTest>

using namespace vorlac;

namespace
{

// The steps, by the names of the widgets: "click:X", "key:X" (Right), "tab:X" (Shift+Tab from the
// toolbar until X has the focus), "space:X". Then the focus must be on the last one named.
class FocusMark : public VorlacFixture, public ::testing::WithParamInterface<std::tuple<const char *, bool>>
{
};

TEST_P(FocusMark, ShowsOnlyAfterKeys)
{
    window().show();
    QApplication::setActiveWindow(&window());
    if (!QTest::qWaitForWindowActive(&window()))
        GTEST_SKIP() << "no active window on this platform";
    QWidget *last = nullptr;
    for (const QString &step : QString::fromLatin1(std::get<0>(GetParam())).split(u' ')) {
        const QString how = step.section(u':', 0, 0), name = step.section(u':', 1);
        last = name == u"lampe" ? window().sceneFrame().view()->lamp() : child<QWidget>(name.toLatin1().constData());
        if (how == u"click")
            QTest::mouseClick(last, Qt::LeftButton, {}, QPoint(5, 5));
        else if (how == u"key")
            QTest::keyClick(last, Qt::Key_Right);
        else if (how == u"space")
            QTest::keyClick(last, Qt::Key_Space);
        if (how == u"tab")
            child<QWidget>("Command2")->setFocus(Qt::TabFocusReason);
        for (int i = 0; how == u"tab" && i < 200 && QApplication::focusWidget() != last; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    }
    QWidget *focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    // The mark is what the focus adds to the picture.
    const QImage focused = focus->grab().toImage();
    focus->clearFocus();
    EXPECT_EQ(focused != focus->grab().toImage(), std::get<1>(GetParam())) << focus->objectName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, FocusMark,
                         ::testing::Values(std::tuple{"click:Image3(5)", false}, // the protractor opens
                                           std::tuple{"click:Image3(5) click:Label25", false},
                                           std::tuple{"click:lampe", false}, std::tuple{"click:lampe key:lampe", true},
                                           std::tuple{"tab:Image3(1)", true},
                                           std::tuple{"tab:Image3(5) space:Image3(5)", true}),
                         RowName());

} // namespace
