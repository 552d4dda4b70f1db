#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace vorlac
{

struct Messenger;
class ValueGrid;
class ValueTable;

// Connects the table's two pop-up menus (made by makeTableMenu and makeColumnMenu) to the
// table: menutableau (line commands, format, graph, erase, hide) and menucol (column
// commands), their items found by objectName. calcutab, recalc and repgraphe belong to other
// windows: they are only relayed as signals; fermtab is the frame's own (TableFrame).
class TableCommands : public QObject
{
    Q_OBJECT
  public:
    // Asks for a line of text (the input box of titrecol); nullopt when cancelled.
    using TextAsker = std::function<std::optional<QString>(QWidget *parent, const QString &title, const QString &prompt,
                                                           const QString &text)>;

    TableCommands(ValueTable &table, ValueGrid &grid, QMenu &menutableau, QMenu &menucol, const Messenger &messenger,
                  QWidget *dialogParent);

    void setTextAsker(TextAsker asker) { m_ask = std::move(asker); }

    // The commands that open a dialog, also reachable without the menus.
    void openLineCount();
    void openFormat();
    void openArithmetic();
    // "coller" and Ctrl+V: the clipboard's text into the table from the active cell, then one
    // message when something was left out.
    void pasteClipboard();

  signals:
    // calcutab (recalc = false) and recalc (true) on column col.
    void computeColumnRequested(int col, bool recalc);
    void graphRequested(); // repgraphe

  private:
    void connectItems();
    // Rewrites the captions and enabling of menucol for the active column.
    void prepareColumnMenu();
    // Enabling of insligsous, insereligne and efflig from the table's state.
    void refreshTableMenu();
    void showExpression();
    void nameColumn();
    void sortColumn(bool descending);
    void eraseTable();
    QString columnName() const;

    ValueTable &m_table;
    ValueGrid &m_grid;
    QMenu &m_menutableau;
    QMenu &m_menucol;
    const Messenger &m_messenger;
    QWidget *m_dialogParent;
    TextAsker m_ask;
};

} // namespace vorlac
