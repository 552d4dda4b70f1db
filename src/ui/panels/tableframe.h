#pragma once

#include <QFrame>

class QMenu;

namespace vorlac
{

class ClickLabel;

// The table of values' frame `Frame4`: a title bar "Tableau de valeurs" that hides it, the
// "Commandes" button `Image5` that opens `menutableau`, and the grid placed with setGrid. The
// column menu `menucol` opens from the grid's title cells.
class TableFrame : public QFrame
{
    Q_OBJECT
  public:
    explicit TableFrame(QWidget *parent);

    ClickLabel *menuButton() const { return m_menuButton; } // Image5
    QMenu *tableMenu() const { return m_tableMenu; }        // menutableau
    QMenu *columnMenu() const { return m_columnMenu; }      // menucol

    // Lays the grid under the title bar, over the whole width of the frame.
    void setGrid(QWidget *grid);
    QWidget *grid() const { return m_grid; }

  signals:
    // The title bar or "Cacher le tableau": the table toggle should be released.
    void hideRequested();

  private:
    ClickLabel *m_title;
    ClickLabel *m_menuButton;
    QMenu *m_tableMenu;
    QMenu *m_columnMenu;
    QWidget *m_grid = nullptr;
};

} // namespace vorlac
