// The lamp's and the protractor's keys, and the words the scene is read with.
#include "model/lampgeometry.h"
#include "model/materials.h"
#include "model/protractor.h"
#include "model/scenedescription.h"
#include "rowname.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace vorlac;

namespace
{

struct LampKeyRow {
    const char *name;
    int key;
    Qt::KeyboardModifiers modifiers;
    double from;
    std::optional<double> to; // none: not a lamp key
};

void PrintTo(const LampKeyRow &r, std::ostream *os)
{
    *os << r.name;
}

class LampKeys : public ::testing::TestWithParam<LampKeyRow>
{
};

TEST_P(LampKeys, StepWithinNinetyDegrees)
{
    const LampKeyRow r = GetParam();
    const std::optional<double> step = lampKeyStep(r.key, r.modifiers);
    ASSERT_EQ(step.has_value(), r.to.has_value());
    if (step) {
        EXPECT_DOUBLE_EQ(lampKeyIncidence(r.from, *step), *r.to);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LampKeys,
    ::testing::Values(LampKeyRow{"right", Qt::Key_Right, Qt::NoModifier, 36.0, 37.0},
                      LampKeyRow{"left", Qt::Key_Left, Qt::NoModifier, 36.0, 35.0},
                      LampKeyRow{"shift_right", Qt::Key_Right, Qt::ShiftModifier, 36.0, 36.1},
                      LampKeyRow{"shift_left_keypad", Qt::Key_Left, Qt::ShiftModifier | Qt::KeypadModifier, 0.05,
                                 -0.05},
                      LampKeyRow{"page_up", Qt::Key_PageUp, Qt::NoModifier, 36.0, 46.0},
                      LampKeyRow{"page_down", Qt::Key_PageDown, Qt::NoModifier, 36.0, 26.0},
                      LampKeyRow{"page_up_stops_at_90", Qt::Key_PageUp, Qt::NoModifier, 85.0, 90.0},
                      LampKeyRow{"left_stops_at_minus_90", Qt::Key_Left, Qt::NoModifier, -89.5, -90.0},
                      LampKeyRow{"not_a_number_starts_at_0", Qt::Key_Right, Qt::NoModifier, std::nan(""), 1.0},
                      LampKeyRow{"ctrl_right_is_not_the_lamp", Qt::Key_Right, Qt::ControlModifier, 36.0, {}},
                      LampKeyRow{"up_is_not_the_lamp", Qt::Key_Up, Qt::NoModifier, 36.0, {}}),
    RowName());

TEST(LampKeys, TenTenthsAreOneDegreeExactly)
{
    double incidence = 36.0;
    for (int i = 0; i < 10; ++i)
        incidence = lampKeyIncidence(incidence, *lampKeyStep(Qt::Key_Right, Qt::ShiftModifier));
    EXPECT_EQ(incidence, 37.0);
}

struct ProtractorKeyRow {
    const char *name;
    int key;
    Qt::KeyboardModifiers modifiers;
    ProtractorState start;
    QPoint position;     // after the key
    double rotation;     // after the key, in the program's radians (a turn is 6.28)
    const char *readOut; // after the key
    ProtractorKey::Action action;
};

void PrintTo(const ProtractorKeyRow &r, std::ostream *os)
{
    *os << r.name;
}

class ProtractorKeys : public ::testing::TestWithParam<ProtractorKeyRow>
{
};

ProtractorState at(QPoint position, float rotation = 0.0f, float lineAngle = 1.571f)
{
    ProtractorState s;
    s.position = position;
    s.rotation = rotation;
    s.lineAngle = lineAngle;
    return s;
}

TEST_P(ProtractorKeys, MoveTurnAimClose)
{
    const ProtractorKeyRow r = GetParam();
    ProtractorState s = r.start;
    const ProtractorKey k = protractorKey(r.key, r.modifiers);
    EXPECT_EQ(k.action, r.action);
    const QRect scene(0, 0, 616, 390);
    if (k.action == ProtractorKey::Move)
        nudgeProtractor(s, k.dx, k.dy, scene);
    else if (k.action == ProtractorKey::Turn)
        turnProtractorBy(s, k.radians);
    else if (k.action == ProtractorKey::Aim)
        aimLineBy(s, k.radians);
    EXPECT_EQ(s.position, r.position);
    EXPECT_NEAR(s.rotation, r.rotation, 1e-6);
    EXPECT_EQ(readOutText(s.lineAngle, QLocale(QLocale::French, QLocale::France)), QString::fromUtf8(r.readOut));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProtractorKeys,
    ::testing::Values(
        ProtractorKeyRow{"right_moves_a_pixel",
                         Qt::Key_Right,
                         Qt::NoModifier,
                         at({64, 16}),
                         {65, 16},
                         0,
                         "90,0",
                         ProtractorKey::Move},
        ProtractorKeyRow{
            "shift_up_moves_ten", Qt::Key_Up, Qt::ShiftModifier, at({64, 16}), {64, 6}, 0, "90,0", ProtractorKey::Move},
        ProtractorKeyRow{
            "up_stops_at_the_top", Qt::Key_Up, Qt::ShiftModifier, at({64, 4}), {64, 0}, 0, "90,0", ProtractorKey::Move},
        ProtractorKeyRow{"down_stops_at_the_bottom",
                         Qt::Key_Down,
                         Qt::NoModifier,
                         at({64, 188}),
                         {64, 188},
                         0,
                         "90,0",
                         ProtractorKey::Move},
        ProtractorKeyRow{"ctrl_left_turns_anticlockwise",
                         Qt::Key_Left,
                         Qt::ControlModifier,
                         at({64, 16}),
                         {64, 16},
                         0.01745,
                         "90,0",
                         ProtractorKey::Turn},
        ProtractorKeyRow{"ctrl_right_turns_past_zero",
                         Qt::Key_Right,
                         Qt::ControlModifier,
                         at({64, 16}),
                         {64, 16},
                         6.26255,
                         "90,0",
                         ProtractorKey::Turn},
        ProtractorKeyRow{"alt_right_aims_a_degree",
                         Qt::Key_Right,
                         Qt::AltModifier,
                         at({64, 16}),
                         {64, 16},
                         0,
                         "89,0",
                         ProtractorKey::Aim},
        ProtractorKeyRow{"alt_shift_up_aims_a_tenth",
                         Qt::Key_Up,
                         Qt::AltModifier | Qt::ShiftModifier,
                         at({64, 16}),
                         {64, 16},
                         0,
                         "89,9",
                         ProtractorKey::Aim},
        ProtractorKeyRow{"alt_right_stops_on_the_base",
                         Qt::Key_Right,
                         Qt::AltModifier,
                         at({64, 16}, 0, 0.005f),
                         {64, 16},
                         0,
                         "0,0",
                         ProtractorKey::Aim},
        ProtractorKeyRow{
            "escape_closes", Qt::Key_Escape, Qt::NoModifier, at({64, 16}), {64, 16}, 0, "90,0", ProtractorKey::Close},
        ProtractorKeyRow{
            "a_letter_is_nothing", Qt::Key_A, Qt::NoModifier, at({64, 16}), {64, 16}, 0, "90,0", ProtractorKey::None}),
    RowName());

struct DescriptionRow {
    const char *name;
    SceneState state;
    const char *locale;
    const char *expected;
};

void PrintTo(const DescriptionRow &r, std::ostream *os)
{
    *os << r.name;
}

SceneState scene(SourceType source, double incidence, int apex, int prism, int outside, int wavelength = 589)
{
    SceneState s;
    s.source = source;
    s.incidenceAngle = incidence;
    s.apexAngle = apex;
    s.wavelength = wavelength;
    s.prismMaterial = prism;
    s.prismCauchyA = kMaterials[static_cast<std::size_t>(prism)].cauchyA;
    s.prismCauchyB = kMaterials[static_cast<std::size_t>(prism)].cauchyB;
    s.outsideMaterial = outside;
    s.outsideCauchyA = kMaterials[static_cast<std::size_t>(outside)].cauchyA;
    s.outsideCauchyB = kMaterials[static_cast<std::size_t>(outside)].cauchyB;
    return s;
}

class SceneWords : public ::testing::TestWithParam<DescriptionRow>
{
};

TEST_P(SceneWords, SayWhatTheSceneShows)
{
    const DescriptionRow r = GetParam();
    EXPECT_EQ(describeScene(r.state, QLocale(QString::fromLatin1(r.locale))), QString::fromUtf8(r.expected));
}

// A prism of the medium's own material does not bend the ray: r = i, i' = A - i, D = 0.
INSTANTIATE_TEST_SUITE_P(
    Rows, SceneWords,
    ::testing::Values(DescriptionRow{"same_material_french", scene(SourceType::Monochromatic, 30, 45, 1, 1), "fr_FR",
                                     "Incidence 30,0°, réfraction 30,0°, émergence 15,0°, déviation 0,0° (589 nm)"},
                      DescriptionRow{"same_material_english", scene(SourceType::Monochromatic, 30, 45, 1, 1), "en_GB",
                                     "Incidence 30.0°, réfraction 30.0°, émergence 15.0°, déviation 0.0° (589 nm)"},
                      DescriptionRow{"five_same_material", scene(SourceType::FiveRadiations, 40, 60, 0, 0), "fr_FR",
                                     "Incidence 40,0°, cinq radiations : déviation de 0,0° (800 nm) à 0,0° (400 nm)"},
                      DescriptionRow{"white_same_material", scene(SourceType::WhiteLight, 40, 60, 0, 0), "fr_FR",
                                     "Incidence 40,0°, lumière blanche : déviation de 0,0° (800 nm) à 0,0° (400 nm)"},
                      DescriptionRow{
                          "flint_apex_60_reflects", scene(SourceType::Monochromatic, 0, 60, 3, 0), "fr_FR",
                          "Incidence 0,0°, réfraction 0,0°, une réflexion totale, sortie par la base (589 nm)"}),
    RowName());

TEST(SceneWords, CrownDeviatesVioletMoreThanRed)
{
    const QString text = describeScene(scene(SourceType::FiveRadiations, 36, 45, 2, 0), QLocale(QLocale::French));
    const QRegularExpression numbers(QStringLiteral("déviation de (\\d+),(\\d)° \\(800 nm\\) à (\\d+),(\\d)° "
                                                    "\\(400 nm\\)"));
    const QRegularExpressionMatch m = numbers.match(text);
    ASSERT_TRUE(m.hasMatch()) << text.toStdString();
    const double red = m.captured(1).toDouble() + m.captured(2).toDouble() / 10;
    const double violet = m.captured(3).toDouble() + m.captured(4).toDouble() / 10;
    EXPECT_GT(violet, red);
    EXPECT_GT(red, 20.0);
    EXPECT_LT(violet, 40.0);
}

} // namespace
