#include "vorlacfixture.h"

#include "exercises/exercisearea.h"
#include "exercises/exercisefile.h"
#include "exercises/exercisetext.h"
#include "rowname.h"
#include "situations/situationfile.h"
#include "testfiles.h"
#include "window/givenfileopener.h"

#include <QLineEdit>
#include <QTextEdit>

using namespace vorlac;

namespace
{

// One start of the program with these arguments, in a folder holding a situation (apex 60) and a
// copy of it under another name, an exercise whose statement names it, a situation that is not
// one, and a text file.
struct GivenRow {
    const char *name;
    QStringList arguments;
    int apex;             // the scene's apex angle afterwards (45: nothing was opened)
    const char *title;    // the window's title afterwards
    const char *fich;     // the exercise file shown
    QStringList messages; // titles of the messages, in order
    const char *lastText; // part of the last message's text; "" when no message
};

void PrintTo(const GivenRow &r, std::ostream *os)
{
    *os << r.name;
}

class GivenFilesAtStart : public VorlacFixture, public ::testing::WithParamInterface<GivenRow>
{
  protected:
    void SetUp() override
    {
        VorlacFixture::SetUp();
        Situation sixty;
        sixty.scene.apexAngle = 60;
        ASSERT_TRUE(writeSituationFile(dir.filePath("SOIXANTE.P01"), sixty));
        QTextDocument statement;
        statement.setPlainText("Mesurer la déviation minimale.");
        ASSERT_TRUE(writeRtfFile(dir.filePath("ENONCE.RTF"), statement));
        const ExerciseFile exercise{"ENONCE.RTF", "SOIXANTE.P01", "", "", "1", "", {"", "", "", ""}, "Déviation"};
        writeAll(dir.filePath("TD.E01"), *serialiseExerciseFile(exercise));
        ASSERT_TRUE(QFile::copy(dir.filePath("SOIXANTE.P01"), dir.filePath("soixante (copie)")));
        writeAll(dir.filePath("FAUX.P01"), QByteArray(300, 'z'));
        writeAll(dir.filePath("notes.txt"), "notes");
    }
};

TEST_P(GivenFilesAtStart, OpensAsFromTheProgram)
{
    const GivenRow &row = GetParam();
    Vorlac &w = window();
    ASSERT_TRUE(messages.empty());
    openGivenFiles(w, row.arguments, dir.path());

    EXPECT_EQ(w.scene().apexAngle, row.apex);
    EXPECT_EQ(w.windowTitle(), QString(row.title).replace("DIR", dir.path()));
    EXPECT_EQ(child<QLineEdit>("fich")->text(), QString(row.fich).replace("DIR", dir.path()));
    QStringList titles;
    for (const Message &m : messages)
        titles << m.title;
    EXPECT_EQ(titles, row.messages);
    if (!messages.empty()) {
        EXPECT_EQ(messages.back().icon, QMessageBox::Critical);
        EXPECT_TRUE(messages.back().text.contains(row.lastText)) << messages.back().text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GivenFilesAtStart,
    ::testing::Values(
        GivenRow{"nothing", {}, 45, "Le vorlac", "", {}, ""},
        GivenRow{"situation", {"SOIXANTE.P01"}, 60, "Le vorlac - DIR/SOIXANTE.P01", "", {}, ""},
        GivenRow{
            "situation under another name", {"soixante (copie)"}, 60, "Le vorlac - DIR/soixante (copie)", "", {}, ""},
        GivenRow{"exercise", {"TD.E01"}, 60, "Le vorlac - DIR/SOIXANTE.P01", "DIR/TD.E01", {}, ""},
        GivenRow{"situation of another program",
                 {"FAUX.P01"},
                 45,
                 "Le vorlac",
                 "",
                 {"Fichier non valide"},
                 "ne correspond pas"},
        GivenRow{"missing situation",
                 {"ABSENT.P01"},
                 45,
                 "Le vorlac",
                 "",
                 {"impossible d'ouvrir ce fichier"},
                 "chemin non valide"},
        GivenRow{"missing exercise", {"ABSENT.E01"}, 45, "Le vorlac", "", {"Lecture impossible"}, "nom du fichier"},
        GivenRow{"text file", {"notes.txt"}, 45, "Le vorlac", "", {"Fichier non ouvert"}, "« notes.txt »"},
        GivenRow{"two files",
                 {"SOIXANTE.P01", "TD.E01"},
                 60,
                 "Le vorlac - DIR/SOIXANTE.P01",
                 "",
                 {"Fichier non ouvert"},
                 "un seul à la fois"},
        GivenRow{"bad file then exercise",
                 {"notes.txt", "TD.E01", "FAUX.P01"},
                 60,
                 "Le vorlac - DIR/SOIXANTE.P01",
                 "DIR/TD.E01",
                 {"Fichiers non ouverts"},
                 "« notes.txt »\n« FAUX.P01 »"}),
    RowName());

} // namespace
