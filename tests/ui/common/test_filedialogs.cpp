#include "vorlacfixture.h"

#include "common/filedialogs.h"
#include "situations/situationbinder.h"
#include "situations/situationnames.h"
#include "window/copymenu.h"

#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QTest>
#include <QTreeView>

#include <sys/stat.h>

using namespace vorlac;

namespace
{

// Runs `open`, which shows a program file dialog, and hands the dialog to `inspect` before
// closing it.
void withFileDialog(const std::function<void()> &open, const std::function<void(QFileDialog &)> &inspect)
{
    DialogWatch watch(std::chrono::seconds(30)); // the types may take long to come
    watch.answer<QFileDialog>("", [&inspect](QFileDialog *d) {
        inspect(*d);
        d->reject();
    });
    open();
}

// One entry beside a pipe nobody writes to (reading it would wait for ever); its bytes would make
// a content sniffer name another type. No bytes: a folder.
struct ListingRow {
    const char *name, *file, *bytes, *type;
};
void PrintTo(const ListingRow &row, std::ostream *os)
{
    *os << row.name;
}

const ListingRow kListingRows[] = {
    {"FolderReadsDossier", "sous-dossier", nullptr, "Dossier"},
    {"PdfBytesWithoutSuffix", "releve", "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n", "Fichier"},
    {"PngBytesNamedPdfInCapitals", "SCHEMA.PDF", "\x89PNG\r\n\x1a\n", "Document PDF"},
    {"UnknownSuffix", "mesures.xyz", "<?xml version=\"1.0\"?><svg/>", "Fichier XYZ"},
};

class FileDialogListing : public ::testing::TestWithParam<ListingRow>
{
};

TEST_P(FileDialogListing, NamesTypesFromNamesInFrenchAndCutsNoColumn)
{
    const ListingRow &row = GetParam();
    QTemporaryDir dir;
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("tube")).constData(), 0600), 0);
    QFile file(dir.filePath(row.file));
    ASSERT_TRUE(row.bytes ? file.open(QIODevice::WriteOnly) && file.write(row.bytes) > 0
                          : QDir(dir.path()).mkdir(row.file));
    file.close();
    QString type;
    QStringList titles, cut;
    withFileDialog(
        [&] {
            askForFile(nullptr, {"Exporter", dir.path(), "essai.png", {"Tous les fichiers (*)"}});
        },
        [&](QFileDialog &d) {
            auto *tree = d.findChild<QTreeView *>("treeView");
            const QAbstractItemModel *model = tree->model();
            const QModelIndex root = tree->rootIndex();
            const auto entryType = [&] {
                for (int r = 0; r < model->rowCount(root); ++r)
                    if (model->index(r, 0, root).data().toString() == row.file)
                        return model->index(r, 2, root).data().toString();
                return QString();
            };
            EXPECT_TRUE(QTest::qWaitFor([&] { return !entryType().isEmpty(); }, 20000));
            type = entryType();
            for (int c = 0; c < 4; ++c) {
                titles << model->headerData(c, Qt::Horizontal).toString();
                const int needed = std::max(static_cast<QAbstractItemView *>(tree)->sizeHintForColumn(c),
                                            tree->header()->sectionSizeHint(c));
                if (needed > tree->header()->sectionSize(c))
                    cut << titles.back();
            }
        });
    EXPECT_EQ(type, QString::fromUtf8(row.type));
    EXPECT_EQ(titles, QStringList({"Nom", "Taille", "Type", "Date de modification"}));
    EXPECT_EQ(cut, QStringList());
}

INSTANTIATE_TEST_SUITE_P(Rows, FileDialogListing, ::testing::ValuesIn(kListingRows),
                         [](const auto &row) { return std::string(row.param.name); });

// The main window's export starts beside the situation, else in the documents.
class ExportStartFolder : public VorlacFixture, public ::testing::WithParamInterface<bool>
{
};

TEST_P(ExportStartFolder, IsTheSituationsFolder)
{
    const bool situation = GetParam();
    if (situation)
        window().situations().setSituationFileName(dir.filePath("essai.P01"));
    QString offered;
    withFileDialog([&] { window().copyMenu().figureExportAction()->trigger(); },
                   [&](QFileDialog &d) { offered = d.selectedFiles().value(0); });
    EXPECT_EQ(offered, QDir(situation ? dir.path() : documentsFolder()).filePath("schema.png"));
}

INSTANTIATE_TEST_SUITE_P(Rows, ExportStartFolder, ::testing::Bool(),
                         [](const auto &row) { return std::string(row.param ? "WithSituation" : "WithoutSituation"); });

} // namespace
