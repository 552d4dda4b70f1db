#include "table/tablecommands.h"

#include "common/menus.h"
#include "common/messenger.h"
#include "table/arithdialog.h"
#include "table/formatdialog.h"
#include "table/nblignesdialog.h"
#include "table/valuegrid.h"
#include "table/valuetable.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMenu>

namespace vorlac
{

namespace
{

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
    connectItems();
    refreshTableMenu(); // the column menu's captions are written when it opens
}

void TableCommands::connectItems()
{
    const auto on = [this](QMenu &menu, const char *name, auto slot) {
        if (QAction *a = namedAction(menu, name))
            connect(a, &QAction::triggered, this, slot);
    };
    QMenu &col = m_menucol;
    on(col, "calcutab", [this] { emit computeColumnRequested(m_table.Col(), false); });
    on(col, "recalc", [this] { emit computeColumnRequested(m_table.Col(), true); });
    on(col, "vexpress", [this] { showExpression(); });
    on(col, "suitar", [this] { openArithmetic(); });
    on(col, "effcol", [this] { m_table.eraseColumn(m_table.Col()); });
    on(col, "titrecol", [this] { nameColumn(); });
    on(col, "triertab", [this] { sortColumn(false); });
    on(col, "triertab2", [this] { sortColumn(true); });
    QMenu &lines = m_menutableau;
    on(lines, "nblignes", [this] { openLineCount(); });
    on(lines, "insligsous", [this] { m_table.insertLineAtActive(); });
    on(lines, "insereligne", [this] { m_table.appendLine(); });
    on(lines, "efflig", [this] { m_table.deleteActiveLine(); });
    on(lines, "formatsc", [this] { openFormat(); });
    on(lines, "repgraphe", [this] { emit graphRequested(); });
    on(lines, "efftableau", [this] { eraseTable(); });
    if (QAction *paste = namedAction(lines, "coller")) {
        connect(paste, &QAction::triggered, this, &TableCommands::pasteClipboard);
        paste->setShortcut(QKeySequence::Paste);
        paste->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        paste->setToolTip(QStringLiteral("Coller des nombres copiés d'un tableur ou du tableau (Ctrl+V)"));
        paste->setStatusTip(QStringLiteral("Coller les nombres du presse-papiers dans le tableau, à partir de la "
                                           "cellule active (Ctrl+V)"));
        m_menutableau.setToolTipsVisible(true);
        // Ctrl+V works wherever the grid has the focus, menu closed.
        m_grid.addAction(paste);
    }

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
        if (QAction *a = namedAction(m_menucol, name))
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
        if (QAction *a = namedAction(m_menucol, name))
            a->setEnabled(hasFormula);
}

void TableCommands::refreshTableMenu()
{
    if (QAction *a = namedAction(m_menutableau, "insligsous"))
        a->setEnabled(m_table.canInsertLine());
    if (QAction *a = namedAction(m_menutableau, "insereligne"))
        a->setEnabled(m_table.canInsertLine());
    if (QAction *a = namedAction(m_menutableau, "efflig"))
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

void TableCommands::pasteClipboard()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QString text = clipboard ? clipboard->text() : QString();
    const QString title = QStringLiteral("Coller");
    if (text.trimmed().isEmpty()) {
        m_messenger.ask(m_dialogParent, QMessageBox::Information, title,
                        QStringLiteral("Le presse-papiers ne contient pas de texte à coller."), QMessageBox::Ok);
        return;
    }
    const PasteReport report = m_table.paste(text);
    const QString message = pasteMessage(report);
    if (!message.isEmpty())
        m_messenger.ask(m_dialogParent, QMessageBox::Information, title, message, QMessageBox::Ok);
}

void TableCommands::eraseTable()
{
    if (m_messenger.ask(m_dialogParent, QMessageBox::Question, QStringLiteral("Effacer le tableau"),
                        QStringLiteral("Attention: perte des données."),
                        QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    m_table.eraseTable();
}

} // namespace vorlac
