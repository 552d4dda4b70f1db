#include "calculator/calculatorlauncher.h"
#include "calculator/machine.h"
#include "common/messenger.h"
#include "rowname.h"
#include "table/tablecommands.h"
#include "table/valuetable.h"
#include "vorlacfixture.h"
#include "window/toolbar.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <QTest>
#include <QToolButton>

namespace
{

using vorlac::CalculatorKey;
using vorlac::Machine;

void click(QWidget &window, const QString &name)
{
    auto *b = window.findChild<QPushButton *>(name);
    ASSERT_NE(b, nullptr) << name.toStdString();
    ASSERT_TRUE(b->isEnabled()) << name.toStdString();
    QTest::mouseClick(b, Qt::LeftButton);
}

void clickAll(QWidget &window, std::initializer_list<const char *> names)
{
    for (const char *n : names)
        click(window, QString::fromLatin1(n));
}

QString display(QWidget &window)
{
    return window.findChild<QLineEdit *>(QStringLiteral("z1"))->text();
}

struct Plain : ::testing::Test {
    double memory = 0.0;
    vorlac::Messenger messenger;
};

TEST_F(Plain, ButtonsAndKeysReachTheLogicOnce)
{
    Machine m(memory, messenger, nullptr);
    m.show();
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Machine à calculer"));
    EXPECT_FALSE(m.findChild<QPushButton *>(QStringLiteral("Command6_0"))->isVisible());
    clickAll(m, {"B2", "plus", "B3", "EXE"});
    EXPECT_EQ(display(m), QStringLiteral(" 5"));

    auto *z1 = m.findChild<QLineEdit *>(QStringLiteral("z1"));
    EXPECT_TRUE(z1->isReadOnly());
    QTest::keyClicks(z1, QStringLiteral("2*3"));
    EXPECT_EQ(display(m), QStringLiteral("2 * 3"));
    QTest::keyClick(z1, Qt::Key_Return); // a second EXE would show 0
    EXPECT_EQ(display(m), QStringLiteral(" 6"));
    QTest::keyClicks(z1, QStringLiteral("1+"));
    QTest::keyClick(z1, Qt::Key_Backspace);
    EXPECT_EQ(display(m), QStringLiteral("1"));

    // A click never takes the focus away from the display; Tab reaches every key.
    for (QPushButton *b : m.findChildren<QPushButton *>())
        EXPECT_EQ(b->focusPolicy(), Qt::TabFocus) << b->objectName().toStdString();
}

struct TabRow {
    const char *name;
    int tabs;          // Tab presses from the display; negative: Shift+Tab
    const char *focus; // the control reached
    const char *typed; // then typed, Space pressing the focused key
    const char *shown;
};
void PrintTo(const TabRow &r, std::ostream *os)
{
    *os << r.name;
}
class CalculatorTab : public ::testing::TestWithParam<TabRow>
{
};
TEST_P(CalculatorTab, ReachesAndPressesEveryKey)
{
    double memory = 0.0;
    vorlac::Messenger messenger;
    Machine m(memory, messenger, nullptr);
    m.show();
    m.activateWindow();
    if (!QTest::qWaitForWindowActive(&m))
        GTEST_SKIP() << "no active window on this platform";
    m.findChild<QLineEdit *>(QStringLiteral("z1"))->setFocus();
    const TabRow &row = GetParam();
    for (int i = 0; i < std::abs(row.tabs); ++i)
        QTest::keyClick(QApplication::focusWidget(), row.tabs > 0 ? Qt::Key_Tab : Qt::Key_Backtab,
                        row.tabs > 0 ? Qt::NoModifier : Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(row.focus));
    QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(row.typed));
    EXPECT_EQ(display(m), QString::fromUtf8(row.shown));
}
INSTANTIATE_TEST_SUITE_P(Rows, CalculatorTab,
                         ::testing::Values(TabRow{"sin_first", 1, "bsin", "4 ", "4 * sin "},
                                           TabRow{"root_row_two", 12, "racine", " 9", "SQR 9"},
                                           TabRow{"keeps_focus_after_space", 33, "pico", "  ", "E-12E-12"},
                                           TabRow{"digits_typed_on_a_key", 4, "B10x", "12", "12"},
                                           TabRow{"back_to_the_options", -1, "C1", "", ""}),
                         RowName());

TEST_F(Plain, OptionsResetButTheMemoryStays)
{
    {
        Machine m(memory, messenger, nullptr);
        m.show();
        QTest::mouseClick(m.findChild<QRadioButton *>(QStringLiteral("C0")), Qt::LeftButton);
        QTest::mouseClick(m.findChild<QRadioButton *>(QStringLiteral("angle1")), Qt::LeftButton);
        clickAll(m, {"B2", "B5", "B0", "EXE"});
        EXPECT_EQ(display(m), QStringLiteral("2.5E+02"));
        click(m, QStringLiteral("Command1"));
        EXPECT_TRUE(m.calculator().radians);
    }
    Machine again(memory, messenger, nullptr);
    again.show();
    EXPECT_TRUE(again.findChild<QRadioButton *>(QStringLiteral("angle0"))->isChecked());
    EXPECT_TRUE(again.findChild<QRadioButton *>(QStringLiteral("C1"))->isChecked());
    click(again, QStringLiteral("Command3"));
    EXPECT_EQ(display(again), QStringLiteral("250"));
}

