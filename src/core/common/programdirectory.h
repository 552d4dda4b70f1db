#pragma once

#include <QString>
#include <QStringList>

namespace vorlac
{

// The help files that mark a folder as holding what ships with the program.
QStringList helpFileNames();

// Where an installed program keeps its data: share/vorlac beside the executable's bin folder.
QString installedDataFolder(const QString &executableFolder);

// The program directory: the executable's folder when it holds a help file (a build folder, a
// portable copy); otherwise the installed data folder when it exists; otherwise the executable's
// folder still, so that the help can say what is missing there. Ends with "/".
QString findProgramDirectory(const QString &executableFolder);

// The user's state folder for the program: $XDG_STATE_HOME/vorlac ($XDG_STATE_HOME only when
// absolute), else ~/.local/state/vorlac. Ends with "/"; it need not exist yet.
QString userStateFolder();

// Where the marker file may go, in order of preference. An installed program's data folder
// belongs to the package: it is never written, even by root (a marker there would outlive the
// package's removal), so only the state folder remains. A build folder or a portable copy comes
// first, the state folder after it.
QStringList markerFolders(const QString &programDirectory, const QString &executableFolder, const QString &stateFolder);

// Writes text as record `record` of the marker file in the first folder of `folders` that takes
// it (a folder is created first when missing). Returns that folder, "" when none did; a failure
// is never reported further.
QString writeMarkerRecord(const QStringList &folders, const QString &fileName, int record, const QString &text);

} // namespace vorlac
