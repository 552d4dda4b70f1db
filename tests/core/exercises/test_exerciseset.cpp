#include "../../failingdisk.h"
#include "../../rowname.h"
#include "exercises/exercisefile.h"
#include "exercises/exerciseset.h"
#include "rtf/rtf.h"
#include "situations/situation.h"

#include <QCryptographicHash>
#include <QDir>
#include <gtest/gtest.h>

using namespace vorlac;

namespace
{

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

// Every name of a folder with the digest of its bytes.
QStringList snapshot(const QString &folder)
{
    QStringList out;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
        out << name + QLatin1Char(' ') +
                   QString::fromLatin1(
                       QCryptographicHash::hash(readAll(QDir(folder).filePath(name)), QCryptographicHash::Md5).toHex());
    return out;
}

ExerciseSet sampleSet(int statementBytes, bool corrected, int correctionLines = 10)
{
    ExerciseSet set;
    set.title = QStringLiteral("Déviation minimale – prisme");
    set.notions = {QStringLiteral("réfraction ; "), QStringLiteral("déviation")};
    set.difficulty = 2;
    QByteArray body(statementBytes, 'a');
    set.statement = "{\\rtf1\\ansi " + body + "\\par}";
    Situation situation;
    set.statementSituation = *serialiseSituation(situation);
    if (corrected) {
        set.correction = "{\\rtf1\\ansi {\\b D}{\\super m}\\par}";
        situation.scene.apexAngle = 60;
        situation.lines = QList<SituationRow>(correctionLines);
        set.correctionSituation = *serialiseSituation(situation);
    }
    return set;
}

// ---- names and fields -------------------------------------------------------------------------

struct NameRow {
    const char *title;
    std::vector<const char *> existing;
    const char *exercise; // the expected ".E01" name
};
void PrintTo(const NameRow &r, std::ostream *os)
{
    *os << r.title << " " << r.exercise;
}
class ExerciseNames : public ::testing::TestWithParam<NameRow>
{
};

TEST_P(ExerciseNames, AreShortSafeAndUniqueIgnoringCase)
{
    const NameRow &row = GetParam();
    QTemporaryDir dir;
    for (const char *name : row.existing)
        put(dir.filePath(QString::fromUtf8(name)), "x");
    const ExerciseSetNames names = freshExerciseNames(dir.path(), QString::fromUtf8(row.title));
    EXPECT_EQ(names.exercise.toStdString(), row.exercise);
    const QString base = names.exercise.chopped(4);
    EXPECT_LE(base.size(), 8);
    EXPECT_EQ(names.statement, base + QStringLiteral(".RTF"));
    EXPECT_EQ(names.correctionSituation, base + QStringLiteral("-C.P01"));
}

const NameRow kNameRows[] = {
    {"Déviation minimale", {}, "DEVIATIO.E01"},
    {"L'œil et le prisme", {}, "L-OEIL-E.E01"},
    {"  ?? «» ", {}, "EXERCICE.E01"},
    {"con", {}, "EX-CON.E01"},
    {"Prisme", {"prisme-c.rtf"}, "PRISME-2.E01"},
    {"Prisme", {"PRISME.E01", "PRISME-2.P01"}, "PRISME-3.E01"},
    {"Réfraction", {"REFRACTI.E01"}, "REFRAC-2.E01"},
};
INSTANTIATE_TEST_SUITE_P(Rows, ExerciseNames, ::testing::ValuesIn(kNameRows), RowName());

// A text added when an exercise is rewritten is named after its statement.
struct AddedNameRow {
    const char *name;
    const char *statement; // as stored in the exercise file
    std::vector<const char *> existing;
    const char *correction; // expected
};
void PrintTo(const AddedNameRow &r, std::ostream *os)
{
    *os << r.name;
}
class ExerciseAddedNames : public ::testing::TestWithParam<AddedNameRow>
{
};

TEST_P(ExerciseAddedNames, FollowTheStatement)
{
    const AddedNameRow &row = GetParam();
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("exercices"));
    for (const char *name : row.existing)
        put(dir.filePath(QString::fromUtf8(name)), "x");
    ExerciseFile file;
    file.statement = QString::fromUtf8(row.statement);
    file.difficulty = QStringLiteral("1");
    file.title = QStringLiteral("Corrigé");
    put(dir.filePath(QStringLiteral("CORRIGE.E01")), *serialiseExerciseFile(file));
    const ExerciseSetNames names = namesForRewrite(dir.filePath(QStringLiteral("CORRIGE.E01")));
    EXPECT_EQ(names.statement.toStdString(), row.statement);
    EXPECT_EQ(names.correction.toStdString(), row.correction);
}

