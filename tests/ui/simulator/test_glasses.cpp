#include "common/hintline.h"
#include "common/regional.h"
#include "model/glasscatalogue.h"
#include "model/scenetexts.h"
#include "rowname.h"
#include "scene/scenecontroller.h"
#include "undo/undohistory.h"
#include "vorlacfixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <ostream>

using namespace vorlac;

namespace
{

// In LOUPE, opened by "Autre" of the prism list: a glass of ComboVerres (nullptr: "Verre
// inconnu"), then maybe a typed A.
struct LoupeRow {
    const char *glass;
    const char *typed;
};
std::ostream &operator<<(std::ostream &o, const LoupeRow &r)
{
    return o << (r.glass ? r.glass : "inconnu") << ' ' << r.typed;
}

class GlassDialog : public VorlacFixture, public ::testing::WithParamInterface<LoupeRow>
{
};

TEST_P(GlassDialog, FillsHidesAndUndoes)
{
    const LoupeRow r = GetParam();
    Vorlac &w = window();
    const SceneState before = w.controller().state();
    QString fit;
    dialogs.answer("LOUPE", [&](QWidget *d) {
        auto *list = d->findChild<QComboBox *>("ComboVerres");
        auto *a = d->findChild<QLineEdit *>("Text1");
        if (r.glass) {
            list->setCurrentIndex(glassRow(QString::fromUtf8(r.glass)));
            emit list->activated(list->currentIndex());
            EXPECT_EQ(a->text(), shortestSingleText(glassLaw(list->currentIndex()).cauchyA));
        } else {
            d->findChild<QPushButton *>("BoutonVerreInconnu")->click();
            a->undo(); // no undo brings the numbers back
            EXPECT_TRUE(a->text().isEmpty() && d->findChild<QLineEdit *>("Text2")->text().isEmpty());
            EXPECT_TRUE(list->currentText().isEmpty() && list->placeholderText() == "verre inconnu");
        }
        fit = d->findChild<QLabel *>("LabelEcart")->text();
        if (*r.typed) {
            a->selectAll();
            QTest::keyClicks(a, r.typed);
        }
        d->findChild<QPushButton *>("Command2")->click();
    });
    auto *combo = child<QComboBox>("Combo1");
    combo->setCurrentIndex(kCustomMaterial);
    emit combo->activated(kCustomMaterial);
    const SceneState &s = w.controller().state();
    EXPECT_TRUE(messages.empty()); // diamond's A lies past 2: the catalogue's, not typed
    EXPECT_EQ(s.prismMaterial, kCustomMaterial);
    if (*r.typed) {
        EXPECT_EQ(s.glass, -1);
        EXPECT_EQ(s.prismCauchyA, 1.6f);
        return;
    }
    ASSERT_GE(s.glass, 0);
    EXPECT_EQ(s.glassHidden, r.glass == nullptr);
    EXPECT_EQ(s.prismCauchyA, glassLaw(s.glass).cauchyA);
    if (r.glass) {
        EXPECT_EQ(fit, QStringLiteral("Ajustement de Cauchy, écart maximal : ") +
                           regionalLocale().toString(glassFit(s.glass).maxDifference, 'f', 4));
        return;
    }
    // Hidden: no label of the window shows the name or the index.
    child<QWidget>("PictureMesures")->show();
    EXPECT_EQ(child<QLabel>("Label4")->text(), "n = ?");
    EXPECT_TRUE(child<QLabel>("MesureMinimum")->text().endsWith("= ?"));
    const QString index = indexText(scenePrismIndex(s, s.wavelength)).mid(4, 5);
    for (QLabel *l : w.findChildren<QLabel *>())
        EXPECT_FALSE(l->text().contains(glassName(s.glass)) || l->text().contains(index))
            << l->objectName().toStdString();
    settle();
    w.controller().revealGlass();
    EXPECT_NE(child<QLabel>("Label4")->text(), "n = ?");
    EXPECT_FALSE(child<QLabel>("MesureMinimum")->text().endsWith("= ?"));
    settle();
    w.undoHistory().undo(); // hidden again, then back before the glass
    EXPECT_TRUE(w.controller().state().glassHidden);
    w.undoHistory().undo();
    EXPECT_EQ(w.controller().state(), before);
}

INSTANTIATE_TEST_SUITE_P(Rows, GlassDialog,
                         ::testing::Values(LoupeRow{"N-BK7", ""}, LoupeRow{"diamant", ""}, LoupeRow{"F2", "1.6"},
                                           LoupeRow{nullptr, ""}),
                         RowName());

// An unknown glass: the panel shows what a goniometer gives, LOUPE never holds its pair, and
// "Révéler le verre" of the prism panel's menu names it.
enum class HiddenGlassView { Panel, Loupe, MenuReveal };
std::ostream &operator<<(std::ostream &o, HiddenGlassView v)
{
    return o << (v == HiddenGlassView::Panel ? "panel" : v == HiddenGlassView::Loupe ? "loupe" : "menu_reveal");
}

class HiddenGlass : public VorlacFixture, public ::testing::WithParamInterface<HiddenGlassView>
{
};

TEST_P(HiddenGlass, ShowsOnlyWhatAGoniometerGives)
{
    Vorlac &w = window();
    const int row = glassRow(QStringLiteral("N-BK7"));
    w.controller().setGlass(row, true);
    settle();
    switch (GetParam()) {
    case HiddenGlassView::Panel: {
        showMeasures();
        settle();
        for (int line = 1; line <= 5; ++line)
            for (int cell = 4; cell <= 10; ++cell) {
                const QString text = measure(line, cell);
                const bool measured = cell == 4 || cell == 7 || cell == 8; // i, i', D
                EXPECT_EQ(text == "?", !measured) << line << ' ' << cell << ' ' << text.toStdString();
            }
        break;
    }
    case HiddenGlassView::Loupe: {
        dialogs.answer("LOUPE", [&](QWidget *d) {
            EXPECT_TRUE(d->findChild<QLineEdit *>("Text1")->text().isEmpty());
            EXPECT_TRUE(d->findChild<QLineEdit *>("Text2")->text().isEmpty());
            d->findChild<QPushButton *>("Command1")->click();
        });
        auto *combo = child<QComboBox>("Combo1");
        combo->setCurrentIndex(kCustomMaterial);
        emit combo->activated(kCustomMaterial);
        break;
    }
    case HiddenGlassView::MenuReveal:
        child<QAction>("revelerverre")->trigger();
        EXPECT_TRUE(w.hintLine().info().contains(glassName(row))) << w.hintLine().info().toStdString();
        EXPECT_FALSE(w.controller().state().glassHidden);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, HiddenGlass,
                         ::testing::Values(HiddenGlassView::Panel, HiddenGlassView::Loupe, HiddenGlassView::MenuReveal),
                         RowName());

} // namespace
