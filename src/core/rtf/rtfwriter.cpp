#include "rtf/rtf.h"

#include "common/codepage1252.h"
#include "rtf/rtfcontent.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>

namespace vorlac
{

namespace
{

constexpr int kMaxTwips = 31680;

struct RunProps {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int vertical = 0;
    int foreground = 0; // colour table number, 0: automatic
    int background = 0; // 0: none

    friend bool operator==(const RunProps &, const RunProps &) = default;
};

QFont::StyleHint guessHint(const QString &family)
{
    static constexpr const char16_t *kSans[] = {u"arial",   u"helvetica",       u"verdana",     u"tahoma",
                                                u"calibri", u"liberation sans", u"dejavu sans", u"ms sans serif"};
    static constexpr const char16_t *kSerif[] = {u"times new roman",  u"times",        u"georgia", u"cambria",
                                                 u"liberation serif", u"dejavu serif", u"garamond"};
    static constexpr const char16_t *kMono[] = {u"courier new",     u"courier",          u"consolas",
                                                u"liberation mono", u"dejavu sans mono", u"lucida console"};
    const QString name = family.toLower();
    const auto in = [&name](const auto &list) {
        return std::any_of(std::begin(list), std::end(list), [&name](const char16_t *n) { return name == n; });
    };
    if (in(kSans))
        return QFont::SansSerif;
    if (in(kSerif))
        return QFont::Serif;
    if (in(kMono))
        return QFont::TypeWriter;
    return QFont::AnyStyle;
}

const char *familyWord(QFont::StyleHint hint)
{
    switch (hint) {
    case QFont::Serif:
        return "\\froman";
    case QFont::SansSerif:
        return "\\fswiss";
    case QFont::TypeWriter:
    case QFont::Monospace:
        return "\\fmodern";
    case QFont::Cursive:
        return "\\fscript";
    case QFont::Decorative:
    case QFont::Fantasy:
        return "\\fdecor";
    default:
        return "\\fnil";
    }
}

void appendNumber(QByteArray &out, const char *word, int value)
{
    out.append(word);
    out.append(QByteArray::number(value));
}

// One UTF-16 unit as RTF text; units the reader would not keep as text (controls, objects) are left out.
void appendChar(QByteArray &out, char16_t c, bool fontName)
{
    if (c == u'\\' || c == u'{' || c == u'}') {
        out.append('\\');
        out.append(static_cast<char>(c));
    } else if (c == u';' && fontName) {
        out.append("\\'3b");
    } else if (c == u'\t') {
        out.append("\\tab ");
    } else if (c == 0x2028) {
        out.append("\\line ");
    } else if (c == 0x00A0) {
        out.append("\\~");
    } else if (c == 0x00AD) {
        out.append("\\-");
    } else if (c == 0x2011) {
        out.append("\\_");
    } else if (c < 0x20 || c == 0x7F || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC || c == 0xFEFF) {
        return;
    } else if (c < 0x80) {
        out.append(static_cast<char>(c));
    } else if (unsigned char byte = 0; charToCp1252(QChar(c), &byte)) {
        static constexpr char kHex[] = "0123456789abcdef";
        out.append("\\'");
        out.append(kHex[byte >> 4]);
        out.append(kHex[byte & 15]);
    } else {
        // Signed 16-bit, each half of a surrogate pair on its own; '?' for readers without Unicode.
        appendNumber(out, "\\u", static_cast<qint16>(c));
        out.append('?');
    }
}

class RtfWriter
{
  public:
    explicit RtfWriter(const QTextDocument &document);
    QByteArray write();

  private:
    RunProps props(const QTextCharFormat &format);
    int fontNumber(const QString &family, QFont::StyleHint hint);
    int colourNumber(const QBrush &brush);
    QString family(const QTextCharFormat &format) const;
    double points(const QTextCharFormat &format) const;
    void writeParagraph(const QTextBlock &block);
    void writeProps(const RunProps &p);

    const QTextDocument &m_document;
    QString m_defaultFamily;
    double m_defaultPoints = 12;
    QByteArray m_body;
    QStringList m_fonts;
    QVector<QFont::StyleHint> m_hints;
    QHash<QString, int> m_fontNumbers;
    QVector<QRgb> m_colours;
    QHash<QRgb, int> m_colourNumbers;
};

RtfWriter::RtfWriter(const QTextDocument &document) : m_document(document)
{
    const QFont font = document.defaultFont();
    m_defaultFamily = font.family().isEmpty() ? QStringLiteral("Arial") : font.family();
    if (font.pointSizeF() > 0)
        m_defaultPoints = font.pointSizeF();
    else if (font.pixelSize() > 0)
        m_defaultPoints = font.pixelSize() * 0.75;
}

QByteArray RtfWriter::write()
{
    // Fonts are numbered in order of first use; every paragraph names one, so font 0 exists.
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next())
        writeParagraph(block);

