// What the RTF tests compare: the text and the visible formats of a document, resolved against
// its default font, one line per paragraph.
#pragma once

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <initializer_list>

namespace rtfprobe
{

inline QString family(const QTextCharFormat &f, const QTextDocument &doc)
{
    const QStringList families = f.property(QTextFormat::FontFamilies).toStringList();
    return families.isEmpty() || families.first().isEmpty() ? doc.defaultFont().family() : families.first();
}

inline QString describeChars(const QTextCharFormat &f, const QTextDocument &doc)
{
    QString s = family(f, doc);
    const double pt = f.fontPointSize() > 0 ? f.fontPointSize() : doc.defaultFont().pointSizeF();
    s += u' ' + QString::number(pt);
    if (f.fontWeight() >= QFont::DemiBold)
        s += u" b";
    if (f.fontItalic())
        s += u" i";
    if (f.fontUnderline())
        s += u" u";
    if (f.fontStrikeOut())
        s += u" s";
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        s += u" sup";
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        s += u" sub";
    if (f.hasProperty(QTextFormat::ForegroundBrush))
        s += u' ' + f.foreground().color().name();
    if (f.hasProperty(QTextFormat::BackgroundBrush))
        s += u" bg"_qs + f.background().color().name();
    return s;
}

inline QString describeBlock(const QTextBlockFormat &f)
{
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    QString s = (a & Qt::AlignHCenter)   ? u"c"_qs
                : (a & Qt::AlignJustify) ? u"j"_qs
                : (a & Qt::AlignRight)   ? u"r"_qs
                                         : u"l"_qs;
    for (const qreal m : {f.leftMargin(), f.rightMargin(), f.textIndent(), f.topMargin(), f.bottomMargin()})
        s += QChar(u' ') + QString::number(qRound(m * 15));
    return s;
}

// "[c 0 0 0 0 0] {Arial 18 #0000c8}Vorlac" per paragraph, runs of one format merged.
inline QString describe(const QTextDocument &doc)
{
    QString out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        out += u'[' + describeBlock(b.blockFormat()) + u']';
        QString last;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QString chars = describeChars(it.fragment().charFormat(), doc);
            if (chars != last)
                out += u" {"_qs + chars + u'}';
            last = chars;
            out += it.fragment().text();
        }
        out += u'\n';
    }
    return out;
}

// Block texts joined by "\n".
inline QString blocksText(const QTextDocument &doc)
{
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines.join(u'\n');
}

struct Run {
    QString text;
    QTextCharFormat format;
};

// Appends paragraphs to an empty document.
class Builder
{
  public:
    explicit Builder(QTextDocument &doc) : m_cursor(&doc) {}

    Builder &para(const QTextBlockFormat &block, std::initializer_list<Run> runs)
    {
        if (m_first)
            m_cursor.setBlockFormat(block);
        else
            m_cursor.insertBlock(block);
        m_first = false;
        for (const Run &r : runs)
            m_cursor.insertText(r.text, r.format);
        return *this;
    }

  private:
    QTextCursor m_cursor;
    bool m_first = true;
};

inline QTextCharFormat chars(const QString &family = u"Arial"_qs, double points = 10)
{
    QTextCharFormat f;
    f.setFontFamilies({family});
    f.setFontPointSize(points);
    return f;
}

} // namespace rtfprobe
