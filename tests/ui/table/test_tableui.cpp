#include "common/messenger.h"
#include "common/updown.h"
#include "rowname.h"
#include "table/arithdialog.h"
#include "table/celldelegate.h"
#include "table/formatdialog.h"
#include "table/nblignesdialog.h"
#include "table/tablecommands.h"
#include "table/tablemenus.h"
#include "table/titleheader.h"
#include "table/valuegrid.h"
#include "table/valuetable.h"
#include "ui/dialogwatch.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>
#include <memory>

using namespace vorlac;

namespace
{

struct Shown {
    QMessageBox::Icon icon;
    QString title;
    QString text;
};

// Runs the test's step on the dialog that opens; closes (and fails on) any other.
struct ModalGuard : DialogWatch {
    explicit ModalGuard(std::function<void(QWidget *)> step) { answer("", std::move(step)); }
};

class TableUi : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        messenger.show = [this](QWidget *, QMessageBox::Icon icon, const QString &title, const QString &text,
                                QMessageBox::StandardButtons) {
            shown.push_back({icon, title, text});
            return answer;
        };
        frame = std::make_unique<QWidget>();
        frame->resize(409, 209);
        grid = new ValueGrid(table, frame.get());
        grid->setGeometry(1, 19, 407, 189);
        menutableau = makeTableMenu(frame.get());
        menucol = makeColumnMenu(frame.get());
        commands = new TableCommands(table, *grid, *menutableau, *menucol, messenger, frame.get());
        frame->show();
        grid->setFocus();
        QApplication::setActiveWindow(frame.get());
    }
    void TearDown() override
    {
        menutableau->hide();
        menucol->hide();
    }

    QPoint cellCentre(int row, int col) const { return grid->cellRect(row, col).center(); }
    void clickCell(int row, int col, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseClick(grid->viewport(), b, {}, cellCentre(row, col));
    }
    void clickTitle(int col, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseClick(grid->horizontalHeader()->viewport(), b, {}, cellCentre(0, col));
    }
    void type(const QString &keys)
    {
        for (QChar k : keys)
            QTest::keyClick(grid, k.toLatin1());
    }
    QAction *item(const char *name) const { return frame->findChild<QAction *>(QString::fromLatin1(name)); }
    QString caption(const char *name) const { return item(name)->text(); }
    bool enabled(const char *name) const { return item(name)->isEnabled(); }

    ValueTable table;
    Messenger messenger;
    std::vector<Shown> shown;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    std::unique_ptr<QWidget> frame;
    ValueGrid *grid = nullptr;
    QMenu *menutableau = nullptr;
    QMenu *menucol = nullptr;
    TableCommands *commands = nullptr;
};

TEST_F(TableUi, GridIsNamedAndNeverEdits)
{
    EXPECT_EQ(grid->objectName(), QStringLiteral("MSFlexGrid1"));
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->columnWidth(3), 55);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(2, 1));
    EXPECT_EQ(grid->indexWidget(grid->currentIndex()), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), grid);
    EXPECT_EQ(table.Row(), 2);
    EXPECT_EQ(table.Col(), 1);
}

struct WideRow {
    const char *name;
    int col;          // 0 is the active cell
    const char *text; // written, or typed when typed
    bool typed;
    const char *shown; // "#" for a row of hashes
    bool tip;          // the whole text as tooltip
};

void PrintTo(const WideRow &r, std::ostream *os)
{
    *os << r.name;
}

class WideCell : public TableUi, public ::testing::WithParamInterface<WideRow>
{
};

TEST_P(WideCell, NeverShowsAnEllipsisInANumber)
{
    const WideRow &r = GetParam();
    const QString text = QString::fromLatin1(r.text);
    if (r.typed)
        type(text);
    else
        table.setTextMatrix(1, r.col, text);
    const QModelIndex index = grid->model()->index(0, r.col);
    QStyleOptionViewItem option;
    option.initFrom(grid->viewport());
    option.widget = grid;
    option.rect = grid->visualRect(index);
    const QString painted = static_cast<CellDelegate *>(grid->itemDelegate())->shownText(option, index);
    if (QByteArray(r.shown) == "#")
        EXPECT_EQ(painted, QString(painted.size(), u'#')) << painted.toStdString();
    else
        EXPECT_EQ(painted, QString::fromLatin1(r.shown));
    const QPoint at = option.rect.center();
    QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &help);
    EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), r.tip ? table.TextMatrix(1, r.col) : QString());
    QToolTip::hideText();
}

