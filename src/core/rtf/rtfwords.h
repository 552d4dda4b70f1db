#pragma once

#include <QtGlobal>

#include <optional>
#include <string_view>

namespace vorlac
{

// The control words the RTF reader acts on; SkipGroup are destinations read past, Dropped words
// stand for characters that are left out.
enum class Word : quint8 {
    Bin,
    Bold,
    Bullet,
    Colour,
    ColourTable,
    Blue,
    Cell,
    Default,
    Down,
    EmDash,
    EmSpace,
    EnDash,
    EnSpace,
    FamilyDecor,
    FamilyModern,
    FamilyNil,
    FamilyRoman,
    FamilyScript,
    FamilySwiss,
    FamilyTech,
    Charset,
    FirstIndent,
    Font,
    FontSize,
    FontTable,
    Green,
    Hidden,
    Highlight,
    Italic,
    LeftDoubleQuote,
    LeftIndent,
    LeftQuote,
    Line,
    NoSuperSub,
    Par,
    ParDefault,
    Plain,
    AlignCentre,
    AlignJustify,
    AlignLeft,
    AlignRight,
    Red,
    RightDoubleQuote,
    RightIndent,
    RightQuote,
    Row,
    SkipGroup,
    SpaceAfter,
    SpaceBefore,
    Strike,
    Sub,
    Super,
    Tab,
    Unicode,
    UnicodeSkip,
    Underline,
    UnderlineNone,
    Up,
    Dropped,
};

// The word of a control word's name; nullopt for the words ignored (page layout, languages...).
std::optional<Word> lookUpRtfWord(std::string_view name);

} // namespace vorlac
