#include "window/copymenu.h"

#include "common/menus.h"

namespace vorlac
{

CopyMenu::CopyMenu(QWidget *parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("menucopie"));
    m_tableText = addNamedAction(this, "cop003", QStringLiteral("Copier le contenu du tableau"));
    m_tableImage = addNamedAction(this, "cop002", QStringLiteral("Copier une image du tableau"));
    addNamedSeparator(this, "sepsap");
    m_scene = addNamedAction(this, "cop001", QStringLiteral("Copier le schéma de l'expérience"));
    // Saving to files comes after the copies.
    addNamedSeparator(this, "sepexp");
    m_figureExport = addNamedAction(this, "exp001", QStringLiteral("Exporter le schéma de l'expérience..."));
    m_figureExport->setToolTip(QStringLiteral("Enregistrer le schéma en image PNG, en dessin SVG ou en PDF"));
    m_figureExport->setStatusTip(
        QStringLiteral("Enregistrer le schéma de l'expérience dans un fichier (PNG, PNG double taille, SVG ou PDF)"));
    m_tableExport = addNamedAction(this, "exp002", QStringLiteral("Exporter le tableau pour un tableur (CSV)..."));
    m_tableExport->setToolTip(QStringLiteral("Enregistrer le tableau dans un fichier CSV pour un tableur"));
    m_tableExport->setStatusTip(
        QStringLiteral("Enregistrer le tableau de valeurs dans un fichier CSV lisible par un tableur"));
    setToolTipsVisible(true);
}

} // namespace vorlac
