#pragma once

#include "work/work.h"

#include <QByteArray>
#include <QObject>

namespace vorlac
{

class ExerciseArea;
class ExerciseAuthoring;
class ExerciseCommands;
class ProtractorModel;
class SceneController;
class ScreenCommands;
class SituationBinder;
class UndoHistory;

// The one place where the work is read from its owners and put back through their setters: undo,
// recovery and the openings all go through it, each for the parts it keeps (see kWorkFields).
class WorkBinder : public QObject
{
    Q_OBJECT
  public:
    struct Parts {
        SceneController *scene = nullptr;
        ValueTable *table = nullptr;
        SituationBinder *situations = nullptr;
        ProtractorModel *protractor = nullptr;
        ExerciseArea *exercises = nullptr;
        ExerciseCommands *exerciseCommands = nullptr;
        ExerciseAuthoring *authoring = nullptr; // the exercise being written; may be null
        UndoHistory *history = nullptr;         // its undo and redo change the work quietly
        ScreenCommands *screen = nullptr;       // may be null
    };
    explicit WorkBinder(Parts parts, QObject *parent = nullptr);

    const Parts &parts() const { return m_parts; }

    // The parts asked for; the others keep Work's defaults.
    Work capture(WorkParts parts = kAllWork) const;
    // Puts back the parts asked for; a part equal to what is there is left alone.
    void restore(const Work &work, WorkParts parts = kAllWork);

  signals:
    // Something of the work changed, by the pupil or by a restore: the settle timer of the
    // recovery listens here.
    void changed();
    // The pupil changed the scene, the protractor or the table; label names it in French ("angle
    // au sommet"). Undo listens here.
    void edited(const QString &label);

  private:
    // What a change signal feeds: the settle timer (changed) or undo (edited, with its label).
    enum class Feed { Settle, Undo };
    RecoveredExercise captureExercise() const;
    template <Feed F, typename Sender, typename Signal> void feed(const Sender *sender, Signal signal);

    Parts m_parts;
    // The exercise text as RTF, written again only after the text changed.
    mutable QByteArray m_rtf;
    mutable bool m_rtfStale = true;
};

} // namespace vorlac
