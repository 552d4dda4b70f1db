#include "../../core/output/pdfprobe.h"
#include "common/updown.h"
#include "output/outputcommands.h"
#include "table/valuetable.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace vorlac;

namespace
{

struct Said {
    QString title, text;
};

// A printer-less machine whose file dialog answers `file`, and a messenger that records.
struct Fixture {
    QTemporaryDir dir;
    QString file = dir.filePath("sortie.pdf");
    std::vector<Said> said;
    int fileAsked = 0;
    Messenger messenger;
    PrintEnvironment env;
    ValueTable table;
    Fixture()
    {
        messenger.show = [this](QWidget *, QMessageBox::Icon, const QString &t, const QString &x,
                                QMessageBox::StandardButtons) {
            said.push_back({t, x});
            return QMessageBox::Ok;
        };
        env.hasPrinter = [] { return false; };
        env.setupDialog = env.setupOnlyDialog = [](QPrinter &, QWidget *) { return false; };
        env.pdfFileName = [this](QWidget *, const QString &) {
            ++fileAsked;
            return file;
        };
        env.screenDpiX = env.screenDpiY = [] { return 96.0; };
        table.setLocale(QLocale(QLocale::French, QLocale::France));
    }
    PrintSources sources(bool *frame2Shown = nullptr, PrintWindow **window = nullptr)
    {
        PrintSources s;
        s.figure = [=] {
            if (frame2Shown && window && *window)
                *frame2Shown = (*window)->findChild<QFrame *>("Frame2")->isVisibleTo(*window);
            QImage img(616, 390, QImage::Format_RGB32);
            img.fill(Qt::black);
            return img;
        };
        s.report = [] {
            return ReportTexts{
                SourceType::Monochromatic, "589", "45", "Verre Crown", "n = 1,516961", "Air", "n = 1,000276", {}};
        };
        s.table = &table;
        return s;
    }
};

template <typename T> T *child(QWidget &w, const char *name)
{
    T *c = w.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

} // namespace

TEST(PrintWindow, StartsWithTheFigureAndItsOptions)
{
    Fixture f;
    PrintService service(f.messenger, f.env);
    PrintWindow w(service, f.sources());
    EXPECT_EQ(w.windowTitle(), "Imprimer");
    EXPECT_TRUE(child<QRadioButton>(w, "Option2")->isChecked());
    const bool marks[4] = {true, false, true, false};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(child<QCheckBox>(w, QStringLiteral("Chec(%1)").arg(i).toLatin1())->isChecked(), marks[i]);
    EXPECT_FALSE(child<QFrame>(w, "Frame2")->isVisibleTo(&w));
    EXPECT_EQ(child<QLabel>(w, "Label1")->text(), "Veuillez patienter quelques instants...");
    EXPECT_EQ(child<QLineEdit>(w, "defaut")->text(), "Aucune imprimante (fichier PDF)");
    auto *up = child<UpDown>(w, "UpDown1");
    EXPECT_EQ(up->minimum(), 1);
    EXPECT_EQ(up->maximum(), 40);
    up->setValue(99);
    EXPECT_EQ(child<QLabel>(w, "Label4")->text(), "40");
}

// Placed at load, before it has a frame: a placement made once it is shown put its inside
// where its frame belongs, and "&Imprimantes" then moved it by the height of its title bar.
TEST(PrintWindow, PlacedAtLoadAndKeptThereByThePrinterSetUp)
{
    Fixture f;
    PrintService service(f.messenger, f.env);
    QWidget owner;
    owner.setGeometry(100, 60, 800, 600);
    owner.show();
    PrintWindow w(service, f.sources(), &owner);
    const QPoint placed(owner.frameGeometry().left() + (owner.frameGeometry().width() - w.width()) / 2,
                        owner.frameGeometry().top() + 20);
    EXPECT_EQ(w.pos(), placed);
    w.show();
    const QPoint shown = w.frameGeometry().topLeft();
    child<QPushButton>(w, "Command2")->click();
    EXPECT_EQ(w.frameGeometry().topLeft(), shown);
    EXPECT_EQ(shown, placed);
}

TEST(PrintWindow, TableChoiceGreysTheFourOptionsAndKeepsTheirMarks)
{
    Fixture f;
    PrintService service(f.messenger, f.env);
    PrintWindow w(service, f.sources());
    child<QRadioButton>(w, "Option1")->click();
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(child<QCheckBox>(w, QStringLiteral("Chec(%1)").arg(i).toLatin1())->isEnabled());
    child<QRadioButton>(w, "Option2")->click();
    const bool marks[4] = {true, false, true, false};
    for (int i = 0; i < 4; ++i) {
        auto *c = child<QCheckBox>(w, QStringLiteral("Chec(%1)").arg(i).toLatin1());
        EXPECT_TRUE(c->isEnabled());
        EXPECT_EQ(c->isChecked(), marks[i]);
    }
}

TEST(PrintWindow, CopiesOfTheFigureGoToOnePdfWhileTheWaitingMessageShows)
{
    Fixture f;
    PrintService service(f.messenger, f.env);
    bool frame2Shown = false;
    PrintWindow *self = nullptr;
    PrintWindow w(service, f.sources(&frame2Shown, &self));
    self = &w;
    child<UpDown>(w, "UpDown1")->setValue(3);
    EXPECT_EQ(w.printNow(), PrintOutcome::Printed);
    EXPECT_TRUE(frame2Shown);
    EXPECT_EQ(f.fileAsked, 1);
    EXPECT_EQ(service.lastPdfFile(), f.file);
    EXPECT_EQ(pdfprobe::pageCount(f.file), 3);
    EXPECT_TRUE(f.said.empty());
    const QStringList page3 = pdfprobe::lines(pdfprobe::words(f.file), 3);
    EXPECT_EQ(page3.value(0), "Source lumineuse: monochromatique (longueur d'onde dans le vide 589 nm).");
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST(PrintWindow, TableOfHundredLinesIsTwoPages)
{
    Fixture f;
    f.table.setRows(101);
    PrintService service(f.messenger, f.env);
    PrintWindow w(service, f.sources());
    child<QRadioButton>(w, "Option1")->click();
    EXPECT_EQ(w.printNow(), PrintOutcome::Printed);
    EXPECT_EQ(pdfprobe::pageCount(f.file), 2);
}

TEST(PrintWindow, CancelledFileChoicePrintsNothingAndKeepsTheWindow)
{
    Fixture f;
    f.env.pdfFileName = [](QWidget *, const QString &) { return QString(); };
    PrintService service(f.messenger, f.env);
    PrintWindow w(service, f.sources());
    EXPECT_EQ(w.printNow(), PrintOutcome::Cancelled);
    EXPECT_FALSE(QFile::exists(f.file));
    EXPECT_TRUE(f.said.empty());
    EXPECT_TRUE(child<QPushButton>(w, "Command1")->isVisibleTo(&w));
}

TEST(PrintWindow, UnwritableFileIsReportedAndNothingClaimsSuccess)
{
    Fixture f;
    f.file = f.dir.filePath("absent/sortie.pdf");
    PrintService service(f.messenger, f.env);
    PrintWindow w(service, f.sources());
    EXPECT_EQ(w.printNow(), PrintOutcome::Failed);
    ASSERT_EQ(f.said.size(), 1u);
    EXPECT_EQ(f.said[0].title, "Imprimer");
    EXPECT_TRUE(f.said[0].text.contains("n'a pas pu"));
    EXPECT_TRUE(child<QPushButton>(w, "Command1")->isVisibleTo(&w));
    EXPECT_FALSE(child<QFrame>(w, "Frame2")->isVisibleTo(&w));
    EXPECT_NE(w.result(), QDialog::Accepted);
}

TEST(PrintService, FailedDrawingLeavesNoFileAndSaysSo)
{
    Fixture f;
    PrintService service(f.messenger, f.env);
    EXPECT_EQ(service.print(nullptr, "Vorlac", [](PrintPages &) { return false; }), PrintOutcome::Failed);
    EXPECT_FALSE(QFile::exists(f.file));
    EXPECT_EQ(f.said.size(), 1u);
    EXPECT_TRUE(PrintService::defaultPdfPath().endsWith("/Vorlac.pdf"));
}

// A file name chosen without an extension gets ".pdf"; a dot in a folder name is no extension.
TEST(PrintService, PdfNameWithoutExtensionIsCompleted)
{
    const struct {
        const char *chosen, *written;
    } rows[] = {{"rapport", "rapport.pdf"}, {"rapport.pdf", "rapport.pdf"}, {"v1.2/rapport", "v1.2/rapport.pdf"}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.chosen);
        Fixture f;
        ASSERT_TRUE(QDir(f.dir.path()).mkpath("v1.2"));
        f.file = f.dir.filePath(row.chosen);
        PrintService service(f.messenger, f.env);
        EXPECT_EQ(service.print(nullptr, "Vorlac", [](PrintPages &) { return true; }), PrintOutcome::Printed);
        EXPECT_EQ(service.lastPdfFile(), f.dir.filePath(row.written));
        EXPECT_EQ(pdfprobe::pageCount(f.dir.filePath(row.written)), 1);
    }
}

TEST(Clipboard, CopiesRoundTripAndConfirmOnlyWhenThere)
{
    Fixture f;
    f.table.setRows(3);
    f.table.setCellValue(2, 1, 2.5f);
    f.table.setActiveCell(2, 1);
    QString info;
    OutputCommands::Sources s{f.sources(), [&](const QString &t) { info = t; }, "copié"};
    OutputCommands out(s, f.messenger, f.env);

    EXPECT_TRUE(out.copyTableText(nullptr));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "C1\tC2\tC3\tC4\tC5\tC6\tC7\n\t\t\t\t\t\t\n\t2,500\t\t\t\t\t");
    EXPECT_TRUE(info.startsWith("Le contenu du tableau est copié en texte")) << "text, not a picture";
    EXPECT_EQ(f.table.Row(), 2); // the active cell stays on its data line
    EXPECT_EQ(f.table.Col(), 1);

    info.clear();
    EXPECT_TRUE(out.copyTablePicture(nullptr)); // no grid widget exists at all here
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(386, 49));
    EXPECT_EQ(info, "copié");

    info.clear();
    EXPECT_TRUE(out.copyFigure(nullptr));
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), f.sources().figure());
    EXPECT_EQ(info, "copié");
    EXPECT_TRUE(f.said.empty());

    ClipboardPort broken{[](const QImage &) { return false; }, [](const QString &) { return false; }};
    OutputCommands failing(s, f.messenger, f.env, broken);
    info.clear();
    EXPECT_FALSE(failing.copyFigure(nullptr));
    EXPECT_FALSE(failing.copyTableText(nullptr));
    EXPECT_TRUE(info.isEmpty());
    EXPECT_EQ(f.said.size(), 2u);
}
