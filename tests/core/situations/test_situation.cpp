#include "common/recordfile.h"
#include "rowname.h"
#include "situations/situation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <ostream>

using namespace vorlac;

namespace
{

// A situation that sets every field away from its start value, with a full table.
Situation fullSituation(int rows = ValueTable::kMaxRows)
{
    Situation s;
    s.scene.apexAngle = 60;
    s.scene.prismMaterial = kCustomMaterial;
    s.scene.outsideMaterial = 1;
    s.scene.source = SourceType::WhiteLight;
    s.scene.blackBackground = false;
    s.scene.wavelength = 432;
    s.scene.showPropagation = false;
    s.scene.showNormals = true;
    s.scene.incidenceAngle = -12.25;
    s.scene.outsideCauchyA = kMaterials[1].cauchyA;
    s.scene.outsideCauchyB = kMaterials[1].cauchyB;
    s.scene.prismCauchyA = 1.5168f;
    s.scene.prismCauchyB = 4200.0f;
    s.titles[2] = QStringLiteral("Angle d'incidence (°)");
    s.lines = QList<SituationRow>(rows - 1);
    for (int r = 0; r < rows - 1; ++r) {
        for (int c = 0; c < ValueTable::kColumns; ++c)
            s.lines[r][std::size_t(c)] = QStringLiteral("%1,%2").arg(r).arg(c * 125, 3, 10, QLatin1Char('0'));
    }
    s.lines[0][6].clear();
    s.formulas[1] = QStringLiteral("C1 * 2");
    s.formulas[4] = QStringLiteral("SIN C2 / 1.5");
    return s;
}

QByteArray bytesOf(const Situation &s)
{
    const std::optional<QByteArray> b = serialiseSituation(s);
    EXPECT_TRUE(b.has_value());
    return b.value_or(QByteArray());
}

QString recordText(const QByteArray &bytes, int n)
{
    return RecordReader(bytes).text(n).value_or(QStringLiteral("?"));
}

// The bytes with record n replaced by text.
QByteArray withRecord(QByteArray bytes, int n, const QString &text)
{
    const std::optional<QByteArray> record = encodeRecord(text);
    EXPECT_TRUE(record.has_value());
    bytes.replace(qsizetype(n - 1) * kRecordSize, kRecordSize, *record);
    return bytes;
}

// ---------------------------------------------------------------------------------------------

struct NumberRow {
    double value;
    int digits;
    const char *text;
    double readsAs; // what the text reads back as
};

std::ostream &operator<<(std::ostream &os, const NumberRow &r)
{
    return os << r.text;
}

class SituationNumberText : public ::testing::TestWithParam<NumberRow>
{
};

TEST_P(SituationNumberText, WrittenAndReadBack)
{
    const NumberRow &row = GetParam();
    EXPECT_EQ(writeSituationNumber(row.value, row.digits).toStdString(), row.text);
    EXPECT_EQ(readSituationNumber(QString::fromLatin1(row.text)), row.readsAs);
}

INSTANTIATE_TEST_SUITE_P(Rows, SituationNumberText,
                         ::testing::Values(NumberRow{45, 15, " 45", 45}, NumberRow{0.5, 15, " .5", 0.5},
                                           NumberRow{0.00001, 15, " 1E-05", 0.00001},
                                           NumberRow{-12.25, 15, "-12.25", -12.25}, NumberRow{0, 15, " 0", 0},
                                           NumberRow{-0.0, 15, " 0", 0}, NumberRow{36.000000000000007, 15, " 36", 36},
                                           NumberRow{1e15, 15, " 1E+15", 1e15},
                                           // single precision: the float's own digits, not its double expansion
                                           NumberRow{double(1.5168f), 7, " 1.5168", 1.5168},
                                           NumberRow{double(0.74f), 7, " .74", 0.74},
                                           NumberRow{double(2221.5764f), 7, " 2221.576", 2221.576},
                                           NumberRow{double(4200.0f), 7, " 4200", 4200},
                                           NumberRow{double(12345678.0f), 7, " 1.234568E+07", 12345680},
                                           NumberRow{double(-2.5e-6f), 7, "-2.5E-06", -2.5e-6}));

struct ReadRow {
    const char *text;
    double value;
};

std::ostream &operator<<(std::ostream &os, const ReadRow &r)
{
    return os << '"' << r.text << '"';
}

class ReadSituationNumber : public ::testing::TestWithParam<ReadRow>
{
};

TEST_P(ReadSituationNumber, Value)
{
    EXPECT_EQ(readSituationNumber(QString::fromLatin1(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadSituationNumber,
                         ::testing::Values(ReadRow{"   45", 45}, ReadRow{"\t7", 7}, ReadRow{"1.5D3", 1500},
                                           ReadRow{" 25d-1", 2.5}, ReadRow{"2.5E+00x", 2.5}, ReadRow{"-.5", -0.5},
                                           ReadRow{" 1 2", 1}, ReadRow{"12abc", 12}, ReadRow{"abc", 0}, ReadRow{"", 0},
                                           ReadRow{"  ", 0}, ReadRow{"1D", 1}, ReadRow{"D5", 0},
                                           ReadRow{"1E999", std::numeric_limits<double>::infinity()}));

// ---------------------------------------------------------------------------------------------

TEST(SituationFile, RoundTripGivesIdenticalBytes)
{
    const Situation s = fullSituation();
    const QByteArray first = bytesOf(s);
    ASSERT_EQ(first.size(), 732 * kRecordSize);
    const SituationResult back = parseSituation(first);
    ASSERT_EQ(back.failure, SituationFailure::None);
    ASSERT_TRUE(back.situation.has_value());
    EXPECT_EQ(*back.situation, s);
    EXPECT_EQ(bytesOf(*back.situation), first);
}

TEST(SituationFile, RecordsAsLaidOut)
{
    Situation s;
    s.lines = QList<SituationRow>(1);
    s.lines[0][3] = QStringLiteral("1,500");
    s.formulas[6] = QStringLiteral("C4 + 1");
    const QByteArray b = bytesOf(s);
    ASSERT_EQ(b.size(), 39 * kRecordSize); // R = 2
    const char *head[] = {"VORLAC", " 45", "Verre Crown", "Air", "0",         "0",    "1",         "0",         "1",
                          " 589",   " 1",  " 0",          " 36", " 1.000275", " .74", " 1.472363", " 11848.41", " 2"};
    for (int n = 1; n <= 18; ++n)
        EXPECT_EQ(recordText(b, n), QString::fromUtf8(head[n - 1])) << "record " << n;
    EXPECT_EQ(recordText(b, 19), "C1");
    EXPECT_EQ(recordText(b, 25), "C7");
    EXPECT_EQ(recordText(b, 19 + 7 + 3), "1,500");
    EXPECT_EQ(recordText(b, 19 + 7 + 6), "");
    EXPECT_EQ(recordText(b, 39), "C4 + 1");
    // empty texts are records of length 0
    EXPECT_EQ(b.mid(qsizetype(32) * kRecordSize, 2), QByteArray(2, '\0'));
}

TEST(SituationFile, CustomMaterialKeepsItsCoefficients)
{
    Situation s;
    s.scene.outsideMaterial = kCustomMaterial;
    s.scene.outsideCauchyA = 1.25f;
    s.scene.outsideCauchyB = 40000.0f;
    const SituationResult back = parseSituation(bytesOf(s));
    ASSERT_TRUE(back.situation.has_value());
    EXPECT_EQ(back.situation->scene.outsideMaterial, kCustomMaterial);
    EXPECT_EQ(back.situation->scene.outsideCauchyA, 1.25f);
    EXPECT_EQ(back.situation->scene.outsideCauchyB, 40000.0f);
}

TEST(SituationFile, RecordsAfterTheFormulasAreIgnored)
{
    const QByteArray small = bytesOf(fullSituation(3));
    // What an older, larger situation left behind is not read.
    const QByteArray overwritten = small + bytesOf(fullSituation()).mid(small.size()) + QByteArray(77, 'x');
    const SituationResult back = parseSituation(overwritten);
    ASSERT_TRUE(back.situation.has_value());
    EXPECT_EQ(*back.situation, fullSituation(3));
}

TEST(SituationFile, TextsThatCannotBeStoredRefuseTheWholeFile)
{
    const std::function<void(Situation &)> cases[] = {
        [](Situation &s) { s.lines[0][0] = QString(127, QLatin1Char('1')); },
        [](Situation &s) { s.formulas[0] = QString(127, QLatin1Char('C')); },
        [](Situation &s) { s.titles[0] = QStringLiteral("λ (nm)"); }, // no Windows-1252 byte
        [](Situation &s) { s.lines.clear(); },
        [](Situation &s) { s.lines = QList<SituationRow>(101); },
        [](Situation &s) { s.scene.apexAngle = 91; },
        [](Situation &s) { s.scene.incidenceAngle = std::nan(""); },
        [](Situation &s) {
            s.scene.prismMaterial = kCustomMaterial;
            s.scene.prismCauchyA = 0.5f;
        },
    };
    for (const auto &change : cases) {
        Situation s;
        change(s);
        EXPECT_FALSE(serialiseSituation(s).has_value());
    }
    Situation s;
    s.lines[0][0] = QString(126, QLatin1Char('1'));
    EXPECT_TRUE(serialiseSituation(s).has_value());
}

// ---------------------------------------------------------------------------------------------
// Every damaged or hostile file is refused as a whole.

struct DamageRow {
    const char *name;
    std::function<QByteArray(QByteArray)> damage;
    SituationFailure failure;
};

std::ostream &operator<<(std::ostream &os, const DamageRow &r)
{
    return os << r.name;
}

class DamagedSituation : public ::testing::TestWithParam<DamageRow>
{
};

TEST_P(DamagedSituation, Refused)
{
    const QByteArray good = bytesOf(fullSituation(11));
    const SituationResult r = parseSituation(GetParam().damage(good));
    EXPECT_EQ(r.failure, GetParam().failure);
    EXPECT_EQ(r.situation.has_value(), GetParam().failure == SituationFailure::None);
}

DamageRow set(const char *name, int record, const char *text, SituationFailure f = SituationFailure::Unreadable)
{
    const QString t = QString::fromUtf8(text);
    return {name, [record, t](QByteArray b) { return withRecord(b, record, t); }, f};
}

DamageRow cut(const char *name, qsizetype size, SituationFailure f = SituationFailure::Unreadable)
{
    return {name, [size](QByteArray b) { return b.left(size); }, f};
}

const auto kNotOurs = SituationFailure::NotOurs;
const auto kAccepted = SituationFailure::None;

INSTANTIATE_TEST_SUITE_P(
    Rows, DamagedSituation,
    ::testing::Values(
        set("SignatureInOtherCase", 1, "vorlac", kNotOurs), set("SignatureWithBlank", 1, " VORLAC", kNotOurs),
        cut("Empty", 0, kNotOurs), cut("ShorterThanRecord1", 100, kNotOurs), cut("OnlyRecord1", kRecordSize),
        DamageRow{"Record1LengthOver126",
                  [](QByteArray b) {
                      b[0] = char(127);
                      return b;
                  },
                  kNotOurs},
        set("ApexBelow2", 2, " 1"), set("ApexAbove90", 2, " 91"), set("ApexHalfRoundsToEven90", 2, " 90.5", kAccepted),
        set("ApexHalfRoundsTo92", 2, " 91.5"), set("ApexNotANumber", 2, "abc"),
        set("MaterialInOtherCase", 3, "Verre crown"), set("MaterialWithBlank", 4, " Air"),
        set("CustomAOutsideDialogLimits", 16, " 2.5"), set("CustomBOutsideDialogLimits", 17, " 40000.01"),
        set("CustomBNegative", 17, "-1"), set("CustomAAtLimit", 16, " 2", kAccepted),
        set("ListedMaterialInfiniteCoefficient", 14, " 1E999"), set("ListedMaterialBeyondSingle", 15, " 1E39"),
        set("NoSourceSelected", 6, "0"), set("TwoSourcesSelected", 9, "1"), set("OptionWithLeadingBlank", 6, " 1"),
        set("BothBackgrounds", 7, "1"), set("NoBackground", 8, "0"), set("WavelengthBelow400", 10, " 399"),
        set("WavelengthAbove800", 10, " 801"), set("WavelengthEmpty", 10, ""),
        set("WavelengthWithDExponent", 10, " 4.5D2", kAccepted), set("PropagationTwo", 11, " 2"),
        set("NormalsMinusOne", 12, "-1"), set("IncidenceInfinite", 13, " 1E999"),
        set("IncidenceMinusInfinite", 13, "-1D400"), set("IncidenceEmptyReadsZero", 13, "", kAccepted),
        set("IncidenceNan", 13, "nan"), set("IncidenceInf", 13, " inf"), set("IncidenceHuge", 13, " 1E300"),
        set("IncidenceBeyondLamp", 13, "-90.5"), set("IncidenceAtLamp", 13, "-90", kAccepted), set("RowsOne", 18, " 1"),
        set("Rows102", 18, " 102"), set("RowsHuge", 18, " 1E9"), set("RowsInfinite", 18, " 1E999"),
        set("RowsNegative", 18, "-11"), set("FewerRowsThanStoredIsFine", 18, " 10", kAccepted),
        set("MoreRowsThanStored", 18, " 12"), cut("CutInsideTheCells", 40 * kRecordSize),
        cut("CutInsideTheLastFormula", 102 * kRecordSize - 1),
        DamageRow{"CellLengthOver126",
                  [](QByteArray b) {
                      b[qsizetype(40) * kRecordSize] = char(200);
                      return b;
                  },
                  SituationFailure::Unreadable},
        DamageRow{"FormulaLengthOver126",
                  [](QByteArray b) {
                      b[qsizetype(101) * kRecordSize + 1] = char(1);
                      return b;
                  },
                  SituationFailure::Unreadable}),
    [](const auto &row) { return std::string(row.param.name); });

} // namespace

// ---------------------------------------------------------------------------------------------
// The screen: in the extended records only when used, back exactly; a classic file otherwise.

struct ScreenRow {
    const char *name;
    std::function<void(ScreenSettings &)> set;
    bool extended;
};

std::ostream &operator<<(std::ostream &os, const ScreenRow &r)
{
    return os << r.name;
}

class ScreenInSituation : public ::testing::TestWithParam<ScreenRow>
{
};

TEST_P(ScreenInSituation, KeptWhenUsed)
{
    Situation s = fullSituation(11);
    const QByteArray classic = bytesOf(s);
    GetParam().set(s.screen);
    const QByteArray b = bytesOf(s);
    EXPECT_EQ(recordText(b, 1), GetParam().extended ? "VORLAC+" : "VORLAC");
    if (!GetParam().extended) {
        EXPECT_EQ(b, classic);
    }
    const SituationResult back = parseSituation(b);
    ASSERT_TRUE(back.situation.has_value());
    EXPECT_EQ(back.situation->screen, s.screen);
    EXPECT_EQ(bytesOf(*back.situation), b);
    if (s.screen.absorber.hidden) {
        EXPECT_FALSE(b.contains("ABSORBANT="));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScreenInSituation,
    ::testing::Values(ScreenRow{"Unused", [](ScreenSettings &) {}, false},
                      ScreenRow{"Shown", [](ScreenSettings &c) { c.shown = true; }, true},
                      ScreenRow{"PlacedHidden",
                                [](ScreenSettings &c) {
                                    c.placement = {1250.0, -32.5, 300.0};
                                },
                                true},
                      ScreenRow{"Sun", [](ScreenSettings &c) { c.sun = c.shown = true; }, true},
                      ScreenRow{"Gas", [](ScreenSettings &c) { c.absorber = absorberChoices()[1]; }, true},
                      ScreenRow{"HiddenAbsorber", [](ScreenSettings &c) { c.absorber = unknownAbsorber(11); }, true}),
    RowName());

TEST(ScreenInSituation, DamagedScreenRecordsRefused)
{
    Situation s = fullSituation(11);
    s.screen.shown = true;
    const QByteArray good = bytesOf(s);
    const int screenRecord = situationRecordCount(11) + 1;
    ASSERT_EQ(recordText(good, screenRecord), "ECRAN=1;500;0");
    for (const char *bad : {"ECRAN=2;500;0", "ECRAN=1;5;0", "ECRAN=1;500;95", "ECRAN=1;500", "ABSORBANT=0",
                            "ABSORBANT=999", "ABSORBANT?=0123456789ABCDEF", "LUMIERE=LUNE"})
        EXPECT_FALSE(parseSituation(withRecord(good, screenRecord, QString::fromUtf8(bad))).situation) << bad;
}
