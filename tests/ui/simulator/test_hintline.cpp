#include "vorlacfixture.h"

#include "common/hintline.h"
#include "common/menus.h"
#include "panels/protractorpanel.h"
#include "panels/tableframe.h"
#include "rowname.h"
#include "window/copymenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QMouseEvent>

using namespace vorlac;

namespace
{

class HintLineFit : public VorlacFixture
{
};

// Every hint of the program, the longest included, fits the line whole.
TEST_F(HintLineFit, EveryHintIsReadableWhole)
{
    Vorlac &w = window();
    HintLine &line = w.hintLine();
    QStringList texts = line.hintTexts();
    texts << "Vous pouvez modifier les paramètres,\r\nouvrir une configuration ou un exercice"
          << "L'angle au sommet du vorlac peut\r\nvarier de 2 à 90 degrés."
          << "Pour déplacer la source lumineuse, utiliser la souris en maintenant le bouton gauche enfoncé"
          << "Vous pouvez choisir le matériau constituant le vorlac dans la liste ou en définir un autre"
          << "Vous pouvez choisir le matériau à l'extérieur du vorlac dans la liste ou en définir un autre"
          << ProtractorPanel::hint() << w.copyConfirmation();
    ASSERT_GE(texts.size(), 25);
    for (const QString &t : texts) {
        line.setInfo(t);
        EXPECT_LE(line.heightForWidth(line.width()), line.height()) << t.toStdString();
        EXPECT_GE(line.font().pixelSize(), 8) << t.toStdString();
        EXPECT_EQ(line.info(), t);
    }
    // short hints keep the full size
    line.setInfo("Afficher le rapporteur.");
    EXPECT_EQ(line.font().pixelSize(), 11);
}

// A move over a hinted child shows the child's hint, not its panel's, even though the move
// also reaches the panel.
TEST_F(HintLineFit, MoveOverTheSpectrumStripShowsItsOwnHint)
{
    Vorlac &w = window();
    w.show();
    QWidget *panel = child<QWidget>("Picture6");
    panel->show();
    QWidget *strip = child<QWidget>("Image1");
    w.setInfo("autre chose");
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 10), strip->mapToGlobal(QPointF(20, 10)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(strip, &move);
    EXPECT_EQ(w.info(), "Pour affiner le réglage de la longueur d'onde, utiliser les boutons < et >");
    // over the panel itself, its own text
    QMouseEvent bare(QEvent::MouseMove, QPointF(200, 30), panel->mapToGlobal(QPointF(200, 30)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(panel, &bare);
    EXPECT_EQ(w.info(), "La longueur d'onde de la lumière émise par la source monochromatique varie de 400 à 800 nm");
}

// After a command of the table's menus the line shows that command's hint, or nothing: never the
// sentence of the item hovered before it (the CSV export's, here). Rows: menu (0 table, 1 column),
// item.
class MenuCommandHint : public VorlacFixture, public ::testing::WithParamInterface<std::pair<int, const char *>>
{
};
TEST_P(MenuCommandHint, ReplacesTheLastItemsSentence)
{
    Vorlac &w = window();
    emit w.copyMenu().hovered(w.copyMenu().tableExportAction());
    ASSERT_FALSE(w.info().isEmpty());
    QMenu &menu = GetParam().first ? *w.tableFrame().columnMenu() : *w.tableFrame().tableMenu();
    QAction *item = namedAction(menu, GetParam().second);
    emit menu.hovered(item);
    item->trigger();
    EXPECT_EQ(w.info(), item->statusTip());
}
INSTANTIATE_TEST_SUITE_P(Rows, MenuCommandHint,
                         ::testing::Values(std::pair{0, "efftableau"}, std::pair{0, "fermtab"}, std::pair{0, "coller"},
                                           std::pair{1, "triertab"}),
                         RowName());

} // namespace
