#include "help/introduction.h"
#include "rtf/rtf.h"

#include "rtfprobe.h"

#include <gtest/gtest.h>
#include <ostream>

#include <functional>

using namespace vorlac;
using namespace rtfprobe;

namespace
{

QTextBlockFormat block(Qt::Alignment align = Qt::AlignLeft, qreal left = 0, qreal right = 0, qreal indent = 0,
                       qreal before = 0, qreal after = 0)
{
    QTextBlockFormat f;
    f.setAlignment(align);
    f.setLeftMargin(left);
    f.setRightMargin(right);
    f.setTextIndent(indent);
    f.setTopMargin(before);
    f.setBottomMargin(after);
    return f;
}

QTextCharFormat with(const std::function<void(QTextCharFormat &)> &change)
{
    QTextCharFormat f = chars();
    change(f);
    return f;
}

// A plain run, one run of the given format, a plain run: the format must start and stop.
std::function<void(QTextDocument &)> oneFormat(const std::function<void(QTextCharFormat &)> &change)
{
    return [change](QTextDocument &doc) {
        Builder(doc).para(block(), {{u"avant "_qs, chars()}, {u"milieu"_qs, with(change)}, {u" après"_qs, chars()}});
    };
}

std::function<void(QTextDocument &)> oneParagraph(const QTextBlockFormat &format)
{
    return [format](QTextDocument &doc) {
        Builder(doc)
            .para(block(), {{u"premier"_qs, chars()}})
            .para(format, {{u"le paragraphe mis en forme, assez long pour passer à la ligne"_qs, chars()}})
            .para(block(), {{u"dernier"_qs, chars()}});
    };
}

std::function<void(QTextDocument &)> text(const QString &t)
{
    return [t](QTextDocument &doc) { Builder(doc).para(block(), {{t, chars()}}); };
}

struct RoundTripRow {
    const char *name;
    std::function<void(QTextDocument &)> build;
};

// The row's name in a failure message.
[[maybe_unused]] void PrintTo(const RoundTripRow &row, std::ostream *os)
{
    *os << row.name;
}

class RtfRoundTrip : public ::testing::TestWithParam<RoundTripRow>
{
};

// Reading what the writer wrote gives the same text and formats, and writing that again gives the
// very same bytes.
TEST_P(RtfRoundTrip, ReadsBackTheSameTextAndFormats)
{
    QTextDocument original;
    GetParam().build(original);
    const QByteArray rtf = writeRtf(original);
    EXPECT_EQ(writeRtf(original), rtf);

    QTextDocument back;
    ASSERT_TRUE(readRtf(rtf, back)) << rtf.toStdString();
    EXPECT_EQ(describe(back), describe(original)) << rtf.toStdString();
    EXPECT_EQ(writeRtf(back), rtf);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RtfRoundTrip,
    ::testing::
        Values(
            RoundTripRow{"Bold", oneFormat([](auto &f) { f.setFontWeight(QFont::Bold); })},
            RoundTripRow{"Italic", oneFormat([](auto &f) { f.setFontItalic(true); })},
            RoundTripRow{"Underline", oneFormat([](auto &f) { f.setFontUnderline(true); })},
            RoundTripRow{"Strike", oneFormat([](auto &f) { f.setFontStrikeOut(true); })},
            RoundTripRow{"Superscript",
                         oneFormat([](auto &f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); })},
            RoundTripRow{"Subscript",
                         oneFormat([](auto &f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); })},
            RoundTripRow{"Colour", oneFormat([](auto &f) { f.setForeground(QColor(0, 0, 200)); })},
            RoundTripRow{"Highlight", oneFormat([](auto &f) { f.setBackground(QColor(255, 255, 0)); })},
            RoundTripRow{"HalfPointSize", oneFormat([](auto &f) { f.setFontPointSize(7.5); })},
            RoundTripRow{"LargeSize", oneFormat([](auto &f) { f.setFontPointSize(36); })},
            RoundTripRow{"OtherFamily", oneFormat([](auto &f) { f.setFontFamilies({u"Times New Roman"_qs}); })},
            RoundTripRow{
                "AllAtOnce",
                oneFormat(
                    [](auto &f) {
                        f.setFontWeight(QFont::Bold);
                        f.setFontItalic(true);
                        f.setFontUnderline(true);
                        f.setFontStrikeOut(true);
                        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
                        f.setForeground(QColor(200, 10, 20));
                        f.setBackground(QColor(0, 255, 0));
                        f.setFontFamilies({u"Courier New"_qs});
                    })},
            RoundTripRow{"Centred", oneParagraph(block(Qt::AlignHCenter))},
            RoundTripRow{"Right", oneParagraph(block(Qt::AlignRight))},
            RoundTripRow{"Justified", oneParagraph(block(Qt::AlignJustify))},
            RoundTripRow{"LeftIndent", oneParagraph(block(Qt::AlignLeft, 20))},
            RoundTripRow{"RightIndent", oneParagraph(block(Qt::AlignLeft, 0, 33.4))},
            RoundTripRow{"HangingIndent", oneParagraph(block(Qt::AlignLeft, 40, 0, -20))},
            RoundTripRow{"SpaceAround", oneParagraph(block(Qt::AlignLeft, 0, 0, 0, 12, 6))},
            RoundTripRow{
                "EmptyParagraphs",
                [](QTextDocument &doc) {
                    Builder(doc).para(block(), {}).para(block(), {{u"x"_qs, chars()}}).para(block(), {});
                }},
            RoundTripRow{"EmptyDocument", [](QTextDocument &) {}},
            RoundTripRow{"French", text(u"àâçéèêëîïôùûüÿ ÀÇÉÈÊ œ Œ æ « guillemets » l’été “x” … – — 5 € ° ² µ"_qs)},
            RoundTripRow{"Greek", text(u"α β γ δ λ μ π θ Δ Ω = 589 nm"_qs)},
            RoundTripRow{"BeyondTheCodePage", text(u"→ ≤ ≥ ∞ √ 😀 𝛼"_qs)},
            RoundTripRow{"RtfSyntax", text(u"\\par {groupe} ; \\'e9 \\u945?"_qs)},
            RoundTripRow{"SpecialSpaces", text(u"a\tb\u2028c\u00A0d\u00ADe\u2011f"_qs)},
            RoundTripRow{"Introduction", [](QTextDocument &doc) { writeIntroduction(doc); }}),
    [](const auto &row) { return std::string(row.param.name); });

