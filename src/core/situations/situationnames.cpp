#include "situations/situationnames.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

namespace vorlac
{

qsizetype lastSeparator(QStringView text)
{
#ifdef Q_OS_WIN
    return std::max(text.lastIndexOf(u'/'), text.lastIndexOf(u'\\'));
#else
    return text.lastIndexOf(u'/');
#endif
}

QString fileNamePart(const QString &text)
{
    return text.mid(lastSeparator(text) + 1);
}

QString joinFolder(const QString &folder, const QString &name)
{
    if (!folder.isEmpty() && lastSeparator(folder) == folder.size() - 1)
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

std::optional<QString> buildSaveName(const QString &typed, const QString &folder)
{
    QString name = typed.trimmed();
    const qsizetype sep = lastSeparator(name);
    const qsizetype dot = name.indexOf(QLatin1Char('.'), sep + 1);
    if (dot >= 0)
        name = name.left(dot).trimmed();
    // A name whose file-name part is empty would write a hidden ".P01" or into a folder name.
    if (name.isEmpty() || fileNamePart(name).trimmed().isEmpty())
        return std::nullopt;
    if (lastSeparator(name) < 0)
        name = joinFolder(folder, name);
    else if (QDir::isRelativePath(name))
        name = QDir(folder).filePath(name);
    return name + kSituationExtension;
}

namespace
{

QStringList entries(const QString &folder, QDir::Filters filters, const QStringList &patterns = {})
{
    QDir dir(folder);
    dir.setNameFilters(patterns);
    dir.setFilter(filters);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

} // namespace

QStringList filesWithExtension(const QString &folder, const QString &extension)
{
    // QDir matches name filters without regard to case unless told otherwise.
    return entries(folder, QDir::Files | QDir::Readable, {QStringLiteral("*") + extension});
}

QStringList situationFilesIn(const QString &folder)
{
    return filesWithExtension(folder, QString(kSituationExtension));
}

QStringList subfoldersOf(const QString &folder)
{
    // Without QDir::Hidden, names starting with "." are left out on Unix.
    QStringList list = entries(folder, QDir::Dirs | QDir::NoDotAndDotDot);
    list.removeIf([](const QString &n) { return n.startsWith(QLatin1Char('.')); });
    return list;
}

QStringList volumeRoots()
{
    QStringList roots;
    const QString rootFs = QStorageInfo::root().rootPath();
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady())
            continue;
        const QString r = v.rootPath();
        if (r.isEmpty() || roots.contains(r))
            continue;
        if (r == rootFs)
            roots.prepend(r);
        else
            roots.append(r);
    }
    if (!roots.contains(rootFs))
        roots.prepend(rootFs.isEmpty() ? QStringLiteral("/") : rootFs);
    return roots;
}

QString volumeRootOf(const QString &path)
{
    const QStorageInfo v(path);
    return v.isValid() && !v.rootPath().isEmpty() ? v.rootPath() : QStorageInfo::root().rootPath();
}

QString documentsFolder()
{
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!docs.isEmpty() && QFileInfo(docs).isDir())
        return QDir::cleanPath(docs);
    return QDir::homePath();
}

QString usableFolder(const QString &folder)
{
    if (!folder.isEmpty()) {
        QString p = QDir::cleanPath(QDir(folder).absolutePath());
        for (;;) {
            const QFileInfo info(p);
            if (info.isDir() && QDir(p).isReadable())
                return p;
            const QString parent = info.absolutePath();
            if (parent == p)
                break;
            p = parent;
        }
    }
    const QString docs = documentsFolder();
    return QDir(docs).isReadable() ? docs : QDir::homePath();
}

} // namespace vorlac
