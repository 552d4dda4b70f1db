#include "exercises/exercisesource.h"

#include "common/numberpattern.h"
#include "expr/calculator.h"
#include "model/glasscatalogue.h"
#include "model/linelamps.h"
#include "table/valuetable.h"

#include <QLocale>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace vorlac
{

namespace
{

struct Entry {
    QString key;
    QString value;
    int line = 0;
};

bool fail(QString *error, int line, const QString &message)
{
    if (error)
        *error = QStringLiteral("line %1: %2").arg(line).arg(message);
    return false;
}

std::optional<QList<Entry>> readEntries(const QString &text, QString *error)
{
    QList<Entry> entries;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QString line = lines[k].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            fail(error, int(k + 1), QStringLiteral("expected key = value"));
            return std::nullopt;
        }
        Entry e{line.left(eq).trimmed(), line.mid(eq + 1).trimmed(), int(k + 1)};
        // Quotes keep the blanks that end a notion ("Réfraction; ").
        if (e.value.size() >= 2 && e.value.startsWith(QLatin1Char('"')) && e.value.endsWith(QLatin1Char('"')))
            e.value = e.value.mid(1, e.value.size() - 2);
        entries.append(e);
    }
    return entries;
}

QStringList cells(const QString &value)
{
    QStringList parts = value.split(QLatin1Char('|'));
    for (QString &p : parts)
        p = p.trimmed();
    return parts;
}

std::optional<QuotedValue> quotedValue(const Entry &e, QString *error)
{
    const QStringList parts = cells(e.value);
    if (parts.size() < 2 || parts.size() > 3 || parts[0].isEmpty() || !quantityNamed(parts[1])) {
        fail(error, e.line, QStringLiteral("expected <text> | <quantity> [| <settings>]"));
        return std::nullopt;
    }
    return QuotedValue{parts[0], parts[1], parts.value(2), e.line};
}

int materialRow(const QString &name)
{
    for (int row = 0; row < kMaterialCount; ++row)
        if (name == materialName(row))
            return row;
    return -1;
}

std::optional<int> columnOf(const QString &key, const QString &prefix)
{
    if (!key.startsWith(prefix) || key.size() != prefix.size() + 1)
        return std::nullopt;
    const int c = key.back().digitValue();
    if (c < 1 || c > ValueTable::kColumns)
        return std::nullopt;
    return c - 1;
}

// Column fill: each line's quantity, its settings with C1..C7 replaced by the line's values.
bool fillColumn(ValueTable &table, const Situation &s, int col, const Entry &e, QString *error)
{
    const QStringList parts = cells(e.value);
    const std::optional<Quantity> q = quantityNamed(parts.value(0));
    if (!q || parts.size() > 2)
        return fail(error, e.line, QStringLiteral("expected <quantity> [| <settings>]"));
    static const QRegularExpression reference(QStringLiteral("\\bC([1-7])\\b"));
    for (int r = 1; r < table.Rows(); ++r) {
        QString settings = parts.value(1);
        bool complete = true;
        for (auto m = reference.globalMatch(settings); m.hasNext() && complete;) {
            const std::optional<float> v = table.cellValue(r, m.next().captured(1).toInt() - 1);
            complete = v.has_value();
        }
        if (!complete)
            continue;
        QRegularExpressionMatch m;
        while ((m = reference.match(settings)).hasMatch()) {
            const float v = *table.cellValue(r, m.captured(1).toInt() - 1);
            settings.replace(m.capturedStart(), m.capturedLength(), QString::number(double(v), 'g', 9));
        }
        QuantityScene scene = quantitySceneOf(s);
        if (!applyQuantitySettings(scene, settings))
            return fail(error, e.line, QStringLiteral("bad settings \"%1\"").arg(settings));
        if (const std::optional<double> v = computeQuantity(*q, scene))
            table.setCellValue(r, col, float(*v));
    }
    return true;
}

