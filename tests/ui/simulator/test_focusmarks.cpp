// The focus mark of the program's own controls shows where the keyboard is, never after a click.
#include "rowname.h"
#include "simulator/sceneframe.h"
#include "simulator/sceneview.h"
#include "vorlacfixture.h"

#include <QApplication>
#include <QTest>

using namespace vorlac;

namespace
{

class FocusMarkTest : public VorlacFixture
{
  public:
    QWidget *named(const char *name) { return child<QWidget>(name); }
    QWidget *lamp() { return window().sceneFrame().view()->lamp(); }
    void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 5)); }
    // Tab from the toolbar until target has the focus.
    bool tabTo(QWidget *target)
    {
        named("Command2")->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 200 && QApplication::focusWidget() != target; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget() == target;
    }
};

struct MarkRow {
    const char *name;
    // The steps; returns the widget that should have the focus then.
    QWidget *(*steps)(FocusMarkTest &);
    bool mark;
};
void PrintTo(const MarkRow &r, std::ostream *os)
{
    *os << r.name;
}

class FocusMark : public FocusMarkTest, public ::testing::WithParamInterface<MarkRow>
{
};

TEST_P(FocusMark, ShowsOnlyAfterKeys)
{
    window().show();
    QApplication::setActiveWindow(&window());
    if (!QTest::qWaitForWindowActive(&window()))
        GTEST_SKIP() << "no active window on this platform";
    QWidget *expected = GetParam().steps(*this);
    QWidget *focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    if (expected)
        EXPECT_EQ(focus, expected) << focus->objectName().toStdString();
    // The mark is what the focus adds to the picture.
    const QImage focused = focus->grab().toImage();
    focus->clearFocus();
    EXPECT_EQ(focused != focus->grab().toImage(), GetParam().mark) << focus->objectName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, FocusMark,
                         ::testing::Values(MarkRow{"click_protractor_icon",
                                                   [](FocusMarkTest &t) {
                                                       t.click(t.named("Image3(5)"));
                                                       return t.named("picturap");
                                                   },
                                                   false},
                                           MarkRow{"click_protractor_then_close_it_by_its_title",
                                                   [](FocusMarkTest &t) -> QWidget * {
                                                       t.click(t.named("Image3(5)"));
                                                       t.click(t.named("Label25"));
                                                       return nullptr; // wherever the focus went
                                                   },
                                                   false},
                                           MarkRow{"click_lamp",
                                                   [](FocusMarkTest &t) {
                                                       t.click(t.lamp());
                                                       return t.lamp();
                                                   },
                                                   false},
                                           MarkRow{"click_lamp_then_a_key",
                                                   [](FocusMarkTest &t) {
                                                       t.click(t.lamp());
                                                       QTest::keyClick(t.lamp(), Qt::Key_Right);
                                                       return t.lamp();
                                                   },
                                                   true},
                                           MarkRow{"tab_to_an_icon",
                                                   [](FocusMarkTest &t) {
                                                       EXPECT_TRUE(t.tabTo(t.named("Image3(1)")));
                                                       return t.named("Image3(1)");
                                                   },
                                                   true},
                                           MarkRow{"space_on_protractor_icon",
                                                   [](FocusMarkTest &t) {
                                                       EXPECT_TRUE(t.tabTo(t.named("Image3(5)")));
                                                       QTest::keyClick(t.named("Image3(5)"), Qt::Key_Space);
                                                       return t.named("picturap");
                                                   },
                                                   true}),
                         RowName());

} // namespace
