// Builds the shipped exercise files and situations from their text descriptions, with the
// program's own writers, then checks every exercise against the files it names.
//
//   vorlac_make_exercises <descriptions folder> <data folder>
//   vorlac_make_exercises --value <situation description> <quantity> [settings]
//
// The second form prints what the simulator gives for a quantity, for writing corrections.

#include "common/atomicwrite.h"
#include "exercises/exercisecheck.h"
#include "exercises/exercisesource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

using namespace vorlac;

namespace
{

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

std::optional<QString> readUtf8(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        err() << path << ": cannot be read\n";
        return std::nullopt;
    }
    return QString::fromUtf8(f.readAll());
}

int printValue(const QStringList &args)
{
    const std::optional<QString> text = readUtf8(args[2]);
    QString error;
    const std::optional<Situation> s = text ? parseSituationSource(*text, &error) : std::nullopt;
    const std::optional<Quantity> q = quantityNamed(args[3]);
    QuantityScene scene = quantitySceneOf(s.value_or(Situation{}));
    if (!s || !q || !applyQuantitySettings(scene, args.value(4))) {
        err() << "cannot compute: " << error << '\n';
        return 1;
    }
    const std::optional<double> v = computeQuantity(*q, scene);
    out() << (v ? QString::number(*v, 'f', 6) : QStringLiteral("none")) << '\n';
    return 0;
}

int build(const QString &sourceFolder, const QString &dataFolder)
{
    const QDir sources(sourceFolder);
    const QStringList names = sources.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    int failures = 0;
    QList<ExerciseSource> exercises;
    for (const QString &name : names) {
        const std::optional<QString> text = readUtf8(sources.filePath(name));
        QString error;
        const std::optional<QByteArray> bytes = text ? buildShippedFile(name, *text, &error) : std::nullopt;
        if (!bytes) {
            err() << name << ": " << error << '\n';
            ++failures;
            continue;
        }
        if (!shippedPath(name).contains(u'/')) // an exercise, not a situation
            exercises.append(*parseExerciseSource(*text));
        const QString target = QDir(dataFolder).filePath(shippedPath(name));
        QFile old(target);
        if (old.open(QIODevice::ReadOnly) && old.readAll() == *bytes)
            continue; // unchanged: keep its date, so the build does not copy it again
        QDir().mkpath(QFileInfo(target).path());
        if (!writeFileAtomically(target, *bytes)) {
            err() << target << ": cannot be written\n";
            ++failures;
            continue;
        }
        out() << "written " << target << '\n';
    }
    for (const ExerciseSource &x : exercises) {
        for (const QString &problem : checkExercise(x, dataFolder)) {
            err() << problem << '\n';
            ++failures;
        }
    }
    out() << names.size() << " descriptions, " << exercises.size() << " exercises, " << failures << " problems\n";
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args[1] == QLatin1String("--value"))
        return printValue(args);
    if (args.size() != 3) {
        err() << "usage: vorlac_make_exercises <descriptions folder> <data folder>\n"
                 "       vorlac_make_exercises --value <situation description> <quantity> [settings]\n";
        return 2;
    }
    return build(args[1], args[2]);
}
