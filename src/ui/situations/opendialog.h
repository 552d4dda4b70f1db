#pragma once

#include <QDialog>
#include <functional>

class QFrame;
class QLineEdit;
class QPushButton;

namespace vorlac
{

class FolderBrowser;
struct Messenger;

// The open command's check of a path: a missing file or a folder gets the command's message
// (parent: the message's parent). True when the path can be handed to LoadSituation.
bool checkSituationPath(const Messenger &messenger, QWidget *parent, const QString &path);

// "Ouvrir une configuration": the pupil picks a situation file; the dialog checks that it
// exists, shows the waiting panel, hands the name to load (which reports its own failures) and
// closes, whatever the outcome of the load.
class OpenDialog : public QDialog
{
    Q_OBJECT
  public:
    using LoadFunction = std::function<void(const QString &path)>;

    OpenDialog(const Messenger &messenger, const QString &currentFolder, LoadFunction load, QWidget *parent = nullptr);

    // The folder of the file last clicked (currentFolder until then).
    QString currentFolder() const { return m_currentFolder; }
    FolderBrowser *browser() const { return m_browser; }

    // OUVRIR.
    void openCommand();

  private:
    const Messenger &m_messenger;
    LoadFunction m_load;
    QString m_currentFolder;
    FolderBrowser *m_browser;
    QLineEdit *m_ficharge;
    QPushButton *m_command1, *m_command2;
    QFrame *m_frame1;
};

} // namespace vorlac
