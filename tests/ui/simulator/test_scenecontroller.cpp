#include "vorlacfixture.h"

#include "common/updown.h"
#include "model/materials.h"
#include "scene/scenecontroller.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>

using namespace vorlac;

namespace
{

struct RedrawRow {
    const char *name;
    SourceType source;
    std::function<void(SceneController &)> change;
    int scenes, whites;
    bool timerRunning;
};

void PrintTo(const RedrawRow &r, std::ostream *os)
{
    *os << r.name;
}

class ControllerRedraws : public ::testing::TestWithParam<RedrawRow>
{
};

// Each setter redraws what its change needs, and pictureRedrawn follows every finished picture.
TEST_P(ControllerRedraws, AsTheChangeRequires)
{
    const RedrawRow row = GetParam();
    SceneController c;
    c.start();
    SceneState s = c.state();
    s.source = row.source;
    c.setState(s);
    const int scenes = c.sceneRedrawCount();
    const int whites = c.whiteRedrawCount();
    QSignalSpy changed(&c, &SceneController::sceneChanged);
    QSignalSpy redrawn(&c, &SceneController::pictureRedrawn);
    row.change(c);
    EXPECT_EQ(c.sceneRedrawCount() - scenes, row.scenes);
    EXPECT_EQ(c.whiteRedrawCount() - whites, row.whites);
    EXPECT_EQ(redrawn.count(), row.scenes + row.whites);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(c.timer1()->isActive(), row.timerRunning);
}

const auto kMono = SourceType::Monochromatic;
const auto kFive = SourceType::FiveRadiations;
const auto kWhite = SourceType::WhiteLight;

INSTANTIATE_TEST_SUITE_P(
    Rows, ControllerRedraws,
    ::testing::Values(
        RedrawRow{"WavelengthFive", kFive, [](SceneController &c) { c.setWavelength(450); }, 0, 0, false},
        RedrawRow{"WavelengthMono", kMono, [](SceneController &c) { c.setWavelength(450); }, 1, 0, false},
        RedrawRow{"WavelengthWhite", kWhite, [](SceneController &c) { c.setWavelength(450); }, 0, 0, false},
        RedrawRow{"ApexWhiteWaitsForTheTimer", kWhite, [](SceneController &c) { c.setApexAngle(50); }, 1, 0, true},
        RedrawRow{"ApexFive", kFive, [](SceneController &c) { c.setApexAngle(50); }, 1, 0, true},
        RedrawRow{"MaterialWhiteAtOnce", kWhite, [](SceneController &c) { c.setMaterial(MaterialSide::Prism, 3); }, 0,
                  1, false},
        RedrawRow{"MaterialFive", kFive, [](SceneController &c) { c.setMaterial(MaterialSide::Outside, 1); }, 1, 0,
                  false},
        RedrawRow{"CustomWhite", kWhite,
                  [](SceneController &c) { c.setCustomMaterial(MaterialSide::Prism, 1.6f, 9000.0f); }, 0, 1, false},
        RedrawRow{"BackgroundWhite", kWhite, [](SceneController &c) { c.setBlackBackground(false); }, 1, 1, false},
        RedrawRow{"BackgroundMono", kMono, [](SceneController &c) { c.setBlackBackground(false); }, 1, 0, false},
        RedrawRow{"MarksFive", kFive, [](SceneController &c) { c.setMarks(true, false); }, 1, 0, false},
        RedrawRow{"ToWhite", kFive, [](SceneController &c) { c.setSource(SourceType::WhiteLight); }, 1, 1, false},
        RedrawRow{"ToMono", kWhite, [](SceneController &c) { c.setSource(SourceType::Monochromatic); }, 1, 0, false},
        RedrawRow{"Incidence", kFive, [](SceneController &c) { c.setIncidenceAngle(50); }, 1, 0, false},
        RedrawRow{"IncidenceWhiteOutsideADrag", kWhite, [](SceneController &c) { c.setIncidenceAngle(50); }, 1, 1,
                  false},
        RedrawRow{"WholeStateWhite", kWhite, [](SceneController &c) { c.setState(c.state()); }, 1, 1, false}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(Controller, MaterialRowsAndTheCustomPair)
{
    SceneController c;
    c.start();
    c.setMaterial(MaterialSide::Outside, 1);
    EXPECT_EQ(c.state().outsideMaterial, 1);
    EXPECT_EQ(c.state().outsideCauchyA, kMaterials[1].cauchyA);
    EXPECT_EQ(c.state().outsideCauchyB, kMaterials[1].cauchyB);
    // "Autre" alone (a situation being loaded) keeps the coefficients and names the side
    c.setMaterial(MaterialSide::Prism, kCustomMaterial);
    EXPECT_EQ(c.customMaterialTarget(), MaterialSide::Prism);
    EXPECT_EQ(c.state().prismMaterial, kCustomMaterial);
    EXPECT_EQ(c.state().prismCauchyA, kMaterials[2].cauchyA);
    c.setCustomMaterial(MaterialSide::Outside, 1.25f, 300.0f);
    EXPECT_EQ(c.customMaterialTarget(), MaterialSide::Outside);
    EXPECT_EQ(c.state().outsideMaterial, kCustomMaterial);
    EXPECT_EQ(c.state().outsideCauchyA, 1.25f);
    EXPECT_EQ(c.state().outsideCauchyB, 300.0f);
    // a row outside the list changes nothing
    const SceneState before = c.state();
    QSignalSpy changed(&c, &SceneController::sceneChanged);
    c.setMaterial(MaterialSide::Prism, 7);
    EXPECT_EQ(c.state(), before);
    EXPECT_EQ(changed.count(), 0);
}

TEST(Controller, SourceDecidesTheMarks)
{
    SceneController c;
    c.start();
    c.setMarks(true, false);
    c.setSource(SourceType::WhiteLight);
    EXPECT_FALSE(c.state().showNormals);
    EXPECT_FALSE(c.state().showPropagation);
    c.setSource(SourceType::Monochromatic);
    EXPECT_FALSE(c.state().showNormals);
    EXPECT_TRUE(c.state().showPropagation);
}

TEST(Controller, IncidenceIsStoredAsTheTraceClampsIt)
{
    SceneController c;
    c.start();
    c.setApexAngle(60);
    c.setIncidenceAngle(-150);
    EXPECT_EQ(c.state().incidenceAngle, -120);
    EXPECT_EQ(c.layout().incidenceAngle, -120);
}

TEST(Controller, TimerTickDrawsWhiteLightOnlyWhenItIsTheSource)
{
    SceneController c;
    c.start();
    c.setApexAngle(50);
    EXPECT_TRUE(c.timer1()->isActive());
    const int whites = c.whiteRedrawCount();
    fireTimer1(c);
    EXPECT_EQ(c.whiteRedrawCount(), whites);
    EXPECT_FALSE(c.timer1()->isActive());
    c.setIncidenceAngle(40); // no white-light picture is pending any more
    EXPECT_FALSE(c.timer1()->isActive());
}

class PanelsFollowTheState : public VorlacFixture
{
};

// A whole scene set from elsewhere (a loaded situation) shows in every panel, and the panels'
// own handlers do not run while they update.
TEST_F(PanelsFollowTheState, WhenTheWholeSceneIsSet)
{
    Vorlac &w = window();
    SceneState s = w.scene();
    s.apexAngle = 60;
    s.wavelength = 450;
    s.source = SourceType::Monochromatic;
    s.blackBackground = false;
    s.showNormals = true;
    s.showPropagation = false;
    s.prismMaterial = 3;
    s.prismCauchyA = kMaterials[3].cauchyA;
    s.prismCauchyB = kMaterials[3].cauchyB;
    s.outsideMaterial = kCustomMaterial;
    s.outsideCauchyA = 1.5f;
    s.outsideCauchyB = 0.0f;
    const int scenes = w.controller().sceneRedrawCount();
    w.controller().setState(s);
    EXPECT_EQ(w.controller().sceneRedrawCount(), scenes + 1);
    EXPECT_EQ(w.scene().apexAngle, 60);
    EXPECT_EQ(child<UpDown>("angle")->value(), 60);
    EXPECT_EQ(child<QLabel>("Label2")->text(), "60");
    EXPECT_EQ(child<QScrollBar>("HScroll1")->value(), 450);
    EXPECT_EQ(child<QLabel>("Label7")->text(), "450");
    EXPECT_EQ(child<QLabel>("Label20")->text(), "450 nm");
    EXPECT_EQ(child<QLabel>("Label14")->text(), "450 nm");
    EXPECT_TRUE(child<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("Option5")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("Option4")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("Option3")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("normales")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("propa")->isChecked());
    EXPECT_EQ(child<QComboBox>("Combo1")->currentIndex(), 3);
    EXPECT_EQ(child<QComboBox>("Combo2")->currentIndex(), kCustomMaterial);
    EXPECT_EQ(child<QLabel>("Label16")->text(), "n = 1,500000");
    EXPECT_EQ(w.scene().showPropagation, false); // not put back by a handler
    EXPECT_TRUE(messages.empty());               // and no dialog opened for "Autre"

    s.source = SourceType::WhiteLight;
    s.showNormals = false;
    w.controller().setState(s);
    EXPECT_TRUE(child<QRadioButton>("Option2")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("normales")->isEnabled());
    EXPECT_EQ(w.picture().raysTraced, 401);
}

} // namespace
