#include "common/clicklabel.h"
#include "common/hintline.h"
#include "common/menus.h"
#include "panels/tableframe.h"
#include "table/valuegrid.h"
#include "table/valuetable.h"
#include "vorlacfixture.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTest>

using namespace vorlac;

namespace
{

class TableInWindow : public VorlacFixture
{
};

// Typing appends: a number typed over is given back on leaving, the hint line says so, and
// Ctrl+Z before leaving brings it back too.
TEST_F(TableInWindow, TypingOverANumberKeepsItAndSaysSo)
{
    Vorlac &w = window();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.tableFrame().show();
    auto *grid = child<ValueGrid>("MSFlexGrid1");
    for (const bool undo : {false, true}) {
        w.valueTable().setActiveCell(1, 0);
        w.valueTable().setTextMatrix(1, 0, QStringLiteral("51,090"));
        settle();
        grid->setFocus();
        for (const char k : {'5', '0', '.', '3', '1'})
            QTest::keyClick(grid, k);
        EXPECT_EQ(w.valueTable().TextMatrix(1, 0), QStringLiteral("51,09050,31"));
        if (undo)
            QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        else
            QTest::keyClick(grid, Qt::Key_Down);
        EXPECT_EQ(w.valueTable().TextMatrix(1, 0), QStringLiteral("51,090")) << (undo ? "undo" : "leaving");
        if (!undo) {
            EXPECT_TRUE(w.info().contains(QStringLiteral("garde sa valeur 51,090"))) << w.info().toStdString();
        }
    }
}

TEST_F(TableInWindow, GridSitsInTheTableFrameAndDrivesItsMenusAndHints)
{
    Vorlac &w = window();
    w.show();
    auto *grid = child<ValueGrid>("MSFlexGrid1");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->parentWidget(), child<QWidget>("Frame4"));
    EXPECT_EQ(&grid->table(), &w.valueTable());
    w.tableFrame().show();

    QTest::mouseMove(grid->viewport(), grid->cellRect(2, 2).center());
    EXPECT_EQ(w.info(), ValueGrid::dataHint());
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, grid->cellRect(0, 3).center());
    auto *menucol = child<QMenu>("menucol");
    EXPECT_TRUE(menucol->isVisible());
    EXPECT_EQ(namedAction(*w.tableFrame().columnMenu(), "calcutab")->text(), QStringLiteral("Calculer C4"));
    menucol->hide();

    // Image5 opens the table menu with its items enabled from the table as it stands.
    w.valueTable().setRows(ValueTable::kMaxRows);
    QTest::mouseClick(w.tableFrame().menuButton(), Qt::LeftButton, {}, QPoint(5, 5));
    auto *menutableau = child<QMenu>("menutableau");
    EXPECT_TRUE(menutableau->isVisible());
    EXPECT_FALSE(namedAction(*w.tableFrame().tableMenu(), "insereligne")->isEnabled());
    menutableau->hide();

    w.valueTable().setTextMatrix(1, 0, QStringLiteral("1,000"));
    namedAction(*w.tableFrame().tableMenu(), "efftableau")->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("Attention: perte des données."));
    EXPECT_EQ(w.valueTable().Rows(), ValueTable::kStartRows);
    EXPECT_EQ(w.valueTable().TextMatrix(1, 0), QString());
}

} // namespace