struct DisplayRow {
    const char *name;
    const char *typed;
    const char *shown; // nullptr: the typed text
    bool fromStart;    // the caret at 0, so that the start is in view
};
void PrintTo(const DisplayRow &r, std::ostream *os)
{
    *os << r.name;
}
class DisplayCaret : public ::testing::TestWithParam<DisplayRow>
{
};
TEST_P(DisplayCaret, ShowsWhatTheUserReadsFirst)
{
    double memory = 0.0;
    vorlac::Messenger messenger;
    Machine m(memory, messenger, nullptr);
    m.show();
    auto *z1 = m.findChild<QLineEdit *>(QStringLiteral("z1"));
    QTest::keyClicks(z1, QString::fromLatin1(GetParam().typed));
    EXPECT_EQ(z1->text(), QString::fromUtf8(GetParam().shown ? GetParam().shown : GetParam().typed));
    EXPECT_EQ(z1->cursorPosition(), GetParam().fromStart ? 0 : z1->text().size());
    if (GetParam().fromStart) { // a message is read whole
        EXPECT_LE(z1->fontMetrics().horizontalAdvance(z1->text()), z1->width() - 8);
    }
}
INSTANTIATE_TEST_SUITE_P(
    Rows, DisplayCaret,
    ::testing::Values(DisplayRow{"operatorError", "2^*3\r", "Erreur saisie: incompréhension sur opérateurs: ^ * / + -",
                                 true},
                      DisplayRow{"bracketError", "(2\r", "Erreur saisie: revoir les parenthèses", true},
                      DisplayRow{"longEntry", "1234567890123456789012345678901234567890", nullptr, false},
                      DisplayRow{"result", "2*3\r", " 6", false}),
    [](const auto &row) { return std::string(row.param.name); });

// Through the main window: the toolbar opens the plain calculator; the column menu's request
// opens column mode, EXE fills the column and the final message is answered.
struct CalculatorInWindow : VorlacFixture {
    // Runs body on the calculator that opens next.
    template <typename Body> void onNextModal(Body body)
    {
        dialogs.answer<Machine>("Machine", [body](Machine *m) { body(*m); });
    }
};

TEST_F(CalculatorInWindow, ToolbarOpensThePlainCalculator)
{
    vorlac::Vorlac &w = window();
    QString shown;
    onNextModal([&](Machine &m) {
        clickAll(m, {"B7", "multip", "B6", "EXE"});
        shown = display(m);
        m.reject();
    });
    w.toolbar().calculatorButton()->click();
    EXPECT_EQ(shown, QStringLiteral(" 42"));
}

TEST_F(CalculatorInWindow, ColumnComputationAndItsMessage)
{
    vorlac::Vorlac &w = window();
    vorlac::ValueTable &table = w.valueTable();
    for (int r = 1; r <= 8; ++r)
        table.setTextMatrix(r, 0, QString::number(r));
    bool ownKeyDisabled = false;
    QString title;
    onNextModal([&](Machine &m) {
        title = m.windowTitle();
        ownKeyDisabled = !m.findChild<QPushButton *>(QStringLiteral("Command6_1"))->isEnabled();
        clickAll(m, {"Command6_0", "multip", "B2", "EXE"});
    });
    emit w.tableCommands().computeColumnRequested(1, false);
    EXPECT_EQ(title, QStringLiteral("Calculer: C2 ="));
    EXPECT_TRUE(ownKeyDisabled);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(messages[0].title, QStringLiteral("Calcul terminé"));
    EXPECT_EQ(messages[0].text, QStringLiteral(" 2 valeurs n'ont pas été calculées."));
    EXPECT_EQ(table.TextMatrix(8, 1), QStringLiteral("16,000"));
    EXPECT_EQ(table.TextMatrix(9, 1), QString());
    EXPECT_EQ(table.ColumnExpression(1), QStringLiteral("C1 * 2"));

    // Recalculer preloads the formula; EXE at once recomputes from the current values.
    table.setTextMatrix(9, 0, QStringLiteral("9"));
    table.setTextMatrix(10, 0, QStringLiteral("10"));
    QString preloaded;
    bool selected = true;
    int caret = 0;
    onNextModal([&](Machine &m) {
        preloaded = display(m);
        auto *z1 = m.findChild<QLineEdit *>(QStringLiteral("z1"));
        selected = z1->hasSelectedText();
        caret = z1->cursorPosition();
        click(m, QStringLiteral("EXE"));
    });
    emit w.tableCommands().computeColumnRequested(1, true);
    EXPECT_EQ(preloaded, QStringLiteral("C1 * 2"));
    EXPECT_FALSE(selected); // the caret at the end, nothing selected
    EXPECT_EQ(caret, preloaded.size());
    EXPECT_EQ(messages.size(), 1u); // every line computed: no message
    EXPECT_EQ(table.TextMatrix(10, 1), QStringLiteral("20,000"));
}

TEST_F(CalculatorInWindow, ClosingWithoutExeOrAnEmptyExeChangesNothing)
{
    vorlac::Vorlac &w = window();
    w.valueTable().setTextMatrix(1, 2, QStringLiteral("5,000"));
    onNextModal([&](Machine &m) {
        clickAll(m, {"Command6_0"});
        m.reject();
    });
    emit w.tableCommands().computeColumnRequested(2, false);
    bool stillOpen = false;
    onNextModal([&](Machine &m) {
        clickAll(m, {"EXE"}); // an empty formula would overwrite the column
        stillOpen = m.isVisible();
        m.reject();
    });
    emit w.tableCommands().computeColumnRequested(2, false);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(w.valueTable().TextMatrix(1, 2), QStringLiteral("5,000"));
    EXPECT_EQ(w.valueTable().ColumnExpression(2), QString());
}

} // namespace
