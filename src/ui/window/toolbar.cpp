#include "window/toolbar.h"

#include "common/hintline.h"
#include "common/pictures.h"

#include <QToolButton>

namespace vorlac
{

Toolbar::Toolbar(HintLine &hints, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("toolbar"));
    setAccessibleName(QStringLiteral("Barre d'outils"));
    setGeometry(0, 0, 801, 41);
    struct Tool {
        QToolButton **target;
        const char *name;
        QRect geometry;
        QString caption, tooltip, picture, hint;
    };
    const Tool tools[] = {
        {&m_open,
         "Command2",
         {0, 0, 81, 41},
         QStringLiteral("&Ouvrir"),
         QStringLiteral("Retrouver une configuration"),
         QStringLiteral("tb_open"),
         QStringLiteral("Retrouver une situation enregistrée")},
        {&m_save,
         "Command11",
         {80, 0, 81, 41},
         QStringLiteral("&Enregistrer"),
         QStringLiteral("Enregistrer la configuration actuelle"),
         QStringLiteral("tb_save"),
         QStringLiteral("Enregistrer la configuration en cours")},
        {&m_copy,
         "Command4",
         {160, 0, 81, 41},
         QStringLiteral("Co&pier"),
         QStringLiteral("Placer l'image dans le presse-papiers"),
         QStringLiteral("tb_copy"),
         QStringLiteral("Placer le dessin dans le presse-papiers puis coller depuis Word, Paint...")},
        {&m_print,
         "Command10",
         {240, 0, 81, 41},
         QStringLiteral("&Imprimer"),
         QStringLiteral("Imprimer l'image"),
         QStringLiteral("tb_print"),
         QStringLiteral("Configurer l'imprimante et imprimer l'image")},
        {&m_table,
         "Check1",
         {320, 0, 81, 41},
         QStringLiteral("&Tableau"),
         QStringLiteral("Afficher / cacher le tableau"),
         QStringLiteral("tb_table"),
         QStringLiteral("Pour afficher ou cacher le tableau de valeurs")},
        {&m_calc,
         "Command8",
         {400, 0, 81, 41},
         QStringLiteral("&Calculatrice"),
         QStringLiteral("Machine à calculer"),
         QStringLiteral("tb_calc"),
         QStringLiteral("Activer la machine à calculer")},
        {&m_notations,
         "Command3",
         {480, 0, 81, 41},
         QStringLiteral("&Notations"),
         QStringLiteral("Notations angles du vorlac"),
         QStringLiteral("tb_notations"),
         QStringLiteral("Pour voir les notations utilisées dans les exercices")},
        {&m_course,
         "Command9",
         {560, 0, 81, 41},
         QStringLiteral("&Voir le cours"),
         QStringLiteral("Aide théorique"),
         QStringLiteral("tb_course"),
         QStringLiteral("Accéder directement à une partie du cours du manuel")},
        {&m_help,
         "Command7",
         {640, 0, 73, 41},
         QStringLiteral("&Aide"),
         QStringLiteral("Aide pour utiliser cette application"),
         QStringLiteral("tb_help"),
         QStringLiteral("Si vous rencontrez une difficulté avec cette application")},
        {&m_close,
         "Command1",
         {712, 0, 89, 41},
         QStringLiteral("&Fermer"),
         QStringLiteral("Quitter cette application"),
         QStringLiteral("tb_close"),
         QStringLiteral("Pour retrouver le module principal et quitter cette application")},
    };
    for (const Tool &t : tools) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(t.name));
        b->setGeometry(t.geometry);
        b->setText(t.caption);
        b->setToolTip(t.tooltip);
        b->setIcon(QIcon(svgPicture(t.picture, QSize(20, 20), devicePixelRatioF())));
        b->setIconSize(QSize(20, 20));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(false);
        *t.target = b;
        hints.addHint(b, t.hint);
    }
    m_table->setCheckable(true);
}

} // namespace vorlac
