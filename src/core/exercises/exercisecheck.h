#pragma once

#include "exercises/exercisesource.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vorlac
{

// Checks of the shipped exercises, shared by the tool that builds them and the tests. Messages
// are for the author, in English.

// The shipped texts are hand-written RTF restricted to a small subset: the header
// "{\rtf1\ansi\ansicpg1252\deff0", a font table and a colour table, then the words pard qc ql li
// fi sb sa par b i ul ulnone super sub nosupersub f fs cf tab line and u (with its one "?"
// replacement), "\'xx" escapes and "\\", "\{", "\}". The files themselves are plain ASCII.
struct RtfScan {
    QString text;         // the visible text: paragraphs and line breaks as "\n", tabs as "\t"
    QStringList problems; // empty for a text within the subset
};

RtfScan scanRtf(const QByteArray &rtf);

// A quoted value: its number agrees with the quantity computed for the scene to the precision
// of its last written decimal (times its exponent, as the grapher writes "1,590E+07"), and it stands in the text as a
// number of its own (not inside a longer one). Empty when it holds, else the problem.
QString checkQuotedValue(const QuotedValue &value, const QuantityScene &scene, const QString &text);

// The decimal numbers ("19,4", "1,590E+07") of a text that no value declares: a correction quotes no result
// that is not checked. Each is listed once.
QStringList undeclaredDecimals(const QString &text, const QList<QuotedValue> &values);

// Everything about one exercise and the files it names, against the data folder holding the
// exercise file: each name resolves to a file, each situation reads, each text is within the
// subset, each quoted value holds and the correction quotes no decimal number left unchecked.
QStringList checkExercise(const ExerciseSource &source, const QString &dataFolder);

} // namespace vorlac
