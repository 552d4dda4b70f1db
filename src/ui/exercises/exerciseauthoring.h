#pragma once

#include "exercises/authoringenvironment.h"
#include "exercises/exercisedraft.h"
#include "recovery/recoveryfile.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

class QTextDocument;
class QWidget;

namespace vorlac
{

class AuthoringPanel;
class DialogFolders;
class ExerciseArea;
class FormatBar;
class HintLine;
class SituationBinder;
class WritingMode;
struct Messenger;

// The teacher's side of the exercises: "Nouvel exercice…", "Modifier l'exercice…" and "Vérifier
// un dossier d'exercices…" at the end of `optionexo`. While an exercise is written, `supertext`
// shows the statement or the correction being written (each a document of its own, with its own
// undo), a formatting bar sits above it and the form beside the window; the pupil's text comes
// back as it was when the mode ends.
class ExerciseAuthoring : public QObject
{
    Q_OBJECT
  public:
    struct Parts {
        ExerciseArea *area = nullptr;
        SituationBinder *situations = nullptr;
        HintLine *hints = nullptr;
        QWidget *window = nullptr;
        std::function<QString()> measures;      // the measurements panel's values as text
        std::function<QString()> exerciseInUse; // the open exercise file ("" when none)
        DialogFolders *folders = nullptr;       // may be null
        // After "Enregistrer l'exercice": the exercise window on the file just written. May be empty.
        std::function<void(const QString &path)> showWritten;
        // Names the undo step in progress. May be empty.
        std::function<void(const QString &label)> nameStep;
    };

    ExerciseAuthoring(Parts parts, const Messenger &messenger, AuthoringEnvironment environment = {});
    ~ExerciseAuthoring() override;

    void nouvelexo();
    void modifexo();
    void verifexo();

    bool isActive() const { return m_active; }
    // Saves into the folder chosen (a new exercise) or over the same names (one being edited);
    // true when every file was written.
    bool saveExercise();
    // "Enregistrer l'exercice": saves, then lists the exercise in the exercise window.
    void saveAndShow();
    // Leaves the authoring mode, after the lost-edits question when something was not saved;
    // false when the teacher kept on writing.
    bool finish();
    void showText(bool correction);
    void takeSituation();
    void dropSituation();
    // The shown text's situation back on the scene (table and formulas too), as one undo step.
    void putOnScene();
    void insertMeasures();
    void importText();

    AuthoringPanel *panel() const;
    FormatBar *formatBar() const;
    QTextDocument &document(bool correction) const { return m_draft->document(correction); }
    // The exercise file being rewritten; "" for a new one not saved yet.
    QString exercisePath() const { return m_draft->path(); }
    // What would be saved now.
    ExerciseSet currentSet() const;

    // The exercise being written while something of it is not saved; nullopt otherwise (none
    // written, or all of it saved).
    std::optional<RecoveredDraft> draft() const;
    // Reopens the writing mode with a draft brought back after a crash; it counts as unsaved.
    void restoreDraft(const RecoveredDraft &draft);
    // Leaves the writing mode without a question: its work is being replaced.
    void abandon();
    // The pupil's side, set aside while an exercise is written (null when none is).
    QTextDocument *pupilDocument() const;
    bool pupilReadOnly() const;
    bool pupilEdited() const;

  signals:
    // The draft changed, was saved or was left.
    void draftChanged();

  private:
    bool start(const QString &title);
    void load(const ExerciseSet &set);
    // The form, the text and the window of a set just loaded into the draft.
    void showLoaded(const ExerciseSet &set);
    bool mayLose() const;
    // After a save: the pupil's side says again only what it holds.
    void markSaved();
    void showSituation();
    void setSituation(const QByteArray &bytes);
    void enableMenu();

    Parts m_parts;
    const Messenger &m_messenger;
    AuthoringEnvironment m_env;
    bool m_active = false;
    ExerciseDraft *m_draft;
    QPointer<AuthoringPanel> m_panel;
    WritingMode *m_writing;
    bool m_placed = false;
    // What was last saved over the exercise open on the pupil's side, shown when the mode ends.
    std::optional<ExerciseSet> m_savedOpen;
};

} // namespace vorlac
