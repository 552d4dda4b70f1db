#include "../../failingdisk.h"
#include "output/printwindow.h"
#include "table/valuetable.h"
#include "ui/dialogwatch.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include <optional>

using namespace vorlac;

namespace
{

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

const QByteArray kPupilPdf = QByteArray("%PDF-1.4 the pupil's graph ") + QByteArray(3000, 'g');

// A machine without a printer: the file dialog gives `names` in turn and the messenger answers
// questions with `answers` in turn, recording what it was asked.
struct PdfJobs {
    QStringList names;
    std::vector<QMessageBox::StandardButton> answers;
    QStringList suggested, questions;
    int critical = 0;
    bool printerInstalled = false;
    QString setupFile; // the PDF name the set-up dialog leaves on the printer
    ValueTable table;

    PrintService service()
    {
        Messenger m;
        m.show = [this](QWidget *, QMessageBox::Icon icon, const QString &, const QString &text,
                        QMessageBox::StandardButtons buttons) {
            if (icon == QMessageBox::Critical) {
                ++critical;
                return QMessageBox::Ok;
            }
            questions << text;
            EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
            return questions.size() <= qsizetype(answers.size()) ? answers[questions.size() - 1] : QMessageBox::No;
        };
        PrintEnvironment env;
        env.hasPrinter = [this] { return printerInstalled; };
        env.setupDialog = env.setupOnlyDialog = [this](QPrinter &p, QWidget *) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(setupFile);
            return true;
        };
        env.pdfFileName = [this](QWidget *, const QString &s) {
            suggested << s;
            return names.size() >= suggested.size() ? names[suggested.size() - 1] : QString();
        };
        env.screenDpiX = env.screenDpiY = [] { return 96.0; };
        return PrintService(m, env);
    }
    PrintSources sources()
    {
        PrintSources s;
        s.figure = [] {
            QImage img(616, 390, QImage::Format_RGB32);
            img.fill(Qt::black);
            // A band of noise keeps the figure's PDF well past the 16 KiB write buffer.
            for (quint32 i = 0, h = 1; i < 616 * 64; ++i, h = h * 1664525u + 1013904223u)
                img.setPixel(int(i % 616), int(i / 616), h >> 8);
            return img;
        };
        s.report = [] {
            return ReportTexts{
                SourceType::Monochromatic, "589", "45", "Verre Crown", "n = 1,516961", "Air", "n = 1,000276", {}};
        };
        table.setRows(14);
        for (int r = 1; r <= 13; ++r)
            table.setCellValue(r, 0, float(r));
        s.table = &table;
        return s;
    }
};

PrintOutcome printWith(PrintService &service, PdfJobs &jobs, bool tablePages)
{
    PrintWindow w(service, jobs.sources());
    if (tablePages)
        w.findChild<QRadioButton *>(QStringLiteral("Option1"))->click();
    return w.printNow();
}

struct OverwriteRow {
    const char *name;
    bool oldFile; // sortie.pdf already holds a pupil's PDF
    QStringList names;
    std::vector<QMessageBox::StandardButton> answers;
    PrintOutcome outcome;
    bool oldKept;
};

void PrintTo(const OverwriteRow &row, std::ostream *os)
{
    *os << row.name;
}

class PdfOverwrite : public ::testing::TestWithParam<OverwriteRow>
{
};

