#pragma once

#include "recovery/recoveryfile.h"
#include "recovery/recoverystore.h"

#include <QObject>
#include <QString>
#include <memory>

class QWidget;

namespace vorlac
{

class ExerciseArea;
class ExerciseCommands;
class ProtractorPanel;
class SceneController;
class SituationBinder;
class ValueTable;
class WorkWatcher;
struct Messenger;

struct RecoveryTiming {
    int quietMs = 1000;   // the work is written this long after the last change...
    int longestMs = 5000; // ...or this long after the first of changes that never pause
};

// Keeps the unsaved work of the running program in its recovery file, and offers the work of a
// program that ended without a confirmed close at start-up. The work is captured on the window's
// thread (it costs well under a millisecond) and written and synced on the writer's thread.
class RecoveryKeeper : public QObject
{
    Q_OBJECT
  public:
    struct Parts {
        SceneController *scene = nullptr;
        ValueTable *table = nullptr;
        SituationBinder *situations = nullptr;
        ProtractorPanel *protractor = nullptr;
        ExerciseArea *exercises = nullptr;
        ExerciseCommands *exerciseCommands = nullptr;
        QWidget *window = nullptr; // parent of the messages
    };
    RecoveryKeeper(Parts parts, const QString &folder, const Messenger &messenger, RecoveryTiming timing = {});
    ~RecoveryKeeper() override;

    WorkWatcher &watcher() const { return *m_watcher; }
    RecoveryStore &store() { return m_store; }

    RecoveryWork capture() const;
    // Replaces the whole work; changes made by it are not noted as new work.
    void restore(const RecoveryWork &work);

    // Start-up: asks about each file left by a program that ended without a confirmed close,
    // newest first, until one is restored.
    void offer();
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
    QString describe(const QString &path) const;

    Parts m_parts;
    const Messenger &m_messenger;
    RecoveryStore m_store;
    WorkWatcher *m_watcher;
    std::unique_ptr<RecoveryWriter> m_writer;
    bool m_discarded = false;
    bool m_failureShown = false;
    QString m_failureReason;
    // The exercise text as RTF, written again only after the text changed.
    mutable QByteArray m_rtf;
    mutable bool m_rtfStale = true;
};

} // namespace vorlac
