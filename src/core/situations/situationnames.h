#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace vorlac
{

// File names and folders of the save and open dialogs. The program's rules look for the last
// path separator: "/" here, "/" or "\" on Windows.

inline constexpr QLatin1StringView kSituationExtension(".P01");

// Position of the last separator in text, or -1.
qsizetype lastSeparator(QStringView text);

// The text after the last separator (the whole text without one).
QString fileNamePart(const QString &text);

// folder, a separator unless folder already ends with one, then name.
QString joinFolder(const QString &folder, const QString &name);

// The save command's name rules. typed is trimmed; the part after the last separator loses
// everything from its first "." on and is trimmed again; a name without a separator goes into
// folder, a relative one under it; ".P01" is appended. nullopt for an empty name, including a
// name whose file-name part is empty ("dir/", "dir/ .x", ".P01").
std::optional<QString> buildSaveName(const QString &typed, const QString &folder);

// The files of folder whose names end in extension (".P01", ".E01"; any case), sorted by name
// without regard to case.
QStringList filesWithExtension(const QString &folder, const QString &extension);

// The situation files of folder ("*.P01").
QStringList situationFilesIn(const QString &folder);

// The subfolders of folder, sorted the same way; folders whose name starts with "." are not
// listed.
QStringList subfoldersOf(const QString &folder);

// Roots of the mounted volumes that are valid and ready, "/" (the root file system) first.
QStringList volumeRoots();

// The root of the volume holding path ("/" when none is known).
QString volumeRootOf(const QString &path);

// The folder the dialogs start in: folder itself if it can be listed, else its nearest
// ancestor that can, else the user's documents folder, else the home folder.
QString usableFolder(const QString &folder);

// The user's documents folder (the home folder when there is none).
QString documentsFolder();

} // namespace vorlac
