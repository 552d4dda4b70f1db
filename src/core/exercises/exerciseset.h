#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vorlac
{

// An exercise as a teacher writes it: what goes into the exercise file and the four files it
// names. The texts are RTF bytes, the situations situation-file bytes.
struct ExerciseSet {
    QString title;
    QStringList notions; // at most four; blank ones are written blank
    int difficulty = 1;  // 1..3
    QByteArray statement;
    QByteArray statementSituation; // empty: none
    QByteArray correction;         // empty: no correction
    QByteArray correctionSituation;
    bool operator==(const ExerciseSet &) const = default;
};

// The file names of a set, relative to its folder ("\" separating folders, as stored).
struct ExerciseSetNames {
    QString exercise; // the ".E01" file
    QString statement;
    QString statementSituation;
    QString correction;
    QString correctionSituation;
};

// Why a title or a notion cannot be stored in its record ("" when it can): over 126 characters,
// or a character outside Windows-1252 (the first one is named). A title may not be blank.
QString titleProblem(const QString &title);
QString notionProblem(const QString &notion);

// The notions as the exercise window shows them end to end: each but the last ends with "; ", the
// last with "." (as the shipped exercises store them); blank ones are dropped. notionAsTyped takes
// that ending off again.
QStringList notionsAsStored(const QStringList &typed);
QString notionAsTyped(const QString &stored);

// A short name from a title, safe on every file system: ASCII capital letters, digits and "-"
// only (accents dropped), at most 8 characters, never empty.
QString shortExerciseName(const QString &title);

// Names for a new set in folder: the short name of the title, with "-2", "-3"... when any of the
// five names already exists there, whatever its case.
ExerciseSetNames freshExerciseNames(const QString &folder, const QString &title);

// The names an existing exercise file uses, to rewrite the same files; a text or situation it
// does not have yet gets a fresh name beside it.
ExerciseSetNames namesForRewrite(const QString &exercisePath);

// Writes the set into folder as one: all five files or none (the old files stay as they were).
// "" on success, else one French message for the user.
QString saveExerciseSet(const QString &folder, const ExerciseSetNames &names, const ExerciseSet &set);

// Whether an exercise file beside path (in its folder or the folder above) names it: a file a
// pupil's save must not replace by default.
bool belongsToExercise(const QString &path);

// Reads the set an exercise file names (texts and situations as bytes); false when the exercise
// file or its statement cannot be read.
bool loadExerciseSet(const QString &exercisePath, ExerciseSet *set);

// What would fail for a pupil in the exercises of a folder, one French line per problem, each
// starting with the exercise file's name. Nothing in the folder changes.
struct FolderCheck {
    int exercises = 0;
    QStringList problems;
};
FolderCheck checkExerciseFolder(const QString &folder);

// The check as the lines shown and copied: a heading, then the problems or a sentence saying
// there are none.
QStringList folderCheckLines(const QString &folder, const FolderCheck &check);

} // namespace vorlac
