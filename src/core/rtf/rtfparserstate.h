#pragma once

// Internal to the RTF reader: the parser's state, shared by rtfparser.cpp (groups, bytes and text)
// and rtfformats.cpp (format words, font and colour tables). Nothing else includes it.

#include "rtf/rtfcontent.h"
#include "rtf/rtfwords.h"

#include <QFont>
#include <QHash>
#include <QString>
#include <QVector>

#include <algorithm>
#include <optional>

namespace vorlac
{

namespace rtfdetail
{

inline int clampParam(qint64 v, int lo, int hi)
{
    return static_cast<int>(std::clamp<qint64>(v, lo, hi));
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

} // namespace rtfdetail

} // namespace vorlac
