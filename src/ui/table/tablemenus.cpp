#include "table/tablemenus.h"

#include "common/menus.h"

namespace vorlac
{

QMenu *makeTableMenu(QWidget *parent)
{
    return makeNamedMenu(parent, "menutableau",
                         {
                             {"nblignes", QStringLiteral("Nombre de lignes")},
                             {"insligsous", QStringLiteral("Insérer une ligne au dessus de la cellule active")},
                             {"insereligne", QStringLiteral("Insérer une ligne à la fin du tableau")},
                             {"efflig", QStringLiteral("Supprimer la ligne de la cellule active")},
                             {"sep", QStringLiteral("-")},
                             {"formatsc", QStringLiteral("Format d'écriture des données")},
                             {"sep1", QStringLiteral("-")},
                             {"repgraphe", QStringLiteral("Représentation graphique")},
                             {"sep2", QStringLiteral("-")},
                             {"efftableau", QStringLiteral("Effacer le tableau")},
                             {"fermtab", QStringLiteral("Cacher le tableau")},
                             {"sep3", QStringLiteral("-")},
                             {"coller", QStringLiteral("Coller à partir de la cellule active")},
                         });
}

QMenu *makeColumnMenu(QWidget *parent)
{
    return makeNamedMenu(
        parent, "menucol",
        {
            {"calcutab", QStringLiteral("Calculer")},
            {"vexpress", QStringLiteral("Voir expression")},
            {"recalc", QStringLiteral("Recalculer")},
            {"suitar", QStringLiteral("Suite arithmétique")},
            {"sepdesep", QStringLiteral("-")},
            {"effcol", QStringLiteral("Affacer la colonne")},
            {"titrecol", QStringLiteral("Titre de la colonne")},
            {"sep25", QStringLiteral("-")},
            {"triertab", QStringLiteral("Trier la colonne de la cellule active dans l'ordre croissant")},
            {"triertab2", QStringLiteral("trier la colonne de la cellule active dans l'ordre décroissant")},
        });
}

} // namespace vorlac
