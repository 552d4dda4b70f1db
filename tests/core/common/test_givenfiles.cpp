#include "common/givenfiles.h"
#include "rowname.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{

using Kind = vorlac::GivenFiles::Kind;

struct GivenRow {
    const char *name;
    QStringList arguments;
    Kind kind;
    QString open;
    QStringList refused;
};

void PrintTo(const GivenRow &r, std::ostream *os)
{
    *os << r.name;
}

class GivenFilesSort : public ::testing::TestWithParam<GivenRow>
{
};

TEST_P(GivenFilesSort, OpensTheFirstSituationOrExerciseAndRefusesTheRest)
{
    const GivenRow &row = GetParam();
    const vorlac::GivenFiles given = vorlac::sortGivenFiles(row.arguments, "/home/eleve");
    EXPECT_EQ(int(given.kind), int(row.kind));
    EXPECT_EQ(given.open, row.open);
    EXPECT_EQ(given.refused, row.refused);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GivenFilesSort,
    ::testing::Values(
        GivenRow{"nothing", {}, Kind::None, "", {}},
        GivenRow{"situation", {"/data/DEBUT.P01"}, Kind::Situation, "/data/DEBUT.P01", {}},
        GivenRow{"exercise in lower case", {"/data/td.e01"}, Kind::Exercise, "/data/td.e01", {}},
        GivenRow{"relative to the current folder", {"../prof/./a.p01"}, Kind::Situation, "/home/prof/a.p01", {}},
        GivenRow{"file URL", {"file:///tmp/mes%20essais/b.P01"}, Kind::Situation, "/tmp/mes essais/b.P01", {}},
        GivenRow{"remote URL", {"https://example.org/b.P01"}, Kind::None, "", {"https://example.org/b.P01"}},
        GivenRow{"another kind of file", {"notes.txt"}, Kind::None, "", {"notes.txt"}},
        GivenRow{"extension only inside the name", {"a.P01.bak"}, Kind::None, "", {"a.P01.bak"}},
        GivenRow{"two files", {"a.P01", "b.E01"}, Kind::Situation, "/home/eleve/a.P01", {"b.E01"}},
        GivenRow{"refused before the file",
                 {"--aide", "x.rtf", "c.E01", "d.P01"},
                 Kind::Exercise,
                 "/home/eleve/c.E01",
                 {"--aide", "x.rtf", "d.P01"}}),
    RowName());

// A file of another name, sent by the desktop because its content is a situation; when it is
// not one, the situation after it is opened instead.
struct ContentRow {
    const char *name;
    QByteArray bytes; // the file's content; "fifo": a named pipe, "folder": a folder
    bool opened;
};

void PrintTo(const ContentRow &r, std::ostream *os)
{
    *os << r.name;
}

class GivenFilesContent : public ::testing::TestWithParam<ContentRow>
{
};

TEST_P(GivenFilesContent, OpensASituationWhateverItsName)
{
    const ContentRow &row = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("copie de mesure.bin");
    if (row.bytes == "fifo")
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (row.bytes == "folder")
        ASSERT_TRUE(QDir().mkpath(path));
    else
        writeAll(path, row.bytes);
    const vorlac::GivenFiles given = vorlac::sortGivenFiles({"copie de mesure.bin", "b.P01"}, dir.path());
    EXPECT_EQ(int(given.kind), int(Kind::Situation));
    EXPECT_EQ(given.open, row.opened ? path : dir.filePath("b.P01"));
    EXPECT_EQ(given.refused, QStringList(row.opened ? "b.P01" : "copie de mesure.bin"));
}

const QByteArray kSignature = QByteArray("\x06\x00VORLAC", 8) + QByteArray(120, '\0');

INSTANTIATE_TEST_SUITE_P(Rows, GivenFilesContent,
                         ::testing::Values(ContentRow{"situation", kSignature + QByteArray(400, ' '), true},
                                           ContentRow{"damaged after the signature", kSignature + "x", true},
                                           ContentRow{"signature record cut short", kSignature.left(100), false},
                                           ContentRow{"longer first record",
                                                      QByteArray("\x07\x00VORLACS", 9) + QByteArray(119, '\0'), false},
                                           ContentRow{"text starting with the name", QByteArray("VORLAC").repeated(30),
                                                      false},
                                           ContentRow{"empty", "", false}, ContentRow{"named pipe", "fifo", false},
                                           ContentRow{"folder", "folder", false}),
                         RowName());

} // namespace
