#pragma once

#include <QListWidget>
#include <QObject>
#include <QString>

class QComboBox;

namespace vorlac
{

// The folder list: the path from the root down to the open folder, each ancestor one line
// further in, then the open folder's subfolders. A double click or Enter opens the highlighted
// line.
class FolderList : public QListWidget
{
    Q_OBJECT
  public:
    using QListWidget::QListWidget;

  signals:
    void openRequested(const QString &folder);

  protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

// The three linked lists of the situation dialogs and the exercise window: the drive list Drive1,
// the folder list Dir1 and the file list File1 (the files ending in extension: ".P01", ".E01").
// Each window lays them out and labels them.
class FolderBrowser : public QObject
{
    Q_OBJECT
  public:
    FolderBrowser(const QString &startFolder, QWidget *parent, const QString &extension = QStringLiteral(".P01"));

    QComboBox *drives() const { return m_drive1; }
    FolderList *folders() const { return m_dir1; }
    QListWidget *files() const { return m_file1; }

    QString folder() const { return m_folder; }
    // Opens folder in Dir1 and lists it in File1; false (nothing changes) when it cannot be
    // listed.
    bool setFolder(const QString &folder);
    // Chooses a drive as a change in Drive1 does: its root folder, or back to the drive of the
    // open folder when that fails.
    void chooseDrive(int index);

  signals:
    void folderChanged(const QString &folder);
    void fileClicked(const QString &fileName);
    void fileDoubleClicked(const QString &fileName);

  private:
    void fillDrives();
    void showDriveOf(const QString &folder);
    void fillFolders();
    void fillFiles();

    QComboBox *m_drive1;
    FolderList *m_dir1;
    QListWidget *m_file1;
    QString m_folder;
    QString m_extension;
};

} // namespace vorlac
