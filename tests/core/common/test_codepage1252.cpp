#include "common/codepage1252.h"
#include "rowname.h"

#include <QSet>
#include <gtest/gtest.h>

namespace
{

using vorlac::fromCp1252;
using vorlac::toCp1252;

struct CharRow {
    char16_t ch;
    unsigned char byte;
};

void PrintTo(const CharRow &r, std::ostream *os)
{
    *os << codePoint(r.ch) << " byte " << int(r.byte);
}

class Cp1252Char : public ::testing::TestWithParam<CharRow>
{
};

TEST_P(Cp1252Char, EncodesAndDecodesToTheSameByte)
{
    const CharRow row = GetParam();
    bool ok = false;
    const QByteArray bytes = toCp1252(QString(QChar(row.ch)), &ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(bytes.size(), 1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), row.byte);
    const QString back = fromCp1252(bytes);
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back[0].unicode(), row.ch);
}

INSTANTIATE_TEST_SUITE_P(Rows, Cp1252Char,
                         ::testing::Values(CharRow{u'A', 0x41}, CharRow{u'\0', 0x00}, CharRow{u'é', 0xE9},
                                           CharRow{u'à', 0xE0}, CharRow{u'²', 0xB2}, CharRow{0xA0, 0xA0},
                                           CharRow{u'ÿ', 0xFF}, CharRow{u'€', 0x80}, CharRow{u'œ', 0x9C},
                                           CharRow{u'Œ', 0x8C}, CharRow{u'…', 0x85}, CharRow{u'’', 0x92},
                                           CharRow{u'Ÿ', 0x9F}, CharRow{u'ž', 0x9E},
                                           // The undefined bytes keep their number as C1 controls.
                                           CharRow{0x81, 0x81}, CharRow{0x8D, 0x8D}, CharRow{0x8F, 0x8F},
                                           CharRow{0x90, 0x90}, CharRow{0x9D, 0x9D}),
                         RowName());

TEST(Cp1252, EveryByteRoundTripsThroughDistinctCharacters)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = fromCp1252(all);
    ASSERT_EQ(text.size(), 256);
    QSet<char16_t> seen;
    for (const QChar c : text)
        seen.insert(c.unicode());
    EXPECT_EQ(seen.size(), 256);
    bool ok = false;
    EXPECT_EQ(toCp1252(text, &ok), all);
    EXPECT_TRUE(ok);
}

struct UnmappedRow {
    QString text;
    QByteArray expected;
};

void PrintTo(const UnmappedRow &r, std::ostream *os)
{
    for (const QChar c : r.text)
        *os << codePoint(c.unicode()) << ' ';
}

class Cp1252Unmapped : public ::testing::TestWithParam<UnmappedRow>
{
};

TEST_P(Cp1252Unmapped, SubstitutesOneQuestionMarkPerCharacter)
{
    bool ok = true;
    EXPECT_EQ(toCp1252(GetParam().text, &ok), GetParam().expected);
    EXPECT_FALSE(ok);
}

INSTANTIATE_TEST_SUITE_P(Rows, Cp1252Unmapped,
                         ::testing::Values(UnmappedRow{QStringLiteral("λ = 589"), QByteArray("? = 589")},
                                           // A C1 control the code page replaces by a printable character.
                                           UnmappedRow{QString(QChar(0x80)), QByteArray("?")},
                                           UnmappedRow{QString(QChar(0x9F)), QByteArray("?")},
                                           // Outside the BMP: one character, one substitute.
                                           UnmappedRow{QString::fromUtf8("a\xF0\x9F\x98\x80"
                                                                         "b"),
                                                       QByteArray("a?b")},
                                           UnmappedRow{QString(QChar(0xD800)) + u'x', QByteArray("?x")},
                                           UnmappedRow{QStringLiteral("Ω€"), QByteArray("?\x80")}),
                         RowName());

} // namespace

namespace
{

// The word-at-a-time scans must see a special byte or character wherever it stands.
TEST(Cp1252, SpecialCharactersAreFoundAtEveryPosition)
{
    for (int length = 1; length <= 19; ++length) {
        for (int at = 0; at < length; ++at) {
            QByteArray bytes(length, 'a');
            bytes[at] = char(0x80);
            QString text(length, QLatin1Char('a'));
            text[at] = QChar(0x20AC);
            EXPECT_EQ(fromCp1252(bytes), text) << length << " " << at;
            bool ok = false;
            EXPECT_EQ(toCp1252(text, &ok), bytes) << length << " " << at;
            EXPECT_TRUE(ok);
            text[at] = QChar(0xE9); // Latin-1 beyond ASCII
            bytes[at] = char(0xE9);
            EXPECT_EQ(toCp1252(text), bytes);
            EXPECT_EQ(fromCp1252(bytes), text);
        }
    }
}

} // namespace
