// Commands that had only a mouse way: each row takes the keyboard's way and says where it led.
#include "common/clicklabel.h"
#include "common/focusring.h"
#include "model/scenestate.h"
#include "panels/indexlawdialog.h"
#include "rowname.h"
#include "table/valuetable.h"
#include "vorlacfixture.h"
#include "window/coveredcontrols.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSet>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <functional>

using namespace vorlac;

namespace
{

struct RouteRow {
    const char *name;
    // Takes the route in a shown window and describes where it ended.
    std::function<QString(Vorlac &)> route;
    const char *expected;
};
void PrintTo(const RouteRow &row, std::ostream *os)
{
    *os << row.name;
}

QString focusName()
{
    QWidget *f = QApplication::focusWidget();
    return f ? f->objectName() : QStringLiteral("(rien)");
}

// The visible pop-up menu, closed, described by its name and where it opened.
QString shownMenu(const QWidget *anchor, QPoint expectedTopLeft)
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *menu = qobject_cast<QMenu *>(top); menu && menu->isVisible()) {
            const QPoint at = menu->pos();
            menu->hide();
            const bool placed = (at - anchor->mapToGlobal(expectedTopLeft)).manhattanLength() <= 2;
            return menu->objectName() + (placed ? QStringLiteral(" à sa place") : QStringLiteral(" ailleurs"));
        }
    return QStringLiteral("(aucun menu)");
}

QString columnMenuBy(Vorlac &w, int key, Qt::KeyboardModifiers mods)
{
    auto *grid = w.findChild<QTableView *>(QStringLiteral("MSFlexGrid1"));
    w.findChild<QToolButton *>(QStringLiteral("Check1"))->click(); // the table shows
    w.valueTable().setActiveCell(2, 2);
    grid->setFocus(Qt::TabFocusReason);
    QTest::keyClick(grid, Qt::Key(key), mods);
    const QHeaderView *header = grid->horizontalHeader();
    return shownMenu(header->viewport(), QPoint(header->sectionViewportPosition(2), header->height())) +
           QStringLiteral(" C%1").arg(w.valueTable().Col() + 1);
}

QString escapeFromPanel(Vorlac &w, const char *icon)
{
    auto *opener = w.findChild<QWidget *>(QString::fromLatin1(icon));
    opener->setFocus(Qt::TabFocusReason);
    QTest::keyClick(opener, Qt::Key_Space);
    QWidget *inside = QApplication::focusWidget();
    if (!inside || inside == opener)
        return QStringLiteral("le panneau n'a pas pris le focus");
    QTest::keyClick(inside, Qt::Key_Escape);
    return focusName();
}

QString wavelengthAfter(Vorlac &w, int key)
{
    w.findChild<QWidget *>(QStringLiteral("Image3(4)"))->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    auto *bar = w.findChild<QScrollBar *>(QStringLiteral("HScroll1"));
    bar->setFocus(Qt::TabFocusReason);
    const int before = bar->sliderPosition();
    QTest::keyClick(bar, Qt::Key(key));
    return QString::number(w.controller().state().wavelength) +
           (bar->sliderPosition() > before ? QStringLiteral(" vers la droite") : QStringLiteral(" vers la gauche"));
}

QString wavelengthTyped(Vorlac &w, const char *typed)
{
    w.findChild<QWidget *>(QStringLiteral("Image3(4)"))->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    auto *box = w.findChild<QAbstractSpinBox *>(QStringLiteral("SaisieLambda"));
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    QTest::keyClicks(box, QString::fromLatin1(typed));
    QTest::keyClick(box, Qt::Key_Return);
    return QString::number(w.controller().state().wavelength) + QStringLiteral(" barre ") +
           QString::number(w.findChild<QScrollBar *>(QStringLiteral("HScroll1"))->value());
}

// Tab until the control named `name` has the focus; false when the chain never reaches it.
bool tabTo(const QString &name)
{
    for (int i = 0; i < 300 && focusName() != name; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return focusName() == name;
}

// The control the keyboard's ring surrounds, as the pupil sees it.
QString ringAround(Vorlac &w)
{
    auto *ring = w.findChild<FocusRing *>(QStringLiteral("FocusRing"));
    return ring && ring->isVisible() && ring->widget() ? ring->widget()->objectName()
                                                       : QStringLiteral("(aucun anneau)");
}

// Opens every panel and the table, then goes round the whole Tab chain: the first control
// reached that lies under one of them, or how many were reached.
QString tabRoundWithEverythingOpen(Vorlac &w)
{
    for (const char *icon : {"Image3(1)", "Image3(2)", "Image3(3)", "Image3(4)", "Image3(5)", "ImageMesures"})
        if (auto *opener = w.findChild<ClickLabel *>(QString::fromLatin1(icon)))
            emit opener->clicked();
    w.findChild<QToolButton *>(QStringLiteral("Check1"))->click();
    QWidget *start = QApplication::focusWidget();
    QSet<QWidget *> reached;
    for (int i = 0; i < 300; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *f = QApplication::focusWidget();
        if (isCovered(f, &w))
            return QStringLiteral("caché : ") + f->objectName();
        if (f == start || reached.contains(f))
            break;
        reached.insert(f);
    }
    return reached.size() > 10 ? QStringLiteral("aucun caché") : QStringLiteral("%1 atteints").arg(reached.size());
}

// With a lamp, the list of its lines: whether the key left it, else the row it reached and whether
// that row is said line first.
QString lampLinesAfter(Vorlac &w, int key, Qt::KeyboardModifiers mods)
{
    w.controller().setSource(SourceType::LineLamp);
    emit w.findChild<ClickLabel *>(QStringLiteral("ImageMesures"))->clicked();
    auto *list = w.findChild<QTableWidget *>(QStringLiteral("MesureRaies"));
    list->setCurrentCell(0, 0);
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key(key), mods);
    if (focusName() != list->objectName())
        return QStringLiteral("sorti");
    const int row = list->currentRow();
    const QString said = list->item(row, 0)->data(Qt::AccessibleTextRole).toString();
    const QString line = list->verticalHeaderItem(row)->text();
    return QStringLiteral("ligne %1, ").arg(row + 1) +
           (said.startsWith(line + QStringLiteral(", n ")) ? QStringLiteral("raie d'abord") : said);
}

