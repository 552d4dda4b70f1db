#include "common/dialogfolders.h"
#include "situations/situationnames.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vorlac;

namespace
{

// What the run knows (a file of kind `used` was written in "dernier", -1 none, which may be gone
// since) and where the dialog of `kind` opens ("" for the documents folder).
struct FolderRow {
    const char *name;
    FileKind kind;
    int used;
    bool situation, exercise, usedGone;
    const char *expected;
};
void PrintTo(const FolderRow &row, std::ostream *os)
{
    *os << row.name;
}

const FolderRow kFolderRows[] = {
    {"NothingKnownGivesDocuments", FileKind::Picture, -1, false, false, false, ""},
    {"ExerciseFolderForTexts", FileKind::ExerciseText, -1, true, true, false, "exercice"},
    {"LastPdfFolderWins", FileKind::Pdf, int(FileKind::Pdf), true, true, false, "dernier"},
    {"AnotherKindsFolderIsNotUsed", FileKind::Table, int(FileKind::Picture), false, true, false, "exercice"},
    {"RemovedFolderFallsBack", FileKind::Picture, int(FileKind::Picture), false, false, true, ""},
};

class StartFolder : public ::testing::TestWithParam<FolderRow>
{
};

TEST_P(StartFolder, ComesFromTheRunThenTheWorkThenTheDocuments)
{
    const FolderRow &row = GetParam();
    QTemporaryDir dir;
    for (const char *sub : {"dernier", "situation", "exercice"})
        ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromLatin1(sub)));
    DialogFolders folders;
    folders.setWork({[&] { return row.situation ? dir.filePath("situation/s.P01") : QString(); },
                     [&] { return row.exercise ? dir.filePath("exercice") + "/" : QString(); }});
    if (row.used >= 0)
        folders.remember(FileKind(row.used), dir.filePath("dernier/fichier"));
    if (row.usedGone)
        QDir(dir.filePath("dernier")).removeRecursively();
    const QString expected = *row.expected ? dir.filePath(QString::fromLatin1(row.expected)) : documentsFolder();
    EXPECT_EQ(folders.suggestedPath(row.kind, "Vorlac.pdf"), expected + "/Vorlac.pdf");
}

INSTANTIATE_TEST_SUITE_P(Rows, StartFolder, ::testing::ValuesIn(kFolderRows),
                         [](const auto &row) { return std::string(row.param.name); });

} // namespace
