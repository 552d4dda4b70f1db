#pragma once

#include <QString>
#include <QStringList>

namespace vorlac
{

// What the program was given on its command line (a double click on a file passes its path).
struct GivenFiles {
    enum class Kind { None, Situation, Exercise };
    Kind kind = Kind::None;
    QString open;        // absolute path of the one file to open; "" when none
    QStringList refused; // every other argument, as given, in order
};

// True when the file at path is a regular file whose first record reads "VORLAC", the signature
// of a situation (what the desktop's MIME type recognises). Reads at most that record.
bool holdsSituation(const QString &path);

// The first argument naming a situation (".P01") or an exercise (".E01"), case ignored, or a
// file of another name that holds a situation, is the one to open: a second window is a second
// start, so one file per start. A "file:" URL counts as its local path; a relative path is taken
// from the current folder. Everything else is refused.
GivenFiles sortGivenFiles(const QStringList &arguments, const QString &currentFolder);

// The French text that lists the refused arguments in one message.
QString refusedFilesText(const QStringList &refused);

} // namespace vorlac
