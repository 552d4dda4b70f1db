#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>

namespace vorlac
{

// The French name of a file's type as the file dialogs show it, from its name alone: "Dossier",
// "Document PDF", "Image PNG", "Texte RTF", "Fichier XYZ", "Fichier" without a suffix. Nothing is
// read from the file (reading /proc/kmsg, say, waits for ever); only what the folder listing
// already knows (folder or not, special file) is asked.
QString fileTypeName(const QFileInfo &info);

// Every name fileTypeName gives other than "Fichier XYZ", for sizing the dialog's type column.
QStringList knownFileTypeNames();

} // namespace vorlac
