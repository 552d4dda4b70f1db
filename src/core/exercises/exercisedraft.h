#pragma once

#include "exercises/exerciseset.h"
#include "work/work.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace vorlac
{

// What the teacher types in the writing window beside the texts.
struct ExerciseForm {
    QString title;
    QStringList notions; // as typed, four fields
    int difficulty = 0;
};

// The exercise being written, without its widgets: the statement and the correction (each a
// document of its own, with its own undo), the situation taken for each, where it was saved and
// what of it is not saved yet. The authoring mode shows it; the form is the writing window's.
class ExerciseDraft : public QObject
{
    Q_OBJECT
  public:
    explicit ExerciseDraft(QObject *parent = nullptr);

    QTextDocument &document(bool correction) const { return correction ? *m_correction : *m_statement; }
    // Texts and situations from a set; nothing of it counts as unsaved, and the texts' undo
    // starts there.
    void load(const ExerciseSet &set);
    void clear();

    QByteArray situation(bool correction) const { return m_situations[correction ? 1 : 0]; }
    // A situation taken or dropped is a change of the form; false when it was already so.
    bool setSituation(bool correction, const QByteArray &bytes);

    bool showingCorrection() const { return m_showingCorrection; }
    void setShowingCorrection(bool correction) { m_showingCorrection = correction; }

    // The title, the notions or the difficulty changed.
    void noteFormChanged() { m_formChanged = true; }
    bool unsaved() const;
    // Nothing of it is saved (a draft brought back after a crash).
    void markUnsaved() { m_formChanged = true; }
    // Saved as path, into folder.
    void markSaved(const QString &folder, const QString &path);
    // Nothing left to save, without a save (the draft is abandoned).
    void forget();

    // The exercise file being rewritten; "" for a new one not saved yet.
    QString path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }
    // The folder saved into last ("" before any save).
    QString folder() const { return m_folder; }

    // What would be saved now, with the form as given.
    ExerciseSet set(const ExerciseForm &form) const;
    // Why set cannot be saved ("" when it can): a title or a notion refused, an empty statement.
    QString saveProblem(const ExerciseSet &set) const;
    // The draft as the work keeps it; title is the writing window's.
    RecoveredDraft recorded(const ExerciseForm &form, const QString &title) const;
    // Back to a recorded draft: its texts, situations and places; it counts as unsaved.
    void restore(const RecoveredDraft &draft);

  signals:
    // A text's content changed.
    void textChanged();
    // A text's modified flag changed.
    void modificationChanged();

  private:
    QByteArray rtfOf(bool correction) const;

    QTextDocument *m_statement;
    QTextDocument *m_correction;
    // The texts as RTF, written again only after they changed (the recovery reads them often).
    mutable QByteArray m_rtf[2];
    mutable bool m_rtfStale[2] = {true, true};
    QByteArray m_situations[2];
    bool m_formChanged = false;
    bool m_showingCorrection = false;
    QString m_path;
    QString m_folder;
};

} // namespace vorlac
