#include "output/figurepage.h"

#include "render/sceneoverlays.h"
#include "render/scenerenderer.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

namespace vorlac
{

PageMetrics PageMetrics::of(const QPaintDevice &device)
{
    return {static_cast<double>(device.width()), static_cast<double>(device.height()),
            static_cast<double>(device.logicalDpiX()), static_cast<double>(device.logicalDpiY())};
}

QString reportSourceText(SourceType source, const QString &wavelength, const QString &lamp)
{
    switch (source) {
    case SourceType::LineLamp:
        return lamp.toLower() + QStringLiteral(" (raies de 400 à 800 nm).");
    case SourceType::Monochromatic:
        return QStringLiteral("monochromatique (longueur d'onde dans le vide ") + wavelength + QStringLiteral(" nm).");
    case SourceType::WhiteLight:
        return QStringLiteral("polychromatique blanche (de 400 à 800 nm).");
    case SourceType::FiveRadiations:
        break;
    }
    return QStringLiteral("5 radiations (400, 500, 600, 700 et 800 nm).");
}

std::vector<ReportLine> parameterReport(const ReportTexts &t)
{
    const QString atWavelength =
        QStringLiteral("- indice pour une longueur d'onde de ") + t.wavelength + QStringLiteral(" nm: ");
    return {
        {QStringLiteral("Source lumineuse: "), reportSourceText(t.source, t.wavelength, t.lamp), false},
        {},
        {QStringLiteral("Le vorlac: "), {}, false},
        {{}, QStringLiteral("- angle au sommet: A = ") + t.apex + QStringLiteral(" degrés"), true},
        {{}, QStringLiteral("- matériau: ") + t.prismMaterial, true},
        {{}, atWavelength + t.prismIndex, true},
        {},
        {QStringLiteral("Milieu extérieur: "), {}, false},
        {{}, QStringLiteral("- matériau: ") + t.outsideMaterial, true},
        {{}, atWavelength + t.outsideIndex, true},
    };
}

QFont reportFont(bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(10);
    f.setBold(bold);
    return f;
}

FigurePageLayout layoutFigurePage(const PageMetrics &page, QSize pictureSize, const FigurePageOptions &o,
                                  double lineHeight, std::size_t reportLineCount)
{
    // Natural size: one screen pixel covers as much paper as it covers screen. The miniature
    // takes one printer pixel of the ~300 dpi printers it was made for, whatever this page's
    // resolution: a pixel per device pixel would be a 13 mm stamp at 1200 dpi.
    const double fx = page.dpiX / (o.miniature ? kMiniatureDpi : o.screenDpiX > 0 ? o.screenDpiX : 96.0);
    const double fy = page.dpiY / (o.miniature ? kMiniatureDpi : o.screenDpiY > 0 ? o.screenDpiY : 96.0);
    const double w = pictureSize.width() * fx;
    const double h = pictureSize.height() * fy;
    const double x0 = o.centreHorizontally ? (page.width - w) / 2 : page.width / 10;
    const double y0 = o.centreVertically ? (page.height - h) / 2 : page.height / 20;

    FigurePageLayout layout;
    layout.picture = QRectF(x0, y0, w, h);
    layout.lineHeight = lineHeight;
    layout.reportTop = y0 + h + page.height / 20;
    if (o.printReport) {
        const double X = page.width / 10;
        layout.lineOrigins.reserve(reportLineCount);
        for (std::size_t i = 0; i < reportLineCount; ++i)
            layout.lineOrigins.emplace_back(X, layout.reportTop + static_cast<double>(i) * lineHeight);
    }
    return layout;
}

FigurePageLayout paintFigurePage(QPainter &painter, const PageMetrics &page, const QImage &picture,
                                 const FigurePageOptions &options, const std::vector<ReportLine> &report)
{
    const QFont regular = reportFont(false);
    const QFont bold = reportFont(true);
    const QFontMetricsF regularMetrics(regular, painter.device());
    const QFontMetricsF boldMetrics(bold, painter.device());
    FigurePageLayout layout = layoutFigurePage(page, picture.size(), options, regularMetrics.height(), report.size());

    painter.save();
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.drawImage(layout.picture, picture);

    const double X = page.width / 10;
    for (std::size_t i = 0; i < layout.lineOrigins.size(); ++i) {
        const ReportLine &line = report[i];
        double x = line.indented ? 2 * X : X;
        const double top = layout.lineOrigins[i].y();
        if (!line.bold.isEmpty()) {
            painter.setFont(bold);
            painter.drawText(QPointF(x, top + boldMetrics.ascent()), line.bold);
            x += boldMetrics.horizontalAdvance(line.bold);
        }
        if (!line.regular.isEmpty()) {
            painter.setFont(regular);
            painter.drawText(QPointF(x, top + regularMetrics.ascent()), line.regular);
        }
        layout.lineOrigins[i].setX(line.indented ? 2 * X : X);
    }
    painter.restore();
    return layout;
}

bool paintFigureCopies(QPainter &painter, const PageMetrics &page, const QImage &picture,
                       const FigurePageOptions &options, const std::vector<ReportLine> &report, int copies,
                       const std::function<bool()> &newPage)
{
    for (int copy = 1; copy <= copies; ++copy) {
        paintFigurePage(painter, page, picture, options, report);
        if (copy < copies && !newPage())
            return false;
    }
    return true;
}

QImage figureWithOverlays(const ScenePicture &picture, const QImage &lampImage)
{
    QImage burnt = picture.image;
    QPainter p(&burnt);
    paintSceneOverlays(p, sceneOverlays(picture), &lampImage);
    p.end();
    return burnt;
}

} // namespace vorlac
