#include "grapher/graphsheet.h"

#include "grapher/graphpainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vorlac
{

namespace
{

constexpr int kPad = 12; // from the sheet's edges
constexpr int kTick = 4;
constexpr int kGap = 4;
constexpr int kNumberPoints = 9;
constexpr int kNamePoints = 10;
constexpr int kSentencePoints = 9;
constexpr int kLast = kGraphSize - 1; // last pixel of the plot
const QColor kFrame(160, 160, 160);

QFont sheetFont(int points, bool bold)
{
    QFont font = graphFont(points);
    font.setBold(bold);
    return font;
}

QSize textSize(const QString &text, const QFont &font)
{
    const QFontMetricsF m(font);
    return {static_cast<int>(std::ceil(m.horizontalAdvance(text))), static_cast<int>(std::ceil(m.height()))};
}

struct Graduation {
    int pixel; // column or row in the plot
    QString text;
    bool labelled;
};

// The graduations of one axis inside the plot, where the plot draws them. Labelled are those
// whose number of divisions from 0 is a multiple of the smallest step of 1, 2, 5, 10, 20, 50...
// that keeps the labels apart.
std::vector<Graduation> axisGraduations(double start, double unit, int count, double k, double offset, bool rows,
                                        const QFont &font, const QLocale &locale)
{
    std::vector<Graduation> out;
    std::vector<long long> divisions;
    const long long first = std::llround(start / unit);
    int room = 0;
    for (int i = 0; i < count; ++i) {
        const double scaled = (start + i * unit) * k + offset;
        const int pixel = graphPixel(rows ? kLast - scaled : scaled);
        if (pixel < 0 || pixel > kLast)
            continue;
        // A whole number of divisions: 0 is 0, never 1E-17.
        const double value = static_cast<double>(first + i) * unit;
        out.push_back({pixel, graphUnitText(value == 0 ? 0.0 : value, locale), false});
        divisions.push_back(first + i);
        const QSize size = textSize(out.back().text, font);
        room = std::max(room, rows ? size.height() : size.width());
    }
    const double need = room + 2 * kGap;
    const double divisionPixels = std::abs(unit * k);
    long long step = 1;
    for (long long decade = 1; decade <= 1000000 && step * divisionPixels < need; decade *= 10)
        for (const long long f : {1, 2, 5}) {
            step = f * decade;
            if (step * divisionPixels >= need)
                break;
        }
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i].labelled = divisions[i] % step == 0;
    return out;
}

} // namespace

