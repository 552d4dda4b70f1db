#include "vorlacfixture.h"

#include "exercises/authoringpanel.h"
#include "exercises/exercisearea.h"
#include "exercises/exerciseauthoring.h"
#include "exercises/exercisecommands.h"
#include "exercises/exercisefile.h"
#include "exercises/fichexo.h"
#include "exercises/formatbar.h"
#include "recovery/recoverykeeper.h"
#include "situations/folderbrowser.h"
#include "undo/undohistory.h"

#include "rowname.h"
#include "testfiles.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTextEdit>
#include <QToolButton>

#include <sys/mount.h>

using namespace vorlac;

namespace
{

// What a row does after writing a statement "Angle α" (α bold) with the situation at apex 60 and
// a correction "D" at apex 30.
enum class Then {
    Maximised,
    SaveListOpen,
    SaveThenEditInPlace,
    UndoFormat,
    CloseCancelThenOk,
    CheckFolder,
    Import,
    Copy,
    Scene
};

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
        panelChild<QLineEdit>("notion2")->setText("déviation");
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
    // "Enregistrer l'exercice" shows the exercise window on the folder, the file written selected.
    void saveAndList(const QString &path, const QString &title, bool open)
    {
        dialogs.answer<Fichexo>("Fichexo", [=](Fichexo *list) {
            EXPECT_EQ(list->fileField()->text(), path);
            EXPECT_EQ(list->findChild<QLabel *>("titratexo")->text(), title);
            open ? list->openSelected() : list->reject();
        });
        click(panelChild<QPushButton>("enregistreexo"));
        dialogs.wait();
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
    if (GetParam().then == Then::Maximised)
        window().showMaximized();
    const QString pupilText = editor()->toPlainText();
    write();
    EXPECT_EQ(area().session().exerciseTextModified(), true);
    switch (GetParam().then) {
    case Then::Maximised: {
        const QRect screen = window().screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(authoring().panel()->frameGeometry()))
            << authoring().panel()->frameGeometry().x() << " on a screen " << screen.width() << " wide";
        break;
    }
    case Then::SaveListOpen: {
        const QString folder = dir.filePath("classe");
        QDir().mkpath(folder);
        writeAll(QDir(folder).filePath("AUTRE.E01"), {}); // listed first, not selected
        answerFolder("Dossier de l'exercice", folder);
        saveAndList(folder + "/DEVIATIO.E01", "Déviation minimale", true);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 6);
        // Opened from there: the writing mode ends, the texts, formats and situations come back.
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
        const QString exercise = QDir(folder).filePath("DEVIATIO.E01"), correction = folder + "/DEVIATIO-C.RTF";
        EXPECT_EQ(readExerciseFile(exercise)->notions.mid(0, 2), QStringList({"Réfraction; ", "déviation."}));
        writeAll(correction, "{\\rtf1\\ansi {\\b D}\\par}");
        ASSERT_TRUE(window().exerciseCommands().openExerciseFile(exercise));
        area().menuAction("modifexo")->trigger();
        ASSERT_TRUE(authoring().isActive());
        EXPECT_EQ(panelChild<QLineEdit>("titreexo")->text(), "Déviation minimale");
        EXPECT_EQ(panelChild<QLineEdit>("notion1")->text(), "Réfraction");
        panelChild<QLineEdit>("titreexo")->setText("Le minimum");
        editor()->moveCursor(QTextCursor::End);
        editor()->insertPlainText(" ?");
        EXPECT_TRUE(authoring().saveExercise()) << "no folder asked";
        EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 5);
        EXPECT_EQ(readExerciseFile(exercise)->title, "Le minimum");
        EXPECT_EQ(readAll(correction), QByteArray("{\\rtf1\\ansi {\\b D}\\par}"))
            << "an untouched text is not rewritten";
        EXPECT_TRUE(authoring().finish());
        EXPECT_EQ(editor()->toPlainText(), "Angle α ?") << "the open exercise shows what was saved";
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
    case Then::Import: {
        const bool correction = std::string_view(GetParam().name) == "ImportCorrection";
        click(panelChild<QRadioButton>(correction ? "choixcorrection" : "choixenonce"));
        const QString rtf = dir.filePath("lu.rtf");
        writeAll(rtf,
                 "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}{\\b g}{\\i i}x{\\super 2}{\\f1 a}}");
        dialogs.answer<QFileDialog>("Importer un texte", [rtf](QFileDialog *d) {
            d->selectFile(rtf);
            static_cast<QDialog *>(d)->accept();
        });
        click(panelChild<QPushButton>("importetexte"));
        dialogs.wait();
        EXPECT_EQ(authoring().document(correction).toPlainText(), "gix2α");
        EXPECT_EQ(authoring().document(!correction).toPlainText(), correction ? "Angle α" : "D");
        const auto after = [&](int position) {
            QTextCursor c(&authoring().document(correction));
            c.setPosition(position);
            return c.charFormat();
        };
        EXPECT_TRUE(after(1).fontWeight() >= QFont::Bold && after(2).fontItalic() && !after(3).fontItalic() &&
                    after(4).verticalAlignment() == QTextCharFormat::AlignSuperScript);
        // Killed now, the program offers the whole draft back at the next start.
        RecoveryKeeper &keeper = window().recovery();
        const std::optional<RecoveredDraft> draft = keeper.capture().work.draft;
        keeper.writeNow();
        keeper.waitForWrites();
        ASSERT_TRUE(QFile::copy(keeper.store().filePath(), dir.path() + "/etat/travail-999999.vorlac-travail"));
        authoring().abandon();
        ASSERT_TRUE(draft && !keeper.capture().work.draft) << "left, it leaves the store";
        window().offerRecovery();
        EXPECT_TRUE(authoring().draft() == draft);
        EXPECT_EQ(editor()->document(), &authoring().document(correction));
        break;
    }
    case Then::Copy: {
        const QByteArray fs = QFile::encodeName(dir.filePath("classe"));
        if (!QDir().mkpath(dir.filePath("classe")) || ::mount("tmpfs", fs.constData(), "tmpfs", 0, nullptr) != 0)
            GTEST_SKIP() << "no tmpfs can be mounted here";
        const auto unmount = qScopeGuard([&fs] { ::umount2(fs.constData(), MNT_DETACH); });
        const QString school = saveInto(), copy = dir.filePath("copie");
        EXPECT_TRUE(authoring().finish());
        ASSERT_EQ(::mount("tmpfs", fs.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
        const auto bytes = [&school] { return QDir(school).entryList().join(' ') + readAll(school + "/DEVIATIO.E01"); };
        const QString before = bytes();
        ASSERT_TRUE(window().exerciseCommands().openExerciseFile(QDir(school).filePath("DEVIATIO.E01")));
        area().menuAction("modifexo")->trigger();
        EXPECT_EQ(authoring().panel()->windowTitle(), "Copie de l'exercice DEVIATIO.E01");
        panelChild<QLineEdit>("titreexo")->setText("Ma copie");
        QDir().mkpath(copy);
        answerFolder("Dossier de l'exercice", copy);
        saveAndList(copy + "/MA-COPIE.E01", "Ma copie", false);
        EXPECT_TRUE(bytes() == before) << "the original is left as it was";
        break;
    }
    case Then::Scene: {
        window().undoHistory().closeStep();
        click(panelChild<QPushButton>("surlascene"));
        EXPECT_EQ(window().scene().apexAngle, 60);
        window().undoHistory().undo();
        EXPECT_EQ(window().scene().apexAngle, 30) << "one undo step";
        click(panelChild<QPushButton>("sanssituation"));
        EXPECT_FALSE(panelChild<QPushButton>("surlascene")->isEnabled());
        break;
    }
    }
    EXPECT_TRUE(authoring().finish());
    EXPECT_FALSE(authoring().isActive());
    if (GetParam().then != Then::SaveListOpen && GetParam().then != Then::SaveThenEditInPlace &&
        GetParam().then != Then::Copy) {
        EXPECT_EQ(editor()->toPlainText(), pupilText) << "the pupil's text comes back";
    }
    EXPECT_EQ(window().findChild<FormatBar *>(), nullptr);
}

const AuthoringRow kRows[] = {
    {"FormOnMaximisedWindow", Then::Maximised},
    {"SaveListOpen", Then::SaveListOpen},
    {"SaveThenEditInPlace", Then::SaveThenEditInPlace},
    {"UndoFormat", Then::UndoFormat},
    {"CloseCancelThenOk", Then::CloseCancelThenOk},
    {"CheckFolder", Then::CheckFolder},
    {"ImportStatement", Then::Import},
    {"ImportCorrection", Then::Import},
    {"ReadOnlyCopy", Then::Copy},
    {"PutOnScene", Then::Scene},
};
INSTANTIATE_TEST_SUITE_P(Rows, Authoring, ::testing::ValuesIn(kRows), RowName());

} // namespace
