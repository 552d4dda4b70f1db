#include "situations/folderbrowser.h"

#include "situations/situationnames.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyle>

namespace vorlac
{

namespace
{

constexpr int kPathRole = Qt::UserRole;
// Each level of the folder chain is shown two blanks further in.

} // namespace

void FolderList::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        emit openRequested(currentItem()->data(kPathRole).toString());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderList::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (QListWidgetItem *item = itemAt(event->position().toPoint()))
        emit openRequested(item->data(kPathRole).toString());
}

FolderBrowser::FolderBrowser(const QString &startFolder, QWidget *parent, const QString &extension)
    : QObject(parent), m_extension(extension)
{
    m_drive1 = new QComboBox(parent);
    m_drive1->setObjectName(QStringLiteral("Drive1"));
    m_dir1 = new FolderList(parent);
    m_dir1->setObjectName(QStringLiteral("Dir1"));
    m_file1 = new QListWidget(parent);
    m_file1->setObjectName(QStringLiteral("File1"));

    fillDrives();
    if (!setFolder(usableFolder(startFolder)))
        setFolder(QDir::rootPath());

    connect(m_drive1, &QComboBox::activated, this, &FolderBrowser::chooseDrive);
    connect(m_dir1, &FolderList::openRequested, this, [this](const QString &f) { setFolder(f); });
    connect(m_file1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { emit fileClicked(item->text()); });
    connect(m_file1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { emit fileDoubleClicked(item->text()); });
}

void FolderBrowser::fillDrives()
{
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const QString &root : volumeRoots())
        m_drive1->addItem(icon, root, root);
}

void FolderBrowser::showDriveOf(const QString &folder)
{
    const QString root = volumeRootOf(folder);
    int index = m_drive1->findData(root);
    if (index < 0) {
        m_drive1->addItem(QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon), root, root);
        index = m_drive1->count() - 1;
    }
    const QSignalBlocker block(m_drive1);
    m_drive1->setCurrentIndex(index);
}

bool FolderBrowser::setFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    const QDir dir(clean);
    if (!dir.exists() || !dir.isReadable())
        return false;
    m_folder = clean;
    showDriveOf(m_folder);
    fillFolders();
    fillFiles();
    emit folderChanged(m_folder);
    return true;
}

void FolderBrowser::chooseDrive(int index)
{
    const QString root = m_drive1->itemData(index).toString();
    if (root.isEmpty() || !setFolder(root))
        showDriveOf(m_folder);
}

void FolderBrowser::fillFolders()
{
    QStyle *style = QApplication::style();
    const QIcon open = style->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style->standardIcon(QStyle::SP_DirClosedIcon);
    m_dir1->clear();

    // The chain of ancestors, root first.
    QStringList chain;
    for (QString p = m_folder;;) {
        chain.prepend(p);
        const QString parent = QFileInfo(p).absolutePath();
        if (parent == p || QDir(p).isRoot())
            break;
        p = parent;
    }
    int depth = 0;
    for (const QString &p : chain) {
        const QString name = QDir(p).isRoot() ? p : QFileInfo(p).fileName();
        auto *item = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + name, m_dir1);
        item->setData(kPathRole, p);
        ++depth;
    }
    QListWidgetItem *current = m_dir1->item(m_dir1->count() - 1);
    for (const QString &sub : subfoldersOf(m_folder)) {
        auto *item = new QListWidgetItem(closed, QString(depth * 2, QLatin1Char(' ')) + sub, m_dir1);
        item->setData(kPathRole, QDir(m_folder).filePath(sub));
    }
    m_dir1->setCurrentItem(current);
    m_dir1->scrollToItem(current);
}

void FolderBrowser::fillFiles()
{
    m_file1->clear();
    m_file1->addItems(filesWithExtension(m_folder, m_extension));
}

} // namespace vorlac
