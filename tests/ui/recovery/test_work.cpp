// Every field of the work through every use that keeps a part of it: set the field, keep it,
// change it back, bring it back, and compare the whole work with what the table of uses says.
#include "rowname.h"
#include "vorlacfixture.h"

#include "model/glasscatalogue.h"
#include "model/linelamps.h"
#include "recovery/recoverykeeper.h"
#include "recovery/workbinder.h"
#include "rtf/rtf.h"
#include "situations/situationbinder.h"
#include "undo/undohistory.h"

#include <QTextDocument>
#include <functional>

using namespace vorlac;

namespace
{

QByteArray rtfOf(const QString &text)
{
    QTextDocument d;
    d.setPlainText(text);
    return writeRtf(d);
}

struct FieldRow {
    const char *name; // a field of kWorkFields, or a case of one
    std::function<void(Work &)> set;
};
void PrintTo(const FieldRow &row, std::ostream *os)
{
    *os << row.name;
}

// A material of the list, or the custom one with the coefficients given.
void material(Work &w, bool prism, int row, float a = 0, float b = 0)
{
    (prism ? w.scene.prismMaterial : w.scene.outsideMaterial) = row;
    (prism ? w.scene.prismCauchyA : w.scene.outsideCauchyA) = row == kCustomMaterial ? a : kMaterials[row].cauchyA;
    (prism ? w.scene.prismCauchyB : w.scene.outsideCauchyB) = row == kCustomMaterial ? b : kMaterials[row].cauchyB;
}

void catalogueGlass(Work &w, bool hidden)
{
    material(w, true, kCustomMaterial, glassLaw(1).cauchyA, glassLaw(1).cauchyB);
    w.scene.glass = 1;
    w.scene.glassHidden = hidden;
}

const FieldRow kRows[] = {
    {"scene.apexAngle", [](Work &w) { w.scene.apexAngle = 60; }},
    {"scene.incidenceAngle", [](Work &w) { w.scene.incidenceAngle = 41.123456789012345; }},
    {"scene.wavelength", [](Work &w) { w.scene.wavelength = 650; }},
    {"scene.source", [](Work &w) { w.scene.source = SourceType::WhiteLight; }},
    {"scene.blackBackground", [](Work &w) { w.scene.blackBackground = false; }},
    {"scene.showNormals", [](Work &w) { w.scene.showNormals = true; }},
    {"scene.showPropagation", [](Work &w) { w.scene.showPropagation = false; }},
    {"scene.prismMaterial", [](Work &w) { material(w, true, 3); }},
    {"scene.outsideMaterial", [](Work &w) { material(w, false, 1); }},
    // Sodium chosen, then white light: the lamp list still holds sodium.
    {"scene.lamp",
     [](Work &w) { w.scene.lamp = lineLampRow(QStringLiteral("sodium")), w.scene.source = SourceType::WhiteLight; }},
    {"scene.lampHidden",
     [](Work &w) { w.scene.lamp = 2, w.scene.lampHidden = true, w.scene.source = SourceType::LineLamp; }},
    {"scene.unknownLamp", [](Work &w) { w.scene.unknownLamp = 2; }},
    {"scene.glass", [](Work &w) { catalogueGlass(w, false); }},
    {"scene.glassHidden", [](Work &w) { catalogueGlass(w, true); }},
    {"scene.prismCauchyA", [](Work &w) { material(w, true, kCustomMaterial, 1.61234567f, w.scene.prismCauchyB); }},
    {"scene.prismCauchyB", [](Work &w) { material(w, true, kCustomMaterial, w.scene.prismCauchyA, 5100.25f); }},
    {"scene.outsideCauchyA", [](Work &w) { material(w, false, kCustomMaterial, 1.0012345f, 0.0f); }},
    {"scene.outsideCauchyB", [](Work &w) { material(w, false, kCustomMaterial, 1.0f, 123.456f); }},
    {"table.cells", [](Work &w) { w.table.cells[3][1] = QStringLiteral("12,5"); }},
    {"table.expressions", [](Work &w) { w.table.expressions[2] = QStringLiteral("C1 * 2"); }},
    {"table.format", [](Work &w) { w.table.format = QStringLiteral("##0.0"); }},
    {"table.row", [](Work &w) { w.table.row = 4; }},
    {"table.col", [](Work &w) { w.table.col = 3; }},
    {"protractor.rotation", [](Work &w) { w.protractor.rotation = 2.5f; }},
    {"protractor.lineAngle", [](Work &w) { w.protractor.lineAngle = 0.75f; }},
    {"protractor.crossGrabX", [](Work &w) { w.protractor.crossGrabX = 5; }},
    {"protractor.crossGrabY", [](Work &w) { w.protractor.crossGrabY = 7; }},
    {"protractor.position", [](Work &w) { w.protractor.position = QPoint(90, 30); }},
    {"protractorShown", [](Work &w) { w.protractorShown = true; }},
    {"exercise.fileField", [](Work &w) { w.exercise.fileField = QStringLiteral("/cours/EXO2.E01"); }},
    {"exercise.folder", [](Work &w) { w.exercise.folder = QStringLiteral("/ailleurs/"); }},
    {"exercise.rtf", [](Work &w) { w.exercise.rtf = rtfOf(QStringLiteral("Un autre énoncé")); }},
    {"exercise.editable", [](Work &w) { w.exercise.editable = false; }},
    {"exercise.edited", [](Work &w) { w.exercise.edited = true; }},
    {"exercise.hasCorrection", [](Work &w) { w.exercise.hasCorrection = true; }},
    // Work without an exercise replaces the one open.
    {"exercise.fileField none", [](Work &w) { w.exercise = {}; }},
    {"draft",
     [](Work &w) {
         w.draft = RecoveredDraft{};
         w.draft->set.title = QStringLiteral("Essai");
         w.draft->set.statement = rtfOf(QStringLiteral("Énoncé en cours"));
         w.draft->title = QStringLiteral("Nouvel exercice");
         w.exercise = {};
     }},
    {"situationFileName", [](Work &w) { w.situationFileName = QStringLiteral("/cours/prisme.P01"); }},
    {"screen.shown", [](Work &w) { w.screen.shown = true; }},
    {"screen.placement",
     [](Work &w) {
         w.screen.placement = {140.0, -25.0, 300.0};
     }},
    {"screen.sun", [](Work &w) { w.screen.sun = true, w.screen.shown = true; }},
    {"screen.absorber", [](Work &w) { w.screen.absorber = absorberChoices()[2]; }},
    {"screen.absorber hidden", [](Work &w) { w.screen.absorber = unknownAbsorber(7); }},
};

// The field a row names (before a space: "exercise.fileField none").
const WorkField &fieldOf(std::string_view name)
{
    for (const WorkField &f : kWorkFields)
        if (f.name == name.substr(0, name.find(' ')))
            return f;
    ADD_FAILURE() << "no row of kWorkFields for " << name;
    return kWorkFields.front();
}

class WorkUses : public VorlacFixture, public ::testing::WithParamInterface<FieldRow>
{
  protected:
    // The work every row starts from: the start-up work with an exercise open.
    Work base()
    {
        Work w = window().work().capture();
        w.exercise.fileField = QStringLiteral("/cours/EXO1.E01");
        w.exercise.folder = QStringLiteral("/cours/");
        w.exercise.rtf = rtfOf(QStringLiteral("Énoncé"));
        w.exercise.editable = true;
        return w;
    }
};

TEST_P(WorkUses, KeepWhatTheTableSays)
{
    WorkBinder &binder = window().work();
    const Work before = base();
    Work set = before;
    GetParam().set(set);
    ASSERT_FALSE(set == before);
    const WorkField &field = fieldOf(GetParam().name);
    for (const WorkUse use : {WorkUse::Undo, WorkUse::Recovery, WorkUse::SituationFile, WorkUse::Draft}) {
        SCOPED_TRACE(int(use));
        switch (use) {
        case WorkUse::Undo: {
            UndoHistory &history = window().undoHistory();
            binder.restore(set);
            history.clear();
            binder.restore(before);
            history.noteChange(QStringLiteral("changement"));
            history.undo(); // closes the step first
            break;
        }
        case WorkUse::Recovery: {
            binder.restore(set);
            const std::optional<QByteArray> bytes = serialiseRecovery(window().recovery().capture());
            ASSERT_TRUE(bytes.has_value());
            binder.restore(before);
            window().recovery().restore(*parseRecovery(*bytes).work);
            break;
        }
        case WorkUse::SituationFile:
        case WorkUse::Draft: { // a draft's situations are situation files (takeSituation, putOnScene)
            binder.restore(set);
            const std::optional<QByteArray> bytes = serialiseSituation(window().situations().captureSituation());
            ASSERT_TRUE(bytes.has_value());
            binder.restore(before);
            window().situations().applySituation(*parseSituation(*bytes).situation);
            break;
        }
        }
        const Work now = binder.capture();
        switch (field.kept[std::size_t(use)]) {
        case Kept::Yes:
        case Kept::WhenUsed: // every row uses it
            EXPECT_TRUE(now == set);
            break;
        case Kept::No:
            EXPECT_TRUE(now == before);
            break;
        case Kept::WhenLit: { // the lamp row leaves it unlit: all but the lamp is kept
            Work unlit = set;
            unlit.scene.lamp = before.scene.lamp;
            EXPECT_TRUE(now == unlit);
            break;
        }
        case Kept::Rounded:
            EXPECT_FALSE(now == before);
            EXPECT_EQ(serialiseSituation(situationOf(now.scene, now.table)),
                      serialiseSituation(situationOf(set.scene, set.table)));
            break;
        }
        binder.restore(before);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, WorkUses, ::testing::ValuesIn(kRows), RowName());

// A field without a row here would go untested: every field of the table has one.
TEST(WorkTable, EveryFieldHasARow)
{
    for (const WorkField &f : kWorkFields)
        EXPECT_TRUE(std::any_of(std::begin(kRows), std::end(kRows), [&f](const FieldRow &r) {
            return r.name == f.name;
        })) << f.name;
}

} // namespace