// An absorber as the lists name it ("gaz : sodium", "filtre rouge"); none when unknown.
Absorber absorberNamed(const QString &name)
{
    for (const Absorber &a : absorberChoices())
        if (a.kind != AbsorberKind::None && absorberName(a) == name)
            return a;
    return {};
}

bool readFlag(const Entry &e, bool *flag, QString *error)
{
    if (e.value != QLatin1String("0") && e.value != QLatin1String("1"))
        return fail(error, e.line, QStringLiteral("expected 0 or 1"));
    *flag = e.value == QLatin1String("1");
    return true;
}

} // namespace

std::optional<ExerciseSource> parseExerciseSource(const QString &text, QString *error)
{
    const std::optional<QList<Entry>> entries = readEntries(text, error);
    if (!entries)
        return std::nullopt;
    ExerciseSource src;
    ExerciseFile &x = src.exercise;
    x.notions = QStringList(4);
    int notions = 0;
    const QMap<QString, QString *> texts = {
        {QStringLiteral("title"), &x.title},           {QStringLiteral("level"), &x.difficulty},
        {QStringLiteral("statement"), &x.statement},   {QStringLiteral("statement_situation"), &x.statementSituation},
        {QStringLiteral("correction"), &x.correction}, {QStringLiteral("correction_situation"), &x.correctionSituation},
    };
    for (const Entry &e : *entries) {
        if (QString *field = texts.value(e.key)) {
            *field = e.value;
        } else if (e.key == QLatin1String("notion")) {
            if (notions == 4) {
                fail(error, e.line, QStringLiteral("at most four notion pieces"));
                return std::nullopt;
            }
            x.notions[notions++] = e.value;
        } else if (e.key == QLatin1String("value") || e.key == QLatin1String("given")) {
            const std::optional<QuotedValue> v = quotedValue(e, error);
            if (!v)
                return std::nullopt;
            (e.key == QLatin1String("value") ? src.correctionValues : src.statementValues).append(*v);
        } else {
            fail(error, e.line, QStringLiteral("unknown key \"%1\"").arg(e.key));
            return std::nullopt;
        }
    }
    if (isBlankRecord(x.statement)) {
        fail(error, 0, QStringLiteral("no statement"));
        return std::nullopt;
    }
    return src;
}