struct ReadRow {
    const char *name;
    const char *rtf;
    QString text; // paragraphs joined by "\n"
};

// The row's name in a failure message.
[[maybe_unused]] void PrintTo(const ReadRow &row, std::ostream *os)
{
    *os << row.name;
}

class RtfReadText : public ::testing::TestWithParam<ReadRow>
{
};

TEST_P(RtfReadText, GivesTheText)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf(QByteArray(GetParam().rtf), doc));
    EXPECT_EQ(blocksText(doc), GetParam().text);
}

#define HEAD "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\ftech\\fcharset2 Symbol;}}"

INSTANTIATE_TEST_SUITE_P(
    Rows, RtfReadText,
    ::testing::Values(
        ReadRow{"SymbolGreek", HEAD "\\f1 a l D p q m b g d W\\'b0}", u"α λ Δ π θ μ β γ δ Ω°"_qs},
        ReadRow{"SymbolPrivateArea", HEAD "\\f1\\u61537?\\u-3999?}", u"αα"_qs},
        ReadRow{"SymbolNameWithoutCharset", "{\\rtf1{\\fonttbl{\\f0 Symbol;}}\\f0 a}", u"a"_qs},
        ReadRow{"HexInWindows1252", HEAD "\\'e9t\\'e9 \\'9c \\'80 \\'92}", u"été œ € ’"_qs},
        ReadRow{"UnicodeWithFallback", HEAD "\\u945?\\u-10179?\\u-8704?\\uc2\\u955\\'3f\\'3fx}", u"α😀λx"_qs},
        ReadRow{"UnicodeSkipEndsAtGroup", HEAD "{\\uc5\\u945 ab}cd}", u"αcd"_qs},
        ReadRow{"ControlSymbols", HEAD "a\\~b\\-c\\_d\\\\\\{\\}}", u"a\u00A0b\u00ADc\u2011d\\{}"_qs},
        ReadRow{"Punctuation", HEAD "\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}", u"—–‘’“”•"_qs},
        ReadRow{"TabAndLine", HEAD "a\\tab b\\line c}", u"a\tb\u2028c"_qs},
        ReadRow{"FinalParIsNoParagraph", HEAD "a\\par b\\par}", u"a\nb"_qs},
        ReadRow{"EmptyLastParagraphKept", HEAD "a\\par\\par}", u"a\n"_qs},
        ReadRow{"EscapedNewlineIsPar", HEAD "a\\\nb}", u"a\nb"_qs},
        ReadRow{"LineBreaksInSourceIgnored", HEAD "a\r\nb\nc}", u"abc"_qs},
        ReadRow{"SkippedDestinations",
                HEAD "{\\*\\generator x;}{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}{\\header h}{\\footer f}"
                     "{\\pict\\pngblip 89504e47}a{\\*\\bkmkstart b}b}",
                u"ab"_qs},
        ReadRow{"FieldResultKept", HEAD "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt lien}}}", u"lien"_qs},
        ReadRow{"ListTextKept", HEAD "{\\listtext\\'b7\\tab}point}", u"·\tpoint"_qs},
        ReadRow{"TableCells", HEAD "\\trowd\\cellx100\\cellx200 a\\cell b\\cell\\row c}", u"a\tb\nc"_qs},
        ReadRow{"BinarySkipped", HEAD "a{\\pict\\bin4 {}}\\}b}", u"ab"_qs},
        ReadRow{"BinaryInText", HEAD "a\\bin3 xyzb}", u"ab"_qs},
        ReadRow{"IgnoredWords", HEAD "\\paperw11906\\margl1134\\rtlch\\hich\\af1\\loch\\lang1036\\foo12 \\nonsense a}",
                u"a"_qs},
        ReadRow{"HiddenText", HEAD "a{\\v cach\\'e9}b}", u"ab"_qs},
        ReadRow{"TrailingBytesIgnored", HEAD "a}garbage{{{", u"a"_qs},
        ReadRow{"ControlCharactersDropped", HEAD "a\\u0?\\u8233?\\u-4?b}", u"ab"_qs},
        ReadRow{"FontTableWithoutGroups", "{\\rtf1{\\fonttbl\\f0\\fnil Arial;\\f1\\fcharset2 Symbol;}\\f1 p}",
                u"π"_qs}),
    [](const auto &row) { return std::string(row.param.name); });

