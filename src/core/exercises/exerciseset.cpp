#include "exercises/exerciseset.h"

#include "common/atomicwrite.h"
#include "common/boundedread.h"
#include "common/codepage1252.h"
#include "exercises/exercisefile.h"
#include "rtf/rtf.h"
#include "situations/situationfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTextDocument>
#include <optional>

namespace vorlac
{

namespace
{

constexpr int kRecordCharacters = 126;
constexpr int kShortName = 8;

// A refused character in words: spaces and format characters cannot be seen between quotes.
QString characterInWords(const QString &character)
{
    const char32_t code =
        character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1]) : char32_t(character[0].unicode());
    const QString number = QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
    static const struct {
        char32_t code;
        const char *words;
    } named[] = {
        {0x202F, "l'espace fine insécable"},  {0x2009, "l'espace fine"},
        {0x200A, "l'espace ultrafine"},       {0x2007, "l'espace de chiffre"},
        {0x2008, "l'espace de ponctuation"},  {0x200B, "l'espace sans largeur"},
        {0x2060, "le gluon de mots"},         {0xFEFF, "l'espace insécable sans largeur"},
        {0x200C, "l'antiliant sans largeur"}, {0x200D, "le liant sans largeur"},
        {0x2028, "le séparateur de lignes"},  {0x2029, "le séparateur de paragraphes"},
    };
    for (const auto &n : named)
        if (n.code == code)
            return QStringLiteral("%1 (%2, invisible)").arg(QString::fromUtf8(n.words), number);
    const QChar::Category category = QChar::category(code);
    if (QChar::isSpace(code) || category == QChar::Other_Format || category == QChar::Other_Control)
        return QStringLiteral("un caractère invisible (%1)").arg(number);
    if (QChar::script(code) == QChar::Script_Greek)
        return QStringLiteral("la lettre grecque « %1 » (%2)").arg(character, number);
    return QStringLiteral("le caractère « %1 » (%2)").arg(character, number);
}

QString recordProblem(const QString &text, const QString &what)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        unsigned char byte = 0;
        if (!charToCp1252(text[i], &byte)) {
            // A character outside the BMP is two QChars: name it whole.
            const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            return QStringLiteral("%1 ne peut pas contenir %2.").arg(what, characterInWords(text.mid(i, n)));
        }
    }
    if (text.size() > kRecordCharacters)
        return QStringLiteral("%1 a %2 caractères : 126 au plus.").arg(what).arg(text.size());
    return QString();
}

// Device names that Windows refuses as file names, whatever the extension.
bool reservedName(const QString &name)
{
    static const QStringList fixed = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                      QStringLiteral("NUL")};
    if (fixed.contains(name))
        return true;
    return name.size() == 4 && (name.startsWith(QLatin1String("COM")) || name.startsWith(QLatin1String("LPT"))) &&
           name[3].isDigit();
}

QString pathIn(const QString &folder, const QString &storedName)
{
    return resolveExerciseName(folder, storedName);
}

QString exactPathIn(const QString &folder, QString storedName)
{
    storedName = storedName.trimmed();
    storedName.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir(folder).filePath(storedName);
}

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxBytes)
        return std::nullopt;
    QByteArray bytes = readAtMost(file, maxBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

ExerciseSetNames namesFrom(const QString &base)
{
    return {base + QStringLiteral(".E01"), base + QStringLiteral(".RTF"), base + QStringLiteral(".P01"),
            base + QStringLiteral("-C.RTF"), base + QStringLiteral("-C.P01")};
}

} // namespace

QString titleProblem(const QString &title)
{
    if (title.trimmed().isEmpty())
        return QStringLiteral("Le titre ne peut pas être vide.");
    return recordProblem(title, QStringLiteral("Le titre"));
}

QString notionProblem(const QString &notion)
{
    return recordProblem(notion, QStringLiteral("Une notion"));
}

QStringList notionsAsStored(const QStringList &typed)
{
    QStringList stored;
    for (const QString &notion : typed)
        if (const QString bare = notionAsTyped(notion); !bare.isEmpty())
            stored.append(bare + QStringLiteral("; "));
    if (!stored.isEmpty()) {
        QString &last = stored.last();
        last.chop(2);
        if (!last.endsWith(QLatin1Char('.')) && !last.endsWith(QLatin1Char('!')) && !last.endsWith(QLatin1Char('?')))
            last += QLatin1Char('.');
    }
    return stored;
}

