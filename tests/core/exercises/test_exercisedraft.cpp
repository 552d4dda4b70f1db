#include "../../rowname.h"
#include "exercises/exercisedraft.h"

#include <QTextCursor>
#include <QTextDocument>

using namespace vorlac;

namespace
{

// What the teacher does to a draft just loaded, and whether something is then left to save.
struct DraftRow {
    const char *name;
    void (*act)(ExerciseDraft &);
    bool unsaved;
};

void PrintTo(const DraftRow &r, std::ostream *os)
{
    *os << r.name;
}

class Draft : public ::testing::TestWithParam<DraftRow>
{
};

TEST_P(Draft, SaysWhatIsLeftToSave)
{
    ExerciseDraft draft;
    ExerciseSet set;
    set.statementSituation = "S";
    draft.load(set);
    GetParam().act(draft);
    EXPECT_EQ(draft.unsaved(), GetParam().unsaved);
}

const DraftRow kRows[] = {
    {"nothing done", [](ExerciseDraft &) {}, false},
    {"statement typed", [](ExerciseDraft &d) { QTextCursor(&d.document(false)).insertText("x"); }, true},
    {"correction typed", [](ExerciseDraft &d) { QTextCursor(&d.document(true)).insertText("x"); }, true},
    {"no situation dropped again", [](ExerciseDraft &d) { d.setSituation(true, {}); }, false},
    {"situation dropped", [](ExerciseDraft &d) { d.setSituation(false, {}); }, true},
    {"situation taken", [](ExerciseDraft &d) { d.setSituation(true, "C"); }, true},
    {"form changed", [](ExerciseDraft &d) { d.noteFormChanged(); }, true},
    {"typed then saved",
     [](ExerciseDraft &d) {
         QTextCursor(&d.document(false)).insertText("x");
         d.markSaved("/f", "/f/A.E01");
     },
     false},
    {"typed then forgotten",
     [](ExerciseDraft &d) {
         QTextCursor(&d.document(false)).insertText("x");
         d.forget();
     },
     false},
};

INSTANTIATE_TEST_SUITE_P(Rows, Draft, ::testing::ValuesIn(kRows), RowName());

TEST(Draft, RecordsWhatTheWorkKeepsAndComesBackToIt)
{
    ExerciseDraft draft;
    QTextCursor(&draft.document(false)).insertText("Angle");
    draft.setSituation(true, "C");
    draft.setShowingCorrection(true);
    const RecoveredDraft recorded = draft.recorded({"Le prisme", {"", "", "", ""}, 2}, "Nouvel exercice");
    EXPECT_EQ(recorded.set.difficulty, 2);
    EXPECT_FALSE(recorded.set.correction.isEmpty()) << "a correction situation makes the exercise corrected";
    EXPECT_TRUE(draft.saveProblem(recorded.set).isEmpty());

    ExerciseDraft back;
    back.restore(recorded);
    EXPECT_EQ(back.document(false).toPlainText(), "Angle");
    EXPECT_EQ(back.situation(true), "C");
    EXPECT_FALSE(back.saveProblem(back.set({"", {}, 1})).isEmpty()) << "no title";
}

} // namespace
