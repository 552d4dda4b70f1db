#include "analysis/measuretexts.h"
#include "exercises/exercisecheck.h"
#include "exercises/exercisesource.h"
#include "model/constants.h"
#include "model/linelamps.h"
#include "render/scenerenderer.h"
#include "situations/situationfile.h"
#include "spectra/observedspectrum.h"
#include "spectra/screensettings.h"

#include <gtest/gtest.h>
#include <ostream>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <array>
#include <cmath>

using namespace vorlac;

namespace
{

const QString kData = QStringLiteral(VORLAC_SOURCE_DIR "/data");
const QString kSources = kData + QStringLiteral("/exercices/src");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString textOf(const QString &path)
{
    return QString::fromUtf8(readAll(path));
}

std::vector<std::string> descriptions(const QStringList &patterns)
{
    std::vector<std::string> names;
    for (const QString &n : QDir(kSources).entryList(patterns, QDir::Files, QDir::Name))
        names.push_back(n.toStdString());
    return names;
}

std::string rowName(const std::string &file)
{
    return QString::fromStdString(file)
        .replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"))
        .toStdString();
}

ExerciseSource exerciseOf(const std::string &name)
{
    QString error;
    const std::optional<ExerciseSource> x =
        parseExerciseSource(textOf(kSources + u'/' + QString::fromStdString(name)), &error);
    EXPECT_TRUE(x) << error.toStdString();
    return x.value_or(ExerciseSource{});
}

} // namespace

// ---- The committed files are what their descriptions give, byte for byte ----------------------

class ShippedFile : public ::testing::TestWithParam<std::string>
{
};

TEST_P(ShippedFile, EqualsWhatItsDescriptionBuilds)
{
    const QString name = QString::fromStdString(GetParam());
    QString error;
    const std::optional<QByteArray> built = buildShippedFile(name, textOf(kSources + u'/' + name), &error);
    ASSERT_TRUE(built) << error.toStdString();
    EXPECT_TRUE(*built == readAll(kData + u'/' + shippedPath(name))) << "run scripts/build-exercises";
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedFile, ::testing::ValuesIn(descriptions({QStringLiteral("*.txt")})),
                         [](const auto &p) { return rowName(p.param); });

// ---- Every exercise: names resolve, situations read, texts are sound, numbers are right --------

class ShippedExercise : public ::testing::TestWithParam<std::string>
{
};

TEST_P(ShippedExercise, PassesEveryCheck)
{
    const QStringList problems = checkExercise(exerciseOf(GetParam()), kData);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedExercise,
                         ::testing::ValuesIn(descriptions({QStringLiteral("*.E01.txt"), QStringLiteral("*.PEM.txt")})),
                         [](const auto &p) { return rowName(p.param); });