QString notionAsTyped(const QString &stored)
{
    QString bare = stored.trimmed();
    if (bare.endsWith(QLatin1Char(';')) || (bare.endsWith(QLatin1Char('.')) && !bare.endsWith(QLatin1String(".."))))
        bare.chop(1);
    return bare.trimmed();
}

QString shortExerciseName(const QString &title)
{
    const QString decomposed = title.normalized(QString::NormalizationForm_KD);
    QString name;
    for (const QChar c : decomposed) {
        if (c.isMark())
            continue;
        if (c.unicode() < 128 && c.isLetterOrNumber())
            name += c.toUpper();
        else if (c == QChar(0x153) || c == QChar(0x152))
            name += QStringLiteral("OE");
        else if (c == QChar(0xE6) || c == QChar(0xC6))
            name += QStringLiteral("AE");
        else if (c == QChar(0xDF))
            name += QStringLiteral("SS");
        else if (!name.isEmpty() && !name.endsWith(QLatin1Char('-')))
            name += QLatin1Char('-');
    }
    name.truncate(kShortName);
    while (name.endsWith(QLatin1Char('-')))
        name.chop(1);
    if (name.isEmpty())
        return QStringLiteral("EXERCICE");
    return reservedName(name) ? QStringLiteral("EX-") + name : name;
}

ExerciseSetNames freshExerciseNames(const QString &folder, const QString &title)
{
    const QString base = shortExerciseName(title);
    QSet<QString> taken;
    for (const QString &entry : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System))
        taken.insert(entry.toUpper());
    for (int n = 1;; ++n) {
        QString candidate = base;
        if (n > 1) {
            const QString suffix = QStringLiteral("-") + QString::number(n);
            candidate = base.left(kShortName - suffix.size());
            while (candidate.endsWith(QLatin1Char('-')))
                candidate.chop(1);
            candidate += suffix;
        }
        const ExerciseSetNames names = namesFrom(candidate);
        bool free = true;
        for (const QString &name :
             {names.exercise, names.statement, names.statementSituation, names.correction, names.correctionSituation})
            free = free && !taken.contains(name.toUpper());
        if (free)
            return names;
    }
}

ExerciseSetNames namesForRewrite(const QString &exercisePath)
{
    const QFileInfo info(exercisePath);
    const QString folder = info.absolutePath();
    ExerciseSetNames fresh = freshExerciseNames(folder, info.completeBaseName());
    const std::optional<ExerciseFile> file = readExerciseFile(exercisePath);
    ExerciseSetNames names;
    names.exercise = info.fileName();
    // A name is written again only as the program builds it from the file it leads to inside
    // the folder; anything else gets a fresh name.
    const auto keep = [&folder](const QString &stored, const QString &otherwise) {
        const QString path = isBlankRecord(stored) ? QString() : resolveExerciseName(folder, stored);
        if (path.isEmpty())
            return otherwise;
        return QDir(folder).relativeFilePath(path).replace(QLatin1Char('/'), QLatin1Char('\\'));
    };
    // A file added to the set is named after its statement ("CORRIGE.RTF" gets "CORRIGE-C.RTF"),
    // or freshly when that name is taken.
    QString stem = file ? file->statement.trimmed() : QString();
    if (stem.endsWith(QLatin1String(".RTF"), Qt::CaseInsensitive))
        stem.chop(4);
    if (stem.isEmpty())
        stem = info.completeBaseName();
    const ExerciseSetNames derived = namesFrom(stem);
    const auto added = [&](const QString &name, const QString &otherwise) {
        return QFileInfo::exists(pathIn(info.absolutePath(), name)) ? otherwise : name;
    };
    names.statement = keep(file ? file->statement : QString(), added(derived.statement, fresh.statement));
    names.statementSituation =
        keep(file ? file->statementSituation : QString(), added(derived.statementSituation, fresh.statementSituation));
    names.correction = keep(file ? file->correction : QString(), added(derived.correction, fresh.correction));
    names.correctionSituation = keep(file ? file->correctionSituation : QString(),
                                     added(derived.correctionSituation, fresh.correctionSituation));
    return names;
}

