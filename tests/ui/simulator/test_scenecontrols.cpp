#include "vorlacfixture.h"

#include "common/updown.h"
#include "model/raytracer.h"
#include "scene/scenecontroller.h"
#include "scene/sceneframe.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>

#include <cmath>
#include <functional>

using namespace vorlac;

namespace
{

class SceneControls : public VorlacFixture
{
  protected:
    // Where the mouse must stand, in the lamp's own pixels, to aim at the incidence i.
    QPointF lampPointFor(double incidence, double distance = 150)
    {
        Vorlac &w = window();
        const double ang = (incidence - w.scene().apexAngle / 2.0) * 3.1415927 / 180;
        const double x = w.picture().lastLayout.incidencePointX - distance * std::cos(ang);
        const double y = 125 + distance * std::sin(ang);
        const QWidget *lamp = child<QWidget>("lampe");
        return {std::round(x) - lamp->x(), std::round(y) - lamp->y()};
    }

    void whenDialogOpens(std::function<void(QWidget *)> fn) { dialogs.answer("LOUPE", std::move(fn)); }

    void chooseCustom(const char *list)
    {
        auto *combo = child<QComboBox>(list);
        combo->setCurrentIndex(4);
        emit combo->activated(4);
    }
};

TEST_F(SceneControls, LampDragFollowsTheMouseWithin15Degrees)
{
    Vorlac &w = window();
    const int before = w.controller().sceneRedrawCount();
    w.sceneFrame().lampMouseMove(Qt::LeftButton, lampPointFor(46));
    EXPECT_NEAR(w.scene().incidenceAngle, 46, 0.5);
    EXPECT_TRUE(w.controller().lampDragging());
    EXPECT_EQ(w.controller().sceneRedrawCount(), before + 1);
    EXPECT_EQ(w.info(), "Pour déplacer la source lumineuse, utiliser la souris en maintenant le bouton gauche enfoncé");
    // the lamp went where the trace put it
    EXPECT_NEAR(child<QWidget>("lampe")->x(), w.picture().lastLayout.lampTopLeft.x, 0.5);

    const double at = w.scene().incidenceAngle;
    w.sceneFrame().lampMouseMove(Qt::LeftButton, lampPointFor(at + 20)); // too far in one move
    EXPECT_EQ(w.scene().incidenceAngle, at);
    EXPECT_EQ(w.controller().sceneRedrawCount(), before + 1);
}

TEST_F(SceneControls, LampStopsAtPlusMinus90)
{
    Vorlac &w = window();
    for (double target = 36; target <= 100; target += 10)
        w.sceneFrame().lampMouseMove(Qt::LeftButton, lampPointFor(target));
    EXPECT_LE(w.scene().incidenceAngle, 90);
    EXPECT_GE(w.scene().incidenceAngle, 85);
    // A = 60: towards the apex side the drag stops at -90
    child<UpDown>("angle")->setValue(60);
    for (double target = w.scene().incidenceAngle; target >= -130; target -= 4)
        w.sceneFrame().lampMouseMove(Qt::LeftButton, lampPointFor(target));
    EXPECT_GE(w.scene().incidenceAngle, -90);
    EXPECT_LE(w.scene().incidenceAngle, -86);
}

TEST_F(SceneControls, SamePositionTwiceDoesNothing)
{
    Vorlac &w = window();
    const QPointF p = lampPointFor(40);
    w.sceneFrame().lampMouseMove(Qt::NoButton, p); // hover
    const int count = w.controller().sceneRedrawCount();
    w.sceneFrame().lampMouseMove(Qt::LeftButton, p); // press without moving
    EXPECT_EQ(w.controller().sceneRedrawCount(), count);
    EXPECT_FALSE(w.controller().lampDragging());
    EXPECT_EQ(w.scene().incidenceAngle, 36);
}

TEST_F(SceneControls, LevelWithMOnItsLeftGivesHalfTheApex)
{
    Vorlac &w = window();
    w.sceneFrame().lampMouseMove(Qt::LeftButton, lampPointFor(22.5, 150)); // ang = 0
    EXPECT_NEAR(w.scene().incidenceAngle, 22.5, 1e-9);
}

TEST_F(SceneControls, WhiteLightDragPreviewsThenDrawsTheSpectrumOnRelease)
{
    Vorlac &w = window();
    child<QRadioButton>("Option2")->click();
    const int white = w.controller().whiteRedrawCount();
    w.sceneFrame().lampMouseMove(Qt::LeftButton, lampPointFor(40));
    w.sceneFrame().lampMouseMove(Qt::LeftButton, lampPointFor(44));
    EXPECT_EQ(w.picture().raysTraced, 5); // the quick preview
    EXPECT_EQ(w.controller().whiteRedrawCount(), white);
    w.sceneFrame().lampMouseUp();
    EXPECT_EQ(w.controller().whiteRedrawCount(), white + 1);
    EXPECT_EQ(w.picture().raysTraced, 401);
    EXPECT_FALSE(w.controller().lampDragging());
}

TEST_F(SceneControls, ButtonlessMoveEndsADragThatLostItsMouseUp)
{
    Vorlac &w = window();
    child<QRadioButton>("Option2")->click();
    w.sceneFrame().lampMouseMove(Qt::LeftButton, lampPointFor(40));
    const int white = w.controller().whiteRedrawCount();
    w.sceneFrame().lampMouseMove(Qt::NoButton, lampPointFor(41));
    EXPECT_FALSE(w.controller().lampDragging());
    EXPECT_EQ(w.controller().whiteRedrawCount(), white + 1);
    EXPECT_NEAR(w.scene().incidenceAngle, 40, 0.5); // not moved by a button-less move
}

TEST_F(SceneControls, RealMouseEventsOnTheLampDriveTheDrag)
{
    Vorlac &w = window();
    w.show();
    QWidget *lamp = child<QWidget>("lampe");
    const QPointF p1 = lampPointFor(40);
    QMouseEvent press(QEvent::MouseButtonPress, p1, lamp->mapToGlobal(p1), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(lamp, &press);
    EXPECT_NEAR(w.scene().incidenceAngle, 40, 0.5);
    const QPointF p2 = lampPointFor(48);
    QMouseEvent move(QEvent::MouseMove, p2, lamp->mapToGlobal(p2), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(lamp, &move);
    EXPECT_NEAR(w.scene().incidenceAngle, 48, 0.5);
}

TEST_F(SceneControls, WhiteLightClearsAndGreysTheMarksOthersGiveThemBack)
{
    Vorlac &w = window();
    auto *normales = child<QCheckBox>("normales");
    auto *propa = child<QCheckBox>("propa");
    normales->setChecked(true);
    child<QRadioButton>("Option2")->click();
    EXPECT_FALSE(normales->isChecked());
    EXPECT_FALSE(propa->isChecked());
    EXPECT_FALSE(normales->isEnabled());
    EXPECT_FALSE(propa->isEnabled());
    EXPECT_EQ(w.picture().raysTraced, 401);
    for (const char *option : {"Option1", "Option5"}) {
        child<QRadioButton>("Option2")->click();
        child<QRadioButton>(option)->click();
        EXPECT_TRUE(normales->isEnabled()) << option;
        EXPECT_TRUE(propa->isEnabled()) << option;
        EXPECT_TRUE(propa->isChecked()) << option;
        EXPECT_FALSE(normales->isChecked()) << option;
    }
    EXPECT_EQ(w.picture().raysTraced, 5);
}

TEST_F(SceneControls, WavelengthUnderFiveRadiationsUpdatesReadoutsButNotThePicture)
{
    Vorlac &w = window();
    const QImage before = w.picture().image;
    const int count = w.controller().sceneRedrawCount();
    child<QScrollBar>("HScroll1")->setValue(400);
    EXPECT_EQ(child<QLabel>("Label7")->text(), "400");
    EXPECT_EQ(child<QLabel>("Label20")->text(), "400 nm");
    EXPECT_EQ(child<QLabel>("Label14")->text(), "400 nm");
    EXPECT_EQ(child<QLabel>("Label4")->text(), "n = 1,546416");
    EXPECT_EQ(child<QLabel>("Label16")->text(), "n = 1,000279");
    EXPECT_EQ(w.info(), "Pour affiner le réglage de la longueur d'onde, utiliser les boutons < et >");
    EXPECT_EQ(w.controller().sceneRedrawCount(), count);
    EXPECT_EQ(w.picture().image, before);
}

TEST_F(SceneControls, WavelengthUnderMonochromaticRedrawsInItsColour)
{
    Vorlac &w = window();
    child<QRadioButton>("Option1")->click();
    const int count = w.controller().sceneRedrawCount();
    auto *bar = child<QScrollBar>("HScroll1");
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 614);
    EXPECT_EQ(w.controller().sceneRedrawCount(), count + 1);
    EXPECT_EQ(w.picture().raysTraced, 1);
    bar->setValue(790);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd); // clamped at 800
    EXPECT_EQ(bar->value(), 800);
    EXPECT_EQ(w.picture().line1Colour, makeRgb(128, 0, 0));
    child<QRadioButton>("Option4")->click();
    EXPECT_EQ(w.picture().line1Colour, palette::Black);
}

TEST_F(SceneControls, ApexChangesPreviewThenOneWhiteLightPictureAfterTheTimer)
{
    Vorlac &w = window();
    child<QRadioButton>("Option2")->click();
    auto *timer = w.findChild<QTimer *>("Timer1");
    const int scenes = w.controller().sceneRedrawCount();
    const int whites = w.controller().whiteRedrawCount();
    auto *angle = child<UpDown>("angle");
    for (int i = 0; i < 5; ++i) {
        angle->stepUp();
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 1500);
        EXPECT_EQ(w.picture().raysTraced, 5);
    }
    EXPECT_EQ(child<QLabel>("Label2")->text(), "50");
    EXPECT_EQ(w.info(), "L'angle au sommet du vorlac peut\r\nvarier de 2 à 90 degrés.");
    EXPECT_EQ(w.controller().sceneRedrawCount(), scenes + 5);
    EXPECT_EQ(w.controller().whiteRedrawCount(), whites);
    fireTimer1(w.controller()); // 1.5 s later
    EXPECT_EQ(w.controller().whiteRedrawCount(), whites + 1);
    EXPECT_EQ(w.picture().raysTraced, 401);
    EXPECT_FALSE(timer->isActive());
}

