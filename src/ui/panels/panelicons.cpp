#include "panels/panelicons.h"

#include "common/clicklabel.h"
#include "common/hintline.h"
#include "common/pictures.h"

#include <QCursor>

namespace vorlac
{

PanelIcons makePanelIcons(QWidget &window, HintLine &hints)
{
    PanelIcons made;
    struct Icon {
        QPoint pos;
        const char *picture;
        QString hint;
        QString caption; // the word under the picture: its name for screen readers
    };
    const Icon icons[] = {
        {{24, 392},
         "icon_prism",
         QStringLiteral("Définir l'angle au sommet et le matériau."),
         QStringLiteral("Vorlac")},
        {{16, 200},
         "icon_medium",
         QStringLiteral("Pour modifier le milieu extérieur au vorlac"),
         QStringLiteral("Milieu")},
        {{216, 344},
         "icon_display",
         QStringLiteral("Modifier le fond, afficher les normales ou le sens de propagation"),
         QStringLiteral("Affichage")},
        {{216, 448},
         "icon_source",
         QStringLiteral("Définir la source ( monochromatique / polychromatique ) ou modifier la longueur d'onde"),
         QStringLiteral("Source")},
        {{24, 80}, "icon_protractor", QStringLiteral("Afficher le rapporteur."), QStringLiteral("Rapporteur")},
    };
    made.picture = new QWidget(&window);
    made.picture->setObjectName(QStringLiteral("Picture1"));
    made.picture->setGeometry(32, 40, 108, 70);
    made.picture->hide();
    const QCursor hand = svgCursor(QStringLiteral("cursor_hand"));
    made.picture->setCursor(hand);
    for (int i = 0; i < 5; ++i) {
        const Icon &ic = icons[i];
        auto *l = new ClickLabel(&window);
        l->setObjectName(QStringLiteral("Image3(%1)").arg(i + 1));
        l->setGeometry(QRect(ic.pos, QSize(108, 70)));
        // Transparent where the picture is: the painted background shows through.
        l->setPixmap(svgPicture(QString::fromLatin1(ic.picture), QSize(108, 70), window.devicePixelRatioF()));
        l->setCursor(hand);
        l->setAccessibleName(ic.caption);
        hints.addHint(l, ic.hint);
        made.icons[std::size_t(i)] = l;
    }
    return made;
}

} // namespace vorlac