QString saveExerciseSet(const QString &folder, const ExerciseSetNames &names, const ExerciseSet &set)
{
    if (QString problem = titleProblem(set.title); !problem.isEmpty())
        return problem;
    if (set.notions.size() > 4)
        return QStringLiteral("Quatre notions au plus.");
    for (const QString &notion : set.notions)
        if (QString problem = notionProblem(notion); !problem.isEmpty())
            return problem;
    if (set.difficulty < 1 || set.difficulty > 3)
        return QStringLiteral("Le niveau de difficulté va de 1 à 3.");
    if (set.statement.isEmpty())
        return QStringLiteral("L'énoncé est vide.");
    // What the program would refuse to read back is not written.
    if (!rtfReadsBack(set.statement) || (!set.correction.isEmpty() && !rtfReadsBack(set.correction)))
        return QStringLiteral("Le texte de l'énoncé ou de la correction dépasse 16 Mio ou 50 000 paragraphes une "
                              "fois enregistré : le raccourcir (les images et les longues listes prennent le plus "
                              "de place).");
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("Le dossier %1 n'existe pas.").arg(QDir::toNativeSeparators(folder));
    // Only names that stay inside the folder are written; the exercise file itself sits in it.
    const QStringList all = {names.exercise, names.statement, names.statementSituation, names.correction,
                             names.correctionSituation};
    for (const QString &name : all) {
        QString problem = storedNameProblem(folder, name);
        if (problem.isEmpty() && name == names.exercise &&
            (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))))
            problem = QStringLiteral("ne désigne pas un fichier du dossier");
        if (!problem.isEmpty())
            return QStringLiteral("Le nom « %1 » %2 : rien n'a été enregistré. Enregistrer l'exercice dans un "
                                  "autre dossier.")
                .arg(name, problem);
    }
    ExerciseFile file;
    file.statement = names.statement;
    file.statementSituation = set.statementSituation.isEmpty() ? QString() : names.statementSituation;
    file.correction = set.correction.isEmpty() ? QString() : names.correction;
    file.correctionSituation = set.correctionSituation.isEmpty() ? QString() : names.correctionSituation;
    file.difficulty = QString::number(set.difficulty);
    file.notions = set.notions;
    while (file.notions.size() < 4)
        file.notions.append(QString());
    file.title = set.title;
    const std::optional<QByteArray> records = serialiseExerciseFile(file);
    if (!records)
        return QStringLiteral("Un nom de fichier ne tient pas dans le fichier d'exercice.");

    // The texts and situations first, the exercise file that names them last.
    QList<FileBytes> files;
    const auto add = [&](const QString &stored, const QByteArray &bytes) {
        if (!stored.isEmpty())
            files.append({pathIn(folder, stored), bytes});
    };
    add(file.statement, set.statement);
    add(file.statementSituation, set.statementSituation);
    add(file.correction, set.correction);
    add(file.correctionSituation, set.correctionSituation);
    add(names.exercise, *records);
    QString reason;
    if (!writeFilesAtomically(files, &reason))
        return QStringLiteral("L'exercice n'a pas été enregistré (%1). Les fichiers du dossier sont restés tels "
                              "qu'ils étaient.")
            .arg(reason);
    return QString();
}

bool loadExerciseSet(const QString &exercisePath, ExerciseSet *set)
{
    const std::optional<ExerciseFile> file = readExerciseFile(exercisePath);
    if (!file)
        return false;
    const QString folder = QFileInfo(exercisePath).absolutePath();
    const auto read = [&folder](const QString &stored, qint64 maxBytes) {
        return isBlankRecord(stored) ? std::optional<QByteArray>(QByteArray())
                                     : readRegularFile(pathIn(folder, stored), maxBytes);
    };
    const std::optional<QByteArray> statement = read(file->statement, kRtfMaxBytes);
    if (!statement || statement->isEmpty())
        return false;
    ExerciseSet loaded;
    loaded.title = file->title;
    for (const QString &notion : file->notions)
        if (!isBlankRecord(notion))
            loaded.notions.append(notion);
    loaded.difficulty = qBound(1, int(difficultyValue(file->difficulty)), 3);
    loaded.statement = *statement;
    loaded.statementSituation = read(file->statementSituation, kSituationMaxBytes).value_or(QByteArray());
    loaded.correction = read(file->correction, kRtfMaxBytes).value_or(QByteArray());
    loaded.correctionSituation = read(file->correctionSituation, kSituationMaxBytes).value_or(QByteArray());
    *set = loaded;
    return true;
}

