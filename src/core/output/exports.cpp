#include "output/exports.h"

#include "render/sceneoverlays.h"
#include "render/scenerenderer.h"
#include "table/valuetable.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <array>
#include <cmath>
#include <map>

namespace vorlac
{

namespace
{

constexpr double kScreenDpi = 96.0;

} // namespace

QString pictureFilter(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Png:
        return QStringLiteral("Image PNG (*.png)");
    case PictureFormat::PngDouble:
        return QStringLiteral("Image PNG double taille, pour projection (*.png)");
    case PictureFormat::Svg:
        return QStringLiteral("Dessin vectoriel SVG (*.svg)");
    case PictureFormat::Pdf:
        return QStringLiteral("Document PDF (*.pdf)");
    }
    return {};
}

QStringList pictureFilters()
{
    return {pictureFilter(PictureFormat::Png), pictureFilter(PictureFormat::PngDouble),
            pictureFilter(PictureFormat::Svg), pictureFilter(PictureFormat::Pdf)};
}

PictureFormat pictureFormatOfFilter(const QString &filter)
{
    for (const PictureFormat f : {PictureFormat::PngDouble, PictureFormat::Svg, PictureFormat::Pdf})
        if (filter == pictureFilter(f))
            return f;
    return PictureFormat::Png;
}

QString pictureSuffix(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Svg:
        return QStringLiteral("svg");
    case PictureFormat::Pdf:
        return QStringLiteral("pdf");
    case PictureFormat::Png:
    case PictureFormat::PngDouble:
        break;
    }
    return QStringLiteral("png");
}

QByteArray pngBytes(const QImage &image, int scale)
{
    if (image.isNull() || scale < 1)
        return {};
    const QImage out =
        scale == 1 ? image : image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!out.save(&buffer, "PNG"))
        return {};
    return bytes;
}

QByteArray svgBytes(QSize size, const QString &title, const VectorPainter &paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(static_cast<int>(kScreenDpi));
    generator.setTitle(title);
    generator.setDescription(QStringLiteral("Vorlac"));
    QPainter painter;
    if (!painter.begin(&generator))
        return {};
    paint(painter);
    painter.end();
    return bytes;
}

QByteArray pdfBytes(QSize size, const QString &title, const VectorPainter &paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Vorlac"));
    writer.setResolution(static_cast<int>(kScreenDpi));
    const QSizeF points(size.width() * 72.0 / kScreenDpi, size.height() * 72.0 / kScreenDpi);
    writer.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer))
        return {};
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    paint(painter);
    painter.end();
    return bytes;
}

QByteArray pictureBytes(PictureFormat format, const QImage &image, const QString &title, const VectorPainter &paint)
{
    switch (format) {
    case PictureFormat::Png:
        return pngBytes(image, 1);
    case PictureFormat::PngDouble:
        return pngBytes(image, 2);
    case PictureFormat::Svg:
        return svgBytes(image.size(), title, paint);
    case PictureFormat::Pdf:
        return pdfBytes(image.size(), title, paint);
    }
    return {};
}

void paintFigureVector(QPainter &painter, const SceneState &state, const ScenePicture &picture, const QImage *lamp)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect area(QPoint(0, 0), picture.image.size());
    painter.fillRect(area, state.blackBackground ? Qt::black : Qt::white);
    painter.setClipRect(area);

    std::vector<Radiation> rays;
    if (state.source == SourceType::WhiteLight && picture.raysTraced > 5) {
        SpectrumColours spectrum{};
        FillSpectrumColours(spectrum);
        rays = whiteLightRadiations(spectrum);
    } else {
        rays = sceneRadiations(state);
    }
    // The picture ORs its rays together: where several radiations light the same pixels (inside
    // the prism, the shared outline) it shows the OR of their colours. Lines whose rounded end
    // points coincide are therefore drawn once, in the OR of their colours, as the picture shows
    // them; the file also stays small.
    struct Line {
        QPoint from, to;
        bool dashed;
        Rgb colour;
    };
    std::vector<Line> lines;
    std::map<std::array<int, 5>, std::size_t> seen;
    const auto add = [&](const std::vector<Segment> &segments) {
        for (const Segment &s : segments) {
            const QPoint from(int(std::nearbyint(s.x1)), int(std::nearbyint(s.y1)));
            const QPoint to(int(std::nearbyint(s.x2)), int(std::nearbyint(s.y2)));
            const std::array<int, 5> key{from.x(), from.y(), to.x(), to.y(), s.dashed};
            const auto [it, inserted] = seen.emplace(key, lines.size());
            if (!inserted) {
                lines[it->second].colour |= s.colour;
                continue;
            }
            lines.push_back({from, to, s.dashed, s.colour});
        }
    };
    if (!rays.empty()) {
        Rgb allColours = 0;
        for (const Radiation &r : rays)
            allColours |= r.colour;
        TraceInput shared = traceInputFor(state, rays.front());
        shared.colour = allColours;
        std::vector<Segment> primitives;
        computeLayout(shared, &primitives);
        add(primitives);
        TraceResult result;
        for (const Radiation &r : rays) {
            TraceRay(traceInputFor(state, r), result, false);
            add(result.segments);
        }
    }
    QPen solid(Qt::white, 1.0, Qt::SolidLine, Qt::SquareCap);
    QPen dashed(Qt::white, 1.0, Qt::SolidLine, Qt::FlatCap);
    dashed.setDashPattern({18.0, 6.0});
    for (const Line &l : lines) {
        QPen &pen = l.dashed ? dashed : solid;
        pen.setColor(state.blackBackground ? QColor::fromRgb(toQRgb(l.colour)) : QColor(Qt::black));
        painter.setPen(pen);
        painter.drawLine(QPointF(l.from) + QPointF(0.5, 0.5), QPointF(l.to) + QPointF(0.5, 0.5));
    }
    paintSceneOverlays(painter, sceneOverlays(picture), lamp);
    painter.restore();
}

QByteArray tableCsv(const ValueTable &table)
{
    const auto field = [](QString text) {
        if (text.contains(u';') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r'))
            text = QStringLiteral("\"") + text.replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
                   QStringLiteral("\"");
        return text;
    };
    int last = table.Rows() - 1;
    const auto lineEmpty = [&table](int r) {
        for (int c = 0; c < ValueTable::kColumns; ++c)
            if (!table.TextMatrix(r, c).trimmed().isEmpty())
                return false;
        return true;
    };
    while (last >= 1 && lineEmpty(last))
        --last;
    QString out;
    for (int r = 0; r <= last; ++r) {
        QStringList cells;
        for (int c = 0; c < ValueTable::kColumns; ++c) {
            QString text = table.TextMatrix(r, c);
            if (r > 0 && table.cellValue(r, c))
                text.replace(u'.', u',');
            cells << field(text);
        }
        out += cells.join(u';') + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

} // namespace vorlac
