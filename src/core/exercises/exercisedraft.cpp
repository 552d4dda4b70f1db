#include "exercises/exercisedraft.h"

#include "rtf/rtf.h"

#include <QTextDocument>

namespace vorlac
{

ExerciseDraft::ExerciseDraft(QObject *parent)
    : QObject(parent), m_statement(new QTextDocument(this)), m_correction(new QTextDocument(this))
{
    for (QTextDocument *document : {m_statement, m_correction}) {
        connect(document, &QTextDocument::modificationChanged, this, &ExerciseDraft::modificationChanged);
        const int which = document == m_correction ? 1 : 0;
        connect(document, &QTextDocument::contentsChanged, this, [this, which] {
            m_rtfStale[which] = true;
            emit textChanged();
        });
    }
}

void ExerciseDraft::load(const ExerciseSet &set)
{
    m_statement->clear();
    m_correction->clear();
    if (!set.statement.isEmpty())
        readRtf(set.statement, *m_statement);
    if (!set.correction.isEmpty())
        readRtf(set.correction, *m_correction);
    for (QTextDocument *d : {m_statement, m_correction}) {
        d->clearUndoRedoStacks();
        d->setModified(false);
    }
    // A text left untouched is saved as the bytes it was read from, not rewritten.
    m_rtf[0] = set.statement;
    m_rtf[1] = set.correction;
    m_rtfStale[0] = set.statement.isEmpty();
    m_rtfStale[1] = set.correction.isEmpty();
    m_situations[0] = set.statementSituation;
    m_situations[1] = set.correctionSituation;
    m_formChanged = false;
}

void ExerciseDraft::clear()
{
    m_statement->clear();
    m_correction->clear();
}

bool ExerciseDraft::setSituation(bool correction, const QByteArray &bytes)
{
    QByteArray &situation = m_situations[correction ? 1 : 0];
    if (situation.isEmpty() && bytes.isEmpty())
        return false;
    situation = bytes;
    m_formChanged = true;
    return true;
}

bool ExerciseDraft::unsaved() const
{
    return m_statement->isModified() || m_correction->isModified() || m_formChanged;
}

void ExerciseDraft::markSaved(const QString &folder, const QString &path)
{
    m_folder = folder;
    m_path = path;
    forget();
}

void ExerciseDraft::forget()
{
    m_statement->setModified(false);
    m_correction->setModified(false);
    m_formChanged = false;
}

QByteArray ExerciseDraft::rtfOf(bool correction) const
{
    if (m_rtfStale[correction]) {
        m_rtf[correction] = writeRtf(document(correction));
        m_rtfStale[correction] = false;
    }
    return m_rtf[correction];
}

ExerciseSet ExerciseDraft::set(const ExerciseForm &form) const
{
    ExerciseSet set;
    set.title = form.title;
    set.notions = notionsAsStored(form.notions);
    set.difficulty = form.difficulty;
    set.statement = rtfOf(false);
    set.statementSituation = m_situations[0];
    // An empty correction with no situation: the exercise is not corrected.
    set.correctionSituation = m_situations[1];
    if (!m_correction->isEmpty() || !set.correctionSituation.isEmpty())
        set.correction = rtfOf(true);
    return set;
}

QString ExerciseDraft::saveProblem(const ExerciseSet &set) const
{
    QString problem = titleProblem(set.title);
    for (const QString &notion : set.notions)
        if (problem.isEmpty())
            problem = notionProblem(notion);
    if (problem.isEmpty() && m_statement->isEmpty())
        problem = QStringLiteral("L'énoncé est vide.");
    return problem;
}

RecoveredDraft ExerciseDraft::recorded(const ExerciseForm &form, const QString &title) const
{
    RecoveredDraft d;
    d.set = set(form);
    d.path = m_path;
    d.folder = m_folder;
    d.title = title;
    d.showingCorrection = m_showingCorrection;
    return d;
}

void ExerciseDraft::restore(const RecoveredDraft &draft)
{
    m_path = draft.path;
    m_folder = draft.folder;
    load(draft.set);
}

} // namespace vorlac