const AddedNameRow kAddedNameRows[] = {
    {"Beside", "CORRIGE.RTF", {"CORRIGE.RTF"}, "CORRIGE-C.RTF"},
    {"InSubfolder", "exercices\\DMIN.RTF", {"exercices/DMIN.RTF"}, "exercices\\DMIN-C.RTF"},
    {"NameTaken", "CORRIGE.RTF", {"CORRIGE.RTF", "corrige-c.rtf"}, "CORRIG-2-C.RTF"},
};
INSTANTIATE_TEST_SUITE_P(Rows, ExerciseAddedNames, ::testing::ValuesIn(kAddedNameRows), RowName());

// The notions are stored with the separators the exercise window needs between them.
struct NotionRow {
    const char *name;
    QStringList typed, stored;
};
void PrintTo(const NotionRow &r, std::ostream *os)
{
    *os << r.name;
}
class ExerciseNotions : public ::testing::TestWithParam<NotionRow>
{
};

TEST_P(ExerciseNotions, AreSeparatedAsShipped)
{
    const NotionRow &row = GetParam();
    EXPECT_EQ(notionsAsStored(row.typed), row.stored);
    QStringList again;
    for (const QString &stored : row.stored)
        again.append(notionAsTyped(stored));
    EXPECT_EQ(notionsAsStored(again), row.stored) << "read back and saved again, unchanged";
}

const NotionRow kNotionRows[] = {
    {"Two",
     {QStringLiteral("minimum de déviation"), QStringLiteral("indice de réfraction")},
     {QStringLiteral("minimum de déviation; "), QStringLiteral("indice de réfraction.")}},
    {"TypedSeparatorsAndBlank",
     {QStringLiteral("réfraction ; "), QStringLiteral("  "), QStringLiteral("déviation;")},
     {QStringLiteral("réfraction; "), QStringLiteral("déviation.")}},
};
INSTANTIATE_TEST_SUITE_P(Rows, ExerciseNotions, ::testing::ValuesIn(kNotionRows), RowName());

struct TitleRow {
    const char *name;
    QString title;
    const char *problem; // "" when the title is fine, else a part of the message
};
void PrintTo(const TitleRow &r, std::ostream *os)
{
    *os << r.name;
}
class ExerciseTitle : public ::testing::TestWithParam<TitleRow>
{
};

TEST_P(ExerciseTitle, IsOneRecordOfWindows1252)
{
    const TitleRow &row = GetParam();
    const QString problem = titleProblem(row.title);
    EXPECT_EQ(problem.isEmpty(), !*row.problem) << problem.toStdString();
    EXPECT_TRUE(problem.contains(QString::fromUtf8(row.problem))) << problem.toStdString();
}

const TitleRow kTitleRows[] = {
    {"AccentsAndDash", QStringLiteral("Réfraction – été, œuvre « n »"), ""},
    {"Exactly126", QString(126, QLatin1Char('x')), ""},
    {"127", QString(127, QLatin1Char('x')), "127 caractères"},
    {"Blank", QStringLiteral("   "), "vide"},
    {"Greek", QStringLiteral("Angle α"), "« α »"},
    {"OutsideBmp", QStringLiteral("Prisme \U0001F308"), "« \U0001F308 »"},
    {"NarrowNoBreakSpace", QStringLiteral("Prisme\u202f60"), "l'espace fine insécable (U+202F, invisible)"},
};
INSTANTIATE_TEST_SUITE_P(Rows, ExerciseTitle, ::testing::ValuesIn(kTitleRows), RowName());

// ---- saving ------------------------------------------------------------------------------------

struct SaveRow {
    const char *name;
    bool corrected;
    int notions;  // how many notions, each 126 characters
    bool rewrite; // saved a second time over the same names
};
void PrintTo(const SaveRow &r, std::ostream *os)
{
    *os << r.name;
}
class ExerciseSave : public ::testing::TestWithParam<SaveRow>
{
};