TEST_F(SceneControls, ApexStopsAt2And90)
{
    Vorlac &w = window();
    auto *angle = child<UpDown>("angle");
    angle->setValue(1);
    EXPECT_EQ(angle->value(), 2);
    EXPECT_EQ(w.scene().apexAngle, 2);
    angle->setValue(95);
    EXPECT_EQ(angle->value(), 90);
    EXPECT_EQ(child<QLabel>("Label2")->text(), "90");
}

TEST_F(SceneControls, MaterialChangeInWhiteLightRedrawsTheSpectrumAtOnce)
{
    Vorlac &w = window();
    child<QRadioButton>("Option2")->click();
    const int whites = w.controller().whiteRedrawCount();
    auto *combo = child<QComboBox>("Combo1");
    combo->setCurrentIndex(3);
    emit combo->activated(3);
    EXPECT_EQ(w.controller().whiteRedrawCount(), whites + 1);
    EXPECT_EQ(w.scene().prismMaterial, 3);
    EXPECT_EQ(child<QLabel>("Label4")->text(), "n = 1,628852");
}

TEST_F(SceneControls, SameMaterialInsideAndOutsideGoesStraightThrough)
{
    Vorlac &w = window();
    auto *combo = child<QComboBox>("Combo2");
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(w.scene().outsideMaterial, 2);
    EXPECT_EQ(child<QLabel>("Label16")->text(), child<QLabel>("Label4")->text());
    TraceInput in;
    in.apexAngle = w.scene().apexAngle;
    in.incidenceAngle = w.scene().incidenceAngle;
    in.prismIndex = CauchyIndex(w.scene().prismCauchyA, w.scene().prismCauchyB, 589);
    in.outsideIndex = CauchyIndex(w.scene().outsideCauchyA, w.scene().outsideCauchyB, 589);
    const TraceResult r = TraceRay(in);
    const double incident = -(180 - 22.5 + 36 + 180);
    EXPECT_NEAR(std::remainder(r.emergentDirection - incident, 360.0), 0, 1e-3);
}