INSTANTIATE_TEST_SUITE_P(Rows, WideCell,
                         ::testing::Values(WideRow{"fits", 1, "1,500", false, "1,500", false},
                                           WideRow{"wideNumber", 1, "123456800,000", false, "#", true},
                                           WideRow{"wideActiveNumber", 0, "123456800,000", false, "#", true},
                                           WideRow{"typedShowsItsEnd", 0, "12345678901234", true, "12345678901234",
                                                   true}),
                         [](const auto &row) { return std::string(row.param.name); });

TEST_F(TableUi, ALongTitleIsCutAtItsEndOnly)
{
    table.setTitle(1, QStringLiteral("= sin i / sin r"));
    const auto *header = static_cast<TitleHeader *>(grid->horizontalHeader());
    const QString title = header->shownTitle(1);
    EXPECT_TRUE(title.startsWith(QStringLiteral("= sin")) && title.endsWith(QChar(0x2026))) << title.toStdString();
    EXPECT_LT(header->fontMetrics().horizontalAdvance(title), header->sectionSize(1) - 4);
    EXPECT_EQ(header->shownTitle(2), QStringLiteral("C3"));
}

// A cut title tells its whole text in a tooltip; a title shown whole needs none.
class TitleTip : public TableUi, public ::testing::WithParamInterface<std::tuple<const char *, bool>>
{
};
TEST_P(TitleTip, WholeTitleOnlyWhenCut)
{
    const auto &[text, cut] = GetParam();
    table.setTitle(3, QString::fromUtf8(text));
    auto *header = static_cast<TitleHeader *>(grid->horizontalHeader());
    EXPECT_EQ(header->shownTitle(3) != QString::fromUtf8(text), cut);
    const QPoint at(header->sectionViewportPosition(3) + 10, header->height() / 2);
    QHelpEvent help(QEvent::ToolTip, at, header->viewport()->mapToGlobal(at));
    QApplication::sendEvent(header->viewport(), &help);
    EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), cut ? QString::fromUtf8(text) : QString());
    QToolTip::hideText();
}
INSTANTIATE_TEST_SUITE_P(Rows, TitleTip,
                         ::testing::Values(std::tuple{"lambda (nm)", true}, std::tuple{"1/lambda² (nm-2)", true},
                                           std::tuple{"n", false}),
                         RowName());

struct LeaveRow {
    const char *how;
    int row, col; // the active cell afterwards
};

void PrintTo(const LeaveRow &r, std::ostream *os)
{
    *os << r.how;
}

class Leaving : public TableUi, public ::testing::WithParamInterface<LeaveRow>
{
};

TEST_P(Leaving, ConvertsTheTypedCell)
{
    clickCell(2, 1);
    type("1.5");
    EXPECT_EQ(table.TextMatrix(2, 1), QStringLiteral("1,5"));
    const QString how = QString::fromLatin1(GetParam().how);
    if (how == "click")
        clickCell(5, 4);
    else if (how == "down")
        QTest::keyClick(grid, Qt::Key_Down);
    else if (how == "right")
        QTest::keyClick(grid, Qt::Key_Right);
    else if (how == "tab")
        QTest::keyClick(grid, Qt::Key_Tab);
    else if (how == "title")
        clickTitle(6);
    else if (how == "enter")
        QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(table.TextMatrix(2, 1), QStringLiteral("1,500"));
    EXPECT_EQ(table.Row(), GetParam().row);
    EXPECT_EQ(table.Col(), GetParam().col);
}

