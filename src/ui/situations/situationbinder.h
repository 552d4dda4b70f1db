#pragma once

#include "situations/situation.h"

#include <QObject>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace vorlac
{

class SceneController;
class ValueTable;
struct Messenger;

// Ties situation files to the main window: takes the situation from the scene and the table,
// applies a loaded one to them, sets the window title, and opens the save and open dialogs.
// Loading is "read and check the whole file, then apply everything": a file that fails changes
// nothing at all.
class SituationBinder : public QObject
{
    Q_OBJECT
  public:
    SituationBinder(SceneController &scene, ValueTable &table, QWidget *window, const Messenger &messenger);

    Situation captureSituation() const;
    // Scene first (one redraw of each kind, every read-out refreshed by the panels), table after.
    void applySituation(const Situation &situation);
    // The screen's settings a situation holds: read when one is captured, put back when applied.
    void setScreenAccess(std::function<ScreenSettings()> get, std::function<void(const ScreenSettings &)> set)
    {
        m_getScreen = std::move(get);
        m_setScreen = std::move(set);
    }

    // Writes the current situation to path. On success situationFileName becomes path and the
    // title shows it; on failure "Ecriture impossible sur disque" and nothing else changes.
    bool SaveSituation(const QString &path);
    // Reads path and applies it; a failure shows its message and changes nothing.
    void LoadSituation(const QString &path);

    // The file saved or loaded last; "" until one succeeded.
    QString situationFileName() const { return m_situationFileName; }
    // Brings back the name of restored work, with the window title it gave ("" for none).
    void setSituationFileName(const QString &path);
    // Where the dialogs' lists start: the folder used last, the documents folder at first.
    QString currentFolder() const { return m_currentFolder; }

    void showSaveDialog(); // Command11
    void showOpenDialog(); // Command2
    // Runs on each open dialog before it is shown (a command another part adds to it).
    void setOpenDialogExtra(std::function<void(QDialog &)> extra) { m_openDialogExtra = std::move(extra); }

  signals:
    // LoadSituation applied a file (its name is now situationFileName).
    void situationOpened();

  private:
    void succeeded(const QString &path);

    SceneController &m_scene;
    ValueTable &m_table;
    std::function<ScreenSettings()> m_getScreen;
    std::function<void(const ScreenSettings &)> m_setScreen;
    QWidget *m_window;
    const Messenger &m_messenger;
    QString m_situationFileName;
    QString m_currentFolder;
    std::function<void(QDialog &)> m_openDialogExtra;
};

} // namespace vorlac
