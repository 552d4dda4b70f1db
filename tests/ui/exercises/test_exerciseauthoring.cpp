#include "vorlacfixture.h"

#include "exercises/authoringpanel.h"
#include "exercises/exerciseauthoring.h"
#include "exercises/exercisecommands.h"
#include "exercises/exercisefile.h"
#include "exercises/fichexo.h"
#include "exercises/formatbar.h"
#include "simulator/exercisearea.h"
#include "situations/folderbrowser.h"

#include "rowname.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolButton>

using namespace vorlac;

namespace
{

// What a row does after writing a statement "Angle α" (α bold) with the situation at apex 60 and
// a correction "D" at apex 30.
enum class Then { SaveListOpen, SaveThenEditInPlace, UndoFormat, CloseCancelThenOk, CheckFolder };

struct AuthoringRow {
    const char *name;
    Then then;
};
void PrintTo(const AuthoringRow &r, std::ostream *os)
{
    *os << r.name;
}

class Authoring : public VorlacFixture, public ::testing::WithParamInterface<AuthoringRow>
{
  protected:
    ExerciseArea &area() { return window().exercises(); }
    ExerciseAuthoring &authoring() { return window().exerciseAuthoring(); }
    QTextEdit *editor() { return area().text(); }
    void click(QAbstractButton *b) { b->click(); }
    template <typename T> T *panelChild(const char *name)
    {
        return authoring().panel()->findChild<T *>(QString::fromLatin1(name));
    }
    void answerFolder(const QString &title, const QString &folder)
    {
        dialogs.answer<QFileDialog>(title, [folder](QFileDialog *d) {
            d->setDirectory(folder);
            d->selectFile(folder);
            static_cast<QDialog *>(d)->accept();
        });
    }
    void write()
    {
        window().controller().setApexAngle(60);
        area().menuAction("nouvelexo")->trigger();
        ASSERT_TRUE(authoring().isActive());
        ASSERT_TRUE(editor()->isVisible() || !window().isVisible());
        panelChild<QLineEdit>("titreexo")->setText("Déviation minimale");
        panelChild<QLineEdit>("notion1")->setText("Réfraction ; ");
        editor()->insertPlainText("Angle ");
        authoring().formatBar()->findChild<QToolButton *>("formatgras")->click();
        authoring().formatBar()->findChild<QToolButton *>("symbole0")->click();
        click(panelChild<QPushButton>("prendresituation"));
        click(panelChild<QRadioButton>("choixcorrection"));
        EXPECT_TRUE(editor()->toPlainText().isEmpty());
        window().controller().setApexAngle(30);
        editor()->insertPlainText("D");
        click(panelChild<QPushButton>("prendresituation"));
        click(panelChild<QRadioButton>("choixenonce"));
        EXPECT_EQ(editor()->toPlainText(), "Angle α") << "switching keeps both texts";
    }
    QString saveInto()
    {
        const QString folder = dir.filePath("classe");
        QDir().mkpath(folder);
        answerFolder("Dossier de l'exercice", folder);
        EXPECT_TRUE(authoring().saveExercise());
        dialogs.wait();
        return folder;
    }
};

TEST_P(Authoring, WritesSavesAndGivesThePupilsTextBack)
{
    window();
    const QString pupilText = editor()->toPlainText();
    write();
    EXPECT_EQ(area().exerciseTextModified, 1);
    switch (GetParam().then) {
    case Then::SaveListOpen: {
        const QString folder = saveInto();
        EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 5);
        // The exercise window lists it with its preview.
        Fichexo list(
            window().messenger(), folder, [](const QString &) { return true; }, &window());
        ASSERT_EQ(list.browser()->files()->count(), 1);
        EXPECT_EQ(list.browser()->files()->item(0)->text(), "DEVIATIO.E01");
        list.fileField()->setText(QDir(folder).filePath("DEVIATIO.E01"));
        list.apercu();
        EXPECT_EQ(list.findChild<QLabel *>("titratexo")->text(), "Déviation minimale");
        EXPECT_TRUE(authoring().finish());
        // Opening it gives back the texts, their formats and the situations.
        ASSERT_TRUE(window().exerciseCommands().openExerciseFile(QDir(folder).filePath("DEVIATIO.E01")));
        EXPECT_EQ(editor()->toPlainText(), "Angle α");
        QTextCursor c(editor()->document());
        c.setPosition(7);
        EXPECT_TRUE(c.charFormat().fontWeight() >= QFont::Bold);
        EXPECT_EQ(window().scene().apexAngle, 60);
        window().exerciseCommands().opencor();
        EXPECT_EQ(editor()->toPlainText(), "D");
        EXPECT_EQ(window().scene().apexAngle, 30);
        break;
    }
    case Then::SaveThenEditInPlace: {
        const QString folder = saveInto();
        EXPECT_TRUE(authoring().finish());
        ASSERT_TRUE(window().exerciseCommands().openExerciseFile(QDir(folder).filePath("DEVIATIO.E01")));
        area().menuAction("modifexo")->trigger();
        ASSERT_TRUE(authoring().isActive());
        EXPECT_EQ(panelChild<QLineEdit>("titreexo")->text(), "Déviation minimale");
        panelChild<QLineEdit>("titreexo")->setText("Le minimum");
        editor()->moveCursor(QTextCursor::End);
        editor()->insertPlainText(" ?");
        EXPECT_TRUE(authoring().saveExercise()) << "no folder asked";
        EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 5);
        EXPECT_EQ(readExerciseFile(QDir(folder).filePath("DEVIATIO.E01"))->title, "Le minimum");
        EXPECT_TRUE(authoring().finish());
        break;
    }
    case Then::UndoFormat:
        editor()->undo();
        EXPECT_EQ(editor()->toPlainText(), "Angle ");
        editor()->undo();
        editor()->undo();
        EXPECT_TRUE(editor()->toPlainText().isEmpty());
        answers = {QMessageBox::Ok};
        EXPECT_TRUE(authoring().finish());
        break;
    case Then::CloseCancelThenOk:
        click(panelChild<QPushButton>("inseremesures"));
        EXPECT_TRUE(editor()->toPlainText().contains("A = 30°\nλ = 400 nm : n = "))
            << editor()->toPlainText().toStdString();
        area().openMenu();
        EXPECT_FALSE(area().menuAction("openexo")->isEnabled()) << "would load a text into the one being written";
        area().menu()->hide();
        answers = {QMessageBox::Cancel};
        EXPECT_FALSE(authoring().finish());
        EXPECT_TRUE(authoring().isActive());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, "Abandon des données?");
        answers = {QMessageBox::Ok};
        EXPECT_TRUE(authoring().finish());
        EXPECT_EQ(messages.size(), 2u);
        break;
    case Then::CheckFolder: {
        const QString folder = saveInto();
        QFile::remove(QDir(folder).filePath("DEVIATIO-C.RTF"));
        answerFolder("Vérifier un dossier d'exercices", folder);
        QString shown;
        dialogs.answer<QDialog>("verifdossier", [&shown](QDialog *d) {
            shown = d->findChild<QPlainTextEdit *>("listeverif")->toPlainText();
            d->findChild<QPushButton *>("copieverif")->click();
            d->accept();
        });
        area().menuAction("verifexo")->trigger();
        dialogs.wait();
        EXPECT_TRUE(shown.contains("DEVIATIO.E01 : la correction « DEVIATIO-C.RTF » est introuvable."))
            << shown.toStdString();
        EXPECT_TRUE(authoring().finish());
        break;
    }
    }
    EXPECT_FALSE(authoring().isActive());
    if (GetParam().then != Then::SaveListOpen && GetParam().then != Then::SaveThenEditInPlace) {
        EXPECT_EQ(editor()->toPlainText(), pupilText) << "the pupil's text comes back";
    }
    EXPECT_EQ(window().findChild<FormatBar *>(), nullptr);
}

const AuthoringRow kRows[] = {
    {"SaveListOpen", Then::SaveListOpen}, {"SaveThenEditInPlace", Then::SaveThenEditInPlace},
    {"UndoFormat", Then::UndoFormat},     {"CloseCancelThenOk", Then::CloseCancelThenOk},
    {"CheckFolder", Then::CheckFolder},
};
INSTANTIATE_TEST_SUITE_P(Rows, Authoring, ::testing::ValuesIn(kRows), RowName());

} // namespace
