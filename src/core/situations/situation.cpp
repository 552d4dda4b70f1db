#include "situations/situation.h"

#include "common/numbertext.h"
#include "common/recordfile.h"
#include "common/rounding.h"
#include "model/glasscatalogue.h"
#include "model/linelamps.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace vorlac
{

namespace
{

const QString kSignature = QStringLiteral("VORLAC");
const QString kExtendedSignature = QStringLiteral("VORLAC+");
const QString kEndRecord = QStringLiteral("FIN");
const QString kLampKey = QStringLiteral("LAMPE=");
const QString kHiddenLampKey = QStringLiteral("LAMPE?=");
const QString kGlassKey = QStringLiteral("VERRE=");
const QString kHiddenGlassKey = QStringLiteral("VERRE?=");
const QString kScreenKey = QStringLiteral("ECRAN=");
const QString kSunRecord = QStringLiteral("LUMIERE=SOLEIL");
const QString kAbsorberKey = QStringLiteral("ABSORBANT=");
const QString kHiddenAbsorberKey = QStringLiteral("ABSORBANT?=");
constexpr quint32 kAbsorberMask = 0x1B873593u;
constexpr quint32 kLampScramble = 0x9E3779B1u;
constexpr quint32 kGlassMask = 0x3C6EF372u;
constexpr quint32 kLampMask = 0x5A17C0DEu;
constexpr int kSingleDigits = 7;
constexpr int kDoubleDigits = 15;

bool isCustomMaterialValid(float a, float b)
{
    return a >= kCustomAMin && a <= kCustomAMax && b >= kCustomBMin && b <= kCustomBMax;
}

bool areCoefficientsValid(int material, float a, float b)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    return material != kCustomMaterial || isCustomMaterialValid(a, b);
}

// A glass of the list holds exactly the catalogue's pair, whatever the dialog's limits.
bool isGlassPrism(const SceneState &c)
{
    const IndexLaw law = glassLaw(c.glass);
    return c.prismMaterial == kCustomMaterial && c.prismCauchyA == law.cauchyA && c.prismCauchyB == law.cauchyB;
}

int materialRow(const QString &text)
{
    for (int row = 0; row < kMaterialCount; ++row) {
        if (text == materialName(row))
            return row;
    }
    return -1;
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// Reads the records of one file in order; the first one that is missing or damaged stops it.
class RecordCursor
{
  public:
    // Nothing past the largest situation is ever read, so nothing past it is copied.
    explicit RecordCursor(QByteArrayView bytes)
        : m_reader(bytes.first(qMin<qsizetype>(bytes.size(), kSituationMaxBytes)).toByteArray())
    {
    }

    std::optional<QString> next()
    {
        if (m_failed)
            return std::nullopt;
        std::optional<QString> t = m_reader.text(++m_number);
        if (!t)
            m_failed = true;
        return t;
    }
    int recordCount() const { return m_reader.recordCount(); }
    bool failed() const { return m_failed; }

  private:
    RecordReader m_reader;
    int m_number = 0;
    bool m_failed = false;
};

// An integer record: the number read, rounded halves to even, when it lies in [lo, hi].
std::optional<int> integerIn(const std::optional<QString> &text, int lo, int hi)
{
    if (!text)
        return std::nullopt;
    const double v = roundHalfEven(readSituationNumber(*text));
    if (!(v >= lo && v <= hi)) // NaN fails too
        return std::nullopt;
    return static_cast<int>(v);
}

// A single-precision record; nullopt when the value is not finite in single precision.
std::optional<float> singleOf(const std::optional<QString> &text)
{
    if (!text)
        return std::nullopt;
    const double v = readSituationNumber(*text);
    if (!std::isfinite(v) || std::fabs(v) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(v);
}

// The incidence record: a number of degrees the lamp can take. Words ("nan", "inf") would read
// as 0 and a huge number would be clamped far from what was saved: both refused. A blank record
// still reads as 0.
std::optional<double> incidenceOf(const std::optional<QString> &text)
{
    if (!text ||
        (!text->trimmed().isEmpty() && std::none_of(text->begin(), text->end(), [](QChar c) { return c.isDigit(); })))
        return std::nullopt;
    const double v = readSituationNumber(*text);
    if (!(std::fabs(v) <= 90.0)) // NaN fails too
        return std::nullopt;
    return v;
}

// The "clé=valeur" records of the extended layout, up to "FIN"; false on an unknown key, a key
// given twice, a value that names nothing, or no "FIN". "LAMPE=" names the lamp of the list, for
// the lamp source or beside an unknown lamp; "LAMPE?=" the unknown lamp, the list's choice when no
// lamp is named, else kept in the list beside it.
bool readScreenRecord(const QString &record, ScreenSettings &screen, bool &sunRead, bool &absorberRead);

bool readAddedRecords(RecordCursor &in, Situation &s)
{
    SceneState &c = s.scene;
    bool screenRead = false, sunRead = false, absorberRead = false;
    auto found = [](int row) { return row >= 0 ? std::optional(row) : std::nullopt; };
    std::optional<int> named, unknown;
    bool glassRead = false;
    for (int k = 0; k < kSituationAddedRecords; ++k) {
        const std::optional<QString> t = in.next();
        if (!t)
            return false;
        if (*t == kEndRecord) {
            const bool lit = c.source == SourceType::LineLamp;
            if ((named && !lit && !unknown) || (lit && !named && !unknown))
                return false;
            c.lampHidden = unknown && !named;
            c.lamp = named ? *named : unknown.value_or(c.lamp);
            c.unknownLamp = named && unknown ? *unknown : -1;
            return true;
        }
        if (t->startsWith(kScreenKey) || *t == kSunRecord || t->startsWith(kAbsorberKey) ||
            t->startsWith(kHiddenAbsorberKey)) {
            if (t->startsWith(kScreenKey) && std::exchange(screenRead, true))
                return false;
            if (!readScreenRecord(*t, s.screen, sunRead, absorberRead))
                return false;
            continue;
        }
        const bool hidden = t->startsWith(kHiddenLampKey) || t->startsWith(kHiddenGlassKey);
        const bool glass = t->startsWith(kGlassKey) || t->startsWith(kHiddenGlassKey);
        if (!glass && !hidden && !t->startsWith(kLampKey))
            return false;
        const QString value = t->mid(t->indexOf(QLatin1Char('=')) + 1);
        if (!glass) {
            std::optional<int> &lamp = hidden ? unknown : named;
            if (lamp)
                return false;
            lamp = hidden ? hiddenLampRow(value) : found(lineLampRow(value));
            if (!lamp)
                return false;
            continue;
        }
        if (glassRead)
            return false;
        glassRead = true;
        const std::optional<int> row = hidden ? hiddenGlassRow(value) : found(glassRow(value));
        if (!row)
            return false;
        c.glass = *row;
        c.glassHidden = hidden;
    }
    return false;
}

QString hex8(quint32 v)
{
    return QString::number(v, 16).rightJustified(8, QLatin1Char('0')).toUpper();
}

// A hidden row as files before the salt wrote it: the same code for a lamp in every file.
QString unsaltedCode(int row, quint32 mask)
{
    return hex8((quint32(row) + 1u) * kLampScramble ^ mask);
}

// The code of a hidden row: the salt, then the row scrambled with it, so that neither the row
// nor a code seen in another file tells the name.
QString saltedCode(int row, quint32 mask, quint32 salt)
{
    quint32 m = salt; // murmur3's finaliser: every bit of the salt moves half the code's
    m ^= m >> 16;
    m *= 0x85EBCA6Bu;
    m ^= m >> 13;
    m *= 0xC2B2AE35u;
    m ^= m >> 16;
    return hex8(salt) + hex8((quint32(row) + 1u) * kLampScramble ^ mask ^ m);
}

// The absorber's row in absorberChoices(), hidden or not; 0 (none) when it names nothing there.
int absorberRowOf(Absorber absorber)
{
    absorber.hidden = false;
    const std::vector<Absorber> choices = absorberChoices();
    const auto it = std::find(choices.begin(), choices.end(), absorber);
    return it == choices.end() ? 0 : int(it - choices.begin());
}

std::optional<int> codedRow(const QString &code, int rows, quint32 mask)
{
    bool ok = code.size() == 16;
    const quint32 salt = ok ? code.left(8).toUInt(&ok, 16) : 0;
    for (int row = 0; row < rows; ++row)
        if (code == (ok ? saltedCode(row, mask, salt) : unsaltedCode(row, mask)))
            return row;
    return std::nullopt;
}

// FNV-1a over what the file holds before its codes: another situation, another salt, and the
// same bytes for the same work (shipped files are built reproducibly).
quint32 fileSalt(const QByteArray &bytes)
{
    quint32 h = 2166136261u;
    for (const char b : bytes)
        h = (h ^ quint8(b)) * 16777619u;
    return h;
}

// One of the screen's records: "ECRAN=", "LUMIERE=SOLEIL", "ABSORBANT=" or "ABSORBANT?=".
bool readScreenRecord(const QString &record, ScreenSettings &screen, bool &sunRead, bool &absorberRead)
{
    const std::vector<Absorber> choices = absorberChoices();
    if (record == kSunRecord) {
        if (sunRead)
            return false;
        sunRead = screen.sun = true;
        return true;
    }
    const QString value = record.mid(record.indexOf(QLatin1Char('=')) + 1);
    if (record.startsWith(kScreenKey)) {
        const QStringList parts = value.split(QLatin1Char(';'));
        if (parts.size() != 3 || (parts[0] != QLatin1String("0") && parts[0] != QLatin1String("1")))
            return false;
        screen.shown = parts[0] == QLatin1String("1");
        screen.placement.distanceMm = readSituationNumber(parts[1]);
        screen.placement.turnDegrees = readSituationNumber(parts[2]);
        const ScreenPlacement &p = screen.placement;
        return p.distanceMm >= kScreenMinDistanceMm && p.distanceMm <= kScreenMaxDistanceMm &&
               std::fabs(p.turnDegrees) <= kScreenMaxTurnDegrees;
    }
    if (std::exchange(absorberRead, true))
        return false;
    const bool hidden = record.startsWith(kHiddenAbsorberKey);
    std::optional<int> row;
    if (hidden) {
        row = codedRow(value, int(choices.size()), kAbsorberMask);
    } else {
        bool ok = false;
        const int r = value.toInt(&ok);
        if (ok && r > 0 && r < int(choices.size()))
            row = r;
    }
    if (!row || *row == 0) // "none" is never written
        return false;
    screen.absorber = choices[std::size_t(*row)];
    screen.absorber.hidden = hidden;
    return true;
}

SituationResult unreadable()
{
    return {std::nullopt, SituationFailure::Unreadable};
}

} // namespace

QString writeSituationNumber(double v, int significantDigits)
{
    const QString digits = writeDotNumber(v, significantDigits);
    return (v < 0 && digits != QLatin1String("0")) ? digits : QLatin1Char(' ') + digits;
}

double readSituationNumber(QStringView text)
{
    return readBlankDotNumber(text);
}

bool usesExtendedLayout(const SceneState &scene)
{
    return scene.source == SourceType::LineLamp || drawnUnknownLamp(scene) >= 0 || scene.glass >= 0;
}

bool usesExtendedLayout(const Situation &situation)
{
    return usesExtendedLayout(situation.scene) || !(situation.screen == ScreenSettings{});
}

QString hiddenLampCode(int row, quint32 salt)
{
    return saltedCode(row, kLampMask, salt);
}

std::optional<int> hiddenLampRow(const QString &code)
{
    return codedRow(code, lineLampCount(), kLampMask);
}

QString hiddenGlassCode(int row, quint32 salt)
{
    return saltedCode(row, kGlassMask, salt);
}

std::optional<int> hiddenGlassRow(const QString &code)
{
    return codedRow(code, glassCount(), kGlassMask);
}

bool isValidSituation(const Situation &s)
{
    const SceneState &c = s.scene;
    if (c.apexAngle < 2 || c.apexAngle > 90 || c.wavelength < 400 || c.wavelength > 800)
        return false;
    if (c.prismMaterial < 0 || c.prismMaterial >= kMaterialCount || c.outsideMaterial < 0 ||
        c.outsideMaterial >= kMaterialCount)
        return false;
    if (c.source != SourceType::Monochromatic && c.source != SourceType::FiveRadiations &&
        c.source != SourceType::WhiteLight && c.source != SourceType::LineLamp)
        return false;
    if ((c.source == SourceType::LineLamp || c.lampHidden) && (c.lamp < 0 || c.lamp >= lineLampCount()))
        return false;
    if (c.unknownLamp < -1 || c.unknownLamp >= lineLampCount() || (c.lampHidden && c.unknownLamp >= 0))
        return false;
    if (c.glass < -1 || c.glass >= glassCount() || (c.glassHidden && c.glass < 0))
        return false;
    if (c.glass >= 0 && !isGlassPrism(c))
        return false;
    // The lamp stops at the grazing incidences; a recovery file carries the exact angle.
    if (!(std::fabs(c.incidenceAngle) <= 90.0))
        return false;
    if ((c.glass < 0 && !areCoefficientsValid(c.prismMaterial, c.prismCauchyA, c.prismCauchyB)) ||
        !areCoefficientsValid(c.outsideMaterial, c.outsideCauchyA, c.outsideCauchyB))
        return false;
    return s.rowCount() >= ValueTable::kMinRows && s.rowCount() <= ValueTable::kMaxRows;
}

std::optional<QByteArray> serialiseSituation(const Situation &s)
{
    if (!isValidSituation(s))
        return std::nullopt;
    const SceneState &c = s.scene;
    const bool extended = usesExtendedLayout(s);
    RecordWriter w;
    w.append(extended ? kExtendedSignature : kSignature);
    w.append(writeSituationNumber(c.apexAngle));
    w.append(materialName(c.prismMaterial));
    w.append(materialName(c.outsideMaterial));
    w.append(flag(c.source == SourceType::Monochromatic));
    w.append(flag(c.source == SourceType::WhiteLight));
    w.append(flag(c.blackBackground));
    w.append(flag(!c.blackBackground));
    w.append(flag(c.source == SourceType::FiveRadiations));
    w.append(writeSituationNumber(c.wavelength));
    w.append(writeSituationNumber(c.showPropagation ? 1 : 0));
    w.append(writeSituationNumber(c.showNormals ? 1 : 0));
    w.append(writeSituationNumber(c.incidenceAngle, kDoubleDigits));
    w.append(writeSituationNumber(double(c.outsideCauchyA), kSingleDigits));
    w.append(writeSituationNumber(double(c.outsideCauchyB), kSingleDigits));
    w.append(writeSituationNumber(c.glass >= 0 ? 0.0 : double(c.prismCauchyA), kSingleDigits));
    w.append(writeSituationNumber(c.glass >= 0 ? 0.0 : double(c.prismCauchyB), kSingleDigits));
    w.append(writeSituationNumber(s.rowCount()));
    for (const QString &t : s.titles)
        w.append(t);
    for (const SituationRow &line : s.lines) {
        for (const QString &t : line)
            w.append(t);
    }
    for (const QString &t : s.formulas)
        w.append(t);
    if (extended) {
        const quint32 salt = fileSalt(w.bytes());
        if (!c.lampHidden && (c.source == SourceType::LineLamp || c.unknownLamp >= 0))
            w.append(kLampKey + lineLampName(c.lamp));
        if (const int unknown = drawnUnknownLamp(c); unknown >= 0)
            w.append(kHiddenLampKey + hiddenLampCode(unknown, salt));
        if (c.glass >= 0)
            w.append(c.glassHidden ? kHiddenGlassKey + hiddenGlassCode(c.glass, salt) : kGlassKey + glassName(c.glass));
        const ScreenSettings &screen = s.screen;
        if (screen.shown || !(screen.placement == ScreenPlacement{}))
            w.append(kScreenKey + (screen.shown ? QStringLiteral("1;") : QStringLiteral("0;")) +
                     writeSituationNumber(screen.placement.distanceMm).trimmed() + QLatin1Char(';') +
                     writeSituationNumber(screen.placement.turnDegrees).trimmed());
        if (screen.sun)
            w.append(kSunRecord);
        if (const int row = absorberRowOf(screen.absorber); row > 0)
            w.append(screen.absorber.hidden ? kHiddenAbsorberKey + saltedCode(row, kAbsorberMask, salt)
                                            : kAbsorberKey + QString::number(row));
        w.append(kEndRecord);
    }
    if (w.failed())
        return std::nullopt;
    return w.bytes();
}

SituationResult parseSituation(QByteArrayView bytes)
{
    RecordCursor in(bytes);
    const std::optional<QString> signature = in.next();
    const bool extended = signature == kExtendedSignature;
    if (signature != kSignature && !extended)
        return {std::nullopt, SituationFailure::NotOurs};

    Situation s;
    const std::optional<int> apex = integerIn(in.next(), 2, 90);
    const std::optional<QString> prismName = in.next();
    const std::optional<QString> outsideName = in.next();
    std::array<std::optional<QString>, 5> options; // Option1, Option2, Option3, Option4, Option5
    for (auto &o : options)
        o = in.next();
    const std::optional<int> wavelength = integerIn(in.next(), 400, 800);
    const std::optional<int> propagation = integerIn(in.next(), 0, 1);
    const std::optional<int> normals = integerIn(in.next(), 0, 1);
    const std::optional<double> incidence = incidenceOf(in.next());
    const std::optional<float> outsideA = singleOf(in.next());
    const std::optional<float> outsideB = singleOf(in.next());
    const std::optional<float> prismA = singleOf(in.next());
    const std::optional<float> prismB = singleOf(in.next());
    const std::optional<int> rows = integerIn(in.next(), ValueTable::kMinRows, ValueTable::kMaxRows);
    if (!apex || !prismName || !outsideName || !wavelength || !propagation || !normals || !incidence || !outsideA ||
        !outsideB || !prismA || !prismB || !rows)
        return unreadable();

    auto selected = [&options](int i) { return options[std::size_t(i)] == QLatin1String("1"); };
    const bool mono = selected(0), white = selected(1), black = selected(2), whiteBg = selected(3), five = selected(4);
    const int sources = int(mono) + int(white) + int(five);
    if (sources > 1 || (sources == 0 && !extended) || black == whiteBg)
        return unreadable();

    SceneState &c = s.scene;
    c.apexAngle = *apex;
    c.prismMaterial = materialRow(*prismName);
    c.outsideMaterial = materialRow(*outsideName);
    c.source = mono    ? SourceType::Monochromatic
               : white ? SourceType::WhiteLight
               : five  ? SourceType::FiveRadiations
                       : SourceType::LineLamp;
    c.blackBackground = black;
    c.wavelength = *wavelength;
    c.showPropagation = *propagation == 1;
    c.showNormals = *normals == 1;
    c.incidenceAngle = *incidence;
    c.outsideCauchyA = *outsideA;
    c.outsideCauchyB = *outsideB;
    c.prismCauchyA = *prismA;
    c.prismCauchyB = *prismB;
    // Selecting a listed material copies its coefficients from the table; only "Autre" keeps the
    // stored pair (written with 7 digits, so a listed pair would not come back exactly).
    for (auto [row, a, b] : {std::tuple{c.outsideMaterial, &c.outsideCauchyA, &c.outsideCauchyB},
                             std::tuple{c.prismMaterial, &c.prismCauchyA, &c.prismCauchyB}}) {
        if (row >= 0 && row < kCustomMaterial) {
            *a = kMaterials[std::size_t(row)].cauchyA;
            *b = kMaterials[std::size_t(row)].cauchyB;
        }
    }

    // The row count is known to be in range; the table and formulas must all be there.
    if (in.recordCount() < situationRecordCount(*rows))
        return unreadable();
    for (QString &t : s.titles)
        t = in.next().value_or(QString());
    s.lines = QList<SituationRow>(*rows - 1);
    for (SituationRow &line : s.lines) {
        for (QString &t : line)
            t = in.next().value_or(QString());
    }
    for (QString &t : s.formulas)
        t = in.next().value_or(QString());
    if (extended && !readAddedRecords(in, s))
        return unreadable();
    if (c.glass >= 0) {
        const IndexLaw law = glassLaw(c.glass);
        c.prismCauchyA = law.cauchyA;
        c.prismCauchyB = law.cauchyB;
    }
    if (in.failed() || !isValidSituation(s) || (extended && !usesExtendedLayout(s)))
        return unreadable();
    return {std::move(s), SituationFailure::None};
}

} // namespace vorlac
