#include "rtf/rtfwords.h"

#include <algorithm>
#include <array>

namespace vorlac
{

namespace
{

struct WordEntry {
    std::string_view name;
    Word word;
};

// Sorted by name. Words not listed are ignored (page layout, language, fonts of other scripts...).
constexpr auto kWords = std::to_array<WordEntry>({
    {"annotation", Word::SkipGroup},
    {"atnauthor", Word::SkipGroup},
    {"atnid", Word::SkipGroup},
    {"b", Word::Bold},
    {"bin", Word::Bin},
    {"bkmkend", Word::SkipGroup},
    {"bkmkstart", Word::SkipGroup},
    {"blue", Word::Blue},
    {"bullet", Word::Bullet},
    {"cb", Word::Highlight},
    {"cell", Word::Cell},
    {"cf", Word::Colour},
    {"chcbpat", Word::Highlight},
    {"colorschememapping", Word::SkipGroup},
    {"colortbl", Word::ColourTable},
    {"datastore", Word::SkipGroup},
    {"deff", Word::Default},
    {"dn", Word::Down},
    {"emdash", Word::EmDash},
    {"emspace", Word::EmSpace},
    {"endash", Word::EnDash},
    {"enspace", Word::EnSpace},
    {"f", Word::Font},
    {"fcharset", Word::Charset},
    {"fdecor", Word::FamilyDecor},
    {"fi", Word::FirstIndent},
    {"fldinst", Word::SkipGroup},
    {"fmodern", Word::FamilyModern},
    {"fnil", Word::FamilyNil},
    {"fonttbl", Word::FontTable},
    {"footer", Word::SkipGroup},
    {"footerf", Word::SkipGroup},
    {"footerl", Word::SkipGroup},
    {"footerr", Word::SkipGroup},
    {"footnote", Word::SkipGroup},
    {"froman", Word::FamilyRoman},
    {"fs", Word::FontSize},
    {"fscript", Word::FamilyScript},
    {"fswiss", Word::FamilySwiss},
    {"ftech", Word::FamilyTech},
    {"generator", Word::SkipGroup},
    {"green", Word::Green},
    {"header", Word::SkipGroup},
    {"headerf", Word::SkipGroup},
    {"headerl", Word::SkipGroup},
    {"headerr", Word::SkipGroup},
    {"highlight", Word::Highlight},
    {"i", Word::Italic},
    {"info", Word::SkipGroup},
    {"latentstyles", Word::SkipGroup},
    {"ldblquote", Word::LeftDoubleQuote},
    {"li", Word::LeftIndent},
    {"line", Word::Line},
    {"listoverridetable", Word::SkipGroup},
    {"listtable", Word::SkipGroup},
    {"lquote", Word::LeftQuote},
    {"ltrmark", Word::Dropped},
    {"nestcell", Word::Cell},
    {"nestrow", Word::Row},
    {"nonshppict", Word::SkipGroup},
    {"nosupersub", Word::NoSuperSub},
    {"object", Word::SkipGroup},
    {"page", Word::Par},
    {"par", Word::Par},
    {"pard", Word::ParDefault},
    {"pict", Word::SkipGroup},
    {"plain", Word::Plain},
    {"pn", Word::SkipGroup},
    {"qc", Word::AlignCentre},
    {"qj", Word::AlignJustify},
    {"ql", Word::AlignLeft},
    {"qmspace", Word::EmSpace},
    {"qr", Word::AlignRight},
    {"rdblquote", Word::RightDoubleQuote},
    {"red", Word::Red},
    {"revtbl", Word::SkipGroup},
    {"ri", Word::RightIndent},
    {"row", Word::Row},
    {"rquote", Word::RightQuote},
    {"rsidtbl", Word::SkipGroup},
    {"rtlmark", Word::Dropped},
    {"sa", Word::SpaceAfter},
    {"sb", Word::SpaceBefore},
    {"sect", Word::Par},
    {"shpinst", Word::SkipGroup},
    {"strike", Word::Strike},
    {"striked", Word::Strike},
    {"stylesheet", Word::SkipGroup},
    {"sub", Word::Sub},
    {"super", Word::Super},
    {"tab", Word::Tab},
    {"tc", Word::SkipGroup},
    {"themedata", Word::SkipGroup},
    {"txe", Word::SkipGroup},
    {"u", Word::Unicode},
    {"uc", Word::UnicodeSkip},
    {"ul", Word::Underline},
    {"uld", Word::Underline},
    {"uldash", Word::Underline},
    {"uldashd", Word::Underline},
    {"uldashdd", Word::Underline},
    {"uldb", Word::Underline},
    {"ulhwave", Word::Underline},
    {"ulldash", Word::Underline},
    {"ulnone", Word::UnderlineNone},
    {"ulth", Word::Underline},
    {"ulthd", Word::Underline},
    {"ulthdash", Word::Underline},
    {"ulthdashd", Word::Underline},
    {"ulthdashdd", Word::Underline},
    {"ulthldash", Word::Underline},
    {"ululdbwave", Word::Underline},
    {"ulw", Word::Underline},
    {"ulwave", Word::Underline},
    {"up", Word::Up},
    {"v", Word::Hidden},
    {"xe", Word::SkipGroup},
    {"xmlnstbl", Word::SkipGroup},
    {"zwj", Word::Dropped},
    {"zwnj", Word::Dropped},
});
static_assert(std::is_sorted(kWords.begin(), kWords.end(),
                             [](const WordEntry &a, const WordEntry &b) { return a.name < b.name; }));

} // namespace

std::optional<Word> lookUpRtfWord(std::string_view name)
{
    const auto it = std::lower_bound(kWords.begin(), kWords.end(), name,
                                     [](const WordEntry &e, std::string_view n) { return e.name < n; });
    if (it == kWords.end() || it->name != name)
        return std::nullopt;
    return it->word;
}

} // namespace vorlac
