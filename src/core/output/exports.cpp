#include "output/exports.h"

#include "render/rasteriser.h"
#include "render/scenefigure.h"
#include "render/sceneoverlays.h"
#include "table/valuetable.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

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

void paintFigureVector(QPainter &painter, const SceneFigure &figure, const QImage &image, const QImage *lamp)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const SceneState &state = figure.state;
    const QRect area(QPoint(0, 0), image.size());
    const QRgb background = state.blackBackground ? 0xff000000u : 0xffffffffu;
    painter.fillRect(area, QColor::fromRgb(background));
    painter.setClipRect(area);

    // The picture ORs its rays: a pixel several of them light shows the OR of their colours (white
    // where the 401 rays of white light overlap inside the prism), which painting lines over one
    // another cannot give. So each line is cut into runs of the colour the picture shows at its
    // pixels, and a pixel an earlier run already drew is left out: the runs never overlap, and
    // whatever order they are drawn in, every pixel is the picture's.
    struct Run {
        QPoint from, to;
        QRgb colour;
    };
    std::vector<Run> runs;
    std::vector<bool> drawn(static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()));
    const LineRasteriser walk(image.size());
    forEachFigureSegment(figure, [&](const Segment &s) {
        bool open = false;
        long long last = 0;
        Run run{};
        walk.visitLine(s.x1, s.y1, s.x2, s.y2, s.dashed, [&](long long step, int x, int y) {
            const QRgb colour = image.pixel(x, y);
            const std::size_t index =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width()) + static_cast<std::size_t>(x);
            const bool skip = drawn[index] || colour == background;
            if (open && (skip || colour != run.colour || step != last + 1)) {
                runs.push_back(run);
                open = false;
            }
            if (skip)
                return;
            if (!open)
                run = {QPoint(x, y), QPoint(x, y), colour};
            run.to = QPoint(x, y);
            open = true;
            last = step;
            drawn[index] = true;
        });
        if (open)
            runs.push_back(run);
    });
    // One path per colour keeps the file small. A run reaches half a step beyond the centres of
    // its end pixels along its major axis, with flat ends, so that it covers its own pixels only,
    // a single pixel included.
    std::stable_sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) { return a.colour < b.colour; });
    painter.setBrush(Qt::NoBrush);
    QPainterPath path;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Run &r = runs[i];
        const QPoint d = r.to - r.from;
        const int steps = std::max(std::abs(d.x()), std::abs(d.y()));
        const QPointF half = steps == 0 ? QPointF(0.5, 0) : QPointF(d) * (0.5 / steps);
        const QPointF centre(0.5, 0.5);
        path.moveTo(QPointF(r.from) + centre - half);
        path.lineTo(QPointF(r.to) + centre + half);
        if (i + 1 == runs.size() || runs[i + 1].colour != r.colour) {
            painter.setPen(QPen(QColor::fromRgb(r.colour), 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
            painter.drawPath(path);
            path.clear();
        }
    }
    paintSceneOverlays(painter, sceneOverlays(figure), lamp);
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
