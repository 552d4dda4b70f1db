#include "situations/situationbinder.h"

#include "common/messenger.h"
#include "exercises/exerciseset.h"
#include "scene/scenecontroller.h"
#include "situations/opendialog.h"
#include "situations/savedialog.h"
#include "situations/situationfile.h"
#include "situations/situationnames.h"
#include "table/valuetable.h"
#include "work/work.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace vorlac
{

namespace
{

const QString kOpeningLabel = QStringLiteral("ouverture d'une situation");

} // namespace

SituationBinder::SituationBinder(SceneController &scene, ValueTable &table, QWidget *window, const Messenger &messenger)
    : QObject(window), m_scene(scene), m_table(table), m_window(window), m_messenger(messenger),
      m_currentFolder(documentsFolder())
{
}

Situation SituationBinder::captureSituation() const
{
    Situation s = situationOf(m_scene.state(), m_table.snapshot());
    if (m_getScreen)
        s.screen = m_getScreen();
    return s;
}

void SituationBinder::applySituation(const Situation &s)
{
    {
        const ValueTable::Bulk batch(m_table, kOpeningLabel);
        m_table.setRows(s.rowCount());
        for (int c = 0; c < ValueTable::kColumns; ++c) {
            m_table.setTextMatrix(0, c, s.titles[std::size_t(c)]);
            m_table.setColumnExpression(c, s.formulas[std::size_t(c)]);
        }
        for (int r = 1; r < s.rowCount(); ++r) {
            for (int c = 0; c < ValueTable::kColumns; ++c)
                m_table.setTextMatrix(r, c, s.lines[r - 1][std::size_t(c)]);
        }
    }

    m_scene.setState(s.scene);
    if (m_setScreen)
        m_setScreen(s.screen);
}

namespace
{

// Messages stand over the dialog that is open, if any.
QWidget *messageParent(QWidget *window)
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal ? modal : window;
}

} // namespace

void SituationBinder::succeeded(const QString &path)
{
    m_situationFileName = path;
    if (m_window)
        m_window->setWindowTitle(QStringLiteral("Le vorlac - ") + path);
}

void SituationBinder::setSituationFileName(const QString &path)
{
    if (path.isEmpty()) {
        m_situationFileName.clear();
        if (m_window)
            m_window->setWindowTitle(QStringLiteral("Le vorlac"));
        return;
    }
    succeeded(path);
}

bool SituationBinder::SaveSituation(const QString &path)
{
    if (!writeSituationFile(path, captureSituation())) {
        m_messenger.critical(messageParent(m_window), QStringLiteral("Enregistrement impossible"),
                             QStringLiteral("Ecriture impossible sur disque"));
        return false;
    }
    succeeded(path);
    return true;
}

void SituationBinder::LoadSituation(const QString &path)
{
    const SituationResult r = readSituationFile(path);
    switch (r.failure) {
    case SituationFailure::NotOurs:
        m_messenger.critical(messageParent(m_window), QStringLiteral("Fichier non valide"),
                             QStringLiteral("Ce fichier ne correspond pas à cette application"));
        return;
    case SituationFailure::Unreadable:
        m_messenger.critical(messageParent(m_window), QStringLiteral("Erreur lors du chargement du fichier"),
                             QStringLiteral("Lecture impossible sur disque"));
        return;
    case SituationFailure::None:
        break;
    }
    applySituation(*r.situation);
    succeeded(path);
    emit situationOpened();
}

void SituationBinder::showSaveDialog()
{
    // The situation an exercise came with is not the pupil's to replace: propose its name in
    // the pupil's own folder. Replacing it is the teacher's "Modifier".
    QString proposed = m_situationFileName;
    QString folder = m_currentFolder;
    if (!proposed.isEmpty() && belongsToExercise(proposed)) {
        const QFileInfo shipped(proposed);
        proposed = shipped.fileName();
        const QString current = QFileInfo(folder).canonicalFilePath();
        if (current.isEmpty() || current == shipped.canonicalPath() ||
            !QDir(current).entryList({QStringLiteral("*.E01")}, QDir::Files).isEmpty())
            folder = documentsFolder();
    }
    SaveDialog dialog(
        m_messenger, proposed, folder, [this](const QString &path) { return SaveSituation(path); }, m_window);
    dialog.exec();
    m_currentFolder = dialog.currentFolder();
}

void SituationBinder::showOpenDialog()
{
    OpenDialog dialog(
        m_messenger, m_currentFolder, [this](const QString &path) { LoadSituation(path); }, m_window);
    if (m_openDialogExtra)
        m_openDialogExtra(dialog);
    dialog.exec();
    m_currentFolder = dialog.currentFolder();
}

} // namespace vorlac