std::optional<Situation> parseSituationSource(const QString &text, QString *error)
{
    const std::optional<QList<Entry>> entries = readEntries(text, error);
    if (!entries)
        return std::nullopt;
    Situation s;
    int lines = 10;
    QString format = kPatternFixed3;
    // The options of "Format d'écriture des données".
    const QMap<QString, QString> formats = {{QStringLiteral("Standard1"), kPatternFixed2},
                                            {QStringLiteral("Standard2"), kPatternFixed3},
                                            {QStringLiteral("Standard3"), kPatternGeneral},
                                            {QStringLiteral("Scientifique1"), kPatternScientific3},
                                            {QStringLiteral("Scientifique2"), kPatternScientific4}};
    QList<QStringList> rows;
    QMap<int, Entry> fills, formulas;
    QMap<QString, float *> coefficients = {{QStringLiteral("prism_a"), &s.scene.prismCauchyA},
                                           {QStringLiteral("prism_b"), &s.scene.prismCauchyB},
                                           {QStringLiteral("outside_a"), &s.scene.outsideCauchyA},
                                           {QStringLiteral("outside_b"), &s.scene.outsideCauchyB}};
    bool customGiven[2] = {false, false};
    const QMap<QString, SourceType> sources = {{QStringLiteral("mono"), SourceType::Monochromatic},
                                               {QStringLiteral("five"), SourceType::FiveRadiations},
                                               {QStringLiteral("white"), SourceType::WhiteLight},
                                               {QStringLiteral("lamp"), SourceType::LineLamp}};
    for (const Entry &e : *entries) {
        bool ok = true;
        const QString &k = e.key;
        if (k == QLatin1String("apex")) {
            s.scene.apexAngle = e.value.toInt(&ok);
        } else if (k == QLatin1String("prism") || k == QLatin1String("outside")) {
            (k == QLatin1String("prism") ? s.scene.prismMaterial : s.scene.outsideMaterial) = materialRow(e.value);
            ok = materialRow(e.value) >= 0;
        } else if (float *coefficient = coefficients.value(k)) {
            *coefficient = e.value.toFloat(&ok);
            customGiven[k.startsWith(QLatin1String("prism")) ? 0 : 1] = true;
        } else if (k == QLatin1String("glass")) { // a glass of the "Verres réels" list is the prism
            s.scene.glass = glassRow(e.value);
            ok = s.scene.glass >= 0;
            s.scene.prismMaterial = kCustomMaterial;
            customGiven[0] = true;
        } else if (k == QLatin1String("glass_hidden")) {
            ok = readFlag(e, &s.scene.glassHidden, error);
        } else if (k == QLatin1String("source")) {
            ok = sources.contains(e.value);
            s.scene.source = sources.value(e.value);
        } else if (k == QLatin1String("lamp")) {
            s.scene.lamp = lineLampRow(e.value);
            ok = s.scene.lamp >= 0;
        } else if (k == QLatin1String("lamp_hidden")) {
            ok = readFlag(e, &s.scene.lampHidden, error);
        } else if (k == QLatin1String("wavelength")) {
            s.scene.wavelength = e.value.toInt(&ok);
        } else if (k == QLatin1String("background")) {
            ok = e.value == QLatin1String("black") || e.value == QLatin1String("white");
            s.scene.blackBackground = e.value == QLatin1String("black");
        } else if (k == QLatin1String("normals")) {
            ok = readFlag(e, &s.scene.showNormals, error);
        } else if (k == QLatin1String("propagation")) {
            ok = readFlag(e, &s.scene.showPropagation, error);
        } else if (k == QLatin1String("incidence")) {
            s.scene.incidenceAngle = e.value.toDouble(&ok);
        } else if (k == QLatin1String("screen")) {
            ok = readFlag(e, &s.screen.shown, error);
        } else if (k == QLatin1String("screen_distance")) {
            s.screen.placement.distanceMm = e.value.toDouble(&ok);
            ok = ok && s.screen.placement.distanceMm >= kScreenMinDistanceMm &&
                 s.screen.placement.distanceMm <= kScreenMaxDistanceMm;
        } else if (k == QLatin1String("screen_turn")) {
            s.screen.placement.turnDegrees = e.value.toDouble(&ok);
            ok = ok && std::fabs(s.screen.placement.turnDegrees) <= kScreenMaxTurnDegrees;
        } else if (k == QLatin1String("sun")) {
            ok = readFlag(e, &s.screen.sun, error);
        } else if (k == QLatin1String("absorber")) {
            const bool hidden = s.screen.absorber.hidden;
            s.screen.absorber = absorberNamed(e.value);
            s.screen.absorber.hidden = hidden;
            ok = s.screen.absorber.kind != AbsorberKind::None;
        } else if (k == QLatin1String("absorber_hidden")) {
            ok = readFlag(e, &s.screen.absorber.hidden, error);
        } else if (k == QLatin1String("lines")) {
            lines = e.value.toInt(&ok);
            ok = ok && lines >= 1 && lines <= ValueTable::kMaxRows - 1;
        } else if (k == QLatin1String("format")) {
            ok = formats.contains(e.value);
            format = formats.value(e.value);
        } else if (k == QLatin1String("titles")) {
            const QStringList t = cells(e.value);
            ok = t.size() <= ValueTable::kColumns;
            for (qsizetype c = 0; ok && c < t.size(); ++c)
                s.titles[std::size_t(c)] = t[c];
        } else if (k == QLatin1String("row")) {
            rows.append(cells(e.value));
            ok = rows.back().size() <= ValueTable::kColumns;
        } else if (const std::optional<int> fc = columnOf(k, QStringLiteral("fill."))) {
            fills.insert(*fc, e);
        } else if (const std::optional<int> f = columnOf(k, QStringLiteral("formula."))) {
            formulas.insert(*f, e);
        } else {
            fail(error, e.line, QStringLiteral("unknown key \"%1\"").arg(k));
            return std::nullopt;
        }
        if (!ok) {
            fail(error, e.line, QStringLiteral("bad value \"%1\"").arg(e.value));
            return std::nullopt;
        }
    }
    // A listed material has the list's coefficients; "Autre" needs its own.
    for (int which = 0; which < 2; ++which) {
        const int row = which == 0 ? s.scene.prismMaterial : s.scene.outsideMaterial;
        float &a = which == 0 ? s.scene.prismCauchyA : s.scene.outsideCauchyA;
        float &b = which == 0 ? s.scene.prismCauchyB : s.scene.outsideCauchyB;
        if (row == kCustomMaterial && !customGiven[which]) {
            fail(error, 0, QStringLiteral("\"Autre\" needs its coefficients"));
            return std::nullopt;
        }
        if (row != kCustomMaterial) {
            a = kMaterials[std::size_t(row)].cauchyA;
            b = kMaterials[std::size_t(row)].cauchyB;
        }
    }
    if (s.scene.glass >= 0) {
        const IndexLaw law = glassLaw(s.scene.glass);
        s.scene.prismCauchyA = law.cauchyA;
        s.scene.prismCauchyB = law.cauchyB;
    }
    if (rows.size() > lines) {
        fail(error, 0, QStringLiteral("more rows than lines"));
        return std::nullopt;
    }

    ValueTable table;
    table.setLocale(QLocale(QLocale::French, QLocale::France));
    table.setRows(lines + 1);
    table.setTableNumberFormat(format);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            table.setTextMatrix(r + 1, c, rows[r][c]);
    for (auto it = fills.cbegin(); it != fills.cend(); ++it)
        if (!fillColumn(table, s, it.key(), it.value(), error))
            return std::nullopt;
    for (auto it = formulas.cbegin(); it != formulas.cend(); ++it)
        ComputeColumn(table, it.key(), it.value().value, 0, false);

    s.lines = QList<SituationRow>(lines);
    for (int r = 0; r < lines; ++r)
        for (int c = 0; c < ValueTable::kColumns; ++c)
            s.lines[r][std::size_t(c)] = table.TextMatrix(r + 1, c);
    for (int c = 0; c < ValueTable::kColumns; ++c)
        s.formulas[std::size_t(c)] = table.ColumnExpression(c);
    if (!isValidSituation(s)) {
        fail(error, 0, QStringLiteral("the situation is out of the simulator's ranges"));
        return std::nullopt;
    }
    return s;
}