TEST_F(SceneControls, LoupeOpensOnThePrismPairAndAcceptsAFullStop)
{
    Vorlac &w = window();
    bool ran = false;
    whenDialogOpens([&](QWidget *d) {
        EXPECT_EQ(d->objectName(), "LOUPE");
        EXPECT_EQ(d->windowTitle(), "Definir un matériau non listé");
        auto *a = d->findChild<QLineEdit *>("Text1");
        auto *b = d->findChild<QLineEdit *>("Text2");
        EXPECT_EQ(a->text(), "1,472363");
        EXPECT_EQ(b->text(), "11848,408");
        a->clear();
        QTest::keyClicks(a, "1.52x-");
        EXPECT_EQ(a->text(), "1,52");
        d->findChild<QPushButton *>("Command2")->click();
        ran = true;
    });
    chooseCustom("Combo1");
    ASSERT_TRUE(ran);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(w.scene().prismCauchyA, 1.52f);
    EXPECT_EQ(w.scene().prismCauchyB, 11848.408f);
    EXPECT_EQ(w.scene().prismMaterial, 4);
    EXPECT_EQ(w.controller().customMaterialTarget(), MaterialSide::Prism);
    EXPECT_EQ(child<QLabel>("Label4")->text(), "n = 1,554153");
}