bool belongsToExercise(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return false;
    QDir dir = QFileInfo(target).absoluteDir();
    for (int level = 0; level < 2; ++level) {
        for (const QString &name :
             dir.entryList({QStringLiteral("*.E01"), QStringLiteral("VORLAC.PEM")}, QDir::Files, QDir::Name)) {
            const std::optional<ExerciseFile> file = readExerciseFile(dir.filePath(name));
            if (!file)
                continue;
            for (const QString *stored :
                 {&file->statement, &file->statementSituation, &file->correction, &file->correctionSituation})
                if (!isBlankRecord(*stored) &&
                    QFileInfo(resolveExerciseName(dir.path(), *stored)).canonicalFilePath() == target)
                    return true;
        }
        if (!dir.cdUp())
            break;
    }
    return false;
}

FolderCheck checkExerciseFolder(const QString &folder)
{
    FolderCheck check;
    const QDir dir(folder);
    const QStringList exercises =
        dir.entryList({QStringLiteral("*.E01")}, QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    check.exercises = int(exercises.size());
    QTextDocument document;
    for (const QString &name : exercises) {
        const auto say = [&](const QString &line) { check.problems.append(name + QStringLiteral(" : ") + line); };
        const std::optional<ExerciseFile> file = readExerciseRecords(dir.filePath(name));
        if (!file) {
            say(QStringLiteral("fichier d'exercice illisible."));
            continue;
        }
        if (isBlankRecord(file->title))
            say(QStringLiteral("le titre est vide."));
        const double d = difficultyValue(file->difficulty);
        if (!(d >= 1 && d <= 3))
            say(QStringLiteral("le niveau de difficulté « %1 » n'est pas entre 1 et 3.")
                    .arg(file->difficulty.trimmed()));
        if (isBlankRecord(file->statement))
            say(QStringLiteral("aucun énoncé n'est nommé."));

        const auto named = [&](const QString &what, const QString &stored, bool text) {
            if (isBlankRecord(stored))
                return;
            const QString quoted = QStringLiteral("%1 « %2 »").arg(what, stored.trimmed());
            if (QString problem = storedNameProblem(folder, stored); !problem.isEmpty()) {
                say(quoted + QLatin1Char(' ') + problem + QStringLiteral(" : l'exercice sera refusé."));
                return;
            }
            const QString path = pathIn(folder, stored);
            if (!QFileInfo::exists(path)) {
                say(quoted + QStringLiteral(" est introuvable."));
                return;
            }
            if (QDir::cleanPath(path) != QDir::cleanPath(exactPathIn(folder, stored)))
                say(quoted + QStringLiteral(" n'existe que sous le nom « %1 » : un disque qui distingue les "
                                            "majuscules ne le trouvera pas.")
                                 .arg(QFileInfo(path).fileName()));
            if (text) {
                const std::optional<QByteArray> bytes = readRegularFile(path, kRtfMaxBytes);
                if (!bytes)
                    say(quoted + QStringLiteral(" est illisible."));
                else if (!bytes->startsWith("{\\rtf"))
                    say(quoted + QStringLiteral(" n'est pas un texte RTF."));
                else if (!readRtf(*bytes, document))
                    say(quoted + QStringLiteral(" est un texte RTF abîmé."));
            } else {
                const SituationResult result = readSituationFile(path);
                if (result.failure == SituationFailure::NotOurs)
                    say(quoted + QStringLiteral(" n'est pas une situation de VORLAC."));
                else if (result.failure != SituationFailure::None)
                    say(quoted + QStringLiteral(" est illisible."));
            }
        };
        named(QStringLiteral("l'énoncé"), file->statement, true);
        named(QStringLiteral("la situation de l'énoncé"), file->statementSituation, false);
        named(QStringLiteral("la correction"), file->correction, true);
        named(QStringLiteral("la situation de la correction"), file->correctionSituation, false);
    }
    return check;
}

QStringList folderCheckLines(const QString &folder, const FolderCheck &check)
{
    QStringList lines{QStringLiteral("Dossier : %1").arg(QDir::toNativeSeparators(folder))};
    if (check.exercises == 0) {
        lines.append(QStringLiteral("Aucun fichier d'exercice (*.E01) dans ce dossier."));
        return lines;
    }
    lines.append(check.exercises == 1 ? QStringLiteral("1 exercice vérifié.")
                                      : QStringLiteral("%1 exercices vérifiés.").arg(check.exercises));
    if (check.problems.isEmpty())
        lines.append(QStringLiteral("Aucun problème : chaque exercice s'ouvrira normalement."));
    else
        lines += check.problems;
    return lines;
}

} // namespace vorlac