// LOUPE's box A after a key: the control then focused, and whether A's text is all selected.
QString loupeAfter(Vorlac &w, int key, Qt::KeyboardModifiers mods)
{
    IndexLawDialog dialog({1.5f, 4200.0f}, w.messenger(), &w);
    dialog.show();
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto *a = dialog.findChild<QLineEdit *>(QStringLiteral("Text1"));
    a->setFocus(Qt::TabFocusReason);
    a->deselect();
    QTest::keyClick(a, Qt::Key(key), mods);
    const QString out = dialog.focusWidget()->objectName() +
                        (a->selectedText() == a->text() ? QStringLiteral(" tout choisi") : QString());
    dialog.reject();
    return out;
}

class KeyboardRoutes : public VorlacFixture, public ::testing::WithParamInterface<RouteRow>
{
};

TEST_P(KeyboardRoutes, LeadWhereTheMouseLeads)
{
    Vorlac &w = window();
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        GTEST_SKIP() << "no active window on this platform";
    EXPECT_EQ(GetParam().route(w), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, KeyboardRoutes,
    ::testing::Values(
        RouteRow{"menu_key_column_menu", [](Vorlac &w) { return columnMenuBy(w, Qt::Key_Menu, {}); },
                 "menucol à sa place C3"},
        RouteRow{"shift_f10_column_menu", [](Vorlac &w) { return columnMenuBy(w, Qt::Key_F10, Qt::ShiftModifier); },
                 "menucol à sa place C3"},
        RouteRow{"escape_prism_panel", [](Vorlac &w) { return escapeFromPanel(w, "Image3(1)"); }, "Image3(1)"},
        RouteRow{"escape_source_panel", [](Vorlac &w) { return escapeFromPanel(w, "Image3(4)"); }, "Image3(4)"},
        RouteRow{"escape_measures_panel", [](Vorlac &w) { return escapeFromPanel(w, "ImageMesures"); }, "ImageMesures"},
        RouteRow{"wavelength_right", [](Vorlac &w) { return wavelengthAfter(w, Qt::Key_Right); }, "590 vers la droite"},
        RouteRow{"wavelength_left", [](Vorlac &w) { return wavelengthAfter(w, Qt::Key_Left); }, "588 vers la gauche"},
        RouteRow{"wavelength_up", [](Vorlac &w) { return wavelengthAfter(w, Qt::Key_Up); }, "590 vers la droite"},
        RouteRow{"wavelength_down", [](Vorlac &w) { return wavelengthAfter(w, Qt::Key_Down); }, "588 vers la gauche"},
        RouteRow{"wavelength_typed", [](Vorlac &w) { return wavelengthTyped(w, "546"); }, "546 barre 546"},
        RouteRow{"alt_p_copy_menu",
                 [](Vorlac &w) {
                     QCursor::setPos(w.mapToGlobal(QPoint(700, 500))); // the pointer away from the button
                     auto *b = w.findChild<QToolButton *>(QStringLiteral("Command4"));
                     b->click(); // as Alt+P's mnemonic does
                     return shownMenu(b, QPoint(0, b->height()));
                 },
                 "menucopie à sa place"},
        RouteRow{"tab_leaves_lamp_lines", [](Vorlac &w) { return lampLinesAfter(w, Qt::Key_Tab, {}); }, "sorti"},
        RouteRow{"shift_tab_leaves_lamp_lines",
                 [](Vorlac &w) { return lampLinesAfter(w, Qt::Key_Backtab, Qt::ShiftModifier); }, "sorti"},
        RouteRow{"ctrl_tab_leaves_lamp_lines",
                 [](Vorlac &w) { return lampLinesAfter(w, Qt::Key_Tab, Qt::ControlModifier); }, "sorti"},
        RouteRow{"down_in_lamp_lines", [](Vorlac &w) { return lampLinesAfter(w, Qt::Key_Down, {}); },
                 "ligne 2, raie d'abord"},
        RouteRow{"tab_leaves_loupe_a", [](Vorlac &w) { return loupeAfter(w, Qt::Key_Tab, {}); }, "Text2"},
        RouteRow{"ctrl_a_in_loupe_a", [](Vorlac &w) { return loupeAfter(w, Qt::Key_A, Qt::ControlModifier); },
                 "Text1 tout choisi"},
        RouteRow{"tab_passes_over_covered_controls", tabRoundWithEverythingOpen, "aucun caché"},
        RouteRow{"ring_on_scroll_bar",
                 [](Vorlac &w) { return tabTo(QStringLiteral("VScroll1")) ? ringAround(w) : focusName(); }, "VScroll1"},
        RouteRow{"ring_on_introduction_text",
                 [](Vorlac &w) { return tabTo(QStringLiteral("supertext")) ? ringAround(w) : focusName(); },
                 "supertext"},
        RouteRow{"no_ring_after_click",
                 [](Vorlac &w) {
                     tabTo(QStringLiteral("VScroll1"));
                     QTest::mouseClick(w.findChild<QWidget *>(QStringLiteral("lampe")), Qt::LeftButton);
                     return ringAround(w);
                 },
                 "(aucun anneau)"}),
    RowName());

} // namespace