TEST_P(ExerciseSave, ReadsBackWhatWasWritten)
{
    const SaveRow &row = GetParam();
    QTemporaryDir dir;
    ExerciseSet set = sampleSet(300, row.corrected);
    set.notions.clear();
    for (int i = 0; i < row.notions; ++i)
        set.notions.append(QString(126, QChar(0xE9)));
    ExerciseSetNames names = freshExerciseNames(dir.path(), set.title);
    ASSERT_EQ(saveExerciseSet(dir.path(), names, set), QString());
    const QString path = dir.filePath(names.exercise);
    if (row.rewrite) {
        set.title = QStringLiteral("Autre titre");
        set.statement = "{\\rtf1\\ansi modifié\\par}";
        names = namesForRewrite(path);
        ASSERT_EQ(saveExerciseSet(dir.path(), names, set), QString());
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), row.corrected ? 5 : 3);
    const std::optional<ExerciseFile> file = readExerciseFile(path);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->title, set.title);
    EXPECT_EQ(file->corrected(), row.corrected);
    EXPECT_EQ(file->litPictures(), 2);
    ExerciseSet back;
    ASSERT_TRUE(loadExerciseSet(path, &back));
    EXPECT_EQ(back.title, set.title);
    EXPECT_EQ(back.notions, set.notions);
    EXPECT_EQ(back.statement, set.statement);
    EXPECT_EQ(back.statementSituation, set.statementSituation);
    EXPECT_EQ(back.correction, set.correction);
    EXPECT_EQ(back.correctionSituation, set.correctionSituation);
    EXPECT_TRUE(checkExerciseFolder(dir.path()).problems.isEmpty());
}

const SaveRow kSaveRows[] = {
    {"StatementOnly", false, 0, false},
    {"CorrectedFourLongNotions", true, 4, false},
    {"RewrittenInPlace", true, 1, true},
};
INSTANTIATE_TEST_SUITE_P(Rows, ExerciseSave, ::testing::ValuesIn(kSaveRows), RowName());

enum class Fault { FileSizeLimit, FullDisk, ReadOnlyFolder, StickyFolder };
struct FailRow {
    const char *name;
    Fault fault;
    qint64 room; // file-size limit or free bytes
};
void PrintTo(const FailRow &r, std::ostream *os)
{
    *os << r.name;
}
class ExerciseSaveFailure : public ::testing::TestWithParam<FailRow>
{
};

TEST_P(ExerciseSaveFailure, LeavesTheFolderByteForByte)
{
    const FailRow &row = GetParam();
    failingdisk::FailingPlace place(row.fault == Fault::FullDisk);
    if (place.unavailable())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const QString folder = QFileInfo(place.filePath(QStringLiteral("x"))).path();
    // An exercise already there, rewritten with a statement that fits and, after it, a correction
    // whose situation does not: the statement written first must be put back.
    const ExerciseSet old = sampleSet(100, false);
    const ExerciseSetNames names = freshExerciseNames(folder, old.title);
    ASSERT_EQ(saveExerciseSet(folder, names, old), QString());
    const ExerciseSet bigger = sampleSet(5000, true, 100);
    ASSERT_TRUE(place.prepare(row.room));
    if (row.fault == Fault::ReadOnlyFolder) {
        ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                      QFileDevice::ReadOther | QFileDevice::ExeOther));
    }
    // A rename failing half-way, for real: in a folder with the sticky bit "nobody" replaces its own
    // statement, then may not rename over root's situation.
    const bool sticky = row.fault == Fault::StickyFolder;
    if (sticky && ::geteuid() != 0)
        GTEST_SKIP() << "needs root to give the files two owners";
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        ASSERT_TRUE(!sticky || ::chmod(QFile::encodeName(QDir(folder).filePath(name)).constData(), 0666) == 0);
    ASSERT_TRUE(!sticky ||
                (::chmod(QFile::encodeName(folder).constData(), 01777) == 0 &&
                 ::chown(QFile::encodeName(QDir(folder).filePath(names.statement)).constData(), 65534, 65534) == 0));
    const QStringList before = snapshot(folder);
    const auto save = [&] {
        return saveExerciseSet(folder, namesForRewrite(QDir(folder).filePath(names.exercise)), bigger).isEmpty() ? 1
                                                                                                                 : 0;
    };
    const int answer = row.fault == Fault::ReadOnlyFolder || sticky ? failingdisk::inChild(save, RLIM_INFINITY, true)
                                                                    : place.run(save, row.room);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(snapshot(folder), before);
}