struct FormatRow {
    const char *name;
    const char *rtf;
    int position;         // of the character looked at
    const char *expected; // its block and character formats
};

// The row's name in a failure message.
[[maybe_unused]] void PrintTo(const FormatRow &row, std::ostream *os)
{
    *os << row.name;
}

class RtfReadFormat : public ::testing::TestWithParam<FormatRow>
{
};

TEST_P(RtfReadFormat, GivesTheFormat)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf(QByteArray(GetParam().rtf), doc));
    QTextCursor c(&doc);
    c.setPosition(GetParam().position + 1);
    EXPECT_EQ(describeBlock(c.blockFormat()) + u" | "_qs + describeChars(c.charFormat(), doc),
              QString::fromUtf8(GetParam().expected));
}

#define COLOURS "{\\colortbl;\\red0\\green0\\blue200;\\red255\\green255\\blue0;}"

INSTANTIATE_TEST_SUITE_P(
    Rows, RtfReadFormat,
    ::testing::Values(
        FormatRow{"Defaults", HEAD "x}", 0, "l 0 0 0 0 0 | Arial 12"},
        FormatRow{"Toggles", HEAD "\\b\\i\\ul\\strike x}", 0, "l 0 0 0 0 0 | Arial 12 b i u s"},
        FormatRow{"ZeroMeansOff", HEAD "\\b\\i\\ul\\strike\\b0\\i0\\ulnone\\strike0 x}", 0, "l 0 0 0 0 0 | Arial 12"},
        FormatRow{"GroupRestores", HEAD "{\\b\\fs40 a}x}", 1, "l 0 0 0 0 0 | Arial 12"},
        FormatRow{"PlainResets", HEAD "\\b\\fs40\\f1\\plain x}", 0, "l 0 0 0 0 0 | Arial 12"},
        FormatRow{"SuperAndSub", HEAD "\\super a\\nosupersub b\\sub x}", 2, "l 0 0 0 0 0 | Arial 12 sub"},
        FormatRow{"UpIsSuperscript", HEAD "\\up6 x}", 0, "l 0 0 0 0 0 | Arial 12 sup"},
        FormatRow{"Colours", HEAD COLOURS "\\cf1\\highlight2 x}", 0, "l 0 0 0 0 0 | Arial 12 #0000c8 bg#ffff00"},
        FormatRow{"ShadingIsHighlight", HEAD COLOURS "\\chcbpat2 x}", 0, "l 0 0 0 0 0 | Arial 12 bg#ffff00"},
        FormatRow{"AutomaticColour", HEAD COLOURS "\\cf1\\cf0 x}", 0, "l 0 0 0 0 0 | Arial 12"},
        FormatRow{"BadColourIndex", HEAD COLOURS "\\cf99\\highlight7 x}", 0, "l 0 0 0 0 0 | Arial 12"},
        FormatRow{"BadFontIndex", HEAD "\\f42\\fs21 x}", 0, "l 0 0 0 0 0 | Arial 10.5"},
        FormatRow{"ControlsLeftOutOfFontNames", "{\\rtf1{\\fonttbl{\\f0 Ar\\'00i\\u1?al\\'a0;}}x}", 0,
                  "l 0 0 0 0 0 | Arial 12"},
        FormatRow{"SymbolLettersTakeTheDefaultFont", HEAD "\\f1 a}", 0, "l 0 0 0 0 0 | Arial 12"},
        FormatRow{"ParagraphAtItsEnd", HEAD "\\pard x\\qc\\li300\\ri150\\fi-75\\sb30\\sa45\\par}", 0,
                  "c 300 150 -75 30 45 | Arial 12"},
        FormatRow{"PardResets", HEAD "\\qr\\li300\\par\\pard x}", 1, "l 0 0 0 0 0 | Arial 12"},
        FormatRow{"FontSizeClamped", HEAD "\\fs99999999999 x}", 0, "l 0 0 0 0 0 | Arial 1638"},
        FormatRow{"IndentClamped", HEAD "\\li-99999999999 x}", 0, "l -31680 0 0 0 0 | Arial 12"}),
    [](const auto &row) { return std::string(row.param.name); });