QString shippedPath(const QString &descriptionName)
{
    if (!descriptionName.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        return {};
    const QString name = descriptionName.chopped(4);
    if (name.endsWith(QLatin1String(".P01"), Qt::CaseInsensitive))
        return QString::fromUtf16(kExerciseSubfolder) + QLatin1Char('/') + name;
    if (name.endsWith(QLatin1String(".E01"), Qt::CaseInsensitive) ||
        name.endsWith(QLatin1String(".PEM"), Qt::CaseInsensitive))
        return name;
    return {};
}

std::optional<QByteArray> buildShippedFile(const QString &descriptionName, const QString &text, QString *error)
{
    const QString path = shippedPath(descriptionName);
    std::optional<QByteArray> bytes;
    if (path.isEmpty()) {
        fail(error, 0, QStringLiteral("not a description name"));
    } else if (path.startsWith(QString::fromUtf16(kExerciseSubfolder) + QLatin1Char('/'))) {
        if (const std::optional<Situation> s = parseSituationSource(text, error)) {
            bytes = serialiseSituation(*s);
            if (!bytes)
                fail(error, 0, QStringLiteral("a text does not fit in a record"));
        }
    } else if (const std::optional<ExerciseSource> x = parseExerciseSource(text, error)) {
        bytes = serialiseExerciseFile(x->exercise);
        if (!bytes)
            fail(error, 0, QStringLiteral("a text does not fit in a record"));
    }
    return bytes;
}

} // namespace vorlac
