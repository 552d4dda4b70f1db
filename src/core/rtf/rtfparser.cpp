#include "rtf/rtfparser.h"

#include "common/codepage1252.h"
#include "rtf/rtf.h"
#include "rtf/rtfwords.h"
#include "rtf/symbolfont.h"

#include <QHash>

#include <algorithm>

namespace vorlac
{

namespace
{

// Parameters are read saturated to this, then clamped to each word's own range.
constexpr qint64 kParamLimit = 1'000'000'000;
// 22 inches, the widest page a word processor offers.
constexpr int kMaxTwips = 31680;
constexpr int kMaxHalfPoints = 3276;
constexpr int kSymbolCharset = 2;

int clampParam(qint64 v, int lo, int hi)
{
    return static_cast<int>(std::clamp<qint64>(v, lo, hi));
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

enum class Destination : quint8 { Text, Skip, FontTable, ColourTable };

struct CharState {
    int font = -1; // number of the file's font table, -1: the default font
    int halfPoints = 24;
    int foreground = 0; // colour table index, 0: automatic
    int background = 0;
    signed char vertical = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;

    friend bool operator==(const CharState &, const CharState &) = default;
};

struct GroupState {
    CharState chars;
    RtfParagraphFormat para;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
};

struct PendingFont {
    int number = -1;
    int charset = 0;
    QFont::StyleHint hint = QFont::AnyStyle;
    QString name;
};

struct PendingColour {
    int rgb[3] = {0, 0, 0};
    bool set = false;
};

class RtfParser
{
  public:
    explicit RtfParser(const QByteArray &bytes) : m_data(bytes.constData()), m_end(bytes.size()) {}

    std::optional<RtfContent> parse();

  private:
    bool openGroup();
    bool closeGroup();
    void controlWord();
    void controlSymbol(char c);
    void hexByte();
    void textWord(Word word, bool hasParam, qint64 param);
    void fontTableWord(Word word, qint64 param);
    void textByte(unsigned char byte, bool literal);
    void unicodeChar(qint64 code);
    void append(char16_t ch, bool symbol = false);
    void appendToFontName(char16_t ch);
    bool skipFallback();
    void endParagraph();
    void endRow();
    void finish();
    void commitFont();
    void commitColour();
    struct Resolved {
        RtfRunFormat format;
        RtfRunFormat symbolFormat; // of characters mapped out of the Symbol font
        bool inSymbolFont = false;
    };
    const Resolved &resolved();
    const RtfRunFormat &runFormat(bool symbol) { return symbol ? resolved().symbolFormat : resolved().format; }
    bool inSymbolFont() { return resolved().inSymbolFont; }
    int fontIndex(int number) const;
    int colourIndex(int tableIndex) const;

    const char *m_data;
    qsizetype m_end;
    qsizetype m_pos = 0;
    bool m_done = false;

    QVector<GroupState> m_stack;
    GroupState m_state;
    int m_skip = 0; // fallback characters still to skip after \u

    QHash<int, int> m_fontByNumber; // file's font number -> index in m_content.fonts
    QVector<bool> m_symbolFonts;
    int m_defaultFont = 0;
    PendingFont m_font;
    QVector<int> m_colourTable; // table index -> index in m_content.colours, -1 automatic
    PendingColour m_colour;

    RtfContent m_content;
    qsizetype m_paragraphFirstRun = 0;
    RtfParagraphFormat m_lastTextPara;
    bool m_cellTabLast = false;

    // The resolved format of the last characters, kept while the state does not change.
    CharState m_cachedState;
    bool m_cacheValid = false;
    Resolved m_resolved;
    bool m_overLimit = false;
};

std::optional<RtfContent> RtfParser::parse()
{
    m_stack.reserve(64);
    // The first '{' opens the document group: the state outside it is never used.
    while (m_pos < m_end && !m_done && !m_overLimit) {
        const char c = m_data[m_pos++];
        switch (c) {
        case '{':
            if (m_skip > 0)
                m_skip = 0;
            if (!openGroup())
                return std::nullopt;
            break;
        case '}':
            m_skip = 0;
            if (!closeGroup())
                return std::nullopt;
            break;
        case '\\':
            if (m_pos >= m_end)
                break;
            if (isLetter(m_data[m_pos]))
                controlWord();
            else
                controlSymbol(m_data[m_pos++]);
            break;
        case '\r':
        case '\n':
            break;
        default:
            textByte(static_cast<unsigned char>(c), true);
        }
    }
    if (!m_done || m_overLimit)
        return std::nullopt; // a group left open (cut or damaged), or too many paragraphs
    return std::move(m_content);
}

bool RtfParser::openGroup()
{
    if (m_stack.size() >= kRtfMaxDepth)
        return false;
    m_stack.push_back(m_state);
    return true;
}

bool RtfParser::closeGroup()
{
    if (m_stack.isEmpty())
        return false;
    if (m_state.destination == Destination::FontTable)
        commitFont();
    else if (m_state.destination == Destination::ColourTable && m_colour.set)
        commitColour();
    if (m_stack.size() == 1) {
        finish();
        m_done = true;
    }
    m_state = m_stack.takeLast();
    return true;
}

void RtfParser::controlWord()
{
    const qsizetype start = m_pos;
    while (m_pos < m_end && isLetter(m_data[m_pos]))
        ++m_pos;
    const std::string_view name(m_data + start, static_cast<std::size_t>(m_pos - start));
    bool negative = false;
    if (m_pos + 1 < m_end && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    bool hasParam = false;
    qint64 param = 0;
    while (m_pos < m_end && isDigit(m_data[m_pos])) {
        hasParam = true;
        param = std::min(param * 10 + (m_data[m_pos] - '0'), kParamLimit);
        ++m_pos;
    }
    if (negative)
        param = -param;
    if (m_pos < m_end && m_data[m_pos] == ' ')
        ++m_pos;

    const std::optional<Word> word = lookUpRtfWord(name);
    if (word == Word::Bin) {
        // Binary data is skipped wherever it is; it counts as one fallback character.
        m_pos += std::clamp<qint64>(param, 0, m_end - m_pos);
        skipFallback();
        return;
    }
    if (m_state.destination == Destination::Skip || !word)
        return void(skipFallback());
    if (*word == Word::SkipGroup) {
        m_state.destination = Destination::Skip;
        return;
    }
    if (*word == Word::Unicode) {
        // Not a fallback character itself; a pending skip is dropped as Word does.
        m_skip = 0;
        unicodeChar(param);
        return;
    }
    if (skipFallback())
        return;
    switch (m_state.destination) {
    case Destination::Text:
        textWord(*word, hasParam, param);
        break;
    case Destination::FontTable:
        fontTableWord(*word, param);
        break;
    case Destination::ColourTable:
        if (*word == Word::Red || *word == Word::Green || *word == Word::Blue) {
            const int channel = *word == Word::Red ? 0 : *word == Word::Green ? 1 : 2;
            m_colour.rgb[channel] = clampParam(param, 0, 255);
            m_colour.set = true;
        }
        break;
    case Destination::Skip:
        break;
    }
}

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

void RtfParser::controlSymbol(char c)
{
    if (m_state.destination == Destination::Skip)
        return;
    switch (c) {
    case '\'':
        hexByte();
        return;
    case '*':
        // An optional destination: nothing of it is read.
        m_state.destination = Destination::Skip;
        return;
    default:
        break;
    }
    if (skipFallback())
        return;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        textByte(static_cast<unsigned char>(c), false);
        break;
    case '~':
        append(u'\u00A0');
        break;
    case '-':
        append(u'\u00AD');
        break;
    case '_':
        append(u'\u2011');
        break;
    case '\r':
    case '\n':
        if (m_state.destination == Destination::Text)
            endParagraph();
        break;
    default:
        break;
    }
}

void RtfParser::hexByte()
{
    int value = 0;
    int digits = 0;
    while (digits < 2 && m_pos < m_end) {
        const int d = hexValue(m_data[m_pos]);
        if (d < 0)
            break;
        value = value * 16 + d;
        ++digits;
        ++m_pos;
    }
    if (digits == 0)
        return; // "\'" with no number: nothing
    textByte(static_cast<unsigned char>(value), false);
}

void RtfParser::textByte(unsigned char byte, bool literal)
{
    if (m_state.destination == Destination::Skip || skipFallback())
        return;
    switch (m_state.destination) {
    case Destination::Text:
        if (byte == '\t')
            append(u'\t');
        else if (inSymbolFont())
            append(symbolFontChar(byte).unicode(), true);
        else
            append(cp1252ToChar(byte).unicode());
        break;
    case Destination::FontTable:
        if (literal && byte == ';')
            commitFont();
        else
            appendToFontName(cp1252ToChar(byte).unicode());
        break;
    case Destination::ColourTable:
        if (literal && byte == ';')
            commitColour();
        break;
    case Destination::Skip:
        break;
    }
}

void RtfParser::unicodeChar(qint64 code)
{
    const GroupState &s = m_state;
    // Words are signed 16-bit: characters past 32767 are written negative.
    if (code < 0)
        code += 65536;
    if (code < 0 || code > 0xFFFF)
        code = 0xFFFD;
    const auto ch = static_cast<char16_t>(code);
    if (s.destination == Destination::Text) {
        // Symbol characters are also written in the private area U+F020..U+F0FF.
        if (inSymbolFont() && ch >= 0xF020 && ch <= 0xF0FF)
            append(symbolFontChar(static_cast<unsigned char>(ch - 0xF000)).unicode(), true);
        else
            append(ch);
    } else if (s.destination == Destination::FontTable) {
        appendToFontName(ch);
    }
    m_skip = s.unicodeSkip;
}

void RtfParser::appendToFontName(char16_t ch)
{
    // Only what could be written back as a plain character of the name.
    if (ch < 0x20 || ch == 0x7F || ch == 0xA0 || ch == 0xAD || ch == 0x2011 || ch == 0x2028 || ch == 0x2029 ||
        ch == 0xFDD0 || ch == 0xFDD1 || ch == 0xFFFC || ch == 0xFEFF || m_font.name.size() >= 256)
        return;
    m_font.name.append(QChar(ch));
}

bool RtfParser::skipFallback()
{
    if (m_skip <= 0)
        return false;
    --m_skip;
    return true;
}

void RtfParser::append(char16_t ch, bool symbol)
{
    if (m_state.destination != Destination::Text || m_state.chars.hidden)
        return;
    // Controls and the characters the document keeps for its own structure (paragraph and frame
    // marks, objects) would not come back as text.
    if ((ch < 0x20 && ch != u'\t') || ch == 0x7F || ch == 0x2029 || ch == 0xFDD0 || ch == 0xFDD1 || ch == 0xFFFC ||
        ch == 0xFEFF)
        return;
    m_cellTabLast = false;
    const RtfRunFormat &format = runFormat(symbol);
    m_content.text.append(QChar(ch));
    m_lastTextPara = m_state.para;
    if (m_content.runs.size() > m_paragraphFirstRun && m_content.runs.last().format == format) {
        ++m_content.runs.last().length;
        return;
    }
    m_content.runs.append(RtfRun{m_content.text.size() - 1, 1, format});
    m_overLimit = m_overLimit || m_content.runs.size() > kRtfMaxRuns;
}

void RtfParser::endParagraph()
{
    RtfParagraph para;
    para.format = m_state.para;
    para.mark = runFormat(false);
    para.firstRun = m_paragraphFirstRun;
    para.runCount = m_content.runs.size() - m_paragraphFirstRun;
    m_content.paragraphs.append(para);
    m_overLimit = m_overLimit || m_content.paragraphs.size() > kRtfMaxParagraphs;
    m_paragraphFirstRun = m_content.runs.size();
    m_cellTabLast = false;
}

void RtfParser::endRow()
{
    // The tab of the row's last cell would trail the paragraph.
    if (m_cellTabLast && m_content.runs.size() > m_paragraphFirstRun) {
        m_content.text.chop(1);
        if (--m_content.runs.last().length == 0)
            m_content.runs.removeLast();
    }
    endParagraph();
}

void RtfParser::finish()
{
    // Text after the last \par is a paragraph of its own; nothing after it is the \par that ends
    // every file, not an empty paragraph.
    const bool hasRuns = m_content.runs.size() > m_paragraphFirstRun;
    if (!hasRuns && !m_content.paragraphs.isEmpty())
        return;
    if (hasRuns)
        m_state.para = m_lastTextPara;
    endParagraph();
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

} // namespace

std::optional<RtfContent> parseRtf(const QByteArray &bytes)
{
    if (bytes.size() > kRtfMaxBytes || !bytes.startsWith("{\\rtf"))
        return std::nullopt;
    return RtfParser(bytes).parse();
}

} // namespace vorlac