GraphSheet layoutGraphSheet(const GraphPicture &graph, const QString &xName, const QString &yName,
                            const QLocale &locale)
{
    GraphSheet sheet;
    sheet.graph = graph;
    sheet.size = QSize(kGraphSize, kGraphSize);
    if (!graph.valid)
        return sheet;
    // The last graduation can lie past the plot's edge, which its own picture cuts off; so must
    // the sheet, where a file may not clip.
    const QRect square(0, 0, kGraphSize, kGraphSize);
    std::erase_if(sheet.graph.lines,
                  [&square](const GraphLine &l) { return !QRect(l.from, l.to).normalized().intersects(square); });
    const GraphScale &s = graph.scale;
    const QFont numbers = sheetFont(kNumberPoints, false);
    const QFont names = sheetFont(kNamePoints, true);
    const QFont sentence = sheetFont(kSentencePoints, false);
    const std::vector<Graduation> xs =
        axisGraduations(s.xs, s.xunit, s.xGraduations, s.kx, s.x0, false, numbers, locale);
    const std::vector<Graduation> ys =
        axisGraduations(s.ys, s.yunit, s.yGraduations, s.ky, s.y0, true, numbers, locale);

    const int numberHeight = textSize(QStringLiteral("0"), numbers).height();
    int yNumbersWidth = 0, xNumbersWidth = 0;
    for (const Graduation &g : ys)
        if (g.labelled)
            yNumbersWidth = std::max(yNumbersWidth, textSize(g.text, numbers).width());
    for (const Graduation &g : xs)
        if (g.labelled)
            xNumbersWidth = std::max(xNumbersWidth, textSize(g.text, numbers).width());
    const QFontMetricsF nameMetrics(names);
    const QString xShown = nameMetrics.elidedText(xName, Qt::ElideRight, kGraphSize);
    const QString yShown = nameMetrics.elidedText(yName, Qt::ElideRight, kGraphSize);
    const QSize xNameSize = textSize(xShown, names);
    const QSize yNameSize = textSize(yShown, names);
    const QStringList lines = graph.scaleSentence.value_or(QString()).split(QStringLiteral("\r\n"));

    // Left to right: the ordinate's name turned, its numbers, the ticks, the frame, the plot.
    const int left = kPad + yNameSize.height() + 2 * kGap + yNumbersWidth + kGap + kTick + 1;
    const int top = kPad + (numberHeight + 1) / 2;
    const QPoint at(left, top);
    sheet.plotTopLeft = at;
    const int below = top + kGraphSize + 1 + kTick + kGap; // top of the abscissa's numbers
    const int nameTop = below + numberHeight + kGap;
    int sentenceTop = nameTop + xNameSize.height() + 3 * kGap;
    int width = left + kGraphSize + std::max(kPad, kPad / 2 + (xNumbersWidth + 1) / 2);

    for (const Graduation &g : xs) {
        const int x = left + g.pixel;
        sheet.ticks.push_back(QLine(x, top + kGraphSize + 1, x, top + kGraphSize + kTick));
        if (!g.labelled)
            continue;
        const QSize size = textSize(g.text, numbers);
        sheet.texts.push_back({g.text, QRect(QPoint(x - size.width() / 2, below), size), kNumberPoints});
    }
    for (const Graduation &g : ys) {
        const int y = top + g.pixel;
        sheet.ticks.push_back(QLine(left - 1 - kTick, y, left - 2, y));
        if (!g.labelled)
            continue;
        const QSize size = textSize(g.text, numbers);
        sheet.texts.push_back({g.text,
                               QRect(QPoint(left - 1 - kTick - kGap - size.width(), y - size.height() / 2), size),
                               kNumberPoints});
    }
    sheet.texts.push_back(
        {xShown, QRect(QPoint(left + (kGraphSize - xNameSize.width()) / 2, nameTop), xNameSize), kNamePoints, true});
    sheet.texts.push_back({yShown,
                           QRect(QPoint(kPad, top + (kGraphSize - yNameSize.width()) / 2), yNameSize.transposed()),
                           kNamePoints, true, true});
    const int lineHeight = textSize(QStringLiteral("E"), sentence).height();
    for (const QString &line : lines) {
        if (!line.isEmpty()) {
            const QSize size = textSize(line, sentence);
            sheet.texts.push_back({line, QRect(QPoint(left, sentenceTop), size), kSentencePoints});
            width = std::max(width, left + size.width() + kPad);
        }
        sentenceTop += line.isEmpty() ? lineHeight / 2 : lineHeight;
    }
    sheet.size = QSize(width, sentenceTop + kPad);
    return sheet;
}

void PaintGraphSheet(QPainter &painter, const GraphSheet &sheet, bool vector)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(QPoint(0, 0), sheet.size), QColor::fromRgb(graphcolour::White));
    painter.save();
    painter.translate(sheet.plotTopLeft);
    painter.setClipRect(QRect(0, 0, kGraphSize, kGraphSize));
    if (vector)
        PaintGraphVector(painter, sheet.graph);
    else
        PaintGraph(painter, sheet.graph);
    painter.restore();
    if (sheet.texts.empty()) {
        painter.restore();
        return;
    }
    // Lines through pixel centres, one pixel wide: the same pixels in the picture and the file.
    const QPointF half(0.5, 0.5);
    const auto line = [&](QPoint a, QPoint b, const QColor &colour) {
        painter.setPen(QPen(colour, 1.0, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(QPointF(a) + half, QPointF(b) + half);
    };
    const QRect frame(sheet.plotTopLeft - QPoint(1, 1), QSize(kGraphSize + 2, kGraphSize + 2));
    line(frame.topLeft(), frame.topRight(), kFrame);
    line(frame.topRight(), frame.bottomRight(), kFrame);
    line(frame.bottomRight(), frame.bottomLeft(), kFrame);
    line(frame.bottomLeft(), frame.topLeft(), kFrame);
    for (const QLine &t : sheet.ticks)
        line(t.p1(), t.p2(), QColor::fromRgb(graphcolour::DarkBlue));
    painter.setPen(Qt::black);
    for (const SheetText &t : sheet.texts) {
        painter.setFont(sheetFont(t.points, t.bold));
        if (!t.turned) {
            painter.drawText(t.box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, t.text);
            continue;
        }
        painter.save();
        painter.translate(t.box.left(), t.box.top() + t.box.height());
        painter.rotate(-90);
        painter.drawText(QRect(QPoint(0, 0), t.box.size().transposed()), Qt::AlignLeft | Qt::AlignTop, t.text);
        painter.restore();
    }
    painter.restore();
}

QImage GraphSheetImage(const GraphSheet &sheet)
{
    QImage image(sheet.size, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 dpi
    image.setDotsPerMeterY(3780);
    QPainter painter(&image);
    PaintGraphSheet(painter, sheet, false);
    painter.end();
    return image;
}

} // namespace vorlac
