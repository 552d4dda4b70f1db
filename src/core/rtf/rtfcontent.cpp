#include "rtf/rtfcontent.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <map>
#include <tuple>

namespace vorlac
{

namespace
{

QTextCharFormat charFormat(const RtfContent &content, const RtfRunFormat &run)
{
    QTextCharFormat f;
    if (run.font >= 0) {
        const RtfFont &font = content.fonts[run.font];
        f.setFontFamilies({font.family});
        if (font.hint != QFont::AnyStyle)
            f.setFontStyleHint(font.hint);
    }
    f.setFontPointSize(run.halfPoints / 2.0);
    if (run.bold)
        f.setFontWeight(QFont::Bold);
    if (run.italic)
        f.setFontItalic(true);
    if (run.underline)
        f.setFontUnderline(true);
    if (run.strike)
        f.setFontStrikeOut(true);
    if (run.vertical > 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (run.vertical < 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (run.foreground >= 0)
        f.setForeground(content.colours[run.foreground]);
    if (run.background >= 0)
        f.setBackground(content.colours[run.background]);
    return f;
}

QTextBlockFormat blockFormat(const RtfParagraphFormat &p)
{
    QTextBlockFormat f;
    f.setAlignment(p.alignment);
    f.setLeftMargin(p.left / kTwipsPerPixel);
    f.setRightMargin(p.right / kTwipsPerPixel);
    f.setTextIndent(p.firstLine / kTwipsPerPixel);
    f.setTopMargin(p.before / kTwipsPerPixel);
    f.setBottomMargin(p.after / kTwipsPerPixel);
    return f;
}

// Files repeat a handful of formats over thousands of runs.
class FormatCache
{
  public:
    explicit FormatCache(const RtfContent &content) : m_content(content) {}

    const QTextCharFormat &get(const RtfRunFormat &run)
    {
        const auto key = std::make_tuple(run.font, run.halfPoints, run.foreground, run.background,
                                         (run.bold ? 1 : 0) | (run.italic ? 2 : 0) | (run.underline ? 4 : 0) |
                                             (run.strike ? 8 : 0) | ((run.vertical + 1) << 4));
        auto it = m_formats.find(key);
        if (it == m_formats.end())
            it = m_formats.emplace(key, charFormat(m_content, run)).first;
        return it->second;
    }

  private:
    using Key = std::tuple<int, int, int, int, int>;
    const RtfContent &m_content;
    std::map<Key, QTextCharFormat> m_formats;
};

} // namespace

void buildRtfDocument(const RtfContent &content, QTextDocument &document)
{
    const bool undo = document.isUndoRedoEnabled();
    // Loading is not an edit the pupil could undo.
    document.setUndoRedoEnabled(false);
    document.clear();
    FormatCache formats(content);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (qsizetype p = 0; p < content.paragraphs.size(); ++p) {
        const RtfParagraph &para = content.paragraphs[p];
        if (p == 0) {
            cursor.setBlockFormat(blockFormat(para.format));
            cursor.setBlockCharFormat(formats.get(para.mark));
        } else {
            cursor.insertBlock(blockFormat(para.format), formats.get(para.mark));
        }
        for (qsizetype r = para.firstRun; r < para.firstRun + para.runCount; ++r) {
            const RtfRun &run = content.runs[r];
            cursor.insertText(content.text.mid(run.start, run.length), formats.get(run.format));
        }
    }
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
}

} // namespace vorlac
