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

std::optional<ExerciseFile> readExerciseFile(const QString &path)
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

QString resolveExerciseName(const QString &folder, const QString &storedName)
{
    QString name = storedName.trimmed();
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
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

} // namespace vorlac
