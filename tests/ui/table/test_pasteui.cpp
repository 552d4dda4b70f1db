#include "vorlacfixture.h"

#include "common/menus.h"
#include "panels/tableframe.h"
#include "table/valuegrid.h"
#include "table/valuetable.h"
#include "window/copymenu.h"
#include "window/toolbar.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace vorlac;

using PasteInWindow = VorlacFixture;

namespace
{

QStringList itemNames(const QMenu &menu)
{
    QStringList names;
    for (const QAction *a : menu.actions())
        names << a->objectName();
    return names;
}

} // namespace

TEST_F(PasteInWindow, CtrlVOnTheGridPastesFromTheActiveCellInOneChange)
{
    Vorlac &w = window();
    w.toolbar().tableToggle()->setChecked(true);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ValueTable &t = w.valueTable();
    auto *grid = qobject_cast<ValueGrid *>(w.tableFrame().grid());
    ASSERT_NE(grid, nullptr);
    t.setActiveCell(2, 1);
    QApplication::clipboard()->setText(QStringLiteral("1.5\t2\r\n3\t4,25\r\n"));
    QSignalSpy changed(&t, &ValueTable::cellsChanged);
    QSignalSpy reset(&t, &ValueTable::tableReset);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(changed.count() + reset.count(), 1);
    EXPECT_EQ(t.TextMatrix(2, 1), QStringLiteral("1,500"));
    EXPECT_EQ(t.TextMatrix(2, 2), QStringLiteral("2,000"));
    EXPECT_EQ(t.TextMatrix(3, 1), QStringLiteral("3,000"));
    EXPECT_EQ(t.TextMatrix(3, 2), QStringLiteral("4,250"));
    EXPECT_TRUE(messages.empty()) << "nothing left out, nothing said";
}

TEST_F(PasteInWindow, MenuItemFollowsTheTablesItemsAndSaysWhatWasLeftOutOnce)
{
    Vorlac &w = window();
    QMenu &menu = *w.tableFrame().tableMenu();
    const QStringList names = itemNames(menu);
    ASSERT_GE(names.size(), 2);
    // Right after the table's own last item; the undo items follow.
    EXPECT_EQ(names.mid(names.indexOf("fermtab") + 1, 2), (QStringList{"sep3", "coller"}));
    QAction *paste = namedAction(menu, "coller");
    EXPECT_FALSE(paste->toolTip().isEmpty());
    EXPECT_EQ(paste->shortcut(), QKeySequence(QKeySequence::Paste));
    emit menu.hovered(paste);
    EXPECT_EQ(w.info(), paste->statusTip());

    ValueTable &t = w.valueTable();
    t.setActiveCell(1, 5);
    QApplication::clipboard()->setText(QStringLiteral("1\t2\t3\nmot\t4\n"));
    paste->trigger();
    EXPECT_EQ(t.TextMatrix(1, 5), QStringLiteral("1,000"));
    EXPECT_EQ(t.TextMatrix(2, 6), QStringLiteral("4,000"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, QStringLiteral("Coller"));
    EXPECT_EQ(messages[0].text,
              QStringLiteral("Le tableau n'a que 7 colonnes et 100 lignes : 1 cellule n'a pas été collée (1 colonne "
                             "au-delà de C7).\n1 texte qui n'est pas un nombre a été laissé de côté."));
}

TEST_F(PasteInWindow, SaysWhatTheTablesFormatRoundedAndTakesAFirstLineOfTextsAsTitles)
{
    Vorlac &w = window();
    ValueTable &t = w.valueTable();
    QApplication::clipboard()->setText(QStringLiteral("angle\tindice\n1,546416\t1,5\n2,0004\t2,25\n"));
    namedAction(*w.tableFrame().tableMenu(), "coller")->trigger();
    EXPECT_EQ(t.titles().mid(0, 3), (QStringList{"angle", "indice", "C3"}));
    EXPECT_EQ(t.TextMatrix(1, 0), QStringLiteral("1,546"));
    EXPECT_EQ(t.TextMatrix(2, 1), QStringLiteral("2,250"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("2 valeurs ont été arrondies au format 0,000 du tableau.\n"
                                               "La première ligne a donné les titres de C1 à C2."));
}

TEST_F(PasteInWindow, CopyMenuEndsWithTheExportsWhichOpenAFrenchSaveDialog)
{
    Vorlac &w = window();
    CopyMenu &menu = w.copyMenu();
    EXPECT_EQ(itemNames(menu), (QStringList{"cop003", "cop002", "sepsap", "cop001", "sepexp", "exp001", "exp002"}));
    for (QAction *a : {menu.figureExportAction(), menu.tableExportAction()}) {
        EXPECT_FALSE(a->toolTip().isEmpty());
        emit menu.hovered(a);
        EXPECT_EQ(w.info(), a->statusTip());
    }
    struct Seen {
        QString title;
        QStringList filters;
    };
    std::vector<Seen> seen;
    for (QAction *a : {menu.figureExportAction(), menu.tableExportAction()}) {
        dialogs.answer<QFileDialog>("", [&seen](QFileDialog *d) {
            seen.push_back({d->windowTitle(), d->nameFilters()});
            d->reject();
        });
        a->trigger();
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, QStringLiteral("Exporter le schéma de l'expérience"));
    EXPECT_EQ(seen[0].filters.size(), 4);
    EXPECT_TRUE(seen[0].filters.value(2).startsWith(QStringLiteral("Dessin vectoriel SVG")));
    EXPECT_EQ(seen[1].title, QStringLiteral("Exporter le tableau"));
    EXPECT_EQ(seen[1].filters, QStringList{QStringLiteral("Tableau CSV pour tableur (*.csv)")});
    EXPECT_TRUE(messages.empty());
}
