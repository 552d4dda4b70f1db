#include "recovery/recoveryfile.h"

#include "model/glasscatalogue.h"
#include "model/linelamps.h"

#include <QtEndian>
#include <cmath>
#include <cstring>
#include <map>

namespace vorlac
{

namespace
{

constexpr char kMagic[8] = {'V', 'O', 'R', 'L', 'A', 'C', 'R', 'W'};
constexpr int kHeaderSize = 16; // magic, version (2), section count (2), body length (4)
constexpr int kMaxSections = 64;
constexpr qint32 kFarthest = 100000; // a protractor position beyond any screen is damage

// Little-endian values appended to a byte array.
class Out
{
  public:
    void u8(quint8 v) { m_bytes.append(char(v)); }
    void u16(quint16 v) { raw(qToLittleEndian(v)); }
    void u32(quint32 v) { raw(qToLittleEndian(v)); }
    void i64(qint64 v) { raw(qToLittleEndian(v)); }
    void f32(float v)
    {
        quint32 bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        raw(qToLittleEndian(bits));
    }
    void bytes(QByteArrayView b)
    {
        u32(quint32(b.size()));
        m_bytes.append(b);
    }
    void text(const QString &t) { bytes(t.toUtf8()); }
    const QByteArray &data() const { return m_bytes; }