TEST_P(PdfOverwrite, AnExistingFileIsReplacedOnlyAfterOui)
{
    const OverwriteRow &row = GetParam();
    QTemporaryDir dir;
    const QString old = dir.filePath(QStringLiteral("sortie.pdf"));
    if (row.oldFile) {
        ASSERT_TRUE(writeAll(old, kPupilPdf));
    }
    PdfJobs jobs;
    for (const QString &n : row.names)
        jobs.names << (n.isEmpty() ? n : dir.filePath(n));
    jobs.answers = row.answers;
    PrintService service = jobs.service();
    EXPECT_EQ(printWith(service, jobs, false), row.outcome);
    EXPECT_EQ(jobs.suggested.size(), row.names.size());
    EXPECT_EQ(jobs.questions.size(), qsizetype(row.answers.size()));
    for (const QString &q : jobs.questions)
        EXPECT_EQ(q, QStringLiteral("Le fichier %1 existe déjà.\nVoulez-vous le remplacer ?").arg(old));
    if (jobs.suggested.size() > 1) {
        EXPECT_EQ(jobs.suggested[1], old); // "Non" goes back to the refused name
    }
    EXPECT_EQ(readAll(old) == kPupilPdf, row.oldKept);
    if (row.outcome == PrintOutcome::Printed) {
        EXPECT_TRUE(readAll(service.lastPdfFile()).startsWith("%PDF")) << service.lastPdfFile().toStdString();
    }
    EXPECT_EQ(jobs.critical, 0);
}

const OverwriteRow kOverwriteRows[] = {
    {"NewFileAsksNothing", false, {"sortie.pdf"}, {}, PrintOutcome::Printed, false},
    {"OuiReplaces", true, {"sortie.pdf"}, {QMessageBox::Yes}, PrintOutcome::Printed, false},
    {"NonThenCancelKeepsIt", true, {"sortie.pdf", ""}, {QMessageBox::No}, PrintOutcome::Cancelled, true},
    {"NonThenAnotherName", true, {"sortie.pdf", "autre.pdf"}, {QMessageBox::No}, PrintOutcome::Printed, true},
    {"NameWithoutSuffixIsAskedToo", true, {"sortie", ""}, {QMessageBox::No}, PrintOutcome::Cancelled, true},
};

INSTANTIATE_TEST_SUITE_P(Rows, PdfOverwrite, ::testing::ValuesIn(kOverwriteRows),
                         [](const auto &row) { return std::string(row.param.name); });

// The set-up dialog's PDF name is only a suggestion: each later job asks again, and the pupil's
// PDF of that name is not written over unasked.
class SetupFileName : public ::testing::TestWithParam<bool>
{
};

TEST_P(SetupFileName, EveryJobAsksForItsFile)
{
    QTemporaryDir dir;
    PdfJobs jobs;
    jobs.printerInstalled = GetParam();
    jobs.setupFile = dir.filePath(QStringLiteral("eleve.pdf"));
    ASSERT_TRUE(writeAll(jobs.setupFile, kPupilPdf));
    jobs.names = {dir.filePath(QStringLiteral("figure.pdf")), dir.filePath(QStringLiteral("tableau.pdf"))};
    PrintService service = jobs.service();
    ASSERT_TRUE(service.setup(nullptr));
    EXPECT_EQ(printWith(service, jobs, false), PrintOutcome::Printed);
    EXPECT_EQ(printWith(service, jobs, true), PrintOutcome::Printed);
    EXPECT_EQ(jobs.suggested, QStringList({jobs.setupFile, jobs.setupFile}));
    EXPECT_TRUE(readAll(jobs.setupFile) == kPupilPdf);
    EXPECT_TRUE(readAll(jobs.names[1]).startsWith("%PDF"));
}

INSTANTIATE_TEST_SUITE_P(Rows, SetupFileName, ::testing::Bool(),
                         [](const auto &row) { return std::string(row.param ? "WithPrinter" : "NoPrinter"); });

// The real set-up dialog, closed by the test.
class SetupDialogButton : public ::testing::TestWithParam<bool>
{
};

