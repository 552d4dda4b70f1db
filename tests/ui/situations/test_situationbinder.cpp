#include "testfiles.h"
#include "vorlacfixture.h"

#include "common/recordfile.h"
#include "exercises/exerciseset.h"
#include "scene/scenecontroller.h"
#include "situations/folderbrowser.h"
#include "situations/savedialog.h"
#include "situations/situationbinder.h"
#include "situations/situationfile.h"
#include "table/valuetable.h"
#include "window/toolbar.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QToolButton>
#include <ostream>

using namespace vorlac;

namespace
{

class SituationBinding : public VorlacFixture
{
  protected:
    SituationBinder &binder() { return window().situations(); }
    SceneController &scene() { return window().controller(); }
    ValueTable &table() { return window().valueTable(); }
    QString file(const char *name) { return dir.filePath(QString::fromLatin1(name)); }

    // Everything away from the start-up values.
    void changeEverything()
    {
        scene().setApexAngle(60);
        scene().setCustomMaterial(MaterialSide::Prism, 1.5168f, 4200.0f);
        scene().setMaterial(MaterialSide::Outside, 1);
        scene().setSource(SourceType::WhiteLight);
        scene().setBlackBackground(false);
        scene().setWavelength(432);
        scene().setIncidenceAngle(-12.25);
        table().setRows(4);
        table().setTextMatrix(0, 2, QStringLiteral("Angle (°)"));
        table().setTextMatrix(1, 0, QStringLiteral("1,500"));
        table().setTextMatrix(3, 6, QStringLiteral("-2,250"));
        table().setColumnExpression(1, QStringLiteral("C1 * 2"));
    }

