#include "recovery/workbinder.h"

#include "exercises/exercisearea.h"
#include "exercises/exerciseauthoring.h"
#include "exercises/exercisecommands.h"
#include "model/protractormodel.h"
#include "rtf/rtf.h"
#include "scene/scenecontroller.h"
#include "situations/situationbinder.h"
#include "spectra/screencommands.h"
#include "undo/undohistory.h"

#include <QTextDocument>
#include <QTextEdit>

namespace vorlac
{

template <WorkBinder::Feed F, typename Sender, typename Signal>
void WorkBinder::feed(const Sender *sender, Signal signal)
{
    if (!sender)
        return;
    if constexpr (F == Feed::Settle)
        connect(sender, signal, this, &WorkBinder::changed);
    else
        connect(sender, signal, this, &WorkBinder::edited);
}

WorkBinder::WorkBinder(Parts parts, QObject *parent) : QObject(parent), m_parts(parts)
{
    using enum Feed;
    const ExerciseArea *area = m_parts.exercises;
    // The one list of what changes the work, and what each change feeds. A new owner adds its
    // signals here: one that the settle timer follows, and, for what the pupil does, one named
    // for undo (restores do not emit it).
    // clang-format off
    //   owner                         signal                                  feeds
    feed<Settle>(m_parts.scene,        &SceneController::sceneChanged);
    feed<Undo>(m_parts.scene,          &SceneController::edited);
    feed<Settle>(m_parts.table,        &ValueTable::cellsChanged);
    feed<Settle>(m_parts.table,        &ValueTable::tableReset);
    feed<Settle>(m_parts.table,        &ValueTable::numberFormatChanged);
    feed<Undo>(m_parts.table,          &ValueTable::edited); // typing in one cell visit is one step
    feed<Settle>(m_parts.protractor,   &ProtractorModel::changed);
    feed<Undo>(m_parts.protractor,     &ProtractorModel::edited);
    feed<Settle>(m_parts.situations,   &SituationBinder::situationOpened);
    feed<Settle>(area ? &area->session() : nullptr, &ExerciseSession::changed);
    feed<Settle>(area ? area->text() : nullptr,      &QTextEdit::textChanged);
    feed<Settle>(m_parts.authoring,    &ExerciseAuthoring::draftChanged);
    feed<Settle>(m_parts.history,      &UndoHistory::workChanged); // undo and redo restore quietly
    feed<Settle>(m_parts.screen,       &ScreenCommands::changed);
    feed<Undo>(m_parts.screen,         &ScreenCommands::edited);
    // clang-format on
    if (area)
        connect(area->text()->document(), &QTextDocument::contentsChanged, this, [this] { m_rtfStale = true; });
}

Work WorkBinder::capture(WorkParts parts) const
{
    Work w;
    if (parts & kSceneSide)
        w.scene = m_parts.scene->state();
    if (parts & kTablePart)
        w.table = m_parts.table->snapshot();
    if (parts & kProtractorPlace)
        w.protractor = m_parts.protractor->state();
    if (parts & kProtractorShown)
        w.protractorShown = m_parts.protractor->shown();
    if (parts & kExercisePart)
        w.exercise = captureExercise();
    if ((parts & kDraftPart) && m_parts.authoring)
        w.draft = m_parts.authoring->draft();
    if (parts & kFileNamePart)
        w.situationFileName = m_parts.situations->situationFileName();
    if ((parts & kScreenPart) && m_parts.screen)
        w.screen = m_parts.screen->settings();
    return w;
}

RecoveredExercise WorkBinder::captureExercise() const
{
    RecoveredExercise e;
    const ExerciseArea &area = *m_parts.exercises;
    if (!area.session().exerciseOpen())
        return e;
    // While an exercise is written the text box shows it; the pupil's text is set aside.
    const ExerciseAuthoring *authoring = m_parts.authoring;
    QTextDocument *pupil = authoring ? authoring->pupilDocument() : nullptr;
    e.fileField = area.session().fileName();
    e.folder = area.session().folder();
    e.editable = pupil ? !authoring->pupilReadOnly() : !area.text()->isReadOnly();
    e.edited = pupil ? authoring->pupilEdited() : area.session().exerciseTextModified();
    e.hasCorrection = area.session().correctionAvailable();
    if (m_rtfStale || pupil) {
        m_rtf = writeRtf(pupil ? *pupil : *area.text()->document());
        m_rtfStale = pupil != nullptr;
    }
    e.rtf = m_rtf;
    return e;
}

void WorkBinder::restore(const Work &work, WorkParts parts)
{
    if ((parts & kSceneSide) && !(work.scene == m_parts.scene->state()))
        m_parts.scene->setState(work.scene);
    if ((parts & kTablePart) && !(work.table == m_parts.table->snapshot()))
        m_parts.table->restore(work.table);
    if (parts & kFileNamePart)
        m_parts.situations->setSituationFileName(work.situationFileName);
    if ((parts & kProtractorPlace) && !(work.protractor == m_parts.protractor->state()))
        m_parts.protractor->setState(work.protractor);
    if (parts & kProtractorShown)
        m_parts.protractor->setShown(work.protractorShown);
    if ((parts & kScreenPart) && m_parts.screen)
        m_parts.screen->setSettings(work.screen);
    // The pupil's text goes into the text box: the exercise being written leaves it first.
    if ((parts & (kExercisePart | kDraftPart)) && m_parts.authoring)
        m_parts.authoring->abandon();
    if ((parts & kExercisePart) && m_parts.exerciseCommands)
        m_parts.exerciseCommands->restoreExercise(work.exercise);
    if ((parts & kDraftPart) && m_parts.authoring && work.draft)
        m_parts.authoring->restoreDraft(*work.draft);
}

} // namespace vorlac
