#include "common/recordfile.h"
#include "exercises/exercisefile.h"
#include "exercises/exercisetext.h"
#include "rtf/rtf.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/stat.h>

using namespace vorlac;

namespace
{

struct DifficultyRow {
    const char *name, *text;
    int lit;
};

// The row's name in a failure message.
[[maybe_unused]] void PrintTo(const DifficultyRow &row, std::ostream *os)
{
    *os << row.name;
}

class Difficulty : public ::testing::TestWithParam<DifficultyRow>
{
};

TEST_P(Difficulty, LightsPicturesWithoutFailing)
{
    ExerciseFile e;
    e.difficulty = QString::fromUtf8(GetParam().text);
    EXPECT_EQ(e.litPictures(), GetParam().lit);
}

INSTANTIATE_TEST_SUITE_P(Texts, Difficulty,
                         ::testing::Values(DifficultyRow{"one", "1", 1}, DifficultyRow{"three", "3", 3},
                                           DifficultyRow{"decimal", "2.7", 3}, DifficultyRow{"blanks", "  2 ", 2},
                                           DifficultyRow{"words_after", "2 étoiles", 2},
                                           DifficultyRow{"letters", "abc", 0}, DifficultyRow{"empty", "", 0},
                                           DifficultyRow{"zero", "0", 0}, DifficultyRow{"negative", "-1", 0},
                                           DifficultyRow{"overflow", "1E999", 0}, DifficultyRow{"huge", "1E300", 3},
                                           DifficultyRow{"comma", "2,5", 2}),
                         [](const auto &row) { return std::string(row.param.name); });

QByteArray records(std::initializer_list<QString> texts)
{
    RecordWriter w;
    for (const QString &t : texts)
        w.append(t);
    return w.bytes();
}

TEST(ExerciseFile, RecordsCorrectionAndNotions)
{
    const ExerciseFile written{"a.rtf", "a.P01", "", "  ", "2", "x", {"Réfraction; ", " ", "", "déviation"}, " Titre "};
    const auto parsed = parseExerciseFile(*serialiseExerciseFile(written));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->notions, written.notions);
    EXPECT_EQ(parsed->title, written.title);
    EXPECT_FALSE(parsed->corrected()) << "records 3 and 4 blank";
    EXPECT_EQ(parsed->notionsText(), "Réfraction; déviation");

    struct Row {
        const char *name;
        QByteArray bytes;
        bool readable, corrected;
    } rows[] = {
        {"correction text only", records({"a", "", "c.rtf"}), true, true},
        {"correction situation only", records({"a", "", "", "c.P01"}), true, true},
        {"two records (getting started)", records({"a", "b"}), true, false},
        {"empty", QByteArray(), false, false},
        {"cut inside a record", records({"a", "b"}).left(200), false, false},
        {"length over 126", QByteArray("\xff\x00", 2) + QByteArray(126, 'x'), false, false},
        {"long file: only 11 records read",
         records({"a", "", "", "", "", "", "", "", "", "", "t"}) + QByteArray(100000, '\xff'), true, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const auto e = parseExerciseFile(row.bytes);
        ASSERT_EQ(e.has_value(), row.readable);
        if (e) {
            EXPECT_EQ(e->corrected(), row.corrected);
        }
    }
    EXPECT_FALSE(serialiseExerciseFile({QString(127, 'x'), "", "", "", "", "", {}, ""})) << "a name too long";
}

TEST(ExerciseFile, NamesResolveAgainstTheFolder)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("Textes/Sous");
    for (const char *f : {"Textes/Sous/Enonce.RTF", "exact.rtf", "EXACT.RTF"}) {
        QFile file(dir.filePath(f));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString folder = dir.path() + "/";
    struct Row {
        const char *stored, *expected;
    } rows[] = {
        {"textes\\sous\\enonce.rtf", "Textes/Sous/Enonce.RTF"}, // case differs at every level
        {"Textes\\Sous\\Enonce.RTF", "Textes/Sous/Enonce.RTF"},
        {"exact.rtf", "exact.rtf"}, // the exact name wins over a case match
        {" EXACT.RTF ", "EXACT.RTF"},
        {"textes\\absent.rtf", "textes/absent.rtf"}, // missing: the exact path, for the message
    };
    for (const Row &row : rows)
        EXPECT_EQ(resolveExerciseName(folder, row.stored), folder + row.expected) << row.stored;

    // Names that lead outside the folder resolve to nothing, even where the file exists.
    ASSERT_TRUE(QFile::link(QDir::tempPath(), dir.filePath("Textes/dehors")));
    ASSERT_TRUE(QFile::link(dir.filePath("nulle-part"), dir.filePath("perdu.rtf")));
    ASSERT_TRUE(QFile::link("Sous/Enonce.RTF", dir.filePath("Textes/lien.rtf")));
    const struct {
        const char *name, *stored;
        bool inside;
    } hostile[] = {
        {"parent", "..\\..\\victim.txt", false},    {"parent inside", "Textes\\..\\exact.rtf", false},
        {"absolute", "/etc/hostname", false},       {"network", "\\\\serveur\\partage\\a.rtf", false},
        {"drive", "C:\\victim.txt", false},         {"drive relative", "c:victim.txt", false},
        {"windows dots", ".. \\victim.txt", false}, {"link out", "Textes\\dehors\\x.rtf", false},
        {"dangling link", "perdu.rtf", false},      {"control", "exact\x01.rtf", false},
        {"link inside", "Textes\\lien.rtf", true},
    };
    for (const auto &row : hostile) {
        EXPECT_EQ(resolveExerciseName(folder, row.stored).isEmpty(), !row.inside) << row.name;
        EXPECT_EQ(storedNameProblem(folder, row.stored).isEmpty(), row.inside) << row.name;
    }
}

// Nothing that is not a regular file of a sane size is read: no blocking, no exhaustion, and
// the document untouched.
TEST(ExerciseText, HostileFilesAreRefusedWithoutTouchingTheDocument)
{
    QTemporaryDir dir;
    ASSERT_EQ(mkfifo(dir.filePath("tube").toLocal8Bit().constData(), 0600), 0);
    QFile huge(dir.filePath("huge.rtf"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(kRtfMaxBytes + 1)); // sparse
    huge.close();
    QFile notRtf(dir.filePath("texte.rtf"));
    ASSERT_TRUE(notRtf.open(QIODevice::WriteOnly));
    notRtf.write("bonjour");
    notRtf.close();
    struct Row {
        QString path;
        TextFileStatus status;
    } rows[] = {
        {dir.filePath("absent.rtf"), TextFileStatus::Missing},
        {dir.filePath("tube"), TextFileStatus::Unreadable},
        {dir.path(), TextFileStatus::Unreadable},
        {"/dev/zero", TextFileStatus::Unreadable},
        {dir.filePath("huge.rtf"), TextFileStatus::Unreadable},
        {dir.filePath("texte.rtf"), TextFileStatus::Unreadable},
    };
    for (const Row &row : rows) {
        QTextDocument document;
        document.setPlainText("avant");
        EXPECT_EQ(readRtfFile(row.path, document), row.status) << row.path.toStdString();
        EXPECT_EQ(document.toPlainText(), "avant");
    }
    EXPECT_FALSE(readExerciseFile(dir.filePath("tube")));
    EXPECT_FALSE(readExerciseFile(dir.path()));
}

} // namespace