const FailRow kFailRows[] = {
    {"FileSizeLimit", Fault::FileSizeLimit, 8192},
    {"FullDisk", Fault::FullDisk, 16384},
    {"ReadOnlyFolder", Fault::ReadOnlyFolder, 0},
    {"StickyFolder", Fault::StickyFolder, 0},
};
INSTANTIATE_TEST_SUITE_P(Rows, ExerciseSaveFailure, ::testing::ValuesIn(kFailRows), RowName());

// ---- the folder check -------------------------------------------------------------------------

struct CheckRow {
    const char *name;
    std::function<void(const QString &folder, ExerciseFile &file)> spoil;
    const char *line; // expected among the problems
};
void PrintTo(const CheckRow &r, std::ostream *os)
{
    *os << r.name;
}
class FolderCheckRows : public ::testing::TestWithParam<CheckRow>
{
};

TEST_P(FolderCheckRows, SaysWhatWouldFailAndChangesNothing)
{
    const CheckRow &row = GetParam();
    QTemporaryDir dir;
    const ExerciseSet set = sampleSet(50, true);
    const ExerciseSetNames names = freshExerciseNames(dir.path(), set.title);
    ASSERT_EQ(saveExerciseSet(dir.path(), names, set), QString());
    ExerciseFile file = *readExerciseFile(dir.filePath(names.exercise));
    row.spoil(dir.path(), file);
    put(dir.filePath(names.exercise), *serialiseExerciseFile(file));
    const QStringList before = snapshot(dir.path());
    const FolderCheck check = checkExerciseFolder(dir.path());
    EXPECT_EQ(check.exercises, 1);
    ASSERT_EQ(check.problems.size(), 1) << check.problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(check.problems[0].toStdString(), std::string("DEVIATIO.E01 : ") + row.line);
    EXPECT_EQ(snapshot(dir.path()), before);
}

const CheckRow kCheckRows[] = {
    {"MissingText", [](const QString &d, ExerciseFile &) { QFile::remove(d + QStringLiteral("/DEVIATIO-C.RTF")); },
     "la correction « DEVIATIO-C.RTF » est introuvable."},
    {"TextNotRtf", [](const QString &d, ExerciseFile &) { put(d + QStringLiteral("/DEVIATIO.RTF"), "Bonjour"); },
     "l'énoncé « DEVIATIO.RTF » n'est pas un texte RTF."},
    {"BrokenSituation",
     [](const QString &d, ExerciseFile &) { put(d + QStringLiteral("/DEVIATIO.P01"), QByteArray(300, 'z')); },
     "la situation de l'énoncé « DEVIATIO.P01 » n'est pas une situation de VORLAC."},
    {"BlankTitle", [](const QString &, ExerciseFile &f) { f.title = QStringLiteral("  "); }, "le titre est vide."},
    {"Difficulty4", [](const QString &, ExerciseFile &f) { f.difficulty = QStringLiteral("4"); },
     "le niveau de difficulté « 4 » n'est pas entre 1 et 3."},
    {"OtherCase", [](const QString &, ExerciseFile &f) { f.correctionSituation = QStringLiteral("deviatio-c.p01"); },
     "la situation de la correction « deviatio-c.p01 » n'existe que sous le nom « DEVIATIO-C.P01 » : un disque qui "
     "distingue les majuscules ne le trouvera pas."},
};
INSTANTIATE_TEST_SUITE_P(Rows, FolderCheckRows, ::testing::ValuesIn(kCheckRows), RowName());

// A text the reader would refuse (too many bytes, too many paragraphs) is not written: the folder
// stays empty.
TEST(ExerciseSaveLimit, RefusesATextOverTheReadersLimit)
{
    for (const QByteArray &body :
         {QByteArray(kRtfMaxBytes, 'a'), QByteArray("a\\par ").repeated(kRtfMaxParagraphs + 1)}) {
        QTemporaryDir dir;
        ExerciseSet set = sampleSet(50, true);
        set.correction = "{\\rtf1 " + body + "}";
        EXPECT_TRUE(saveExerciseSet(dir.path(), freshExerciseNames(dir.path(), set.title), set).contains("16 Mio"));
        EXPECT_TRUE(QDir(dir.path()).isEmpty());
    }
}