INSTANTIATE_TEST_SUITE_P(Ways, Leaving,
                         ::testing::Values(LeaveRow{"click", 5, 4}, LeaveRow{"down", 3, 1}, LeaveRow{"right", 2, 2},
                                           LeaveRow{"tab", 2, 2}, LeaveRow{"title", 2, 6}, LeaveRow{"enter", 3, 1}),
                         RowName());

TEST_F(TableUi, TypingKeysFollowTheRules)
{
    type("2e3");
    EXPECT_EQ(table.Text(), QStringLiteral("2E3"));
    QTest::keyClick(grid, Qt::Key_Backspace);
    EXPECT_EQ(table.Text(), QStringLiteral("2E"));
    type("x y");
    EXPECT_EQ(table.Text(), QStringLiteral("2E"));
    QTest::keyClick(grid, Qt::Key_Backspace);
    QTest::keyClick(grid, Qt::Key_Backspace);
    QTest::keyClick(grid, Qt::Key_Backspace);
    EXPECT_EQ(table.Text(), QString());
    // Delete empties the cell when released, without leaving it.
    type("3,142");
    QTest::keyPress(grid, Qt::Key_Delete);
    EXPECT_EQ(table.Text(), QStringLiteral("3,142"));
    QTest::keyRelease(grid, Qt::Key_Delete);
    EXPECT_EQ(table.Text(), QString());
    EXPECT_EQ(table.Row(), 1);
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 0)).toString(), QString());
}

TEST_F(TableUi, RightPressLeavesTheActiveCellAndOpensTheTableMenu)
{
    clickCell(3, 2);
    type("7");
    clickCell(6, 5, Qt::RightButton);
    EXPECT_EQ(table.Row(), 3);
    EXPECT_EQ(table.Col(), 2);
    EXPECT_EQ(table.Text(), QStringLiteral("7")); // not left, so not converted
    EXPECT_TRUE(menutableau->isVisible());
    EXPECT_FALSE(menucol->isVisible());
}

TEST_F(TableUi, AnyButtonOnATitleOpensTheColumnMenuForThatColumn)
{
    table.setColumnExpression(2, QStringLiteral("C1 * 2"));
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
        clickTitle(2, b);
        EXPECT_TRUE(menucol->isVisible());
        EXPECT_FALSE(menutableau->isVisible());
        menucol->hide();
    }
    EXPECT_EQ(table.Col(), 2);
    EXPECT_EQ(caption("calcutab"), QStringLiteral("Calculer C3"));
    EXPECT_EQ(caption("vexpress"), QStringLiteral("Voir expression de C3"));
    EXPECT_EQ(caption("recalc"), QStringLiteral("Recalculer C3"));
    EXPECT_EQ(caption("suitar"), QStringLiteral("Suite arithmétique"));
    EXPECT_EQ(caption("effcol"), QStringLiteral("Effacer C3"));
    EXPECT_EQ(caption("titrecol"), QStringLiteral("Nommer C3"));
    EXPECT_EQ(caption("triertab"), QStringLiteral("Trier C3 dans l'ordre croissant."));
    EXPECT_EQ(caption("triertab2"), QStringLiteral("Trier C3 dans l'ordre décroissant."));
    EXPECT_TRUE(enabled("vexpress"));
    EXPECT_TRUE(enabled("recalc"));
    // The whole column is selected.
    EXPECT_EQ(grid->selectionModel()->selectedIndexes().size(), 10);

    clickTitle(4);
    EXPECT_EQ(caption("triertab"), QStringLiteral("Trier C5 dans l'ordre croissant."));
    EXPECT_FALSE(enabled("vexpress"));
    EXPECT_FALSE(enabled("recalc"));
}

