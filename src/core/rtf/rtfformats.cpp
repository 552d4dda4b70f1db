// The control words that set character and paragraph formats, the font and colour tables they
// fill, and the resolution of a group's state into the format of its runs.

#include "rtf/rtfparserstate.h"

namespace vorlac
{

namespace rtfdetail
{

namespace
{

// 22 inches, the widest page a word processor offers.
constexpr int kMaxTwips = 31680;
constexpr int kMaxHalfPoints = 3276;
constexpr int kSymbolCharset = 2;

} // namespace

void RtfParser::textWord(Word word, bool hasParam, qint64 param)
{
    CharState &c = m_state.chars;
    RtfParagraphFormat &p = m_state.para;
    const bool on = !hasParam || param != 0;
    switch (word) {
    case Word::FontTable:
        m_state.destination = Destination::FontTable;
        m_font = PendingFont();
        break;
    case Word::ColourTable:
        m_state.destination = Destination::ColourTable;
        m_colourTable.clear();
        m_colour = PendingColour();
        m_cacheValid = false;
        break;
    case Word::Default:
        m_defaultFont = clampParam(param, 0, 65535);
        m_cacheValid = false;
        break;
    case Word::UnicodeSkip:
        m_state.unicodeSkip = clampParam(param, 0, 255);
        break;
    case Word::Par:
        endParagraph();
        break;
    case Word::Row:
        endRow();
        break;
    case Word::ParDefault:
        p = RtfParagraphFormat();
        break;
    case Word::Plain:
        c = CharState();
        break;
    case Word::AlignLeft:
        p.alignment = Qt::AlignLeft;
        break;
    case Word::AlignCentre:
        p.alignment = Qt::AlignHCenter;
        break;
    case Word::AlignRight:
        p.alignment = Qt::AlignRight;
        break;
    case Word::AlignJustify:
        p.alignment = Qt::AlignJustify;
        break;
    case Word::LeftIndent:
        p.left = clampParam(param, -kMaxTwips, kMaxTwips);
        break;
    case Word::RightIndent:
        p.right = clampParam(param, -kMaxTwips, kMaxTwips);
        break;
    case Word::FirstIndent:
        p.firstLine = clampParam(param, -kMaxTwips, kMaxTwips);
        break;
    case Word::SpaceBefore:
        p.before = clampParam(param, 0, kMaxTwips);
        break;
    case Word::SpaceAfter:
        p.after = clampParam(param, 0, kMaxTwips);
        break;
    case Word::Font:
        c.font = clampParam(param, 0, 65535);
        break;
    case Word::FontSize:
        c.halfPoints = param > 0 ? clampParam(param, 2, kMaxHalfPoints) : 24;
        break;
    case Word::Colour:
        c.foreground = clampParam(param, 0, 65535);
        break;
    case Word::Highlight:
        c.background = clampParam(param, 0, 65535);
        break;
    case Word::Bold:
        c.bold = on;
        break;
    case Word::Italic:
        c.italic = on;
        break;
    case Word::Underline:
        c.underline = on;
        break;
    case Word::UnderlineNone:
        c.underline = false;
        break;
    case Word::Strike:
        c.strike = on;
        break;
    case Word::Hidden:
        c.hidden = on;
        break;
    case Word::Super:
        c.vertical = 1;
        break;
    case Word::Sub:
        c.vertical = -1;
        break;
    case Word::NoSuperSub:
        c.vertical = 0;
        break;
    case Word::Up:
    case Word::Down:
        // Without a number the raise is Word's 3 points.
        c.vertical = (hasParam && param == 0) ? 0 : (word == Word::Up ? 1 : -1);
        break;
    case Word::Tab:
    case Word::Cell:
        append(u'\t');
        m_cellTabLast = word == Word::Cell;
        break;
    case Word::Line:
        append(u'\u2028');
        break;
    case Word::EmDash:
        append(u'\u2014');
        break;
    case Word::EnDash:
        append(u'\u2013');
        break;
    case Word::EmSpace:
        append(u'\u2003');
        break;
    case Word::EnSpace:
        append(u'\u2002');
        break;
    case Word::LeftQuote:
        append(u'\u2018');
        break;
    case Word::RightQuote:
        append(u'\u2019');
        break;
    case Word::LeftDoubleQuote:
        append(u'\u201C');
        break;
    case Word::RightDoubleQuote:
        append(u'\u201D');
        break;
    case Word::Bullet:
        append(u'\u2022');
        break;
    default:
        break;
    }
}

void RtfParser::fontTableWord(Word word, qint64 param)
{
    switch (word) {
    case Word::Font:
        // A table written without a group per font: the previous entry ends here.
        if (!m_font.name.trimmed().isEmpty())
            commitFont();
        m_font.number = clampParam(param, 0, 65535);
        break;
    case Word::Charset:
        m_font.charset = clampParam(param, 0, 255);
        break;
    case Word::FamilyRoman:
        m_font.hint = QFont::Serif;
        break;
    case Word::FamilySwiss:
        m_font.hint = QFont::SansSerif;
        break;
    case Word::FamilyModern:
        m_font.hint = QFont::TypeWriter;
        break;
    case Word::FamilyScript:
        m_font.hint = QFont::Cursive;
        break;
    case Word::FamilyDecor:
        m_font.hint = QFont::Decorative;
        break;
    case Word::FamilyNil:
    case Word::FamilyTech:
        m_font.hint = QFont::AnyStyle;
        break;
    default:
        break;
    }
}
void RtfParser::commitFont()
{
    QString name = m_font.name.trimmed();
    if (m_font.number >= 0 && !name.isEmpty()) {
        const bool symbol = m_font.charset == kSymbolCharset && name.compare(u"Symbol", Qt::CaseInsensitive) == 0;
        const auto found = m_fontByNumber.constFind(m_font.number);
        if (found != m_fontByNumber.cend()) {
            m_content.fonts[*found] = RtfFont{name, m_font.hint};
            m_symbolFonts[*found] = symbol;
        } else {
            m_fontByNumber.insert(m_font.number, static_cast<int>(m_content.fonts.size()));
            m_content.fonts.append(RtfFont{name, m_font.hint});
            m_symbolFonts.append(symbol);
        }
        m_cacheValid = false;
    }
    m_font = PendingFont();
}

void RtfParser::commitColour()
{
    if (m_colourTable.size() < 65536) {
        if (m_colour.set) {
            m_colourTable.append(static_cast<int>(m_content.colours.size()));
            m_content.colours.append(QColor(m_colour.rgb[0], m_colour.rgb[1], m_colour.rgb[2]));
        } else {
            m_colourTable.append(-1);
        }
        m_cacheValid = false;
    }
    m_colour = PendingColour();
}

int RtfParser::fontIndex(int number) const
{
    auto found = m_fontByNumber.constFind(number < 0 ? m_defaultFont : number);
    if (found == m_fontByNumber.cend())
        found = m_fontByNumber.constFind(m_defaultFont);
    return found == m_fontByNumber.cend() ? -1 : *found;
}

int RtfParser::colourIndex(int tableIndex) const
{
    return tableIndex < m_colourTable.size() ? m_colourTable[tableIndex] : -1;
}

const RtfParser::Resolved &RtfParser::resolved()
{
    const CharState &c = m_state.chars;
    if (m_cacheValid && m_cachedState == c)
        return m_resolved;
    RtfRunFormat f;
    f.font = fontIndex(c.font);
    f.halfPoints = c.halfPoints;
    f.bold = c.bold;
    f.italic = c.italic;
    f.underline = c.underline;
    f.strike = c.strike;
    f.vertical = c.vertical;
    f.foreground = colourIndex(c.foreground);
    f.background = colourIndex(c.background);
    m_resolved.format = f;
    m_resolved.inSymbolFont = f.font >= 0 && m_symbolFonts[f.font];
    // The letters are Unicode once read: shown in the document's font, not the Symbol font.
    const int fallback = fontIndex(-1);
    f.font = fallback >= 0 && !m_symbolFonts[fallback] ? fallback : -1;
    m_resolved.symbolFormat = f;
    m_cachedState = c;
    m_cacheValid = true;
    return m_resolved;
}

} // namespace rtfdetail

} // namespace vorlac