// A pupil's save must not default to a file an exercise names, in its folder or one below.
TEST(ExerciseOwnership, KnowsTheFilesAnExerciseNames)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("exercices")));
    const ExerciseSet set = sampleSet(50, true);
    const ExerciseSetNames names = freshExerciseNames(dir.path(), set.title);
    ASSERT_EQ(saveExerciseSet(dir.path(), names, set), QString());
    ExerciseSetNames below = freshExerciseNames(dir.path(), QStringLiteral("Etalon"));
    below.statementSituation = QStringLiteral("exercices\\ETALON.P01");
    ASSERT_EQ(saveExerciseSet(dir.path(), below, set), QString());
    put(dir.filePath(QStringLiteral("ELEVE.P01")), *serialiseSituation(Situation{}));
    const struct {
        const char *name;
        QString file;
        bool owned;
    } rows[] = {
        {"statement situation", names.statementSituation, true},
        {"correction text", names.correction, true},
        {"situation one folder down", QStringLiteral("exercices/ETALON.P01"), true},
        {"the pupil's file", QStringLiteral("ELEVE.P01"), false},
        {"no such file", QStringLiteral("ABSENT.P01"), false},
    };
    for (const auto &row : rows)
        EXPECT_EQ(belongsToExercise(dir.filePath(row.file)), row.owned) << row.name;
}

// ---- names leading outside the exercise's folder ------------------------------------------------

struct EscapeRow {
    const char *name, *stored; // "%1" stands for the folder above the exercise's
};
void PrintTo(const EscapeRow &r, std::ostream *os)
{
    *os << r.name;
}
class ExerciseEscape : public ::testing::TestWithParam<EscapeRow>
{
};

// A file two folders up stands for any of the teacher's files: the exercise naming it is not
// read, its rewrite and the folder check never touch it, and the check says why.
TEST_P(ExerciseEscape, IsRefusedAndNothingOutsideIsWritten)
{
    QTemporaryDir top;
    const QString folder = top.filePath(QStringLiteral("cle/exos"));
    ASSERT_TRUE(QDir().mkpath(folder));
    put(top.filePath(QStringLiteral("victim.txt")), "{\\rtf1 victime\\par}");
    ASSERT_TRUE(QFile::link(top.path(), folder + QStringLiteral("/haut")));
    const ExerciseSet set = sampleSet(50, true);
    const ExerciseSetNames names = freshExerciseNames(folder, set.title);
    ASSERT_EQ(saveExerciseSet(folder, names, set), QString());
    const QString path = QDir(folder).filePath(names.exercise);
    ExerciseFile file = *readExerciseFile(path);
    file.statement = QString::fromUtf8(GetParam().stored).replace(QStringLiteral("%1"), top.path());
    put(path, *serialiseExerciseFile(file));

    EXPECT_FALSE(readExerciseFile(path));
    ExerciseSet loaded;
    EXPECT_FALSE(loadExerciseSet(path, &loaded));
    const ExerciseSetNames rewrite = namesForRewrite(path);
    EXPECT_NE(rewrite.statement, file.statement);
    EXPECT_EQ(storedNameProblem(folder, rewrite.statement), QString());
    ExerciseSetNames hostile = names;
    hostile.statement = file.statement;
    EXPECT_NE(saveExerciseSet(folder, hostile, set), QString());
    const FolderCheck check = checkExerciseFolder(folder);
    ASSERT_EQ(check.problems.size(), 1) << check.problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(check.problems[0].contains(QStringLiteral("hors du dossier de l'exercice : l'exercice sera refusé")))
        << check.problems[0].toStdString();
    EXPECT_EQ(saveExerciseSet(folder, rewrite, set), QString());
    EXPECT_EQ(readAll(top.filePath(QStringLiteral("victim.txt"))), "{\\rtf1 victime\\par}");
}

const EscapeRow kEscapeRows[] = {
    {"TwoFoldersUp", "..\\..\\victim.txt"},
    {"Absolute", "%1/victim.txt"},
    {"DriveLetter", "C:\\victim.txt"},
    {"LinkLeadingOut", "haut\\victim.txt"},
    {"LinkBackToTheFolderItself", "haut\\cle\\exos"},
};
INSTANTIATE_TEST_SUITE_P(Rows, ExerciseEscape, ::testing::ValuesIn(kEscapeRows), RowName());

} // namespace
