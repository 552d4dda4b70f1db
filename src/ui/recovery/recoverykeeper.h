#pragma once

#include "recovery/recoveryfile.h"
#include "recovery/recoverystore.h"
#include "recovery/recoverytiming.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace vorlac
{

class ExerciseArea;
class ExerciseAuthoring;
class HintLine;
class SetAsideDialog;
struct SetAsideRow;
class WorkBinder;
class WorkWatcher;
struct Messenger;

// Keeps the unsaved work of the running program in its recovery file, and offers the work of a
// program that ended without a confirmed close at start-up. The work is captured on the window's
// thread (it costs well under a millisecond) and written and synced on the writer's thread.
class RecoveryKeeper : public QObject
{
    Q_OBJECT
  public:
    struct Parts {
        ExerciseArea *exercises = nullptr;      // whether an edited text would be lost
        ExerciseAuthoring *authoring = nullptr; // the exercise being written; may be null
        WorkBinder *work = nullptr;             // reads and puts back the work
        QWidget *window = nullptr;              // parent of the messages
        HintLine *hints = nullptr;
        // A piece set aside replaced the work (not an undo step: see openingIsUndoable).
        std::function<void()> workReplaced;
    };
    RecoveryKeeper(Parts parts, const QString &folder, const Messenger &messenger, RecoveryTiming timing = {});
    ~RecoveryKeeper() override;

    WorkWatcher &watcher() const { return *m_watcher; }
    RecoveryStore &store() { return m_store; }

    RecoveryWork capture() const;
    // Replaces the whole work; changes made by it are not noted as new work.
    void restore(const RecoveryWork &work);

    // Start-up: clears what ended programs left, then asks about each file left by a program
    // that ended without a confirmed close, newest first, until one is restored. fileToOpen is
    // a file the program was given to open: when work is restored too, the pupil chooses which
    // to keep, and the other is set aside. False when fileToOpen is not to be opened.
    bool offer(const QString &fileToOpen = QString());

    // The work set aside in the folder, as the list shows it.
    QList<SetAsideRow> setAsideRows() const;
    // Shows the list of the work set aside over parent; the piece chosen, "" for none.
    QString chooseSetAside(QWidget *parent);
    // Opens a piece set aside in place of the whole current work, where undo stops. False when it
    // cannot be read or the pupil keeps an edited exercise text.
    bool openSetAside(const QString &path);
    // Adds "Travail mis de côté…" to the open dialog: the list, and the piece chosen opened.
    void addSetAsideButton(QDialog &openDialog);
    // How the list is shown (modal); tests replace it.
    std::function<void(SetAsideDialog &)> showSetAsideDialog;
    // Writes the work now (on the writer's thread).
    void writeNow();
    // Returns once every write asked for has been made.
    void waitForWrites();
    // A confirmed close: nothing more is written and the file goes.
    void discard();

  signals:
    // After each write, on the window's thread.
    void written(bool ok);

  private:
    void writeFinished(bool ok, const QString &reason);
    void showWriteFailure();
    void reportUnreadable(const RecoveryOrphan &orphan, RecoveryFailure failure);
    bool askRestore(const RecoveryWork &work, const RecoveryOrphan &orphan, const QString &aside);
    bool keepRestoredOver(const QString &fileToOpen, const RecoveryOrphan &orphan);
    void keep(const RecoveryOrphan &orphan);

    Parts m_parts;
    const Messenger &m_messenger;
    RecoveryStore m_store;
    WorkWatcher *m_watcher;
    std::unique_ptr<RecoveryWriter> m_writer;
    bool m_discarded = false;
    bool m_failureShown = false;
    QString m_failureReason;
};

} // namespace vorlac