  private:
    template <typename T> void raw(T v) { m_bytes.append(reinterpret_cast<const char *>(&v), sizeof v); }
    QByteArray m_bytes;
};

// Reads what Out writes; any read past the end sets failed and gives zeros.
class In
{
  public:
    explicit In(QByteArrayView b) : m_b(b) {}
    quint8 u8() { return take<quint8>(); }
    quint16 u16() { return take<quint16>(); }
    quint32 u32() { return take<quint32>(); }
    qint64 i64() { return take<qint64>(); }
    float f32()
    {
        const quint32 bits = u32();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    double f64()
    {
        const quint64 bits = take<quint64>();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    QByteArrayView bytes()
    {
        const quint32 n = u32();
        if (m_failed || n > quint64(m_b.size() - m_pos)) {
            m_failed = true;
            return {};
        }
        const QByteArrayView v = m_b.sliced(m_pos, n);
        m_pos += n;
        return v;
    }
    QString text()
    {
        const QByteArrayView b = bytes();
        return QString::fromUtf8(b);
    }
    bool failed() const { return m_failed; }
    bool atEnd() const { return m_pos == m_b.size(); }
    // Everything read, nothing left over.
    bool whole() const { return !m_failed && atEnd(); }

  private:
    template <typename T> T take()
    {
        if (m_failed || qsizetype(sizeof(T)) > m_b.size() - m_pos) {
            m_failed = true;
            return T{};
        }
        T v;
        std::memcpy(&v, m_b.data() + m_pos, sizeof v);
        m_pos += qsizetype(sizeof v);
        return qFromLittleEndian(v);
    }
    QByteArrayView m_b;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

quint32 tagOf(const char (&t)[5])
{
    return quint32(quint8(t[0])) | quint32(quint8(t[1])) << 8 | quint32(quint8(t[2])) << 16 |
           quint32(quint8(t[3])) << 24;
}

const quint32 kHead = tagOf("HEAD"); // process, time
const quint32 kSitu = tagOf("SITU"); // version 1: the situation file's bytes
const quint32 kExac = tagOf("EXAC"); // version 1: the scene numbers the situation records round
const quint32 kScen = tagOf("SCEN"); // every field of the scene
const quint32 kCell = tagOf("CELL"); // the table's texts, formulas and active cell
const quint32 kTabl = tagOf("TABL"); // number format, situation file name
const quint32 kProt = tagOf("PROT"); // the protractor
const quint32 kExer = tagOf("EXER"); // the exercise area
const quint32 kDrft = tagOf("DRFT"); // an exercise being written
const quint32 kScrn = tagOf("SCRN"); // the screen, when not the default (older files have none)

void addSection(Out &body, quint32 tag, const QByteArray &payload)
{
    body.u32(tag);
    body.bytes(payload);
    body.u16(qChecksum(payload));
}

// Version 1: the scene numbers the situation records round.
bool readExactScene(QByteArrayView b, SceneState &c)
{
    In in(b);
    const double incidence = in.f64();
    const float values[4] = {in.f32(), in.f32(), in.f32(), in.f32()};
    if (!in.whole() || !std::isfinite(incidence))
        return false;
    for (float v : values) {
        if (!std::isfinite(v))
            return false;
    }
    c.incidenceAngle = incidence;
    if (c.glass < 0) {
        c.prismCauchyA = values[0];
        c.prismCauchyB = values[1];
    }
    c.outsideCauchyA = values[2];
    c.outsideCauchyB = values[3];
    return true;
}

// A lamp or glass row as a number, or as the situation files' scrambled code when it is secret:
// the recovery file must not tell an unknown lamp or glass either.
QString rowText(int row, bool secret, QString (*code)(int, quint32), quint32 salt)
{
    return secret ? QLatin1Char('?') + code(row, salt) : QString::number(row);
}

std::optional<int> readRow(const QString &text, std::optional<int> (*decode)(const QString &))
{
    if (text.startsWith(QLatin1Char('?')))
        return decode(text.mid(1));
    bool number = false;
    const int row = text.toInt(&number);
    return number ? std::optional(row) : std::nullopt;
}

QByteArray sceneSection(const SceneState &c, quint32 salt)
{
    Out o;
    o.u32(quint32(c.apexAngle));
    o.f64(c.incidenceAngle);
    o.u32(quint32(c.wavelength));
    o.u8(quint8(c.source));
    o.u8(quint8((c.blackBackground ? 1 : 0) | (c.showNormals ? 2 : 0) | (c.showPropagation ? 4 : 0) |
                (c.lampHidden ? 8 : 0) | (c.glassHidden ? 16 : 0)));
    o.u32(quint32(c.prismMaterial));
    o.u32(quint32(c.outsideMaterial));
    o.text(rowText(c.lamp, c.lampHidden, hiddenLampCode, salt));
    o.text(rowText(c.unknownLamp, c.unknownLamp >= 0, hiddenLampCode, salt));
    o.text(rowText(c.glass, c.glassHidden, hiddenGlassCode, salt));
    // A catalogue glass's pair comes back from its row.
    o.f32(c.glass >= 0 ? 0.0f : c.prismCauchyA);
    o.f32(c.glass >= 0 ? 0.0f : c.prismCauchyB);
    o.f32(c.outsideCauchyA);
    o.f32(c.outsideCauchyB);
    return o.data();
}

bool readScene(QByteArrayView b, SceneState &c)
{
    In in(b);
    c.apexAngle = qint32(in.u32());
    c.incidenceAngle = in.f64();
    c.wavelength = qint32(in.u32());
    const quint8 source = in.u8(), flags = in.u8();
    c.prismMaterial = qint32(in.u32());
    c.outsideMaterial = qint32(in.u32());
    const std::optional<int> lamp = readRow(in.text(), hiddenLampRow);
    const std::optional<int> unknownLamp = readRow(in.text(), hiddenLampRow);
    const std::optional<int> glass = readRow(in.text(), hiddenGlassRow);
    for (float *v : {&c.prismCauchyA, &c.prismCauchyB, &c.outsideCauchyA, &c.outsideCauchyB})
        *v = in.f32();
    if (!in.whole() || source > quint8(SourceType::LineLamp) || flags > 31 || !lamp || !unknownLamp || !glass ||
        *glass < -1 || *glass >= glassCount())
        return false;
    c.source = SourceType(source);
    c.blackBackground = flags & 1;
    c.showNormals = flags & 2;
    c.showPropagation = flags & 4;
    c.lampHidden = flags & 8;
    c.glassHidden = flags & 16;
    c.lamp = *lamp;
    c.unknownLamp = *unknownLamp;
    c.glass = *glass;
    if (c.glass >= 0) {
        const IndexLaw law = glassLaw(c.glass);
        c.prismCauchyA = law.cauchyA;
        c.prismCauchyB = law.cauchyB;
    }
    return true;
}

QByteArray cellSection(const ValueTable::Snapshot &t)
{
    Out o;
    o.u16(quint16(t.cells.size()));
    for (const ValueTable::Line &line : t.cells)
        for (const QString &text : line)
            o.text(text);
    for (const QString &text : t.expressions)
        o.text(text);
    o.u16(quint16(t.row));
    o.u16(quint16(t.col));
    return o.data();
}

bool readCells(QByteArrayView b, ValueTable::Snapshot &t)
{
    In in(b);
    const quint16 rows = in.u16();
    if (rows < ValueTable::kMinRows || rows > ValueTable::kMaxRows)
        return false;
    t.cells.assign(rows, {});
    for (ValueTable::Line &line : t.cells)
        for (QString &text : line)
            text = in.text();
    for (QString &text : t.expressions)
        text = in.text();
    t.row = in.u16();
    t.col = in.u16();
    return in.whole();
}

QByteArray draftSection(const RecoveredDraft &d)
{
    Out o;
    o.text(d.path);
    o.text(d.folder);
    o.text(d.title);
    o.u8(d.showingCorrection ? 1 : 0);
    o.u8(quint8(d.set.difficulty));
    o.text(d.set.title);
    o.u8(quint8(d.set.notions.size()));
    for (const QString &notion : d.set.notions)
        o.text(notion);
    for (const QByteArray *b :
         {&d.set.statement, &d.set.statementSituation, &d.set.correction, &d.set.correctionSituation})
        o.bytes(*b);
    return o.data();
}

bool readDraft(QByteArrayView b, RecoveredDraft &d)
{
    In in(b);
    d.path = in.text();
    d.folder = in.text();
    d.title = in.text();
    const quint8 showing = in.u8();
    d.set.difficulty = in.u8();
    d.set.title = in.text();
    const quint8 notions = in.u8();
    if (in.failed() || showing > 1 || d.set.difficulty < 1 || d.set.difficulty > 3 || notions > 4)
        return false;
    d.showingCorrection = showing == 1;
    for (int i = 0; i < notions; ++i)
        d.set.notions.append(in.text());
    for (QByteArray *bytes :
         {&d.set.statement, &d.set.statementSituation, &d.set.correction, &d.set.correctionSituation})
        *bytes = in.bytes().toByteArray();
    // A situation is restored to the scene later: it must be one the program reads.
    for (const QByteArray *situation : {&d.set.statementSituation, &d.set.correctionSituation})
        if (!situation->isEmpty() && !parseSituation(*situation).situation)
            return false;
    return in.whole();
}

RecoveryResult damaged()
{
    return {std::nullopt, RecoveryFailure::Damaged};
}

} // namespace

namespace
{

std::optional<QByteArray> serialiseAll(const RecoveryWork &recovery)
{
    const Work &work = recovery.work;
    if (!isValidWork(work))
        return std::nullopt;
    Out body;
    int sections = 0;
    auto add = [&](quint32 tag, const QByteArray &payload) {
        addSection(body, tag, payload);
        ++sections;
    };
    {
        Out o;
        o.i64(recovery.processId);
        o.i64(recovery.savedAtMs);
        add(kHead, o.data());
    }
    add(kScen, sceneSection(work.scene, quint32(recovery.savedAtMs ^ recovery.processId)));
    add(kCell, cellSection(work.table));
    {
        Out o;
        o.text(work.table.format);
        o.text(work.situationFileName);
        add(kTabl, o.data());
    }
    {
        const ProtractorState &p = work.protractor;
        Out o;
        o.f32(p.rotation);
        o.f32(p.lineAngle);
        o.u16(quint16(p.crossGrabX));
        o.u16(quint16(p.crossGrabY));
        o.u32(quint32(p.position.x()));
        o.u32(quint32(p.position.y()));
        o.u8(work.protractorShown ? 1 : 0);
        add(kProt, o.data());
    }
    if (!work.exercise.fileField.isEmpty()) {
        const RecoveredExercise &e = work.exercise;
        Out o;
        o.text(e.fileField);
        o.text(e.folder);
        o.u8(quint8((e.editable ? 1 : 0) | (e.edited ? 2 : 0) | (e.hasCorrection ? 4 : 0)));
        o.bytes(e.rtf);
        add(kExer, o.data());
    }
    if (work.draft)
        add(kDrft, draftSection(*work.draft));
    if (!(work.screen == ScreenSettings{})) {
        const ScreenSettings &c = work.screen;
        Out o;
        o.u8(quint8((c.shown ? 1 : 0) | (c.sun ? 2 : 0) | (c.absorber.hidden ? 4 : 0)));
        o.f64(c.placement.distanceMm);
        o.f64(c.placement.turnDegrees);
        o.f64(c.placement.widthMm);
        o.u8(quint8(c.absorber.kind));
        o.u32(quint32(c.absorber.row));
        add(kScrn, o.data());
    }

    QByteArray bytes(kMagic, sizeof kMagic);
    Out head;
    head.u16(kRecoveryFormatVersion);
    head.u16(quint16(sections));
    head.u32(quint32(body.data().size()));
    bytes += head.data();
    bytes += body.data();
    return bytes;
}

} // namespace

bool isValidWork(const Work &work)
{
    const SceneState &c = work.scene;
    const ValueTable::Snapshot &t = work.table;
    return isValidSituation(situationOf(c, t)) && c.lamp >= 0 && c.lamp < lineLampCount() && t.row >= 1 &&
           t.row < int(t.cells.size()) && t.col >= 0 && t.col < ValueTable::kColumns;
}

std::optional<QByteArray> serialiseRecovery(const RecoveryWork &work)
{
    std::optional<QByteArray> bytes = serialiseAll(work);
    if (!bytes || bytes->size() <= kRecoveryMaxBytes)
        return bytes;
    // Texts too large to keep are left out so that the scene and the table still come back.
    RecoveryWork smaller = work;
    smaller.work.exercise.rtf.clear();
    if (smaller.work.draft) {
        smaller.work.draft->set.statement.clear();
        smaller.work.draft->set.correction.clear();
    }
    return serialiseAll(smaller);
}

RecoveryResult parseRecovery(QByteArrayView bytes)
{
    if (bytes.size() < qsizetype(sizeof kMagic) || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return {std::nullopt, RecoveryFailure::NotOurs};
    if (bytes.size() < kHeaderSize || bytes.size() > kRecoveryMaxBytes)
        return damaged();
    In head(bytes.sliced(sizeof kMagic, kHeaderSize - qsizetype(sizeof kMagic)));
    const quint16 version = head.u16();
    const quint16 count = head.u16();
    const quint32 length = head.u32();
    if (version > kRecoveryFormatVersion)
        return {std::nullopt, RecoveryFailure::NewerFormat};
    if (version == 0 || count > kMaxSections || length != quint64(bytes.size() - kHeaderSize))
        return damaged();

    // Every section is checked before any is used; a tag seen twice is damage.
    std::map<quint32, QByteArrayView> sections;
    In body(bytes.sliced(kHeaderSize));
    for (int i = 0; i < count; ++i) {
        const quint32 tag = body.u32();
        const QByteArrayView payload = body.bytes();
        const quint16 crc = body.u16();
        if (body.failed() || crc != qChecksum(payload) || !sections.emplace(tag, payload).second)
            return damaged();
    }
    if (!body.whole())
        return damaged();
    auto section = [&sections](quint32 tag) -> std::optional<QByteArrayView> {
        const auto it = sections.find(tag);
        return it == sections.end() ? std::nullopt : std::optional(it->second);
    };
    const auto headSection = section(kHead), tablSection = section(kTabl), protSection = section(kProt);
    if (!headSection || !tablSection || !protSection)
        return damaged();

    RecoveryWork recovery;
    Work &w = recovery.work;
    {
        In in(*headSection);
        recovery.processId = in.i64();
        recovery.savedAtMs = in.i64();
        if (!in.whole())
            return damaged();
    }
    if (version == 1) {
        // The scene and the table as a situation file, and the numbers its records round.
        const auto situSection = section(kSitu), exacSection = section(kExac);
        if (!situSection || !exacSection)
            return damaged();
        SituationResult situation = parseSituation(*situSection);
        if (!situation.situation || !readExactScene(*exacSection, situation.situation->scene))
            return damaged();
        w.scene = situation.situation->scene;
        w.table = tableOf(*situation.situation, w.table);
    } else {
        const auto scenSection = section(kScen), cellSection = section(kCell);
        if (!scenSection || !cellSection || !readScene(*scenSection, w.scene) || !readCells(*cellSection, w.table))
            return damaged();
    }
    {
        In in(*tablSection);
        w.table.format = in.text();
        w.situationFileName = in.text();
        if (!in.whole())
            return damaged();
    }
    if (!isValidWork(w))
        return damaged();
    {
        In in(*protSection);
        ProtractorState &p = w.protractor;
        p.rotation = in.f32();
        p.lineAngle = in.f32();
        p.crossGrabX = qint16(in.u16());
        p.crossGrabY = qint16(in.u16());
        const qint32 x = qint32(in.u32()), y = qint32(in.u32());
        const quint8 shown = in.u8();
        // Compared without std::abs, which is undefined for the lowest 32-bit value.
        const bool placed = x >= -kFarthest && x <= kFarthest && y >= -kFarthest && y <= kFarthest;
        if (!in.whole() || !std::isfinite(p.rotation) || !std::isfinite(p.lineAngle) || shown > 1 || !placed)
            return damaged();
        p.position = QPoint(x, y);
        w.protractorShown = shown == 1;
    }
    if (const auto exer = section(kExer)) {
        In in(*exer);
        RecoveredExercise &e = w.exercise;
        e.fileField = in.text();
        e.folder = in.text();
        const quint8 flags = in.u8();
        e.rtf = in.bytes().toByteArray();
        if (!in.whole() || flags > 7 || e.fileField.isEmpty())
            return damaged();
        e.editable = flags & 1;
        e.edited = flags & 2;
        e.hasCorrection = flags & 4;
    }
    if (const auto drft = section(kDrft)) {
        RecoveredDraft draft;
        if (!readDraft(*drft, draft))
            return damaged();
        w.draft = std::move(draft);
    }
    if (const auto scrn = section(kScrn)) {
        In in(*scrn);
        ScreenSettings &c = w.screen;
        const quint8 flags = in.u8();
        c.placement.distanceMm = in.f64();
        c.placement.turnDegrees = in.f64();
        c.placement.widthMm = in.f64();
        c.absorber.kind = AbsorberKind(in.u8());
        c.absorber.row = qint32(in.u32());
        c.shown = flags & 1;
        c.sun = flags & 2;
        c.absorber.hidden = flags & 4;
        // Values out of the controls' limits, or an absorber no list names, are damage.
        if (!in.whole() || flags > 7 || !(settingsWithinLimits(c) == c) ||
            !(c.placement.widthMm > 0.0 && c.placement.widthMm <= 10000.0))
            return damaged();
    }
    return {std::move(recovery), RecoveryFailure::None};
}

} // namespace vorlac
