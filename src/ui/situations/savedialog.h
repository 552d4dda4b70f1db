#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

namespace vorlac
{

class FolderBrowser;
struct Messenger;

// "Enregistrer les paramètres.": the pupil picks a folder and a name; the dialog builds the full
// ".P01" name, asks before overwriting and hands the name to save, which writes the file and
// reports its own failure. Closes itself only when save succeeded.
class SaveDialog : public QDialog
{
    Q_OBJECT
  public:
    using SaveFunction = std::function<bool(const QString &path)>;

    // situationFileName: the file saved or opened last ("" if none), shown as the name.
    // currentFolder: where the lists start.
    SaveDialog(const Messenger &messenger, const QString &situationFileName, const QString &currentFolder,
               SaveFunction save, QWidget *parent = nullptr);

    // The folder a save command last made current (currentFolder until then).
    QString currentFolder() const { return m_currentFolder; }
    FolderBrowser *browser() const { return m_browser; }

    // ENREGISTRER.
    void saveCommand();

  private:
    void onFolderChanged();

    const Messenger &m_messenger;
    SaveFunction m_save;
    QString m_currentFolder;
    FolderBrowser *m_browser;
    QLineEdit *m_text1;
    QPushButton *m_command1, *m_command2;
};

} // namespace vorlac
