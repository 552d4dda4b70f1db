#include "recovery/workbinder.h"

#include "exercises/exercisearea.h"
#include "exercises/exerciseauthoring.h"
#include "exercises/exercisecommands.h"
#include "model/protractormodel.h"
#include "rtf/rtf.h"
#include "scene/scenecontroller.h"
#include "situations/situationbinder.h"
#include "spectra/screencommands.h"

#include <QLineEdit>
#include <QTextDocument>
#include <QTextEdit>

namespace vorlac
{

template <typename Sender, typename Signal> void WorkBinder::source(const Sender *sender, Signal signal)
{
    if (sender)
        connect(sender, signal, this, &WorkBinder::changed);
}

WorkBinder::WorkBinder(Parts parts, QObject *parent) : QObject(parent), m_parts(parts)
{
    // The one list of what changes the work. A new owner adds its signal here.
    source(m_parts.scene, &SceneController::sceneChanged);
    source(m_parts.table, &ValueTable::cellsChanged);
    source(m_parts.table, &ValueTable::tableReset);
    source(m_parts.table, &ValueTable::numberFormatChanged);
    source(m_parts.protractor, &ProtractorModel::changed);
    source(m_parts.situations, &SituationBinder::situationOpened);
    if (const ExerciseArea *area = m_parts.exercises) {
        source(&area->session(), &ExerciseSession::changed);
        source(area->text(), &QTextEdit::textChanged);
        source(area->fileField(), &QLineEdit::textChanged);
        connect(area->text()->document(), &QTextDocument::contentsChanged, this, [this] { m_rtfStale = true; });
    }
    source(m_parts.authoring, &ExerciseAuthoring::draftChanged);
    source(m_parts.screen, &ScreenCommands::changed);
    // Of those, what the pupil did, named for undo.
    if (m_parts.scene)
        connect(m_parts.scene, &SceneController::edited, this, &WorkBinder::edited);
    if (m_parts.protractor)
        connect(m_parts.protractor, &ProtractorModel::edited, this, &WorkBinder::edited);
    if (m_parts.screen)
        connect(m_parts.screen, &ScreenCommands::edited, this, &WorkBinder::edited);
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
    if (area.fileField()->text().isEmpty())
        return e;
    // While an exercise is written the text box shows it; the pupil's text is set aside.
    const ExerciseAuthoring *authoring = m_parts.authoring;
    QTextDocument *pupil = authoring ? authoring->pupilDocument() : nullptr;
    e.fileField = area.fileField()->text();
    e.folder = m_parts.exerciseCommands ? m_parts.exerciseCommands->exerciseFolder() : QString();
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
