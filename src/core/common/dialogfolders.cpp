#include "common/dialogfolders.h"

#include "situations/situationnames.h"

#include <QDir>
#include <QFileInfo>

namespace vorlac
{

namespace
{

bool usable(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

QString folderOfFile(const std::function<QString()> &file)
{
    const QString path = file ? file() : QString();
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

QString folderOf(const std::function<QString()> &folder)
{
    return folder ? folder() : QString();
}

} // namespace

QString DialogFolders::startFolder(FileKind kind) const
{
    const QString situation = folderOfFile(m_work.situationFile);
    const QString exercise = folderOf(m_work.exerciseFolder);
    const bool exerciseFirst = kind == FileKind::ExerciseText;
    for (const QString &folder : {m_last[static_cast<std::size_t>(kind)], exerciseFirst ? exercise : situation,
                                  exerciseFirst ? situation : exercise})
        if (usable(folder))
            return QDir::cleanPath(QDir(folder).absolutePath());
    return documentsFolder();
}

QString DialogFolders::suggestedPath(FileKind kind, const QString &fileName) const
{
    return QDir(startFolder(kind)).filePath(fileName);
}

void DialogFolders::remember(FileKind kind, const QString &file)
{
    if (!file.isEmpty())
        m_last[static_cast<std::size_t>(kind)] = QFileInfo(file).absolutePath();
}

} // namespace vorlac
