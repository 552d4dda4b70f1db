#pragma once

#include "model/scenestate.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>
#include <vector>

class QPainter;
class QPaintDevice;

namespace vorlac
{

// A page's printable area and resolution, in device pixels (origin at the printable area's
// top-left corner, as a painter on a printer has it).
struct PageMetrics {
    double width = 0;
    double height = 0;
    double dpiX = 0;
    double dpiY = 0;
    static PageMetrics of(const QPaintDevice &device);
};

// The scene's parameters exactly as the main window shows them.
struct ReportTexts {
    SourceType source = SourceType::FiveRadiations;
    QString wavelength;      // Label7, e.g. "589"
    QString apex;            // Label2, e.g. "45"
    QString prismMaterial;   // Combo1
    QString prismIndex;      // Label4, e.g. "n = 1,516961"
    QString outsideMaterial; // Combo2
    QString outsideIndex;    // Label16
    QString lamp;            // a lamp source: "Lampe spectrale (mercure)" or "Lampe inconnue"
};

// One line of the parameter report: a bold part followed by a regular part.
struct ReportLine {
    QString bold;
    QString regular;
    bool indented = false;
    bool empty() const { return bold.isEmpty() && regular.isEmpty(); }
};

QString reportSourceText(SourceType source, const QString &wavelength, const QString &lamp = QString());
std::vector<ReportLine> parameterReport(const ReportTexts &texts);

// The miniature's resolution: 616 picture pixels print 52 mm wide on any printer.
inline constexpr double kMiniatureDpi = 300.0;

struct FigurePageOptions {
    bool centreHorizontally = true; // Chec(0)
    bool centreVertically = false;  // Chec(1)
    bool printReport = true;        // Chec(2)
    bool miniature = false;         // Chec(3): one picture pixel per 1/kMiniatureDpi inch
    double screenDpiX = 96;         // the picture's natural size: screen pixels to inches
    double screenDpiY = 96;
};

// Where everything of the figure page goes, in device pixels.
struct FigurePageLayout {
    QRectF picture;
    double reportTop = 0;             // the report's first line (top of the text line)
    double lineHeight = 0;            // one text line of the report font
    std::vector<QPointF> lineOrigins; // top-left of each report line, empty lines included
};

FigurePageLayout layoutFigurePage(const PageMetrics &page, QSize pictureSize, const FigurePageOptions &options,
                                  double lineHeight, std::size_t reportLineCount);

// Paints one figure page (the picture, then the report if asked) with the painter's current
// device; returns where it put things.
FigurePageLayout paintFigurePage(QPainter &painter, const PageMetrics &page, const QImage &picture,
                                 const FigurePageOptions &options, const std::vector<ReportLine> &report);

// The report font: Arial 10 (regular or bold).
QFont reportFont(bool bold);

// Every copy of the figure page, one page each, with newPage between copies (false when the
// device refused a page: then it stops and returns false).
bool paintFigureCopies(QPainter &painter, const PageMetrics &page, const QImage &picture,
                       const FigurePageOptions &options, const std::vector<ReportLine> &report, int copies,
                       const std::function<bool()> &newPage);

struct ScenePicture;
// A copy of the scene picture with Line1 and the lamp drawn into it where the view shows them;
// the persistent picture itself is left as it is.
QImage figureWithOverlays(const ScenePicture &picture, const QImage &lampImage);

} // namespace vorlac