    QByteArray out("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl");
    for (qsizetype n = 0; n < m_fonts.size(); ++n) {
        appendNumber(out, "{\\f", static_cast<int>(n));
        out.append(familyWord(m_hints[n]));
        out.append("\\fcharset0 ");
        for (const QChar c : std::as_const(m_fonts[n]))
            appendChar(out, c.unicode(), true);
        out.append(";}");
    }
    out.append("}\n{\\colortbl;");
    for (const QRgb rgb : std::as_const(m_colours)) {
        appendNumber(out, "\\red", qRed(rgb));
        appendNumber(out, "\\green", qGreen(rgb));
        appendNumber(out, "\\blue", qBlue(rgb));
        out.append(';');
    }
    out.append("}\n");
    out.append(m_body);
    out.append("}\n");
    return out;
}

QString RtfWriter::family(const QTextCharFormat &format) const
{
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            return families.first();
    }
    const QString single = format.stringProperty(QTextFormat::FontFamily);
    if (!single.isEmpty())
        return single;
    return m_defaultFamily;
}

double RtfWriter::points(const QTextCharFormat &format) const
{
    if (format.fontPointSize() > 0)
        return format.fontPointSize();
    if (format.hasProperty(QTextFormat::FontPixelSize) && format.intProperty(QTextFormat::FontPixelSize) > 0)
        return format.intProperty(QTextFormat::FontPixelSize) * 0.75;
    return m_defaultPoints;
}

int RtfWriter::fontNumber(const QString &family, QFont::StyleHint hint)
{
    const auto found = m_fontNumbers.constFind(family);
    if (found != m_fontNumbers.cend())
        return *found;
    const int n = static_cast<int>(m_fonts.size());
    m_fonts.append(family);
    m_hints.append(hint != QFont::AnyStyle ? hint : guessHint(family));
    m_fontNumbers.insert(family, n);
    return n;
}

int RtfWriter::colourNumber(const QBrush &brush)
{
    const QRgb rgb = brush.color().rgb() | 0xFF000000u;
    const auto found = m_colourNumbers.constFind(rgb);
    if (found != m_colourNumbers.cend())
        return *found;
    m_colours.append(rgb);
    const int n = static_cast<int>(m_colours.size()); // entry 0 is the automatic colour
    m_colourNumbers.insert(rgb, n);
    return n;
}

RunProps RtfWriter::props(const QTextCharFormat &format)
{
    RunProps p;
    const QFont::StyleHint hint =
        format.hasProperty(QTextFormat::FontStyleHint) ? format.fontStyleHint() : QFont::AnyStyle;
    p.font = fontNumber(family(format), hint);
    p.halfPoints = std::clamp(qRound(points(format) * 2), 2, 3276);
    p.bold = format.fontWeight() >= QFont::DemiBold;
    p.italic = format.fontItalic();
    p.underline = format.fontUnderline();
    p.strike = format.fontStrikeOut();
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        p.vertical = 1;
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        p.vertical = -1;
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        p.foreground = colourNumber(format.foreground());
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
        p.background = colourNumber(format.background());
    return p;
}

void RtfWriter::writeProps(const RunProps &p)
{
    appendNumber(m_body, "\\plain\\f", p.font);
    appendNumber(m_body, "\\fs", p.halfPoints);
    if (p.bold)
        m_body.append("\\b");
    if (p.italic)
        m_body.append("\\i");
    if (p.underline)
        m_body.append("\\ul");
    if (p.strike)
        m_body.append("\\strike");
    if (p.vertical > 0)
        m_body.append("\\super");
    else if (p.vertical < 0)
        m_body.append("\\sub");
    if (p.foreground > 0)
        appendNumber(m_body, "\\cf", p.foreground);
    if (p.background > 0)
        appendNumber(m_body, "\\highlight", p.background);
    m_body.append(' ');
}

void RtfWriter::writeParagraph(const QTextBlock &block)
{
    const QTextBlockFormat bf = block.blockFormat();
    m_body.append("\\pard");
    const Qt::Alignment align = bf.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        m_body.append("\\qc");
    else if (align & Qt::AlignJustify)
        m_body.append("\\qj");
    else if (align & Qt::AlignRight)
        m_body.append("\\qr");
    else
        m_body.append("\\ql");
    const auto twips = [](qreal pixels) { return std::clamp(qRound(pixels * kTwipsPerPixel), -kMaxTwips, kMaxTwips); };
    const struct {
        const char *word;
        int value;
    } indents[] = {{"\\li", twips(bf.leftMargin())},
                   {"\\ri", twips(bf.rightMargin())},
                   {"\\fi", twips(bf.textIndent())},
                   {"\\sb", std::max(0, twips(bf.topMargin()))},
                   {"\\sa", std::max(0, twips(bf.bottomMargin()))}};
    for (const auto &indent : indents) {
        if (indent.value != 0)
            appendNumber(m_body, indent.word, indent.value);
    }

    // The paragraph mark's format (what an empty paragraph shows) at the paragraph's level, each
    // run in a group of its own. LibreOffice holds superscript text back until the group or the
    // superscript ends, and loses it at the next \plain: the mark never raises, runs end with
    // their group.
    RunProps mark = props(block.charFormat());
    mark.vertical = 0;
    writeProps(mark);
    bool open = false;
    RunProps last;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const RunProps p = props(fragment.charFormat());
        if (!open || !(p == last)) {
            m_body.append(open ? "}{" : "{");
            writeProps(p);
        }
        open = true;
        last = p;
        const QString text = fragment.text();
        for (const QChar c : text)
            appendChar(m_body, c.unicode(), false);
    }
    if (open)
        m_body.append('}');
    m_body.append("\\par\n");
}

} // namespace

QByteArray writeRtf(const QTextDocument &document)
{
    return RtfWriter(document).write();
}

} // namespace vorlac
