#include "exercises/authoringenvironment.h"

#include "common/filedialogs.h"
#include "exercises/exerciseset.h"
#include "exercises/foldercheckdialog.h"

namespace vorlac
{

namespace
{
const QString kRtfFilter = QStringLiteral("Texte au format RTF (*.rtf *.RTF)");
} // namespace

AuthoringEnvironment::AuthoringEnvironment()
{
    chooseFolder = [](QWidget *parent, const QString &folder) {
        FileDialogRequest request(QStringLiteral("Dossier de l'exercice"), folder, QString(), {});
        request.chooseFolder = true;
        request.save = false;
        return askForFile(parent, request);
    };
    importName = [](QWidget *parent, const QString &folder) {
        return askForFile(
            parent,
            {QStringLiteral("Importer un texte"), folder, QStringLiteral("*.rtf"), {kRtfFilter}, QString(), false});
    };
    checkFolder = [](QWidget *parent, const QString &folder) {
        FileDialogRequest request(QStringLiteral("Vérifier un dossier d'exercices"), folder, QString(), {});
        request.chooseFolder = true;
        request.save = false;
        return askForFile(parent, request);
    };
    showCheck = [](QWidget *parent, const QStringList &lines) {
        FolderCheckDialog dialog(lines, parent);
        dialog.exec();
    };
}

void runFolderCheck(QWidget *parent, const QString &start, const AuthoringEnvironment &environment)
{
    const QString folder = environment.checkFolder(parent, start);
    if (folder.isEmpty())
        return;
    environment.showCheck(parent, folderCheckLines(folder, checkExerciseFolder(folder)));
}

} // namespace vorlac
