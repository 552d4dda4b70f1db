#include "common/hintline.h"
#include "model/linelamps.h"
#include "rowname.h"
#include "spectra/observedspectrumview.h"
#include "spectra/screenpanel.h"
#include "spectra/spectrumaccessible.h"

#include <QAccessibleValueInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>
#include <set>

using namespace vorlac;

namespace
{

SceneState scene(SourceType source, const char *lamp = "sodium", bool hidden = false)
{
    SceneState s;
    s.source = source;
    s.lamp = lineLampRow(QString::fromUtf8(lamp));
    s.lampHidden = hidden;
    return s;
}

Absorber gas(const char *lamp, bool hidden)
{
    return {AbsorberKind::Gas, lineLampRow(QString::fromUtf8(lamp)), hidden};
}

struct ViewFixture {
    explicit ViewFixture(const ScreenSpectrum &spectrum)
    {
        view.resize(500, 120);
        view.setSpectrum(spectrum);
        view.show();
    }
    ObservedSpectrumView view;
};

struct KeyRow {
    const char *name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int presses;
    int expected; // the cursor's strip pixel after them, from pixel 100 (-1: the last pixel)
    friend void PrintTo(const KeyRow &r, std::ostream *os) { *os << r.name; }
};

using CursorKeys = ::testing::TestWithParam<KeyRow>;

TEST_P(CursorKeys, MoveByPixels)
{
    const KeyRow &r = GetParam();
    ViewFixture f(ScreenSpectrum(scene(SourceType::WhiteLight), {}, ScreenSource{}, {}));
    const StripRange range = f.view.range();
    f.view.setCursorMm(range.pixelCentre(100));
    QSignalSpy moved(&f.view, &ObservedSpectrumView::cursorMoved);
    for (int i = 0; i < r.presses; ++i)
        QTest::keyClick(&f.view, r.key, r.modifiers);
    const int expected = r.expected < 0 ? range.widthPx - 1 : r.expected;
    EXPECT_EQ(range.pixelOf(f.view.cursorMm()), expected);
    ASSERT_FALSE(moved.isEmpty());
    EXPECT_DOUBLE_EQ(moved.last().at(0).toDouble(), f.view.cursorMm());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CursorKeys,
    ::testing::Values(KeyRow{"Right", Qt::Key_Right, {}, 1, 101}, KeyRow{"Left_twice", Qt::Key_Left, {}, 2, 98},
                      KeyRow{"Shift_Right", Qt::Key_Right, Qt::ShiftModifier, 1, 110},
                      KeyRow{"Shift_Left", Qt::Key_Left, Qt::ShiftModifier, 3, 70},
                      KeyRow{"Shift_Left_stops_at_0", Qt::Key_Left, Qt::ShiftModifier, 12, 0},
                      KeyRow{"Home", Qt::Key_Home, {}, 1, 0}, KeyRow{"End", Qt::Key_End, {}, 1, -1},
                      KeyRow{"Shift_Right_stops_at_end", Qt::Key_Right, Qt::ShiftModifier, 60, -1}),
    RowName());

TEST(CursorMouse, ClickDragAndWheel)
{
    ViewFixture f(ScreenSpectrum(scene(SourceType::WhiteLight), {}, ScreenSource{}, {}));
    const QRect strip = f.view.stripRect();
    QTest::mouseClick(&f.view, Qt::LeftButton, {}, strip.topLeft() + QPoint(50, 5));
    EXPECT_EQ(f.view.range().pixelOf(f.view.cursorMm()), 50);
    QMouseEvent drag(QEvent::MouseMove, strip.topLeft() + QPoint(80, 5), f.view.mapToGlobal(strip.topLeft()),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&f.view, &drag);
    EXPECT_EQ(f.view.range().pixelOf(f.view.cursorMm()), 80);
    const double span = f.view.range().toMm - f.view.range().fromMm, at = f.view.cursorMm();
    QWheelEvent wheel(strip.topLeft() + QPointF(80.5, 5), {}, {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&f.view, &wheel);
    EXPECT_NEAR(f.view.range().toMm - f.view.range().fromMm, span / 1.5, 1e-9);
    EXPECT_NEAR(f.view.cursorMm(), at, f.view.range().pixelMm());
}

struct ReadoutRow {
    const char *name;
    SceneState scene;
    bool sun;
    Absorber absorber;
    bool wavelengthShown;
    friend void PrintTo(const ReadoutRow &r, std::ostream *os) { *os << r.name; }
};

using Readout = ::testing::TestWithParam<ReadoutRow>;

TEST_P(Readout, WavelengthOnlyWhenNothingIsHidden)
{
    const ReadoutRow &r = GetParam();
    const ScreenSource source = r.sun ? sunSource() : screenSourceFor(r.scene);
    const ScreenSpectrum spectrum(r.scene, {}, source, r.absorber);
    ASSERT_TRUE(spectrum.shown());
    ViewFixture f(spectrum);
    // On the sodium line, or on its dark line: where a wavelength would say the most.
    f.view.setCursorMm(*spectrum.positionOf(589.0));
    QTest::keyClick(&f.view, Qt::Key_Right);
    const QString text = f.view.readoutText();
    static const QRegularExpression form(
        QStringLiteral("^x = (-?\\d+,\\d{1,3}) mm(?: ; λ = (\\d{3},\\d) nm)?(?: — raie .*)?$"));
    const QRegularExpressionMatch m = form.match(text);
    ASSERT_TRUE(m.hasMatch()) << text.toStdString();
    auto number = [](QString t) { return t.replace(u',', u'.').toDouble(); };
    EXPECT_NEAR(number(m.captured(1)), f.view.cursorMm(), f.view.range().pixelMm() / 2);
    EXPECT_EQ(m.hasCaptured(2), r.wavelengthShown) << text.toStdString();
    if (r.wavelengthShown) {
        EXPECT_NEAR(number(m.captured(2)), *spectrum.dispersion().wavelengthAt(f.view.cursorMm()), 0.05);
    }
    EXPECT_TRUE(f.view.accessibleName().endsWith(text)) << f.view.accessibleName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Readout,
    ::testing::Values(
        ReadoutRow{"sodium_lamp", scene(SourceType::LineLamp), false, {}, true},
        ReadoutRow{"hidden_sodium_lamp", scene(SourceType::LineLamp, "sodium", true), false, {}, false},
        ReadoutRow{"white_light_sodium_gas", scene(SourceType::WhiteLight), false, gas("sodium", false), true},
        ReadoutRow{"white_light_hidden_gas", scene(SourceType::WhiteLight), false, gas("sodium", true), false},
        ReadoutRow{"Sun", scene(SourceType::WhiteLight), true, {}, true},
        ReadoutRow{"Sun_hidden_filter", scene(SourceType::WhiteLight), true, {AbsorberKind::Filter, 0, true}, false}),
    RowName());

using LitPixels = ::testing::TestWithParam<const char *>;

TEST_P(LitPixels, AreTheLinesLandingPixels)
{
    const SceneState lamp = scene(SourceType::LineLamp, GetParam());
    const ScreenSpectrum spectrum(lamp, {}, screenSourceFor(lamp), {});
    ViewFixture f(spectrum);
    QTest::keyClick(&f.view, Qt::Key_Home); // the cursor out of the way, at the dark margin
    const QImage shot = f.view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect strip = f.view.stripRect();
    const StripRange range = f.view.range();
    std::set<int> expected;
    for (const SpectralLine &l : screenSourceFor(lamp).lines)
        if (const std::optional<double> at = spectrum.positionOf(l.wavelength))
            expected.insert(range.pixelOf(*at));
    ASSERT_FALSE(expected.empty());
    std::set<int> lit;
    for (int x = 2; x < strip.width(); ++x)
        if (qGray(shot.pixel(strip.left() + x, strip.center().y())) > 0)
            lit.insert(x);
    for (const int x : lit)
        EXPECT_TRUE(expected.count(x)) << x;
    EXPECT_GE(lit.size(), expected.size() / 2); // the faintest lines may stay below a grey level
    // Ctrl+Right goes from line to line, each on its lit pixel and named in the read-out.
    for (std::size_t stop = 0; stop < spectrum.lines().size(); ++stop) {
        QTest::keyClick(&f.view, Qt::Key_Right, Qt::ControlModifier);
        EXPECT_TRUE(expected.count(range.pixelOf(f.view.cursorMm()))) << stop;
        EXPECT_TRUE(f.view.readoutText().contains(QStringLiteral("— raie brillante, "))) << stop;
    }
    EXPECT_EQ(range.pixelOf(f.view.cursorMm()), *expected.rbegin());
}

INSTANTIATE_TEST_SUITE_P(Rows, LitPixels, ::testing::Values("sodium", "mercure", "néon", "hydrogène"), RowName());

TEST(SpectrumAccessible, IsASliderReadingTheCursor)
{
    QAccessible::installFactory(observedSpectrumAccessibleFactory);
    ViewFixture f(ScreenSpectrum(scene(SourceType::LineLamp), {}, screenSourceFor(scene(SourceType::LineLamp)), {}));
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(&f.view);
    ASSERT_TRUE(a && a->valueInterface());
    EXPECT_EQ(a->role(), QAccessible::Slider);
    a->valueInterface()->setCurrentValue(f.view.range().pixelCentre(40));
    EXPECT_EQ(f.view.range().pixelOf(a->valueInterface()->currentValue().toDouble()), 40);
    EXPECT_EQ(a->text(QAccessible::Value), f.view.readoutText());
    QAccessible::removeFactory(observedSpectrumAccessibleFactory);
}

TEST(ScreenPanelControls, ChangeTheSettingsFromTheKeyboard)
{
    HintLine hints(nullptr);
    ScreenPanel panel(hints, nullptr);
    panel.show();
    QSignalSpy changed(&panel, &ScreenPanel::settingsChanged);
    panel.setSettings({false, {500.0}, false, {}});
    EXPECT_TRUE(changed.isEmpty());

    QTest::keyClick(panel.findChild<QCheckBox *>(QStringLiteral("CaseEcran")), Qt::Key_Space);
    EXPECT_TRUE(panel.settings().shown);
    QTest::keyClick(panel.findChild<QSpinBox *>(QStringLiteral("DistanceEcran")), Qt::Key_Up);
    EXPECT_EQ(panel.settings().placement.distanceMm, 510.0);
    QTest::keyClick(panel.findChild<QSpinBox *>(QStringLiteral("RotationEcran")), Qt::Key_Down);
    EXPECT_EQ(panel.settings().placement.turnDegrees, -1.0);
    QTest::keyClick(panel.findChild<QComboBox *>(QStringLiteral("ListeLumiereEcran")), Qt::Key_Down);
    EXPECT_TRUE(panel.settings().sun);
    auto *absorbers = panel.findChild<QComboBox *>(QStringLiteral("ListeAbsorbants"));
    QTest::keyClick(absorbers, Qt::Key_Down);
    EXPECT_EQ(panel.settings().absorber, absorberChoices()[1]);

    QTest::keyClick(panel.findChild<QPushButton *>(QStringLiteral("BoutonAbsorbantInconnu")), Qt::Key_Space);
    EXPECT_TRUE(panel.settings().absorber.hidden);
    EXPECT_EQ(absorbers->currentText(), QString()); // its name nowhere, the list shows its placeholder
    auto *reveal = panel.findChild<QPushButton *>(QStringLiteral("BoutonRevelerAbsorbant"));
    ASSERT_TRUE(reveal->isEnabled());
    QTest::keyClick(reveal, Qt::Key_Space);
    EXPECT_FALSE(panel.settings().absorber.hidden);
    EXPECT_EQ(absorbers->currentText(), absorberName(panel.settings().absorber));
    EXPECT_EQ(changed.size(), 7);
    EXPECT_EQ(changed.last().at(0).value<ScreenSettings>(), panel.settings());
}

} // namespace
