#pragma once

#include "undo/undohistory.h"

#include <QObject>

class QAction;
class QMenu;
class QShortcut;
class QWidget;

namespace vorlac
{

class HintLine;
class WorkBinder;

// The scene side of the undo history: the parts of the work undo keeps besides the table, read
// and put back through the work binder, whose edits it reports to the history.
class SceneUndoAccess : public SceneAccess
{
  public:
    SceneUndoAccess(WorkBinder &work, UndoHistory &history);

    SceneSnapshot capture() const override;
    void restore(const SceneSnapshot &snapshot) override;

  private:
    WorkBinder &m_work;
};

// "Annuler" and "Rétablir": two items at the end of the table menu named with the step they
// act on, and Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z over the whole window. While a text editor has
// the focus (the exercise text, an input line) the keys act on that editor's own text.
class UndoActions : public QObject
{
    Q_OBJECT
  public:
    UndoActions(UndoHistory &history, QMenu &tableMenu, QWidget &window, HintLine &hints);

    QAction *undoAction() const { return m_undo; } // annuler
    QAction *redoAction() const { return m_redo; } // retablir
    static QString undoHint();
    static QString redoHint();

  private:
    void refresh();
    // The keys: the focused text editor's own undo, else the history's.
    void key(bool undo);

    UndoHistory &m_history;
    QAction *m_undo;
    QAction *m_redo;
};

} // namespace vorlac