    // What a failed load must leave as it was.
    struct Snapshot {
        Situation situation;
        QString title, fileName;
        int sceneRedraws, whiteRedraws;
        bool operator==(const Snapshot &) const = default;
    };
    Snapshot snapshot()
    {
        return {binder().captureSituation(), window().windowTitle(), binder().situationFileName(),
                scene().sceneRedrawCount(), scene().whiteRedrawCount()};
    }
};

TEST_F(SituationBinding, SaveThenLoadBringsEverythingBack)
{
    changeEverything();
    const Situation saved = binder().captureSituation();
    const QString path = file("essai.P01");
    ASSERT_TRUE(binder().SaveSituation(path));
    EXPECT_EQ(window().windowTitle(), "Le vorlac - " + path);
    EXPECT_EQ(binder().situationFileName(), path);

    // A second window, as on another machine.
    int otherMessages = 0;
    VorlacEnvironment env;
    env.programDirectory = dir.path() + "/";
    env.screenSize = [] { return QSize(1280, 1024); };
    env.messenger.show = [&otherMessages](QWidget *, QMessageBox::Icon, const QString &, const QString &,
                                          QMessageBox::StandardButtons) {
        ++otherMessages;
        return QMessageBox::Ok;
    };
    Vorlac w2(env);
    const int scenes = w2.controller().sceneRedrawCount(), whites = w2.controller().whiteRedrawCount();
    w2.situations().LoadSituation(path);
    EXPECT_EQ(otherMessages, 0);
    EXPECT_EQ(w2.situations().captureSituation(), saved);
    EXPECT_EQ(w2.controller().state().prismMaterial, kCustomMaterial);
    EXPECT_EQ(w2.controller().state().prismCauchyA, 1.5168f);
    EXPECT_EQ(w2.controller().customMaterialTarget(), MaterialSide::Prism);
    EXPECT_EQ(w2.valueTable().Rows(), 4);
    EXPECT_EQ(w2.valueTable().ColumnExpression(1), "C1 * 2");
    // one redraw of each kind, and no custom-material dialog on the way
    EXPECT_EQ(w2.controller().sceneRedrawCount(), scenes + 1);
    EXPECT_EQ(w2.controller().whiteRedrawCount(), whites + 1);
    EXPECT_EQ(w2.windowTitle(), "Le vorlac - " + path);

    const QString again = file("again.P01");
    ASSERT_TRUE(w2.situations().SaveSituation(again));
    EXPECT_EQ(readAll(again), readAll(path));
}

TEST_F(SituationBinding, CellsWrittenUnderAnotherRegionalSettingKeepTheirNumbers)
{
    Situation s;
    s.lines[0][0] = QStringLiteral("1.500"); // saved where "." is the decimal point
    s.lines[0][1] = QStringLiteral("2,250");
    const QString path = file("english.P01");
    ASSERT_TRUE(writeSituationFile(path, s));
    binder().LoadSituation(path);
    EXPECT_EQ(table().cellValue(1, 0), 1.5f);
    EXPECT_EQ(table().cellValue(1, 1), 2.25f);
    EXPECT_EQ(table().TextMatrix(1, 0), "1.500"); // as stored
}

struct FailedLoadRow {
    const char *name;
    QByteArray bytes; // empty: no file at all
    const char *title, *text;
};

std::ostream &operator<<(std::ostream &os, const FailedLoadRow &r)
{
    return os << r.name;
}

class FailedLoad : public SituationBinding, public ::testing::WithParamInterface<FailedLoadRow>
{
};

TEST_P(FailedLoad, ChangesNothingAtAll)
{
    const QString path = file("bad.P01");
    if (!GetParam().bytes.isEmpty())
        writeAll(path, GetParam().bytes);
    changeEverything();
    const QString before = file("before.P01");
    ASSERT_TRUE(binder().SaveSituation(before));
    const Snapshot was = snapshot();
    binder().LoadSituation(path);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(messages[0].title, QString::fromUtf8(GetParam().title));
    EXPECT_EQ(messages[0].text, QString::fromUtf8(GetParam().text));
    EXPECT_TRUE(snapshot() == was);
}

QByteArray damaged(int record, const char *text)
{
    QByteArray b = *serialiseSituation(Situation());
    b.replace(qsizetype(record - 1) * 128, 128, *encodeRecord(QString::fromUtf8(text)));
    return b;
}

const char *kNotOursTitle = "Fichier non valide";
const char *kNotOursText = "Ce fichier ne correspond pas à cette application";
const char *kReadTitle = "Erreur lors du chargement du fichier";
const char *kReadText = "Lecture impossible sur disque";

INSTANTIATE_TEST_SUITE_P(
    Rows, FailedLoad,
    ::testing::Values(FailedLoadRow{"NoFile", QByteArray(), kNotOursTitle, kNotOursText},
                      FailedLoadRow{"NotASituation", QByteArray("hello"), kNotOursTitle, kNotOursText},
                      FailedLoadRow{"LowerCaseSignature", damaged(1, "vorlac"), kNotOursTitle, kNotOursText},
                      // values late in the file: nothing before them may be applied either
                      FailedLoadRow{"BadFormulaRecord", damaged(25 + 77, "x").left(25 * 128 + 77 * 128 - 5), kReadTitle,
                                    kReadText},
                      FailedLoadRow{"UnknownMaterial", damaged(4, "Plexiglas"), kReadTitle, kReadText},
                      FailedLoadRow{"RowCountTooLarge", damaged(18, " 1E9"), kReadTitle, kReadText},
                      FailedLoadRow{"WavelengthOutOfRange", damaged(10, " 900"), kReadTitle, kReadText}),
    [](const auto &row) { return std::string(row.param.name); });

TEST_F(SituationBinding, AFailedSaveReportsAndKeepsTitleAndName)
{
    const QString good = file("good.P01");
    ASSERT_TRUE(binder().SaveSituation(good));
    QFile plain(file("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    table().setTextMatrix(0, 0, QString(127, QLatin1Char('T')));
    for (const QString &path : {file("plain/x.P01"), good}) {
        messages.clear();
        EXPECT_FALSE(binder().SaveSituation(path));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, "Enregistrement impossible");
        EXPECT_EQ(messages[0].text, "Ecriture impossible sur disque");
        EXPECT_EQ(binder().situationFileName(), good);
        EXPECT_EQ(window().windowTitle(), "Le vorlac - " + good);
    }
}

// A situation an exercise names is not a pupil's to replace: saving after it was loaded proposes
// its name in the pupil's own folder.
TEST_F(SituationBinding, ThePupilsSaveDoesNotProposeTheExercisesOwnFile)
{
    const QString exercises = file("exos");
    ASSERT_TRUE(QDir().mkpath(exercises));
    ExerciseSet set;
    set.title = QStringLiteral("Etalon");
    set.statement = "{\\rtf1 a}";
    set.statementSituation = *serialiseSituation(binder().captureSituation());
    const ExerciseSetNames names = freshExerciseNames(exercises, set.title);
    ASSERT_EQ(saveExerciseSet(exercises, names, set), QString());
    const QString shipped = QDir(exercises).filePath(names.statementSituation);
    binder().LoadSituation(shipped);
    ASSERT_EQ(binder().situationFileName(), shipped);
    QString proposed, shown;
    dialogs.answer<SaveDialog>(QStringLiteral("enregistrer"), [&](SaveDialog *d) {
        proposed = d->findChild<QLineEdit *>(QStringLiteral("Text1"))->text();
        shown = d->browser()->folder();
        d->reject();
    });
    binder().showSaveDialog();
    EXPECT_EQ(proposed, names.statementSituation);
    EXPECT_NE(QDir::cleanPath(shown), QDir::cleanPath(exercises));
}

TEST_F(SituationBinding, ToolbarButtonsOpenTheirDialogs)
{
    for (const char *name : {"enregistrer", "ouvrir"}) {
        dialogs.answer(name, DialogWatch::close);
        Toolbar &bar = window().toolbar();
        (QByteArray(name) == "enregistrer" ? bar.saveButton() : bar.openButton())->click();
    }
    EXPECT_EQ(window().windowTitle(), "Le vorlac");
}

} // namespace
