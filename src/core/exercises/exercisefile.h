#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace vorlac
{

// An exercise file ("*.E01", and the getting-started file "VORLAC.PEM"): 128-byte records.
//  1 statement text (RTF)      2 situation of the statement (blank: none)
//  3 correction text (blank: none)   4 situation of the correction (blank: none)
//  5 difficulty, a number text 1..3  6 not used
//  7..10 notions, one piece each (blank ones skipped)   11 title
// File names are relative to the exercise file's folder, "\" separating folders.
struct ExerciseFile {
    QString statement;
    QString statementSituation;
    QString correction;
    QString correctionSituation;
    QString difficulty;
    QString unused;
    QStringList notions; // records 7..10 exactly as stored, four entries
    QString title;

    // Record 3 or 4 not blank.
    bool corrected() const;
    // The notions that are not blank, joined exactly as stored (no separator added).
    QString notionsText() const;
    // How many of the three difficulty pictures are lit: d > 0, d > 1, d > 2.
    int litPictures() const;
};

// Empty once surrounding blanks are trimmed.
bool isBlankRecord(const QString &text);

// The numeric value of a difficulty text: the leading number ("2.7" 2.7, "3 étoiles" 3), 0 when
// there is none ("abc") or when it is not finite ("1E999"). Never fails.
double difficultyValue(const QString &text);

// At most this many bytes of an exercise file are ever read (the 11 records).
inline constexpr qint64 kExerciseFileBytes = 11 * 128;

// Reads the records of an exercise file's bytes. Records past the end of the data read as
// blank (a getting-started file may hold only records 1 and 2); a record cut short or with a
// length over 126, or data holding no record at all, makes the file unreadable (nullopt).
std::optional<ExerciseFile> parseExerciseFile(const QByteArray &bytes);

// Reads the file at path: regular files only, at most kExerciseFileBytes read. nullopt when it
// is missing, not a regular file, cannot be read or is not well formed, or when a name it holds
// leads outside its folder (see storedNameProblem).
std::optional<ExerciseFile> readExerciseFile(const QString &path);

// The same without the check of the names, for the folder check that names the problem.
std::optional<ExerciseFile> readExerciseRecords(const QString &path);

// Why a name stored in an exercise file may not be used, "" when it may: it must lead to a file
// inside folder, so no "..", no absolute path, drive or ":" and no link leading out (followed
// as far as the name exists). An exercise from a shared folder could otherwise read or replace
// any of the user's files. The problem is a French phrase following the name.
QString storedNameProblem(const QString &folder, const QString &storedName);

// The first of the four names of exercise that may not be used, quoted, with its problem; "".
QString namesProblem(const QString &folder, const ExerciseFile &exercise);

// The 11 records of an exercise; nullopt when a text cannot be stored (over 126 bytes, or a
// character without a Windows-1252 byte).
std::optional<QByteArray> serialiseExerciseFile(const ExerciseFile &exercise);

// The path of a name stored in an exercise file, against the exercise's folder: "\" in the name
// separates folders. When no file has that exact name, a name in the same folders that differs
// only by case is taken (files written on a system that ignores case). When neither exists, the
// exact path (so a message can name it). "" when the name may not be used (storedNameProblem).
QString resolveExerciseName(const QString &folder, const QString &storedName);

} // namespace vorlac