// Eight exercises or more over the three levels, all corrected but one, each with its title, and
// no shipped text or situation that no exercise names.
TEST(ShippedExercises, CoverTheLevelsAndNameEveryFile)
{
    QSet<QString> levels, named;
    int uncorrected = 0, exercises = 0;
    for (const std::string &name : descriptions({QStringLiteral("*.E01.txt"), QStringLiteral("*.PEM.txt")})) {
        const ExerciseFile x = exerciseOf(name).exercise;
        for (const QString &n : {x.statement, x.statementSituation, x.correction, x.correctionSituation})
            if (!isBlankRecord(n))
                named.insert(QDir::cleanPath(resolveExerciseName(kData, n)));
        if (QString::fromStdString(name).endsWith(QLatin1String(".PEM.txt")))
            continue;
        ++exercises;
        levels.insert(x.difficulty);
        uncorrected += x.corrected() ? 0 : 1;
        EXPECT_FALSE(isBlankRecord(x.title)) << name;
        EXPECT_FALSE(x.notionsText().isEmpty()) << name;
    }
    EXPECT_GE(exercises, 8);
    EXPECT_EQ(uncorrected, 1);
    EXPECT_EQ(levels, (QSet<QString>{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    const QDir folder(kData + QStringLiteral("/exercices"));
    for (const QString &f : folder.entryList({QStringLiteral("*.RTF"), QStringLiteral("*.P01")}, QDir::Files))
        EXPECT_TRUE(named.contains(QDir::cleanPath(folder.filePath(f))))
            << f.toStdString() << " is named by no exercise";
}

// ---- Each situation opens with the ray its text speaks of -----------------------------------------

// Out by the exit face, except in the statement about total reflection; as the program draws it
// (the rays the measurements panel reads).

class ShippedSituation : public ::testing::TestWithParam<std::string>
{
};

TEST_P(ShippedSituation, OpensWithTheRayItsTextSpeaksOf)
{
    const QString name = QString::fromStdString(GetParam()).chopped(4); // ".txt"
    const SituationResult file = readSituationFile(kData + "/exercices/" + name);
    ASSERT_TRUE(file.situation);
    ScenePicture picture;
    RedrawScene(file.situation->scene, picture);
    const std::vector<RayMeasures> rays = shownMeasures(file.situation->scene, picture.measures);
    ASSERT_FALSE(rays.empty());
    for (const RayMeasures &ray : rays)
        EXPECT_EQ(ray.measures.direct, name != u"REFLEX.P01") << ray.wavelength << " nm";
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedSituation, ::testing::ValuesIn(descriptions({QStringLiteral("*.P01.txt")})),
                         [](const auto &p) { return rowName(p.param); });

// With the screen shown, each line the strip offers to F9 lies where "xe" puts its wavelength: the
// positions a pupil records are those the corrections quote.
TEST(ShippedExercises, ScreenLinesLieWhereTheCorrectionsPutThem)
{
    int screens = 0;
    for (const std::string &name : descriptions({QStringLiteral("*.P01.txt")})) {
        SCOPED_TRACE(name);
        const SituationResult file =
            readSituationFile(kData + "/exercices/" + QString::fromStdString(name).chopped(4)); // ".txt"
        ASSERT_TRUE(file.situation);
        const Situation &s = *file.situation;
        if (!s.screen.shown)
            continue;
        ++screens;
        const ScreenSpectrum spectrum(s.scene, s.screen.placement, screenSourceOf(s.scene, s.screen),
                                      s.screen.absorber);
        const std::vector<ObservedLine> lines = spectrum.lines();
        ASSERT_FALSE(lines.empty());
        QuantityScene scene = quantitySceneOf(s);
        for (const ObservedLine &line : lines) {
            ASSERT_TRUE(line.wavelength);
            scene.wavelength = *line.wavelength;
            EXPECT_NEAR(computeQuantity(Quantity::ScreenPosition, scene).value_or(1e9), line.positionMm, 1e-9)
                << *line.wavelength << " nm";
        }
    }
    EXPECT_GE(screens, 4);
}

// ---- French typography: no line break between a guillemet and its word ---------------------------

class ShippedText : public ::testing::TestWithParam<std::array<const char *, 3>> // folder, files, loose
{
};

TEST_P(ShippedText, KeepsGuillemetsWithTheirWords)
{
    const auto [folder, files, loose] = GetParam();
    const QDir dir(QStringLiteral(VORLAC_SOURCE_DIR "/") + QString::fromLatin1(folder));
    const QStringList names = dir.entryList({QString::fromLatin1(files)}, QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString &f : names)
        EXPECT_FALSE(textOf(dir.filePath(f)).contains(QRegularExpression(QString::fromUtf8(loose)))) << f.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Data, ShippedText,
    ::testing::Values(std::array<const char *, 3>{"data/exercices", "*.RTF", R"(\\'ab(?!\\'a0)|(?<!\\'a0)\\'bb)"},
                      std::array<const char *, 3>{"data/exercices/src", "*.txt", "«(?!\u00a0)|(?<!\u00a0)»"},
                      std::array<const char *, 3>{"help/aide", "*.html", "«(?!&nbsp;)|(?<!&nbsp;)»"},
                      std::array<const char *, 3>{"help/cours", "*.html", "«(?!&nbsp;)|(?<!&nbsp;)»"}),
    [](const auto &p) { return rowName(std::string(p.param[0])); });

// ---- The help's table of lines lists each lamp's lines, no more, no fewer ---------------------

struct HelpRow {
    const char *lamp;
    int lines;
};
[[maybe_unused]] void PrintTo(const HelpRow &r, std::ostream *os)
{
    *os << r.lamp;
}

using HelpTable = ::testing::TestWithParam<HelpRow>;

TEST_P(HelpTable, ListsTheLampsLines)
{
    const HelpRow r = GetParam();
    QFile f(QStringLiteral(VORLAC_SOURCE_DIR "/help/aide/spectres.html"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString name = QString::fromUtf8(r.lamp);
    const QRegularExpression row(QStringLiteral("<td>") + name + QStringLiteral(" \\([A-Za-z]+\\)</td><td>([^<]*)"));
    const QRegularExpressionMatch m = row.match(QString::fromUtf8(f.readAll()));
    ASSERT_TRUE(m.hasMatch());
    const QStringList listed = m.captured(1).split(QStringLiteral(" ; "));
    const std::span<const SpectralLine> lines = lineLamps()[std::size_t(lineLampRow(name))].lines;
    ASSERT_EQ(int(lines.size()), r.lines);
    ASSERT_EQ(listed.size(), r.lines);
    const QLocale fr(QLocale::French);
    for (int k = 0; k < r.lines; ++k)
        EXPECT_EQ(listed[k], fr.toString(lines[std::size_t(k)].wavelength, 'f', 3)) << k;
}

INSTANTIATE_TEST_SUITE_P(Rows, HelpTable,
                         ::testing::Values(HelpRow{"mercure", 9}, HelpRow{"sodium", 9}, HelpRow{"hydrogène", 4},
                                           HelpRow{"hélium", 12}, HelpRow{"cadmium", 6}, HelpRow{"néon", 71},
                                           HelpRow{"zinc", 4}, HelpRow{"lithium", 6}),
                         [](const auto &p) { return rowName(p.param.lamp); });

// ---- The quantities agree with the textbook formulas ----------------------------------------

struct FormulaRow {
    const char *name;
    const char *settings;
    const char *quantity;
    double (*formula)(double n, double ne, double a, double i); // degrees
};

// The row's name in a failure message.
[[maybe_unused]] void PrintTo(const FormulaRow &row, std::ostream *os)
{
    *os << row.name;
}

double deg(double rad)
{
    return rad * 180.0 / M_PI;
}
double rad(double d)
{
    return d * M_PI / 180.0;
}

const FormulaRow kFormulas[] = {
    {"RefractionCrown", "i=30", "r",
     [](double n, double ne, double, double i) { return deg(std::asin(ne * std::sin(rad(i)) / n)); }},
    {"EmergenceFlint", "i=50; prism=Verre Flint", "i'",
     [](double n, double ne, double a, double i) {
         return deg(std::asin(n / ne * std::sin(rad(a) - std::asin(ne * std::sin(rad(i)) / n))));
     }},
    {"MinimumInWater", "outside=Eau", "Dm",
     [](double n, double ne, double a, double) { return 2.0 * deg(std::asin(n / ne * std::sin(rad(a / 2)))) - a; }},
    {"MinimumIncidenceA45", "A=45", "im",
     [](double n, double ne, double a, double) { return deg(std::asin(n / ne * std::sin(rad(a / 2)))); }},
    {"LimitIncidenceA70", "A=70", "i0",
     [](double n, double ne, double a, double) {
         return deg(std::asin(n / ne * std::sin(rad(a) - std::asin(ne / n))));
     }},
    {"LargestApex", "", "Amax",
     [](double n, double ne, double, double) { return std::floor(2.0 * deg(std::asin(ne / n))); }},
};

class QuantityFormula : public ::testing::TestWithParam<FormulaRow>
{
};

// Within a hundredth of a degree: the tracer's own 0.0174532 and 57.29578 differ from the exact
// factors by far less, a wrong angle or face by far more.
TEST_P(QuantityFormula, AgreesWithTheTextbook)
{
    const FormulaRow &row = GetParam();
    QuantityScene s; // crown in air, A = 60, 589 nm
    s.apexAngle = 60;
    ASSERT_TRUE(applyQuantitySettings(s, QString::fromLatin1(row.settings)));
    const double n = CauchyIndex(s.prism.cauchyA, s.prism.cauchyB, s.wavelength);
    const double ne = CauchyIndex(s.outside.cauchyA, s.outside.cauchyB, s.wavelength);
    const std::optional<double> v = computeQuantity(*quantityNamed(QString::fromLatin1(row.quantity)), s);
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, row.formula(n, ne, s.apexAngle, s.incidenceAngle), 0.01);
}

INSTANTIATE_TEST_SUITE_P(Rows, QuantityFormula, ::testing::ValuesIn(kFormulas),
                         [](const auto &p) { return std::string(p.param.name); });

// ---- The checks catch the faults they are there for ---------------------------------------------

struct FaultRow {
    const char *name;
    const char *correctionBody; // RTF body after the header
    const char *value;          // "text | quantity | settings"
    const char *problem;        // expected in the report
};

// The row's name in a failure message.
[[maybe_unused]] void PrintTo(const FaultRow &row, std::ostream *os)
{
    *os << row.name;
}

const char kHeader[] = "{\\rtf1\\ansi\\ansicpg1252\\deff0 {\\fonttbl{\\f0\\fswiss Arial;}}\\pard ";

const FaultRow kFaults[] = {
    {"WrongValue", "r = 19,5\\'b0\\par}", "19,5 | r | i=30", "the simulator gives 19.389"},
    {"WrongValueWithExponent", "r = 1,95E+01\\par}", "1,95E+01 | r | i=30", "the simulator gives 19.389"},
    {"UndeclaredExponent", "r = 19,4 ; B = 1,5E+07\\par}", "19,4 | r | i=30", "\"1,5E+07\" is quoted but not declared"},
    {"ValueNotInText", "r = 19\\par}", "19,4 | r | i=30", "not found in the text"},
    {"ValueInsideALongerNumber", "r = 119,4\\par}", "19,4 | r | i=30", "not found in the text"},
    {"UndeclaredDecimal", "r = 19,4 ; i' = 12,5\\par}", "19,4 | r | i=30", "\"12,5\" is quoted but not declared"},
    {"NoSuchValue", "i' = 10,0\\par}", "10,0 | i' | i=-20", "no such value"},
    {"WordOutsideTheSubset", "\\trowd 19,4\\par}", "19,4 | r | i=30", "\\trowd is outside the subset"},
    {"GroupLeftOpen", "{\\b 19,4\\par}", "19,4 | r | i=30", "1 group(s) left open"},
    {"RawAccent", "r = 19,4 \xe9\\par}", "19,4 | r | i=30", "is not ASCII"},
};

class CheckFault : public ::testing::TestWithParam<FaultRow>
{
};

TEST_P(CheckFault, IsReported)
{
    const FaultRow &row = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir(dir.path()).mkdir(QStringLiteral("exercices"));
    const std::optional<QByteArray> situation = serialiseSituation(Situation{});
    for (const auto &[name, bytes] :
         {std::pair{"exercices/S.P01", *situation}, std::pair{"exercices/E.RTF", QByteArray(kHeader) + "x\\par}"},
          std::pair{"exercices/C.RTF", QByteArray(kHeader) + row.correctionBody}}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    const QString text = QStringLiteral("statement = exercices\\E.RTF\ncorrection = exercices\\C.RTF\n"
                                        "correction_situation = exercices\\S.P01\nvalue = ") +
                         QString::fromLatin1(row.value);
    QString error;
    const std::optional<ExerciseSource> x = parseExerciseSource(text, &error);
    ASSERT_TRUE(x) << error.toStdString();
    const QString report = checkExercise(*x, dir.path()).join(u'\n');
    EXPECT_TRUE(report.contains(QString::fromLatin1(row.problem))) << report.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, CheckFault, ::testing::ValuesIn(kFaults),
                         [](const auto &p) { return std::string(p.param.name); });

// ---- Descriptions that must be refused, with the line at fault ------------------------------------

struct RefusedRow {
    const char *name;
    bool situation;
    const char *text;
    const char *message;
};

// The row's name in a failure message.
[[maybe_unused]] void PrintTo(const RefusedRow &row, std::ostream *os)
{
    *os << row.name;
}

const RefusedRow kRefused[] = {
    {"UnknownKey", false, "statement = a.RTF\ntitel = x", "line 2: unknown key"},
    {"FifthNotion", false, "statement = a.RTF\nnotion = a\nnotion = b\nnotion = c\nnotion = d\nnotion = e", "line 6"},
    {"UnknownQuantity", false, "statement = a.RTF\nvalue = 1,0 | z", "line 2"},
    {"NoStatement", false, "title = x", "no statement"},
    {"UnknownMaterial", true, "prism = Verre", "line 1: bad value"},
    {"CustomWithoutCoefficients", true, "prism = Autre", "needs its coefficients"},
    {"CustomOutOfRange", true, "prism = Autre\nprism_a = 2.5\nprism_b = 0", "out of the simulator's ranges"},
    {"MoreRowsThanLines", true, "lines = 1\nrow = 1\nrow = 2", "more rows than lines"},
    {"FillOfUnknownQuantity", true, "fill.2 = z", "expected <quantity>"},
    {"UnknownAbsorber", true, "absorber = gaz : fer", "line 1: bad value"},
    {"ScreenTooFar", true, "screen_distance = 5000", "line 1: bad value"},
};

class RefusedDescription : public ::testing::TestWithParam<RefusedRow>
{
};

TEST_P(RefusedDescription, NamesTheFault)
{
    const RefusedRow &row = GetParam();
    QString error;
    const bool parsed = row.situation ? parseSituationSource(QString::fromUtf8(row.text), &error).has_value()
                                      : parseExerciseSource(QString::fromUtf8(row.text), &error).has_value();
    EXPECT_FALSE(parsed);
    EXPECT_TRUE(error.contains(QString::fromLatin1(row.message))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, RefusedDescription, ::testing::ValuesIn(kRefused),
                         [](const auto &p) { return std::string(p.param.name); });
