#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QVector>

class QTextDocument;

namespace vorlac
{

// What the RTF reader makes of a file before anything touches the document: a failed read never
// leaves a half-built text behind.
struct RtfRunFormat {
    int font = -1; // index in RtfContent::fonts, -1: the document's own font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    signed char vertical = 0; // 1 superscript, -1 subscript
    int foreground = -1;      // index in RtfContent::colours, -1: automatic
    int background = -1;      // -1: none

    friend bool operator==(const RtfRunFormat &, const RtfRunFormat &) = default;
};

struct RtfParagraphFormat {
    Qt::Alignment alignment = Qt::AlignLeft;
    // Twips.
    int left = 0;
    int right = 0;
    int firstLine = 0;
    int before = 0;
    int after = 0;

    friend bool operator==(const RtfParagraphFormat &, const RtfParagraphFormat &) = default;
};

struct RtfFont {
    QString family;
    QFont::StyleHint hint = QFont::AnyStyle;
};

struct RtfRun {
    qsizetype start = 0; // in RtfContent::text
    qsizetype length = 0;
    RtfRunFormat format;
};

struct RtfParagraph {
    RtfParagraphFormat format;
    RtfRunFormat mark; // the format of the paragraph mark, what an empty paragraph shows
    qsizetype firstRun = 0;
    qsizetype runCount = 0;
};

struct RtfContent {
    QVector<RtfFont> fonts;
    QVector<QColor> colours;
    QString text;
    QVector<RtfRun> runs;
    QVector<RtfParagraph> paragraphs;
};

// Twips per document unit: Qt keeps block margins in pixels, taken at 96 per inch.
inline constexpr double kTwipsPerPixel = 15.0;

// Replaces the document's text with the content. Cannot fail.
void buildRtfDocument(const RtfContent &content, QTextDocument &document);

} // namespace vorlac
