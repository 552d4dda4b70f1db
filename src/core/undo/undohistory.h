#pragma once

#include "model/scenestate.h"
#include "spectra/screensettings.h"
#include "table/valuetable.h"
#include "undo/tabledelta.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <functional>

class QUndoStack;

namespace vorlac
{

// The scene side of a step: the optical scene, where the protractor lies and the screen.
struct SceneSnapshot {
    SceneState scene;
    float protractorRotation = 0.0f;
    float protractorLineAngle = 1.571f;
    QPoint protractorPosition;
    ScreenSettings screen;
    bool operator==(const SceneSnapshot &) const = default;
};

// How the history reads and puts back the scene; the window implements it over the scene
// controller and the protractor, so that undo goes through their setters.
class SceneAccess
{
  public:
    virtual ~SceneAccess() = default;
    virtual SceneSnapshot capture() const = 0;
    virtual void restore(const SceneSnapshot &snapshot) = 0;
    // A gesture that makes one step however long it lasts (a lamp drag).
    virtual bool gestureInProgress() const { return false; }
};

// The program's one undo stack. It needs no command per change: the table (its edited()
// signal) and the scene (noteChange) report that something changed, the history keeps the
// state as it was after the last step, and when the change is over it pushes one step holding
// only what differs. A change is over at the end of the event that made it, but not while a
// mouse button is held (a drag), a gesture is in progress or a modal dialog is open: whatever
// that dialog changes is its one step. Consecutive typing in one cell is one step, and so are the
// steps of one scene control that follow each other within a second.
class UndoHistory : public QObject
{
    Q_OBJECT
  public:
    static constexpr int kLimit = 100;

    explicit UndoHistory(ValueTable &table, QObject *parent = nullptr);
    ~UndoHistory() override;

    // Not owned; null for a history of the table alone.
    void setScene(SceneAccess *scene);
    // The history notes the table's edits itself unless a list of the work's changes that holds
    // them feeds noteChange instead.
    void setTableFollowed(bool followed);

    QUndoStack &stack() const { return *m_stack; }

    // Something changed; label names it in French ("angle au sommet"). The last label of a step
    // names it unless nameStep gave it a name.
    void noteChange(const QString &label);
    // Names the step in progress whatever its changes say.
    void nameStep(const QString &label);
    // Ends the step in progress now.
    void closeStep();
    bool stepPending() const { return m_pending; }

    // Close the step in progress, then move in the stack.
    void undo();
    void redo();
    bool canUndo() const;
    bool canRedo() const;
    // "Annuler : tri de C2", "Rétablir : ..."; the bare verb when there is nothing to name.
    QString undoCaption() const;
    QString redoCaption() const;
    // Forgets every step (the state now is the new start).
    void clear();
    // Where the history reads the time, in ms, to merge the repeated steps of one control
    // (tests give their own).
    void setClock(std::function<qint64()> msNow);

  signals:
    // The captions or what can be undone changed.
    void captionsChanged();
    // The work changed: a step was recorded (or merged into the last one), undone or redone.
    // Undo and redo go through restores that report nothing else, so whatever must follow every
    // change of the work (the recovery file) listens here.
    void workChanged();

  private:
    friend class HistoryStep;
    bool held() const;
    void tryClose();
    void rebase();
    void swapTable(TableDelta &delta);
    TableDelta delta(const ValueTable::Snapshot &from, const ValueTable::Snapshot &to);
    void swapScene(SceneSnapshot &other);

    ValueTable &m_table;
    SceneAccess *m_scene = nullptr;
    QUndoStack *m_stack;
    QTimer m_retry;
    ValueTable::Snapshot m_tableBase;
    SceneSnapshot m_sceneBase;
    bool m_pending = false;
    int m_cellVisit = 0; // moves of the table's active cell so far
    int m_stepVisit = 0; // m_cellVisit when the step in progress began
    bool m_restoring = false;
    QString m_label;
    QString m_name;
    TableDelta::TextPool m_texts; // texts the steps share
    qsizetype m_pruneAt = 4096;
    std::function<qint64()> m_clock;
};

} // namespace vorlac
