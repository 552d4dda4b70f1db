#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace vorlac
{

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

// "Vérifier un dossier d'exercices…": the folder asked for, starting at start, then the list of
// what would keep a pupil from opening its exercises.
void runFolderCheck(QWidget *parent, const QString &start, const AuthoringEnvironment &environment);

} // namespace vorlac