TEST_F(TableUi, HintsAndEnablingFollowThePointer)
{
    QString hint;
    QObject::connect(grid, &ValueGrid::hintChanged, [&](const QString &t) { hint = t; });
    table.setRows(101);
    QTest::mouseMove(grid->viewport(), cellCentre(2, 2));
    EXPECT_EQ(hint, QStringLiteral("Cliquer sur une cellule pour l'activer et saisir une valeur."));
    EXPECT_FALSE(enabled("insligsous"));
    EXPECT_FALSE(enabled("insereligne"));
    EXPECT_TRUE(enabled("efflig"));
    QTest::mouseMove(grid->horizontalHeader()->viewport(), cellCentre(0, 2));
    EXPECT_EQ(hint, QStringLiteral("Cliquer sur la première cellule d'une colonne pour calculer, effacer, nommer ou "
                                   "classer."));
    // Without a move over the grid, the menu refreshes as it opens.
    table.setRows(2);
    menutableau->popup(QPoint(0, 0));
    EXPECT_TRUE(enabled("insligsous"));
    EXPECT_TRUE(enabled("insereligne"));
    EXPECT_FALSE(enabled("efflig"));
    item("efflig")->trigger();
    EXPECT_EQ(table.Rows(), 2);
}

TEST_F(TableUi, ColumnAndCalculatorItemsReachTheirHandlers)
{
    std::vector<std::pair<int, bool>> asked;
    QObject::connect(commands, &TableCommands::computeColumnRequested, [&](int col, bool recalc) {
        asked.push_back({col, recalc});
    });
    table.setColumnExpression(1, QStringLiteral("sin C1"));
    clickTitle(1);
    menucol->hide();
    item("calcutab")->trigger();
    item("recalc")->trigger();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], std::make_pair(1, false));
    EXPECT_EQ(asked[1], std::make_pair(1, true));

    item("vexpress")->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, QMessageBox::Information);
    EXPECT_EQ(shown[0].title, QStringLiteral("Expression de C2"));
    EXPECT_EQ(shown[0].text, QStringLiteral("C2 = sin C1"));

    table.setTextMatrix(1, 1, QStringLiteral("3"));
    table.setTextMatrix(2, 1, QStringLiteral("1"));
    item("triertab")->trigger();
    EXPECT_EQ(table.TextMatrix(1, 1), QStringLiteral("1,000"));
    item("triertab2")->trigger();
    EXPECT_EQ(table.TextMatrix(1, 1), QStringLiteral("3,000"));
    item("effcol")->trigger();
    EXPECT_EQ(table.TextMatrix(1, 1), QString());
    EXPECT_EQ(table.ColumnExpression(1), QStringLiteral("sin C1"));
}

struct TitleAnswer {
    std::optional<QString> answer;
    QString title;
    bool message;
};

void PrintTo(const TitleAnswer &r, std::ostream *os)
{
    if (!r.answer) {
        *os << "cancelled";
        return;
    }
    *os << r.answer->size() << " characters";
    for (const QChar c : r.answer->left(4))
        *os << ' ' << codePoint(c.unicode());
}

class Naming : public TableUi, public ::testing::WithParamInterface<TitleAnswer>
{
};

