// A scratch folder for the fuzz targets that read files: an exercise folder inside it, and
// beside it a file standing for the user's own, which no input may read, replace or remove.
#pragma once

#include "common/atomicwrite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace fuzzplace
{

inline const QByteArray kVictim = "{\\rtf1\\ansi VICTIME\\par}";

struct Place {
    QTemporaryDir top;
    QString folder; // top/cle/exos, with a link "haut" to top and files of its own
    QString victim; // top/victim.rtf
};

inline Place &place()
{
    static Place p = [] {
        Place made;
        const QDir top(made.top.path());
        made.folder = top.filePath(QStringLiteral("cle/exos"));
        made.victim = top.filePath(QStringLiteral("victim.rtf"));
        QDir().mkpath(made.folder + QStringLiteral("/sous"));
        vorlac::writeFileAtomically(made.victim, kVictim);
        vorlac::writeFileAtomically(made.folder + QStringLiteral("/ENONCE.RTF"), "{\\rtf1\\ansi \\'e9nonc\\'e9\\par}");
        vorlac::writeFileAtomically(made.folder + QStringLiteral("/sous/Corr.rtf"), "{\\rtf1 c}");
        QFile::link(made.top.path(), made.folder + QStringLiteral("/haut"));
        QFile::link(made.victim, made.folder + QStringLiteral("/lien.rtf"));
        return made;
    }();
    return p;
}

// The file outside is as it was.
inline void checkVictim()
{
    QFile file(place().victim);
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != kVictim)
        std::abort();
}

// Whether path, with its links followed as far as it exists, is inside folder.
inline bool inside(const QString &folder, const QString &path)
{
    const QString root = QDir(folder).canonicalPath();
    QString p = path;
    while (!QFileInfo::exists(p) && !QFileInfo(p).isSymLink()) {
        const QString parent = QFileInfo(p).path();
        if (parent == p)
            return false;
        p = parent;
    }
    const QString real = QFileInfo(p).canonicalFilePath();
    return !real.isEmpty() && (real == root || real.startsWith(root + QLatin1Char('/')));
}

} // namespace fuzzplace
