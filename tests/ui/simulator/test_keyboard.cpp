// The window worked from the keyboard: the lamp, the protractor, Tab through every control and
// the desktop's shortcuts.
#include "common/clicklabel.h"
#include "common/updown.h"
#include "model/protractor.h"
#include "rowname.h"
#include "scene/protractorview.h"
#include "scene/sceneframe.h"
#include "scene/sceneview.h"
#include "vorlacfixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>

using namespace vorlac;

namespace
{

class Keyboard : public VorlacFixture
{
  protected:
    QWidget *lamp() { return window().sceneFrame().view()->lamp(); }
    void press(QWidget *w, int key, Qt::KeyboardModifiers mods = {}, bool autoRepeat = false)
    {
        QKeyEvent e(QEvent::KeyPress, key, mods, QString(), autoRepeat);
        QCoreApplication::sendEvent(w, &e);
    }
    void release(QWidget *w, int key, Qt::KeyboardModifiers mods = {}, bool autoRepeat = false)
    {
        QKeyEvent e(QEvent::KeyRelease, key, mods, QString(), autoRepeat);
        QCoreApplication::sendEvent(w, &e);
    }
};

struct LampRow {
    const char *name;
    SourceType source;
    int key;
    Qt::KeyboardModifiers modifiers;
    int presses;
    double incidence;
};

void PrintTo(const LampRow &r, std::ostream *os)
{
    *os << r.name;
}

class LampKeysInWindow : public Keyboard, public ::testing::WithParamInterface<LampRow>
{
};

TEST_P(LampKeysInWindow, EachPressOneRedrawWhiteLightOnRelease)
{
    const LampRow row = GetParam();
    Vorlac &w = window();
    w.show();
    SceneController &c = w.controller();
    c.setSource(row.source);
    const int scenes = c.sceneRedrawCount(), whites = c.whiteRedrawCount();
    for (int i = 0; i < row.presses; ++i)
        press(lamp(), row.key, row.modifiers, i > 0); // held down: the later presses repeat
    EXPECT_EQ(c.sceneRedrawCount(), scenes + row.presses);
    EXPECT_EQ(c.whiteRedrawCount(), whites);
    EXPECT_DOUBLE_EQ(c.state().incidenceAngle, row.incidence);
    release(lamp(), row.key, row.modifiers);
    EXPECT_EQ(c.whiteRedrawCount(), whites + (row.source == SourceType::WhiteLight ? 1 : 0));
    EXPECT_EQ(c.sceneRedrawCount(), scenes + row.presses);
    // Line1 and the lamp follow the picture.
    EXPECT_EQ(lamp()->pos(), sceneOverlays(c.picture()).lampTopLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LampKeysInWindow,
    ::testing::Values(LampRow{"right_five", SourceType::FiveRadiations, Qt::Key_Right, Qt::NoModifier, 1, 37.0},
                      LampRow{"shift_left_three", SourceType::Monochromatic, Qt::Key_Left, Qt::ShiftModifier, 3, 35.7},
                      LampRow{"page_up_white", SourceType::WhiteLight, Qt::Key_PageUp, Qt::NoModifier, 2, 56.0},
                      LampRow{"page_down_to_the_end", SourceType::FiveRadiations, Qt::Key_PageDown, Qt::NoModifier, 20,
                              -90.0}),
    RowName());

struct ProtractorRow {
    const char *name;
    int key;
    Qt::KeyboardModifiers modifiers;
    QPoint moved;        // from the designed position
    const char *readOut; // Label10 after the key
    bool shown;
};

void PrintTo(const ProtractorRow &r, std::ostream *os)
{
    *os << r.name;
}

class ProtractorKeysInWindow : public Keyboard, public ::testing::WithParamInterface<ProtractorRow>
{
};

TEST_P(ProtractorKeysInWindow, ReadOutAndPictureFollow)
{
    const ProtractorRow row = GetParam();
    window().show();
    QTest::mouseClick(child<QWidget>("Image3(5)"), Qt::LeftButton, {}, QPoint(5, 5));
    auto *view = child<ProtractorView>("picturap");
    ASSERT_TRUE(view->isVisible());
    const QImage before = view->picture();
    const float rotation = view->state().rotation;
    press(view, row.key, row.modifiers);
    EXPECT_EQ(view->pos(), protractor::kDesignedPosition + row.moved);
    EXPECT_EQ(child<QLabel>("Label10")->text(), QString::fromUtf8(row.readOut));
    EXPECT_EQ(view->isVisible(), row.shown);
    EXPECT_EQ(child<QWidget>("Picture2")->isVisible(), row.shown);
    const bool changed = row.moved != QPoint() || rotation != view->state().rotation ||
                         QString::fromUtf8(row.readOut) != QStringLiteral("90,0");
    if (row.shown && changed) {
        EXPECT_NE(view->picture(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProtractorKeysInWindow,
    ::testing::Values(
        ProtractorRow{"down", Qt::Key_Down, Qt::NoModifier, {0, 1}, "90,0", true},
        ProtractorRow{"shift_left", Qt::Key_Left, Qt::ShiftModifier, {-10, 0}, "90,0", true},
        ProtractorRow{"ctrl_up_turns", Qt::Key_Up, Qt::ControlModifier, {}, "90,0", true},
        ProtractorRow{"alt_left_aims", Qt::Key_Left, Qt::AltModifier, {}, "89,0", true},
        ProtractorRow{
            "alt_shift_down_aims_a_tenth", Qt::Key_Down, Qt::AltModifier | Qt::ShiftModifier, {}, "89,9", true},
        ProtractorRow{"shift_up_ten", Qt::Key_Up, Qt::ShiftModifier, {0, -10}, "90,0", true},
        ProtractorRow{"escape_closes", Qt::Key_Escape, Qt::NoModifier, {}, "90,0", false}),
    RowName());

// Every control of the window is in the Tab chain: the toolbar, the panels' controls, the
// icons and title bars, the lamp, the protractor, the table and the exercise area.
TEST_F(Keyboard, TabReachesEveryControl)
{
    Vorlac &w = window();
    w.show();
    for (const char *icon : {"Image3(1)", "Image3(2)", "Image3(3)", "Image3(4)", "Image3(5)"})
        QTest::mouseClick(child<QWidget>(icon), Qt::LeftButton, {}, QPoint(5, 5));
    child<QAbstractButton>("Check1")->click();
    QSet<QWidget *> chain;
    for (QWidget *f = w.nextInFocusChain(); f != &w; f = f->nextInFocusChain())
        if ((f->focusPolicy() & Qt::TabFocus) && f->isVisible() && f->isEnabled())
            chain.insert(f);
    int controls = 0;
    for (QWidget *c : w.findChildren<QWidget *>()) {
        const bool control = qobject_cast<QAbstractButton *>(c) || qobject_cast<QComboBox *>(c) ||
                             qobject_cast<QAbstractSpinBox *>(c) || qobject_cast<QAbstractSlider *>(c) ||
                             qobject_cast<QLineEdit *>(c) || qobject_cast<QTextEdit *>(c) ||
                             qobject_cast<QAbstractItemView *>(c) || qobject_cast<ClickLabel *>(c) ||
                             qobject_cast<LampLabel *>(c) || qobject_cast<ProtractorView *>(c);
        // The protractor's handles are worked by its keys; scroll bars inside a view by the view.
        const bool inner = c->parentWidget() && (qobject_cast<ProtractorView *>(c->parentWidget()) ||
                                                 qobject_cast<UpDown *>(c->parentWidget()) ||
                                                 qobject_cast<QAbstractItemView *>(c->parentWidget()) ||
                                                 qobject_cast<QAbstractItemView *>(c->parentWidget()->parentWidget()) ||
                                                 qobject_cast<QTextEdit *>(c->parentWidget()->parentWidget()));
        if (!control || inner || !c->isVisible() || !c->isEnabled())
            continue;
        ++controls;
        EXPECT_TRUE(chain.contains(c)) << c->objectName().toStdString() << " " << c->metaObject()->className() << " "
                                       << c->focusPolicy();
    }
    EXPECT_GT(controls, 30);
}

struct ShortcutRow {
    const char *name;
    QKeyCombination key;
    const char *dialog; // objectName of the modal window it opens; empty: the close question
};

void PrintTo(const ShortcutRow &r, std::ostream *os)
{
    *os << r.name;
}

class Shortcuts : public Keyboard, public ::testing::WithParamInterface<ShortcutRow>
{
};

TEST_P(Shortcuts, OpenWhatTheButtonOpens)
{
    const ShortcutRow row = GetParam();
    Vorlac &w = window();
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        GTEST_SKIP() << "no active window on this platform";
    answers.push_back(QMessageBox::Cancel);
    if (*row.dialog)
        dialogs.answer(row.dialog, DialogWatch::close);
    QTest::keyClick(&w, row.key.key(), row.key.keyboardModifiers());
    dialogs.wait();
    if (!*row.dialog) {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "Fermer ce simulateur ?");
        EXPECT_EQ(programEnded, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Shortcuts,
                         ::testing::Values(ShortcutRow{"ctrl_o", Qt::CTRL | Qt::Key_O, "ouvrir"},
                                           ShortcutRow{"ctrl_s", Qt::CTRL | Qt::Key_S, "enregistrer"},
                                           ShortcutRow{"ctrl_p", Qt::CTRL | Qt::Key_P, "confimp"},
                                           ShortcutRow{"ctrl_q", Qt::CTRL | Qt::Key_Q, ""}),
                         RowName());

} // namespace
