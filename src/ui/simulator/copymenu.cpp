#include "simulator/copymenu.h"

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
}

} // namespace vorlac
