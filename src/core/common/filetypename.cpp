#include "common/filetypename.h"

#include <QDir>

namespace vorlac
{

namespace
{

struct NamedSuffix {
    const char *suffix;
    const char *name;
};

// The files the program writes and reads, and the pictures and texts a pupil's folder holds.
constexpr NamedSuffix kNamed[] = {
    {"pdf", "Document PDF"},
    {"png", "Image PNG"},
    {"svg", "Image SVG"},
    {"jpg", "Image JPEG"},
    {"jpeg", "Image JPEG"},
    {"gif", "Image GIF"},
    {"bmp", "Image BMP"},
    {"rtf", "Texte RTF"},
    {"txt", "Texte"},
    {"csv", "Tableau CSV"},
    {"p01", "Situation Vorlac"},
    {"e01", "Exercice Vorlac"},
    {"pem", "Prise en main Vorlac"},
};

const QString kFolder = QStringLiteral("Dossier");
const QString kDrive = QStringLiteral("Disque");
const QString kBrokenLink = QStringLiteral("Lien");
const QString kSpecial = QStringLiteral("Fichier spécial");
const QString kFile = QStringLiteral("Fichier");

} // namespace

QString fileTypeName(const QFileInfo &info)
{
    if (QDir(info.absoluteFilePath()).isRoot())
        return kDrive;
    if (info.isDir())
        return kFolder;
    if (info.isSymLink() && !info.exists())
        return kBrokenLink;
    if (info.exists() && !info.isFile())
        return kSpecial; // a pipe, a socket, a device
    const QString suffix = info.suffix();
    if (suffix.isEmpty())
        return kFile;
    for (const NamedSuffix &n : kNamed)
        if (suffix.compare(QLatin1String(n.suffix), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(n.name);
    return kFile + QLatin1Char(' ') + suffix.toUpper();
}

QStringList knownFileTypeNames()
{
    QStringList names{kFolder, kDrive, kBrokenLink, kSpecial, kFile};
    for (const NamedSuffix &n : kNamed)
        names << QString::fromUtf8(n.name);
    return names;
}

} // namespace vorlac