// A dialog the test leaves open (here it refuses A = 5) is closed and the test fails instead of
// waiting forever.
TEST_F(SceneControls, DialogLeftOpenFailsTheTestInsteadOfHanging)
{
    window();
    ::testing::TestPartResultArray failures;
    {
        const ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        whenDialogOpens([](QWidget *d) {
            d->findChild<QLineEdit *>("Text1")->setText("5");
            d->findChild<QPushButton *>("Command2")->click();
        });
        chooseCustom("Combo1");
    }
    ASSERT_EQ(failures.size(), 1);
    EXPECT_THAT(failures.GetTestPartResult(0).message(), ::testing::HasSubstr("(LOUPE) stayed open"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(window().scene().prismMaterial, 2);
}

TEST_F(SceneControls, LoupeOpensOnTheMediumPair)
{
    window();
    QString a, b;
    whenDialogOpens([&](QWidget *d) {
        a = d->findChild<QLineEdit *>("Text1")->text();
        b = d->findChild<QLineEdit *>("Text2")->text();
        d->findChild<QPushButton *>("Command1")->click();
    });
    chooseCustom("Combo2");
    EXPECT_EQ(a, "1,0002747");
    EXPECT_EQ(b, "0,74");
}

struct RefusalRow {
    const char *a, *b;
    const char *message;
};

void PrintTo(const RefusalRow &r, std::ostream *os)
{
    *os << "A=" << r.a << " B=" << r.b;
}

class LoupeRefusals : public SceneControls, public ::testing::WithParamInterface<RefusalRow>
{
};

TEST_P(LoupeRefusals, KeepTheDialogOpenWithItsTexts)
{
    Vorlac &w = window();
    const RefusalRow row = GetParam();
    bool stillOpen = false;
    whenDialogOpens([&](QWidget *d) {
        auto *a = d->findChild<QLineEdit *>("Text1");
        auto *b = d->findChild<QLineEdit *>("Text2");
        a->setText(row.a);
        b->setText(row.b);
        d->findChild<QPushButton *>("Command2")->click();
        stillOpen = d->isVisible();
        EXPECT_EQ(a->text(), row.a);
        d->findChild<QPushButton *>("Command1")->click();
    });
    chooseCustom("Combo1");
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, row.message);
    EXPECT_EQ(messages[0].title, "Propriété incorrecte");
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(w.scene().prismCauchyA, kMaterials[2].cauchyA);
}

INSTANTIATE_TEST_SUITE_P(Rows, LoupeRefusals,
                         ::testing::Values(RefusalRow{"2,5", "100", "Valeur de A en dehors des limites."},
                                           RefusalRow{"0,99", "100", "Valeur de A en dehors des limites."},
                                           RefusalRow{"", "100", "Valeur de A en dehors des limites."},
                                           RefusalRow{"1,5", "50000", "Valeur de B en dehors des limites."},
                                           RefusalRow{"1,5", "40000,5", "Valeur de B en dehors des limites."}));

struct AcceptRow {
    const char *a, *b;
    float storedA, storedB;
};

void PrintTo(const AcceptRow &r, std::ostream *os)
{
    *os << "A=" << r.a << " B=" << r.b;
}

class LoupeAccepts : public SceneControls, public ::testing::WithParamInterface<AcceptRow>
{
};

TEST_P(LoupeAccepts, InclusiveLimitsAndEmptyB)
{
    Vorlac &w = window();
    const AcceptRow row = GetParam();
    whenDialogOpens([&](QWidget *d) {
        d->findChild<QLineEdit *>("Text1")->setText(row.a);
        d->findChild<QLineEdit *>("Text2")->setText(row.b);
        d->findChild<QPushButton *>("Command2")->click();
    });
    chooseCustom("Combo2");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(w.scene().outsideCauchyA, row.storedA);
    EXPECT_EQ(w.scene().outsideCauchyB, row.storedB);
    EXPECT_EQ(w.scene().outsideMaterial, 4);
    EXPECT_EQ(child<QComboBox>("Combo2")->currentIndex(), 4);
    // always six decimals, even for an exact index
    EXPECT_TRUE(QRegularExpression("^n = \\d,\\d{6}$").match(child<QLabel>("Label16")->text()).hasMatch())
        << child<QLabel>("Label16")->text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, LoupeAccepts,
                         ::testing::Values(AcceptRow{"1", "0", 1.0f, 0.0f}, AcceptRow{"2", "40000", 2.0f, 40000.0f},
                                           AcceptRow{"1,33", "", 1.33f, 0.0f}, AcceptRow{"1,33", ",", 1.33f, 0.0f}));

TEST_F(SceneControls, LoupeCancelPutsTheListBackOnThePreviousMaterial)
{
    Vorlac &w = window();
    auto *combo = child<QComboBox>("Combo1");
    combo->setCurrentIndex(3);
    emit combo->activated(3); // Verre Flint
    whenDialogOpens([&](QWidget *d) {
        d->findChild<QLineEdit *>("Text1")->setText("1,9");
        d->findChild<QPushButton *>("Command1")->click();
    });
    chooseCustom("Combo1");
    EXPECT_EQ(combo->currentIndex(), 3);
    EXPECT_EQ(w.scene().prismMaterial, 3);
    EXPECT_EQ(w.scene().prismCauchyA, kMaterials[3].cauchyA);
    EXPECT_EQ(w.scene().prismCauchyB, kMaterials[3].cauchyB);
    EXPECT_EQ(child<QLabel>("Label4")->text(), "n = 1,628852");
}

TEST_F(SceneControls, LoupeKeyFilterFollowsTheRegionalSeparator)
{
    window();
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QString typed;
    whenDialogOpens([&](QWidget *d) {
        auto *a = d->findChild<QLineEdit *>("Text1");
        a->clear();
        QTest::keyClicks(a, "1.4,5");
        typed = a->text();
        d->findChild<QPushButton *>("Command2")->click();
    });
    chooseCustom("Combo1");
    QLocale::setDefault(saved);
    EXPECT_EQ(typed, "1.45"); // the point stays a point; the comma is no separator here
    EXPECT_FLOAT_EQ(window().scene().prismCauchyA, 1.45f);
}

TEST_F(SceneControls, BackgroundOptionsRedrawInBlackOnWhite)
{
    Vorlac &w = window();
    child<QRadioButton>("Option4")->click();
    EXPECT_FALSE(w.scene().blackBackground);
    EXPECT_EQ(w.picture().image.pixel(0, 0), 0xffffffffu);
    EXPECT_EQ(w.picture().line1Colour, palette::Black);
    child<QRadioButton>("Option3")->click();
    EXPECT_EQ(w.picture().image.pixel(0, 0), 0xff000000u);
    child<QCheckBox>("normales")->click();
    EXPECT_TRUE(w.scene().showNormals);
}

TEST_F(SceneControls, VScroll1MovesThePicture)
{
    window();
    child<QScrollBar>("VScroll1")->setValue(150);
    EXPECT_EQ(child<QWidget>("dessin")->y(), -150);
}

} // namespace