TEST_P(Naming, KeepsOnlySavableNonBlankTitles)
{
    QString asked;
    commands->setTextAsker([&](QWidget *, const QString &title, const QString &prompt, const QString &text) {
        asked = title + "|" + prompt + "|" + text;
        return GetParam().answer;
    });
    table.setActiveCell(1, 3);
    item("titrecol")->trigger();
    EXPECT_EQ(asked, QStringLiteral("Nommer C4|Saisir le texte à afficher pour la colonne C4|C4"));
    EXPECT_EQ(table.title(3), GetParam().title);
    EXPECT_EQ(shown.size(), GetParam().message ? 1u : 0u);
    if (!shown.empty()) {
        EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, Naming,
                         ::testing::Values(TitleAnswer{std::nullopt, "C4", false},
                                           TitleAnswer{QStringLiteral("   "), "C4", false},
                                           TitleAnswer{QStringLiteral("  i (°)"), "  i (°)", false},
                                           TitleAnswer{QString(127, QLatin1Char('a')), "C4", true},
                                           TitleAnswer{QStringLiteral("λ"), "C4", true}),
                         RowName());

TEST_F(TableUi, EraseTableAsksFirst)
{
    table.setTextMatrix(4, 4, QStringLiteral("1,000"));
    table.setColumnExpression(0, QStringLiteral("C2"));
    answer = QMessageBox::Cancel;
    item("efftableau")->trigger();
    EXPECT_EQ(table.TextMatrix(4, 4), QStringLiteral("1,000"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, QMessageBox::Question);
    EXPECT_EQ(shown[0].title, QStringLiteral("Effacer le tableau"));
    EXPECT_EQ(shown[0].text, QStringLiteral("Attention: perte des données."));
    answer = QMessageBox::Ok;
    item("efftableau")->trigger();
    EXPECT_EQ(table.TextMatrix(4, 4), QString());
    EXPECT_EQ(table.ColumnExpression(0), QString());
}

TEST_F(TableUi, InsertKeepsTheActiveRowOnTheNewLine)
{
    clickCell(2, 0);
    type("5");
    item("insligsous")->trigger();
    EXPECT_EQ(table.Rows(), 12);
    EXPECT_EQ(table.Row(), 2);
    EXPECT_EQ(table.TextMatrix(2, 0), QString());
    EXPECT_EQ(table.TextMatrix(3, 0), QStringLiteral("5,000"));
    EXPECT_EQ(grid->currentIndex().row(), 1);
    item("insereligne")->trigger();
    EXPECT_EQ(grid->model()->rowCount(), 12);
}

// --- Dialogs --------------------------------------------------------------------------------

TEST_F(TableUi, LineCountDialogShowsAndSetsTheDataLines)
{
    table.setTextMatrix(6, 0, QStringLiteral("6,000"));
    const auto choose = [this](int lines, const char *button) {
        ModalGuard guard([lines, button](QWidget *modal) {
            auto *d = qobject_cast<NbLignesDialog *>(modal);
            ASSERT_NE(d, nullptr);
            d->upDown()->setValue(lines);
            EXPECT_EQ(d->findChild<QLabel *>("Label1")->text(), QString::number(lines));
            d->findChild<QPushButton *>(button)->click();
        });
        commands->openLineCount();
    };
    {
        NbLignesDialog d(table.Rows() - 1, frame.get());
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Nombre de lignes du tableau"));
        EXPECT_EQ(d.findChild<QLabel *>("Label1")->text(), QStringLiteral("10"));
        d.upDown()->setValue(4);
        d.findChild<QPushButton *>("Command1")->click();
        EXPECT_EQ(d.dataLines(), 4);
    }
    EXPECT_EQ(table.Rows(), 11); // only the table's owner applies the answer
    choose(4, "Command1");
    EXPECT_EQ(table.Rows(), 5);
    choose(10, "Command2");
    EXPECT_EQ(table.Rows(), 5);
    ModalGuard guard([](QWidget *modal) {
        auto *d = qobject_cast<NbLignesDialog *>(modal);
        ASSERT_NE(d, nullptr);
        d->upDown()->setValue(10);
        d->findChild<QPushButton *>("Command1")->click();
    });
    item("nblignes")->trigger();
    EXPECT_EQ(table.Rows(), 11);
    EXPECT_EQ(table.TextMatrix(6, 0), QString());
}

TEST_F(TableUi, FormatDialogSelectsTheCurrentPatternAndReformats)
{
    table.setTextMatrix(1, 0, QStringLiteral("0,0258"));
    table.setTextMatrix(2, 0, QStringLiteral("-32135,35"));
    table.setActiveCell(5, 5);
    table.Sort(0, false); // the sort gives the pattern back
    ModalGuard guard([](QWidget *modal) {
        auto *d = qobject_cast<FormatDialog *>(modal);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Format d'écritue des données dans le tableau"));
        EXPECT_TRUE(d->findChild<QRadioButton *>("Option2")->isChecked());
        d->findChild<QRadioButton *>("Option5")->click();
        d->findChild<QPushButton *>("Command1")->click();
    });
    commands->openFormat();
    EXPECT_EQ(table.TableNumberFormat(), QStringLiteral("0.000E-00"));
    EXPECT_EQ(table.TextMatrix(1, 0), QStringLiteral("-3,214E04"));
    EXPECT_EQ(table.TextMatrix(2, 0), QStringLiteral("2,600E-02")); // already 0,026 in the fixed pattern
}

TEST(FormatExamples, PaintedForEachPattern)
{
    EXPECT_EQ(FormatDialog::examples(FormatDialog::choices()[0].pattern), QStringList({"3,14", "-32135,35", "0,03"}));
    EXPECT_EQ(FormatDialog::examples(FormatDialog::choices()[2].pattern),
              QStringList({"3,141593", "-32135,35", "0,0258"}));
    EXPECT_EQ(FormatDialog::examples(FormatDialog::choices()[3].pattern),
              QStringList({"3,14E+00", "-3,21E+04", "2,58E-02"}));
}

struct ArithRow {
    const char *first, *last, *step;
    const char *title; // "" when the fill is done
    int rows;
};

void PrintTo(const ArithRow &r, std::ostream *os)
{
    *os << "from \"" << r.first << "\" to \"" << r.last << "\" step \"" << r.step << "\"";
}

class Arith : public TableUi, public ::testing::WithParamInterface<ArithRow>
{
};

TEST_P(Arith, FillsOrExplains)
{
    const ArithRow &row = GetParam();
    table.setActiveCell(1, 2);
    ModalGuard guard([this, row](QWidget *modal) {
        auto *d = qobject_cast<ArithDialog *>(modal);
        ASSERT_NE(d, nullptr);
        const char *values[3] = {row.first, row.last, row.step};
        for (int i = 0; i < 3; ++i) {
            d->box(i)->setFocus();
            QTest::keyClicks(d->box(i), QString::fromLatin1(values[i]));
        }
        d->findChild<QPushButton *>("Command1")->click();
        EXPECT_EQ(d->isVisible(), *row.title != 0); // a refusal keeps the dialog open
        if (d->isVisible())
            d->reject();
    });
    commands->openArithmetic();
    EXPECT_EQ(table.Rows(), row.rows);
    if (*row.title) {
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].title, QString::fromUtf8(row.title));
        EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
    } else {
        EXPECT_TRUE(shown.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, Arith,
                         ::testing::Values(ArithRow{"10", "80", "10", "", 11}, ArithRow{"0", "99", "1", "", 101},
                                           ArithRow{"0", "9.9", "0.1", "", 101},
                                           ArithRow{"80", "10", "10", "Erreur saisie", 11},
                                           ArithRow{"1", "", "1", "Erreur saisie", 11},
                                           ArithRow{"0", "200", "1", "Dépassement de capacité", 11}),
                         RowName());

TEST_F(TableUi, ArithBoxesFilterKeysAndNormaliseOnLeaving)
{
    ArithDialog d(table, messenger, frame.get());
    d.show();
    QApplication::setActiveWindow(&d);
    d.box(0)->setFocus();
    QTest::keyClicks(d.box(0), QStringLiteral("-1.5a0"));
    EXPECT_EQ(d.box(0)->text(), QStringLiteral("-1,50"));
    d.box(1)->setFocus();
    EXPECT_EQ(d.box(0)->text(), QStringLiteral("-1,5"));
    QTest::keyClicks(d.box(1), QStringLiteral("--"));
    d.box(2)->setFocus();
    EXPECT_EQ(d.box(1)->text(), QString());
    d.reject();
}

TEST_F(TableUi, ArithFromTheColumnMenuFillsTheClickedColumn)
{
    clickTitle(5);
    menucol->hide();
    ModalGuard guard([](QWidget *modal) {
        auto *d = qobject_cast<ArithDialog *>(modal);
        ASSERT_NE(d, nullptr);
        d->box(0)->setText(QStringLiteral("0"));
        d->box(1)->setText(QStringLiteral("1"));
        d->box(2)->setText(QStringLiteral("0,3"));
        d->findChild<QPushButton *>("Command1")->click();
    });
    item("suitar")->trigger();
    EXPECT_EQ(table.TextMatrix(4, 5), QStringLiteral("0,900"));
    EXPECT_EQ(table.TextMatrix(5, 5), QString());
}

} // namespace
