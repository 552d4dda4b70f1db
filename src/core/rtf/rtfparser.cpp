#include "rtf/rtfparser.h"

#include "common/codepage1252.h"
#include "rtf/rtf.h"
#include "rtf/rtfparserstate.h"
#include "rtf/symbolfont.h"

#include <algorithm>

namespace vorlac
{

namespace rtfdetail
{

namespace
{

// Parameters are read saturated to this, then clamped to each word's own range.
constexpr qint64 kParamLimit = 1'000'000'000;

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

} // namespace

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

} // namespace rtfdetail

std::optional<RtfContent> parseRtf(const QByteArray &bytes)
{
    if (bytes.size() > kRtfMaxBytes || !bytes.startsWith("{\\rtf"))
        return std::nullopt;
    return rtfdetail::RtfParser(bytes).parse();
}

} // namespace vorlac
