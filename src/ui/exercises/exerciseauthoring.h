#pragma once

#include "exercises/exerciseset.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

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
struct Messenger;

// What the authoring commands take from the platform; tests replace each part.
struct AuthoringEnvironment {
    // The folder an exercise is saved into, starting at folder; "" when cancelled.
    std::function<QString(QWidget *parent, const QString &folder)> chooseFolder;
    // An RTF file to import, starting at folder; "" when cancelled.
    std::function<QString(QWidget *parent, const QString &folder)> importName;
    // The folder to check; "" when cancelled.
    std::function<QString(QWidget *parent, const QString &folder)> checkFolder;
    // Shows the folder check's lines.
    std::function<void(QWidget *parent, const QStringList &lines)> showCheck;

    AuthoringEnvironment(); // the real dialogs
};

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
    // Leaves the authoring mode, after the lost-edits question when something was not saved;
    // false when the teacher kept on writing.
    bool finish();
    void showText(bool correction);
    void takeSituation();
    void dropSituation();
    void insertMeasures();
    void importText();

    AuthoringPanel *panel() const;
    FormatBar *formatBar() const;
    QTextDocument &document(bool correction) const { return correction ? *m_correction : *m_statement; }
    // The exercise file being rewritten; "" for a new one not saved yet.
    QString exercisePath() const { return m_path; }
    // What would be saved now.
    ExerciseSet currentSet() const;

  private:
    bool start(const QString &title);
    void load(const ExerciseSet &set);
    bool unsaved() const;
    bool mayLose() const;
    void markSaved();
    void showSituation();
    void checkFields();
    void enableMenu();

    Parts m_parts;
    const Messenger &m_messenger;
    AuthoringEnvironment m_env;
    bool m_active = false;
    QTextDocument *m_statement;
    QTextDocument *m_correction;
    QByteArray m_situations[2];
    bool m_formChanged = false;
    bool m_showingCorrection = false;
    QString m_path;
    QString m_folder;
    QPointer<AuthoringPanel> m_panel;
    QPointer<FormatBar> m_bar;
    // The pupil's side, put back when the mode ends.
    QPointer<QTextDocument> m_pupilDocument;
    QObject *m_pupilDocumentParent = nullptr;
    bool m_pupilReadOnly = false;
    int m_pupilModified = 0;
    QRect m_textGeometry;
};

} // namespace vorlac
