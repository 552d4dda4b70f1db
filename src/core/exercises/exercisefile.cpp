#include "exercises/exercisefile.h"

#include "common/numbertext.h"
#include "common/recordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace vorlac
{

namespace
{

constexpr int kRecords = 11;

// The folders of a stored name, or nullopt when its text alone leads elsewhere: an absolute
// path, a drive or stream (":"), a part made only of dots (".." and what Windows reads as "..").
std::optional<QStringList> storedParts(const QString &storedName)
{
    QString name = storedName.trimmed();
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')))
        return std::nullopt;
    for (const QChar c : name)
        if (c == QLatin1Char(':') || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return std::nullopt;
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        bool dotsOnly = true;
        for (const QChar c : part)
            dotsOnly = dotsOnly && (c == QLatin1Char('.') || c == QLatin1Char(' '));
        if (dotsOnly)
            return std::nullopt;
    }
    return parts;
}

// Whether path, once its links are followed, stays inside root (a canonical folder). The
// deepest part of path that exists decides: a link leading nowhere is refused, and so is a name
// that leads back to the folder itself (through a link out and in again), which names no file.
bool staysInside(const QString &root, const QString &path)
{
    if (root.isEmpty())
        return true; // no such folder: nothing under it can be reached
    QString p = path;
    for (;;) {
        const QFileInfo info(p);
        if (info.isSymLink() || info.exists()) {
            const QString real = info.canonicalFilePath();
            if (real.isEmpty() || (p == path && real == root))
                return false;
            return root == QLatin1String("/") || real == root || real.startsWith(root + QLatin1Char('/'));
        }
        const QString parent = info.path();
        if (parent == p)
            return false;
        p = parent;
    }
}

// The path a name leads to, without the check that it stays inside folder.
QString resolveUnchecked(const QString &folder, const QStringList &parts)
{
    QString base = folder;
    if (!base.isEmpty() && !base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const QString exact = base + parts.join(QLatin1Char('/'));
    if (parts.isEmpty() || QFileInfo::exists(exact))
        return exact;

    // Walk down the folders, taking at each level the entry that matches ignoring case.
    QString path = base.isEmpty() ? QStringLiteral(".") : base;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        QDir dir(path);
        QString found;
        if (dir.exists(part)) {
            found = part;
        } else {
            const QStringList entries =
                dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString &entry : entries)
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    found = entry;
                    break;
                }
        }
        if (found.isEmpty())
            return exact;
        path = dir.filePath(found);
    }
    return base.isEmpty() ? QDir::cleanPath(path) : path;
}

} // namespace

bool isBlankRecord(const QString &text)
{
    return text.trimmed().isEmpty();
}

bool ExerciseFile::corrected() const
{
    return !isBlankRecord(correction) || !isBlankRecord(correctionSituation);
}

QString ExerciseFile::notionsText() const
{
    QString text;
    for (const QString &notion : notions)
        if (!isBlankRecord(notion))
            text += notion;
    return text;
}

int ExerciseFile::litPictures() const
{
    const double d = difficultyValue(difficulty);
    int lit = 0;
    for (int i = 0; i < 3; ++i)
        if (d > i)
            ++lit;
    return lit;
}

double difficultyValue(const QString &text)
{
    const double d = readBlankDotNumber(text);
    return std::isfinite(d) ? d : 0.0;
}

std::optional<ExerciseFile> parseExerciseFile(const QByteArray &bytes)
{
    const RecordReader reader(bytes.left(kExerciseFileBytes));
    if (reader.recordCount() == 0)
        return std::nullopt;
    QString records[kRecords];
    for (int k = 1; k <= kRecords; ++k) {
        RecordError error = RecordError::None;
        const std::optional<QString> text = reader.text(k, &error);
        if (text)
            records[k - 1] = *text;
        else if (error != RecordError::Missing)
            return std::nullopt;
    }
    ExerciseFile exercise;
    exercise.statement = records[0];
    exercise.statementSituation = records[1];
    exercise.correction = records[2];
    exercise.correctionSituation = records[3];
    exercise.difficulty = records[4];
    exercise.unused = records[5];
    exercise.notions = {records[6], records[7], records[8], records[9]};
    exercise.title = records[10];
    return exercise;
}

std::optional<ExerciseFile> readExerciseRecords(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(kExerciseFileBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return parseExerciseFile(bytes);
}

std::optional<ExerciseFile> readExerciseFile(const QString &path)
{
    std::optional<ExerciseFile> exercise = readExerciseRecords(path);
    if (exercise && !namesProblem(QFileInfo(path).absolutePath(), *exercise).isEmpty())
        return std::nullopt;
    return exercise;
}

std::optional<QByteArray> serialiseExerciseFile(const ExerciseFile &exercise)
{
    RecordWriter writer;
    for (const QString &text : {exercise.statement, exercise.statementSituation, exercise.correction,
                                exercise.correctionSituation, exercise.difficulty, exercise.unused})
        writer.append(text);
    for (int i = 0; i < 4; ++i)
        writer.append(exercise.notions.value(i));
    writer.append(exercise.title);
    if (writer.failed())
        return std::nullopt;
    return writer.bytes();
}

QString storedNameProblem(const QString &folder, const QString &storedName)
{
    const std::optional<QStringList> parts = storedParts(storedName);
    if (!parts)
        return QStringLiteral("mène hors du dossier de l'exercice");
    if (!staysInside(QDir(folder).canonicalPath(), resolveUnchecked(folder, *parts)))
        return QStringLiteral("passe par un lien qui mène hors du dossier de l'exercice");
    return QString();
}

QString namesProblem(const QString &folder, const ExerciseFile &exercise)
{
    for (const QString *name :
         {&exercise.statement, &exercise.statementSituation, &exercise.correction, &exercise.correctionSituation}) {
        if (isBlankRecord(*name))
            continue;
        if (QString problem = storedNameProblem(folder, *name); !problem.isEmpty())
            return QStringLiteral("« %1 » %2").arg(name->trimmed(), problem);
    }
    return QString();
}

QString resolveExerciseName(const QString &folder, const QString &storedName)
{
    const std::optional<QStringList> parts = storedParts(storedName);
    if (!parts)
        return QString();
    const QString path = resolveUnchecked(folder, *parts);
    return staysInside(QDir(folder).canonicalPath(), path) ? path : QString();
}

} // namespace vorlac