TEST_P(SetupDialogButton, ReadsOkWhereAcceptingPrintsNothing)
{
    const bool setupOnly = GetParam();
    QStringList accepts;
    DialogWatch watch;
    watch.answer<QDialog>("", [&accepts](QDialog *d) {
        for (QDialogButtonBox *box : d->findChildren<QDialogButtonBox *>())
            if (box->window() == d && box->button(QDialogButtonBox::Ok))
                accepts << box->button(QDialogButtonBox::Ok)->text();
        d->reject();
    });
    const PrintEnvironment real;
    QPrinter printer;
    EXPECT_FALSE(setupOnly ? real.setupOnlyDialog(printer, nullptr) : real.setupDialog(printer, nullptr));
    ASSERT_EQ(accepts.size(), 1);
    EXPECT_EQ(accepts[0] == QStringLiteral("OK"), setupOnly) << accepts[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, SetupDialogButton, ::testing::Bool(),
                         [](const auto &row) { return std::string(row.param ? "SetupOnly" : "BeforeAJob"); });

TEST(PrintWindowSetup, ImprimantesOpensTheDialogThatPrintsNothing)
{
    PdfJobs jobs;
    int before = 0, only = 0;
    PrintEnvironment env;
    env.hasPrinter = [] { return false; };
    env.setupDialog = [&](QPrinter &, QWidget *) { return ++before, false; };
    env.setupOnlyDialog = [&](QPrinter &, QWidget *) { return ++only, false; };
    PrintService counted(Messenger{}, env);
    PrintWindow w(counted, jobs.sources());
    w.findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    EXPECT_EQ(only, 1);
    EXPECT_EQ(before, 0);
}

enum class Fault { FileSizeLimit, FullDisk };

struct PdfFaultRow {
    const char *name;
    bool table;
    Fault fault;
    qint64 room; // the file-size limit, or the disk space left free
    bool fits;
};

void PrintTo(const PdfFaultRow &row, std::ostream *os)
{
    *os << row.name;
}

class PdfOnFailingDisk : public ::testing::TestWithParam<PdfFaultRow>
{
};

TEST_P(PdfOnFailingDisk, SaysSoAndKeepsTheEarlierPdf)
{
    const PdfFaultRow &row = GetParam();
    failingdisk::FailingPlace place(row.fault == Fault::FullDisk);
    if (place.unavailable())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const QString pdf = place.filePath(QStringLiteral("graphe.pdf"));
    ASSERT_TRUE(writeAll(pdf, kPupilPdf));
    ASSERT_TRUE(place.prepare(row.room));
    PdfJobs jobs;
    jobs.names = {pdf};
    jobs.answers = {QMessageBox::Yes};
    const auto job = [&] {
        PrintService service = jobs.service();
        return int(printWith(service, jobs, row.table)) * 10 + jobs.critical;
    };
    const int answer = place.run(job, row.room);
    const int printed = int(PrintOutcome::Printed) * 10, failedAndSaid = int(PrintOutcome::Failed) * 10 + 1;
    EXPECT_EQ(answer, row.fits ? printed : failedAndSaid);
    EXPECT_EQ(readAll(pdf) == kPupilPdf, !row.fits) << "size now " << QFileInfo(pdf).size();
    if (row.fits) {
        EXPECT_TRUE(readAll(pdf).startsWith("%PDF-1.4\n"));
    }
}

// The figure's PDF is about 130 KB, past the 16 KiB write buffer; the table's about 7 KB, under it.
const PdfFaultRow kPdfFaultRows[] = {
    {"FigureOverBufferPastLimit", false, Fault::FileSizeLimit, 16384, false},
    {"TableUnderBufferPastLimit", true, Fault::FileSizeLimit, 4096, false},
    {"FigureWithinLimit", false, Fault::FileSizeLimit, 1 << 24, true},
    {"TableWithinLimit", true, Fault::FileSizeLimit, 1 << 24, true},
    {"FigureOverBufferDiskFull", false, Fault::FullDisk, 8192, false},
    {"TableUnderBufferDiskFull", true, Fault::FullDisk, 4096, false},
};

INSTANTIATE_TEST_SUITE_P(Rows, PdfOnFailingDisk, ::testing::ValuesIn(kPdfFaultRows),
                         [](const auto &row) { return std::string(row.param.name); });

} // namespace
