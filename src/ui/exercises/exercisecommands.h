#pragma once

#include "common/dialogfolders.h"

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace vorlac
{

class ExerciseArea;
struct RecoveredExercise;
class Fichexo;
class PrintService;
class SituationBinder;
struct Messenger;

// What the exercise commands take from the platform; tests replace each part.
struct ExerciseEnvironment {
    // The save and open dialogs of "Texte au format RTF", starting in folder; "" when cancelled.
    std::function<QString(QWidget *parent, const QString &folder)> saveTextName;
    std::function<QString(QWidget *parent, const QString &folder)> openTextName;
    // Shows the exercise window modally.
    std::function<void(Fichexo &window)> showFichexo;

    ExerciseEnvironment(); // the real dialogs
};

// The commands of the exercise menu `optionexo`: the getting-started text, opening an exercise
// and its correction, saving, reopening and printing the text, closing the exercise. Texts are
// read into the exercise area only when the whole file was read; a failure leaves the text, the
// file name and the flags as they were.
class ExerciseCommands : public QObject
{
    Q_OBJECT
  public:
    struct Parts {
        ExerciseArea *area = nullptr;
        SituationBinder *situations = nullptr;
        PrintService *print = nullptr;
        QWidget *window = nullptr;        // the main window: parent of every dialog
        QString programDirectory;         // where VORLAC.PEM and the shipped exercises are
        std::function<void()> hidePanels; // the table and the floating panels
        // An exercise (its text, situation and name) replaced the work: undo stops there. May be
        // empty.
        std::function<void()> workReplaced;
        // Where the text dialogs start (shared with the other file dialogs); may be null.
        DialogFolders *folders = nullptr;
    };

    ExerciseCommands(Parts parts, const Messenger &messenger, ExerciseEnvironment environment = {});

    void PRISENMAIN();
    void openexo();
    void opencor();
    void savetexte();
    void opentexte();
    void imprimetexte();
    void Closexo();

    // The exercise window on the folder of a file just written, that file selected and
    // previewed. Opening an exercise from it first runs mayOpen (false: the window stays).
    void showWrittenExercise(const QString &path, const std::function<bool()> &mayOpen);

    // What the exercise window's open button runs: reads the exercise at path and shows its
    // statement and situation. False (reported) when it could not.
    bool openExerciseFile(const QString &path);

    // Unsaved work brought back: the text, its name, its flags and its folder as they were.
    // Nothing is read from the exercise files. False (and nothing changed) for a damaged text.
    // Work without an exercise (no file name) brings back the introduction.
    bool restoreExercise(const RecoveredExercise &exercise);
    // Folder of the last exercise (or getting-started) file, ending with a separator.
    QString exerciseFolder() const;
    // That folder while an exercise is open, else "".
    QString openExerciseFolder() const;

  private:
    bool mayLoseEdits() const;
    // Reads exerciseFolder + storedName into the text; reports "Fichier absent" or
    // "Lecture impossible" and returns false when it could not.
    bool loadExerciseText(const QString &storedName, bool reportAsInstallation = false);
    void loadSituation(const QString &storedName);
    // The last steps of every load: editable (statement) or read-only (correction); the edited
    // flag is cleared when the text was replaced; undo stops at the exercise.
    void showExercise(bool editable, bool textReplaced = true);
    void readFailure() const;

    Parts m_parts;
    const Messenger &m_messenger;
    ExerciseEnvironment m_env;
    DialogFolders m_ownFolders;
    DialogFolders *m_folders;
};

} // namespace vorlac
