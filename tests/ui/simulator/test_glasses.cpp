#include "common/regional.h"
#include "model/glasscatalogue.h"
#include "model/scenetexts.h"
#include "rowname.h"
#include "simulator/scenecontroller.h"
#include "undo/undohistory.h"
#include "vorlacfixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <ostream>

using namespace vorlac;

namespace
{

// What the pupil does in LOUPE, opened from "Autre" of the prism list.
struct LoupeRow {
    const char *name;
    const char *glass; // chosen in ComboVerres; nullptr: "Verre inconnu"
    const char *typed; // then typed into Text1 ("" for nothing)
};
std::ostream &operator<<(std::ostream &o, const LoupeRow &r)
{
    return o << r.name;
}

class GlassDialog : public VorlacFixture, public ::testing::WithParamInterface<LoupeRow>
{
  protected:
    void settle()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window().undoHistory().stepPending(); }, 3000));
    }
    void openLoupe(std::function<void(QWidget *)> fn)
    {
        dialogs.answer("LOUPE", std::move(fn));
        auto *combo = child<QComboBox>("Combo1");
        combo->setCurrentIndex(kCustomMaterial);
        emit combo->activated(kCustomMaterial);
    }
};

TEST_P(GlassDialog, FillsHidesAndUndoes)
{
    const LoupeRow r = GetParam();
    Vorlac &w = window();
    const SceneState before = w.controller().state();
    QString fit;
    openLoupe([&](QWidget *d) {
        auto *list = d->findChild<QComboBox *>("ComboVerres");
        auto *a = d->findChild<QLineEdit *>("Text1");
        auto *b = d->findChild<QLineEdit *>("Text2");
        if (r.glass) {
            list->setCurrentIndex(glassRow(QString::fromUtf8(r.glass)));
            emit list->activated(list->currentIndex());
            EXPECT_EQ(a->text(), shortestSingleText(glassLaw(list->currentIndex()).cauchyA));
            EXPECT_EQ(b->text(), shortestSingleText(glassLaw(list->currentIndex()).cauchyB));
        } else {
            d->findChild<QPushButton *>("BoutonVerreInconnu")->click();
            EXPECT_TRUE(a->text().isEmpty() && b->text().isEmpty() && list->currentText().isEmpty());
            EXPECT_EQ(list->placeholderText(), "verre inconnu");
            a->undo(); // no undo brings the numbers back
            EXPECT_TRUE(a->text().isEmpty());
        }
        fit = d->findChild<QLabel *>("LabelEcart")->text();
        if (*r.typed) {
            a->selectAll();
            QTest::keyClicks(a, r.typed);
            EXPECT_EQ(list->currentIndex(), -1);
        }
        d->findChild<QPushButton *>("Command2")->click();
    });
    const SceneState &s = w.controller().state();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(s.prismMaterial, kCustomMaterial);
    if (*r.typed) {
        EXPECT_EQ(s.glass, -1);
        EXPECT_EQ(s.prismCauchyA, 1.6f);
        return;
    }
    ASSERT_GE(s.glass, 0);
    EXPECT_EQ(s.glassHidden, r.glass == nullptr);
    EXPECT_EQ(s.prismCauchyA, glassLaw(s.glass).cauchyA);
    const QString name = glassName(s.glass);
    const QString fitText = regionalLocale().toString(glassFit(s.glass).maxDifference, 'f', 4);
    if (r.glass) {
        EXPECT_EQ(fit, QStringLiteral("Écart maximal de l'ajustement : ") + fitText);
        return;
    }
    // Hidden: no label of the window shows the name or the index.
    EXPECT_EQ(child<QLabel>("Label4")->text(), "n = ?");
    child<QWidget>("PictureMesures")->show();
    EXPECT_TRUE(child<QLabel>("MesureMinimum")->text().endsWith("= ?"));
    const QString index = indexText(CauchyIndex(s.prismCauchyA, s.prismCauchyB, s.wavelength)).mid(4, 5);
    for (QLabel *l : w.findChildren<QLabel *>())
        EXPECT_FALSE(l->text().contains(name) || l->text().contains(index)) << l->objectName().toStdString();
    settle();
    w.controller().revealGlass();
    EXPECT_NE(child<QLabel>("Label4")->text(), "n = ?");
    EXPECT_FALSE(child<QLabel>("MesureMinimum")->text().endsWith("= ?"));
    settle();
    w.undoHistory().undo(); // hidden again
    EXPECT_TRUE(w.controller().state().glassHidden);
    w.undoHistory().undo(); // back before the glass
    EXPECT_EQ(w.controller().state(), before);
}

INSTANTIATE_TEST_SUITE_P(Rows, GlassDialog,
                         ::testing::Values(LoupeRow{"bk7", "N-BK7", ""},
                                           LoupeRow{"diamond_beyond_limits", "diamant", ""},
                                           LoupeRow{"typed_after_f2", "F2", "1.6"}, LoupeRow{"unknown", nullptr, ""}),
                         RowName());

} // namespace
