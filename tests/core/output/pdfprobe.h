// Reads printed PDF files back with poppler-utils (pdfinfo, pdftotext -bbox, pdfimages).
#pragma once

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <vector>

namespace pdfprobe
{

struct Word {
    int page;
    QString text;
    double xMin, yMin, xMax, yMax; // points
};

inline QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline int pageCount(const QString &pdf)
{
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

inline std::vector<Word> words(const QString &pdf)
{
    std::vector<Word> out;
    const QString xml = run("pdftotext", {"-bbox", pdf, "-"});
    int page = 0;
    static const QRegularExpression re(QStringLiteral(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = re.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        QString t = m.captured(5);
        t.replace("&apos;", "'")
            .replace("&quot;", "\"")
            .replace("&lt;", "<")
            .replace("&gt;", ">")
            .replace("&amp;", "&");
        out.push_back({page, t, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                       m.captured(4).toDouble()});
    }
    return out;
}

// The words of each text line of a page, in order, joined with single spaces.
inline QStringList lines(const std::vector<Word> &ws, int page)
{
    std::vector<Word> onPage;
    for (const Word &w : ws)
        if (w.page == page)
            onPage.push_back(w);
    std::stable_sort(onPage.begin(), onPage.end(), [](const Word &a, const Word &b) {
        return std::abs(a.yMin - b.yMin) > 0.5 ? a.yMin < b.yMin : a.xMin < b.xMin;
    });
    QStringList out;
    double y = -1;
    for (const Word &w : onPage) {
        if (out.isEmpty() || std::abs(w.yMin - y) > 0.5) {
            out << w.text;
            y = w.yMin;
        } else {
            out.last() += QLatin1Char(' ') + w.text;
        }
    }
    return out;
}

// The encodings of the embedded images ("image" is lossless, "jpeg" is not).
inline QStringList imageEncodings(const QString &pdf)
{
    QStringList out;
    const QStringList rows = run("pdfimages", {"-list", pdf}).split('\n');
    for (int i = 2; i < rows.size(); ++i) {
        const QStringList cols = rows[i].simplified().split(' ');
        if (cols.size() > 8)
            out << cols[8];
    }
    return out;
}

inline std::vector<QImage> images(const QString &pdf)
{
    QTemporaryDir dir;
    run("pdfimages", {"-png", pdf, dir.filePath("img")});
    std::vector<QImage> out;
    const QStringList files = QDir(dir.path()).entryList({"img-*.png"}, QDir::Files, QDir::Name);
    for (const QString &f : files)
        out.push_back(QImage(dir.filePath(f)).convertToFormat(QImage::Format_RGB32));
    return out;
}

} // namespace pdfprobe