struct HostileRow {
    const char *name;
    QByteArray rtf;
    bool readable;
};

// The row's name in a failure message.
[[maybe_unused]] void PrintTo(const HostileRow &row, std::ostream *os)
{
    *os << row.name;
}

class RtfHostile : public ::testing::TestWithParam<HostileRow>
{
};

// A refused file leaves the document as it was; an accepted one gives a document that writes and
// reads again.
TEST_P(RtfHostile, FailsCleanlyOrReadsSanely)
{
    QTextDocument doc;
    writeIntroduction(doc);
    const QString before = describe(doc);
    const bool ok = readRtf(GetParam().rtf, doc);
    EXPECT_EQ(ok, GetParam().readable);
    if (!ok) {
        EXPECT_EQ(describe(doc), before);
        return;
    }
    QTextDocument again;
    ASSERT_TRUE(readRtf(writeRtf(doc), again));
    EXPECT_EQ(describe(again), describe(doc));
}

QByteArray nested(int depth)
{
    return "{\\rtf1 " + QByteArray(depth - 1, '{') + "x" + QByteArray(depth, '}');
}

QByteArray repeated(const QByteArray &piece, qsizetype times)
{
    return "{\\rtf1 " + piece.repeated(times) + "}";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RtfHostile,
    ::testing::Values(
        HostileRow{"Empty", "", false}, HostileRow{"NotRtf", "Bonjour {\\rtf1 x}", false},
        HostileRow{"HeaderOnly", "{\\rtf", false}, HostileRow{"GroupLeftOpen", "{\\rtf1 {\\b x}", false},
        HostileRow{"DeepButAllowed", nested(256), true}, HostileRow{"TooDeep", nested(257), false},
        HostileRow{"DeepInSkippedGroup", "{\\rtf1{\\*\\x" + nested(300) + "}}", false},
        HostileRow{"BinaryPastTheEnd", "{\\rtf1 a\\bin999999 x}", false},
        HostileRow{"BinaryNegative", "{\\rtf1 a\\bin-5 x}", true},
        HostileRow{"HugeParameters", "{\\rtf1\\fs99999999999\\li99999999999999999999\\f-99999999999 x}", true},
        HostileRow{"HugeUnicodeSkip", "{\\rtf1\\uc99999999999\\u945 abcdef}", true},
        HostileRow{"HugeUnicode", "{\\rtf1\\u99999999999?\\u-99999999999?}", true},
        HostileRow{"HexCutAtTheEnd", "{\\rtf1 a\\'", false}, HostileRow{"HexCutBeforeBrace", "{\\rtf1 a\\'4}", true},
        HostileRow{"HexNotHex", "{\\rtf1 a\\'zz}", true}, HostileRow{"BackslashAtTheEnd", "{\\rtf1 a\\", false},
        HostileRow{"BadIndexes", "{\\rtf1{\\colortbl;}\\f7\\cf9\\highlight-3\\deff99 x}", true},
        HostileRow{"GiantFontSize", "{\\rtf1\\fs2147483648 x\\fs-4 y\\fs0 z}", true},
        HostileRow{"TooLarge", "{\\rtf1 " + QByteArray(kRtfMaxBytes, 'a') + "}", false},
        HostileRow{"MostParagraphs", repeated("a\\par ", kRtfMaxParagraphs), true},
        HostileRow{"TooManyParagraphs", repeated("a\\par ", kRtfMaxParagraphs + 1), false},
        HostileRow{"MostRuns", repeated("{\\b a}b", kRtfMaxRuns / 2), true},
        HostileRow{"TooManyRuns", repeated("{\\b a}b", kRtfMaxRuns / 2 + 1), false},
        HostileRow{"LongWord", "{\\rtf1\\" + QByteArray(100000, 'b') + "123456789012345678901 x}", true}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(RtfWriter, WritesTheHeaderAndTheTablesOfWhatIsUsed)
{
    QTextDocument doc;
    QTextCharFormat blue = chars(u"Times New Roman"_qs, 12);
    blue.setForeground(QColor(0, 0, 200));
    Builder(doc).para(block(), {{u"a"_qs, chars()}, {u"b"_qs, blue}});
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\fswiss\\fcharset0 Arial;}")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\froman\\fcharset0 Times New Roman;}")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("{\\colortbl;\\red0\\green0\\blue200;}")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\fs24\\cf1 b")) << rtf.toStdString();
}

} // namespace
