// Bakes the pictures start-up needs: each SVG of the list drawn at its size, at device pixel
// ratios 1 and 2, into a file of raw pixels named by common/svgrender.h's bakedPictureName. Run by the build
// (src/ui/CMakeLists.txt) under the offscreen platform, whose fonts and DPI it draws with.
//
//   vorlac_bake_pictures <list> <SVG folder> <output folder>
//
// The list has one picture a line, "name width height" in logical pixels; '#' starts a comment.

#include "common/atomicwrite.h"
#include "common/svgrender.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

#include <algorithm>

using namespace vorlac;

namespace
{

int fail(const QString &why)
{
    QTextStream(stderr) << "vorlac_bake_pictures: " << why << '\n';
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    // Fonts need the GUI application; the platform (offscreen) comes from the environment.
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return fail(QStringLiteral("usage: vorlac_bake_pictures <list> <SVG folder> <output folder>"));
    const QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    if (probe.logicalDpiX() != kBakedDpi || probe.logicalDpiY() != kBakedDpi)
        return fail(QStringLiteral("the platform's logical DPI is %1 x %2, not %3 (QT_QPA_PLATFORM=offscreen?)")
                        .arg(probe.logicalDpiX())
                        .arg(probe.logicalDpiY())
                        .arg(kBakedDpi));
    QFile list(args[1]);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(args[1] + QStringLiteral(": ") + list.errorString());
    QList<FileBytes> pictures;
    int lineNumber = 0;
    while (!list.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(list.readLine()).section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool wide = false, high = false;
        const QSize size(fields.value(1).toInt(&wide), fields.value(2).toInt(&high));
        const QString svg = args[2] + QLatin1Char('/') + fields.value(0) + QStringLiteral(".svg");
        if (fields.size() != 3 || !wide || !high || size.isEmpty())
            return fail(QStringLiteral("%1:%2: not \"name width height\"").arg(args[1]).arg(lineNumber));
        for (const int ratio : {1, 2}) {
            bool readable = false;
            const QImage image = renderSvgImage(svg, size * ratio, &readable);
            if (!readable)
                return fail(QStringLiteral("%1:%2: %3 unreadable").arg(args[1]).arg(lineNumber).arg(svg));
            const QString path = args[3] + QLatin1Char('/') + bakedPictureName(fields[0], size * ratio);
            // One size at ratio 2 can be another at ratio 1: the same drawing, written once.
            if (std::none_of(pictures.begin(), pictures.end(), [&](const FileBytes &f) { return f.path == path; }))
                pictures.append({path, bakedPictureBytes(image)});
        }
    }
    QString reason;
    if (!writeFilesAtomically(pictures, &reason))
        return fail(reason);
    return 0;
}
