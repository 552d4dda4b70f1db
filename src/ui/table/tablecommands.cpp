#include "table/tablecommands.h"

#include "common/messenger.h"
#include "table/arithdialog.h"
#include "table/formatdialog.h"
#include "table/nblignesdialog.h"
#include "table/valuegrid.h"
#include "table/valuetable.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>

namespace vorlac {

namespace {

struct Item {
    const char *name;
    const char *caption; // nullptr: a separator
};

const Item kTableItems[] = {
    {"nblignes", "Nombre de lignes"},
    {"insligsous", "Insérer une ligne au dessus de la cellule active"},
    {"insereligne", "Insérer une ligne à la fin du tableau"},
    {"efflig", "Supprimer la ligne de la cellule active"},
    {"sep", nullptr},
    {"formatsc", "Format d'écriture des données"},
    {"sep1", nullptr},
    {"repgraphe", "Représentation graphique"},
    {"sep2", nullptr},
    {"efftableau", "Effacer le tableau"},
    {"fermtab", "Cacher le tableau"},
};

// Captions other than suitar's are rewritten whenever the menu opens.
const Item kColumnItems[] = {
    {"calcutab", "Calculer"},
    {"vexpress", "Voir expression"},
    {"recalc", "Recalculer"},
    {"suitar", "Suite arithmétique"},
    {"sepdesep", nullptr},
    {"effcol", "Effacer"},
    {"titrecol", "Nommer"},
    {"sep25", nullptr},
    {"triertab", "Trier"},
    {"triertab2", "Trier"},
};

template <std::size_t N>
void fill(QMenu &menu, const Item (&items)[N])
{
    if (!menu.actions().isEmpty())
        return;
    for (const Item &item : items) {
        QAction *a = item.caption ? menu.addAction(QString::fromUtf8(item.caption)) : menu.addSeparator();
        a->setObjectName(QString::fromLatin1(item.name));
    }
}

std::optional<QString> askWithInputBox(QWidget *parent, const QString &title, const QString &prompt,
                                       const QString &text)
{
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(text);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Annuler"));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

} // namespace

TableCommands::TableCommands(ValueTable &table, ValueGrid &grid, QMenu &menutableau, QMenu &menucol,
                             const Messenger &messenger, QWidget *dialogParent)
    : QObject(&grid), m_table(table), m_grid(grid), m_menutableau(menutableau), m_menucol(menucol),
      m_messenger(messenger), m_dialogParent(dialogParent), m_ask(askWithInputBox)
{
    fillMenus();
    connectItems();
    refreshTableMenu(); // the column menu's captions are written when it opens
}

void TableCommands::fillMenus()
{
    fill(m_menutableau, kTableItems);
    fill(m_menucol, kColumnItems);
}

QAction *TableCommands::action(const char *name) const
{
    const QString n = QString::fromLatin1(name);
    for (QMenu *menu : {&m_menutableau, &m_menucol})
        for (QAction *a : menu->actions())
            if (a->objectName() == n)
                return a;
    return nullptr;
}

void TableCommands::connectItems()
{
    const auto on = [this](const char *name, auto slot) {
        if (QAction *a = action(name))
            connect(a, &QAction::triggered, this, slot);
    };
    on("calcutab", [this] { emit computeColumnRequested(m_table.Col(), false); });
    on("recalc", [this] { emit computeColumnRequested(m_table.Col(), true); });
    on("vexpress", [this] { showExpression(); });
    on("suitar", [this] { openArithmetic(); });
    on("effcol", [this] { m_table.eraseColumn(m_table.Col()); });
    on("titrecol", [this] { nameColumn(); });
    on("triertab", [this] { sortColumn(false); });
    on("triertab2", [this] { sortColumn(true); });
    on("nblignes", [this] { openLineCount(); });
    on("insligsous", [this] { m_table.insertLineAtActive(); });
    on("insereligne", [this] { m_table.appendLine(); });
    on("efflig", [this] { m_table.deleteActiveLine(); });
    on("formatsc", [this] { openFormat(); });
    on("repgraphe", [this] { emit graphRequested(); });
    on("efftableau", [this] { eraseTable(); });
    on("fermtab", [this] { emit hideTableRequested(); });

    // Image5 opens the table menu without any move over the grid: refresh it as it shows.
    connect(&m_menutableau, &QMenu::aboutToShow, this, &TableCommands::refreshTableMenu);
    connect(&m_menucol, &QMenu::aboutToShow, this, &TableCommands::prepareColumnMenu);
    connect(&m_grid, &ValueGrid::pointerMoved, this, &TableCommands::refreshTableMenu);
    connect(&m_grid, &ValueGrid::tableMenuRequested, this, [this](const QPoint &pos) { m_menutableau.popup(pos); });
    connect(&m_grid, &ValueGrid::columnMenuRequested, this, [this](int, const QPoint &pos) {
        prepareColumnMenu();
        m_menucol.popup(pos);
    });
}

QString TableCommands::columnName() const
{
    return QStringLiteral("C") + QString::number(m_table.Col() + 1);
}

void TableCommands::prepareColumnMenu()
{
    const QString c = columnName();
    const auto caption = [this](const char *name, const QString &text) {
        if (QAction *a = action(name))
            a->setText(text);
    };
    caption("calcutab", QStringLiteral("Calculer ") + c);
    caption("triertab", QStringLiteral("Trier ") + c + QStringLiteral(" dans l'ordre croissant."));
    caption("triertab2", QStringLiteral("Trier ") + c + QStringLiteral(" dans l'ordre décroissant."));
    caption("titrecol", QStringLiteral("Nommer ") + c);
    caption("effcol", QStringLiteral("Effacer ") + c);
    caption("vexpress", QStringLiteral("Voir expression de ") + c);
    caption("recalc", QStringLiteral("Recalculer ") + c);
    const bool hasFormula = !m_table.ColumnExpression(m_table.Col()).isEmpty();
    for (const char *name : {"vexpress", "recalc"})
        if (QAction *a = action(name))
            a->setEnabled(hasFormula);
}

void TableCommands::refreshTableMenu()
{
    if (QAction *a = action("insligsous"))
        a->setEnabled(m_table.canInsertLine());
    if (QAction *a = action("insereligne"))
        a->setEnabled(m_table.canInsertLine());
    if (QAction *a = action("efflig"))
        a->setEnabled(m_table.canDeleteLine());
}

void TableCommands::showExpression()
{
    const QString c = columnName();
    m_messenger.ask(m_dialogParent, QMessageBox::Information, QStringLiteral("Expression de ") + c,
                    c + QStringLiteral(" = ") + m_table.ColumnExpression(m_table.Col()), QMessageBox::Ok);
}

void TableCommands::nameColumn()
{
    const int col = m_table.Col();
    const QString c = columnName();
    const std::optional<QString> answer =
        m_ask(m_dialogParent, QStringLiteral("Nommer ") + c,
              QStringLiteral("Saisir le texte à afficher pour la colonne ") + c, m_table.title(col));
    if (!answer || answer->trimmed().isEmpty())
        return;
    const QString problem = ValueTable::textProblem(*answer);
    if (!problem.isEmpty()) {
        m_messenger.critical(m_dialogParent, QStringLiteral("Nommer ") + c,
                             problem + QStringLiteral("\nLe titre de la colonne n'a pas été modifié."));
        return;
    }
    m_table.setTitle(col, *answer);
}

void TableCommands::sortColumn(bool descending)
{
    m_table.Sort(m_table.Col(), descending);
}

void TableCommands::openLineCount()
{
    m_table.commitActiveCell();
    NbLignesDialog dialog(m_table.Rows() - 1, m_dialogParent);
    if (dialog.exec() == QDialog::Accepted)
        m_table.setRows(dialog.dataLines() + 1);
}

void TableCommands::openFormat()
{
    m_table.commitActiveCell();
    FormatDialog dialog(m_table.TableNumberFormat(), m_dialogParent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const std::optional<QString> pattern = dialog.pattern()) {
        m_table.setTableNumberFormat(*pattern);
        m_table.ReformatTable();
    }
}

void TableCommands::openArithmetic()
{
    m_table.commitActiveCell();
    ArithDialog dialog(m_table, m_messenger, m_dialogParent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ArithDialog::Sequence s = dialog.sequence();
    m_table.fillArithmetic(m_table.Col(), s.first, s.last, s.step);
}

void TableCommands::eraseTable()
{
    if (m_messenger.ask(m_dialogParent, QMessageBox::Question, QStringLiteral("Effacer le tableau"),
                        QStringLiteral("Attention: perte des données."), QMessageBox::Ok | QMessageBox::Cancel) !=
        QMessageBox::Ok)
        return;
    m_table.eraseTable();
}

} // namespace vorlac
