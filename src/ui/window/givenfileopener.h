#pragma once

#include <QDir>
#include <QStringList>

namespace vorlac
{

class Vorlac;

// Opens what the program was given on its command line, once the window has started. The one
// situation or exercise file goes through the commands the pupil would use (the open dialog's
// check and LoadSituation, or the exercise window's openExerciseFile), so every failure gets the
// same message; every other argument is listed in one French message after it. Nothing given:
// nothing happens.
void openGivenFiles(Vorlac &window, const QStringList &arguments, const QString &currentFolder = QDir::currentPath());

// The end of start-up: offers the unsaved work of an ended program (knowing which file is about
// to open, so that the pupil chooses between the two), then opens what was given.
void startWithGivenFiles(Vorlac &window, const QStringList &arguments,
                         const QString &currentFolder = QDir::currentPath());

} // namespace vorlac
