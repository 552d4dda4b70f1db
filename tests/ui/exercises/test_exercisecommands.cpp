#include "vorlacfixture.h"

#include "../../core/output/pdfprobe.h"
#include "exercises/exercisearea.h"
#include "exercises/exercisecommands.h"
#include "exercises/exercisefile.h"
#include "exercises/exercisetext.h"
#include "exercises/fichexo.h"
#include "output/printservice.h"
#include "scene/scenecontroller.h"
#include "situations/folderbrowser.h"
#include "situations/situationfile.h"
#include "situations/situationnames.h"

#include "rowname.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTextFrame>
#include <QToolButton>
#include <sys/stat.h>

using namespace vorlac;

namespace
{

void writeText(const QString &path, const QString &text)
{
    QTextDocument document;
    document.setPlainText(text);
    ASSERT_TRUE(writeRtfFile(path, document)) << path.toStdString();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A folder with one corrected exercise (apex 60 in the statement, 30 in the correction), one
// without correction or situation, and texts kept in a subfolder named with "\".
class ExerciseCommandsTest : public VorlacFixture
{
  protected:
    void SetUp() override
    {
        VorlacFixture::SetUp();
        QDir(dir.path()).mkdir("textes");
        writeText(path("textes/ENONCE.RTF"), "Mesurer l'angle de déviation.");
        writeText(path("textes/CORRIGE.RTF"), "D = 37,2°");
        Situation statement, correction;
        statement.scene.apexAngle = 60;
        correction.scene.apexAngle = 30;
        ASSERT_TRUE(writeSituationFile(path("textes/ENONCE.P01"), statement));
        ASSERT_TRUE(writeSituationFile(path("textes/CORRIGE.P01"), correction));
        ExerciseFile full{"textes\\enonce.rtf",
                          "textes\\ENONCE.P01",
                          "textes\\CORRIGE.RTF",
                          "textes\\CORRIGE.P01",
                          "2",
                          "",
                          {"Réfraction; ", "", "déviation", ""},
                          "  Le prisme  "};
        writeBytes(path("A.E01"), *serialiseExerciseFile(full));
        ExerciseFile bare{"textes\\ENONCE.RTF", " ", "", "  ", "abc", "", {"", "", "", ""}, "Sans corrigé"};
        writeBytes(path("B.E01"), *serialiseExerciseFile(bare));

        PrintEnvironment printEnv;
        printEnv.hasPrinter = [] { return false; };
        printEnv.pdfFileName = [this](QWidget *, const QString &) { return path("texte.pdf"); };
        printEnv.screenDpiX = printEnv.screenDpiY = [] { return 96.0; };
        print = std::make_unique<PrintService>(window().messenger(), printEnv);

        ExerciseEnvironment env;
        env.saveTextName = [this](QWidget *, const QString &folder) { return textFolder = folder, saveName; };
        env.openTextName = [this](QWidget *, const QString &folder) { return textFolder = folder, openName; };
        env.showFichexo = [this](Fichexo &w) {
            w.show();
            if (driveFichexo)
                driveFichexo(w);
            w.close();
        };
        ExerciseCommands::Parts parts;
        parts.area = &area();
        parts.situations = &window().situations();
        parts.print = print.get();
        parts.window = &window();
        parts.programDirectory = dir.path() + "/";
        parts.hidePanels = [this] { ++panelsHidden; };
        commands = std::make_unique<ExerciseCommands>(std::move(parts), window().messenger(), env);
    }

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    ExerciseArea &area() { return window().exercises(); }
    QString text() { return area().text()->toPlainText(); }
    int apex() { return window().scene().apexAngle; }

    // Opens an exercise through the window, as the pupil does.
    void openThroughWindow(const char *file)
    {
        driveFichexo = [this, file](Fichexo &w) {
            w.fileField()->setText(path(file));
            w.apercu();
            w.openSelected();
        };
        commands->openexo();
    }
    void typeAnswer()
    {
        area().text()->moveCursor(QTextCursor::End);
        area().text()->insertPlainText("réponse");
        ASSERT_EQ(area().session().exerciseTextModified(), true);
    }

    std::unique_ptr<PrintService> print;
    std::unique_ptr<ExerciseCommands> commands;
    std::function<void(Fichexo &)> driveFichexo;
    QString saveName, openName, textFolder;
    int panelsHidden = 0;
};

TEST_F(ExerciseCommandsTest, OpeningShowsStatementAndSituationAsALoadNotAnEdit)
{
    openThroughWindow("A.E01");
    EXPECT_EQ(text(), "Mesurer l'angle de déviation.");
    EXPECT_FALSE(area().text()->isReadOnly());
    EXPECT_EQ(area().fileField()->text(), path("A.E01"));
    EXPECT_EQ(area().session().correctionAvailable(), true);
    EXPECT_EQ(area().session().exerciseTextModified(), false);
    EXPECT_EQ(apex(), 60);
    EXPECT_EQ(panelsHidden, 1);
    EXPECT_FALSE(area().text()->document()->isUndoAvailable()) << "Ctrl+Z would bring the introduction back";
    EXPECT_TRUE(messages.empty());
    typeAnswer();

    answers = {QMessageBox::Ok};
    commands->opencor();
    EXPECT_EQ(text(), "D = 37,2°");
    EXPECT_TRUE(area().text()->isReadOnly());
    EXPECT_EQ(apex(), 30);
    EXPECT_EQ(area().session().exerciseTextModified(), false);

    commands->Closexo();
    EXPECT_TRUE(area().fileField()->text().isEmpty());
    EXPECT_TRUE(text().startsWith("Vorlac"));
    EXPECT_EQ(area().session().correctionAvailable(), false);
    EXPECT_EQ(apex(), 30) << "closing leaves the situation";
}

TEST_F(ExerciseCommandsTest, UncorrectedExerciseWithoutSituation)
{
    openThroughWindow("B.E01");
    EXPECT_EQ(area().session().correctionAvailable(), false);
    EXPECT_EQ(apex(), 45);
    area().openMenu();
    EXPECT_FALSE(area().menuAction("opencor")->isEnabled());
    EXPECT_TRUE(area().menuAction("Closexo")->isEnabled());
    area().menu()->hide();
}

// Every command that replaces the text asks first; Cancel changes nothing at all.
class LostEdits : public ExerciseCommandsTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(LostEdits, CancelKeepsTextNameAndFlags)
{
    openThroughWindow("A.E01");
    typeAnswer();
    const QString before = text();
    messages.clear();
    answers = {QMessageBox::Cancel};
    openName = path("textes/CORRIGE.RTF");
    const std::string command = GetParam();
    if (command == "openexo")
        commands->openexo();
    else if (command == "opencor")
        commands->opencor();
    else if (command == "opentexte")
        commands->opentexte();
    else if (command == "Closexo")
        commands->Closexo();
    else {
        writeBytes(path("VORLAC.PEM"), *serialiseExerciseFile({"textes\\CORRIGE.RTF", "", "", "", "", "", {}, ""}));
        commands->PRISENMAIN();
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Abandon des données?");
    EXPECT_EQ(messages[0].text, "Attention: perte des modifications du texte.");
    EXPECT_EQ(text(), before);
    EXPECT_EQ(area().fileField()->text(), path("A.E01"));
    EXPECT_EQ(area().session().exerciseTextModified(), true);
    EXPECT_EQ(area().session().correctionAvailable(), true);
}

INSTANTIATE_TEST_SUITE_P(Commands, LostEdits,
                         ::testing::Values("openexo", "opencor", "opentexte", "Closexo", "PRISENMAIN"),
                         [](const auto &row) { return std::string(row.param); });

// "Ouvrir un exercice" opens on the program directory whatever was opened before; the text
// dialogs start in the open exercise's folder, else in the documents.
class ExerciseFolders : public ExerciseCommandsTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(ExerciseFolders, WindowOnTheProgramDirectoryTextsBesideTheExercise)
{
    const QString opened = QString::fromUtf8(GetParam()).replace('_', '/');
    ASSERT_TRUE(QDir(dir.path()).mkpath("autres/textes"));
    ASSERT_TRUE(QFile::copy(path("textes/ENONCE.RTF"), path("autres/textes/ENONCE.RTF")));
    writeBytes(path("autres/C.E01"), *serialiseExerciseFile({"textes\\ENONCE.RTF", "", "", "", "1", "", {}, "C"}));
    if (opened != "Rien")
        openThroughWindow(qPrintable(opened));
    QString shown;
    driveFichexo = [&](Fichexo &w) { shown = w.browser()->folder(); };
    commands->openexo();
    EXPECT_EQ(QDir::cleanPath(shown), QDir::cleanPath(dir.path()));
    commands->savetexte();
    EXPECT_EQ(textFolder, opened == "Rien" ? documentsFolder() : QFileInfo(path(qPrintable(opened))).absolutePath());
}

INSTANTIATE_TEST_SUITE_P(Rows, ExerciseFolders, ::testing::Values("Rien", "A.E01", "autres_C.E01"), RowName());

// A cancel or a failure after the question keeps the edited flag: the text was not replaced.
TEST_F(ExerciseCommandsTest, FlagSurvivesEveryWayOutThatKeepsTheText)
{
    openThroughWindow("A.E01");
    typeAnswer();
    struct Row {
        const char *name;
        std::function<void()> run;
    } rows[] = {
        {"exercise window closed by Image5",
         [this] {
             driveFichexo = [](Fichexo &w) { w.findChild<QToolButton *>("Image5")->click(); };
             commands->openexo();
         }},
        {"open dialog cancelled",
         [this] {
             openName.clear();
             commands->opentexte();
         }},
        {"text that is not RTF",
         [this] {
             writeBytes(path("faux.rtf"), "pas du RTF");
             openName = path("faux.rtf");
             commands->opentexte();
         }},
        {"statement missing",
         [this] {
             writeBytes(path("C.E01"),
                        *serialiseExerciseFile({"absent.rtf", "textes\\CORRIGE.P01", "", "", "1", "", {}, "C"}));
             openThroughWindow("C.E01");
         }},
        {"save failing",
         [this] {
             saveName = path("nulle/part/x.RTF");
             commands->savetexte();
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        messages.clear();
        answers = {QMessageBox::Ok};
        row.run();
        EXPECT_EQ(area().session().exerciseTextModified(), true);
        EXPECT_TRUE(text().endsWith("réponse"));
        EXPECT_EQ(area().fileField()->text(), path("A.E01"));
        EXPECT_EQ(apex(), 60) << "a failed statement does not load its situation";
    }
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().title, "Erreur d'écriture.");
}

TEST_F(ExerciseCommandsTest, FailureMessages)
{
    writeBytes(path("C.E01"), *serialiseExerciseFile({"absent.rtf", "", "", "", "1", "", {}, "C"}));
    writeBytes(path("D.E01"), QByteArray(300, 'x'));
    ASSERT_EQ(mkfifo(path("tube.rtf").toLocal8Bit().constData(), 0600), 0);
    writeBytes(path("E.E01"), *serialiseExerciseFile({"tube.rtf", "", "", "", "1", "", {}, "E"}));
    writeBytes(path("F.E01"), *serialiseExerciseFile({"..\\..\\victim.txt", "", "", "", "1", "", {}, "F"}));
    struct Row {
        const char *file, *title, *text;
    } rows[] = {
        {"C.E01", "Fichier absent", "/absent.rtf est introuvable"},
        {"D.E01", "Lecture impossible", "Vérifier:\r\n- le nom du fichier,\r\n- l'état du lecteur."},
        {"E.E01", "Lecture impossible", "- l'état du lecteur."},
        {"F.E01", "Lecture impossible", "Vérifier:\r\n- le nom du fichier,\r\n- l'état du lecteur."},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.file);
        messages.clear();
        EXPECT_FALSE(commands->openExerciseFile(path(row.file)));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, row.title);
        EXPECT_TRUE(messages[0].text.endsWith(row.text)) << messages[0].text.toStdString();
        EXPECT_TRUE(area().fileField()->text().isEmpty());
    }
}

TEST_F(ExerciseCommandsTest, SaveReopenAndPrintTheAnsweredText)
{
    openThroughWindow("A.E01");
    typeAnswer();
    saveName = path("copie.RTF");
    commands->savetexte();
    EXPECT_EQ(area().session().exerciseTextModified(), false);
    const QByteArray saved = readBytes(saveName);

    // Saving over it asks; Cancel leaves the file alone.
    typeAnswer();
    answers = {QMessageBox::Cancel};
    commands->savetexte();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Ecraser le fichier?");
    EXPECT_EQ(messages[0].text, "Le fichier " + saveName + " existe déjà.\r\nEcraser l'ancien?");
    EXPECT_EQ(readBytes(saveName), saved);

    commands->Closexo(); // answered OK
    openName = saveName;
    commands->opentexte();
    EXPECT_EQ(text(), "Mesurer l'angle de déviation.réponse");
    EXPECT_EQ(area().fileField()->text(), "Texte: " + saveName);
    EXPECT_FALSE(area().text()->isReadOnly());
    EXPECT_EQ(area().session().correctionAvailable(), false);

    commands->imprimetexte();
    const QString pdf = pdfprobe::run("pdftotext", {path("texte.pdf"), "-"});
    EXPECT_TRUE(pdf.contains("Mesurer l'angle de déviation.réponse")) << pdf.toStdString();
}

TEST_F(ExerciseCommandsTest, GettingStarted)
{
    commands->PRISENMAIN();
    EXPECT_TRUE(messages.empty()) << "no VORLAC.PEM: nothing happens";
    EXPECT_TRUE(area().fileField()->text().isEmpty());

    writeBytes(path("VORLAC.PEM"), *serialiseExerciseFile({"manque.rtf", "", "", "", "", "", {}, ""}));
    commands->PRISENMAIN();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Erreur lors du chargement");

    writeBytes(path("VORLAC.PEM"),
               *serialiseExerciseFile({"textes\\ENONCE.RTF", "textes\\CORRIGE.P01", "", "", "", "", {}, ""}));
    commands->PRISENMAIN();
    EXPECT_EQ(text(), "Mesurer l'angle de déviation.");
    EXPECT_EQ(area().fileField()->text(), path("VORLAC.PEM"));
    EXPECT_EQ(apex(), 30);
}

TEST_F(ExerciseCommandsTest, FichexoPreviewsOnceAndListsOnlyExercises)
{
    writeBytes(path("0.E01"), "abîmé"); // listed first, unreadable
    Fichexo w(
        window().messenger(), dir.path(), [](const QString &) { return false; }, &window());
    w.show();
    EXPECT_EQ(w.browser()->files()->count(), 3);
    EXPECT_EQ(messages.size(), 1u) << "the first entry is previewed when the window shows";
    w.hide();
    w.show(); // as when a message box closes and the window comes back
    EXPECT_EQ(messages.size(), 1u);

    w.browser()->files()->setCurrentRow(1); // A.E01
    EXPECT_EQ(w.fileField()->text(), path("A.E01"));
    EXPECT_EQ(w.findChild<QLabel *>("titratexo")->text(), "Le prisme");
    EXPECT_EQ(w.findChild<QPlainTextEdit *>("Text1")->toPlainText(), "Réfraction; déviation");
    EXPECT_EQ(w.findChild<QLabel *>("Label2")->text(), "Exercice corrigé");
    EXPECT_FALSE(w.findChild<QLabel *>("intratro")->isVisible());
    w.browser()->files()->setCurrentRow(2); // B.E01
    EXPECT_EQ(w.findChild<QLabel *>("Label2")->text(), "Non corrigé");
}

TEST_F(ExerciseCommandsTest, PasteTakesPlainTextInTheCurrentFormat)
{
    openThroughWindow("A.E01");
    QTextEdit *edit = area().text();
    edit->moveCursor(QTextCursor::End);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    edit->mergeCurrentCharFormat(bold);
    auto *copied = new QMimeData;
    copied->setHtml("<table><tr><td>a</td><td>b</td></tr></table><img src='x.png'>");
    copied->setText("a\tb");
    QApplication::clipboard()->setMimeData(copied);
    edit->paste();
    EXPECT_TRUE(text().endsWith("a\tb"));
    EXPECT_EQ(edit->document()->rootFrame()->childFrames().size(), 0) << "no table came in";
    QTextCursor c(edit->document());
    c.movePosition(QTextCursor::End);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(area().session().exerciseTextModified(), true);
}

} // namespace
