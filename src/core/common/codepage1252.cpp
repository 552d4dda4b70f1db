#include "common/codepage1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vorlac
{

namespace
{

// Bytes 0x80..0x9F; the rest of the code page coincides with Latin-1. The undefined bytes keep
// their own number as C1 controls.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

// Word-at-a-time scans: record texts are long runs of plain characters, and these keep the
// per-character work (costly under sanitizers and fuzzing) to the rare text that needs it.
constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;

bool hasHighControlByte(QByteArrayView bytes)
{
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, bytes.data() + i, 8);
        // A byte 100xxxxx becomes zero here; the classic zero-byte test finds it.
        const std::uint64_t x = (w & (0xE0 * kEveryByte)) ^ (0x80 * kEveryByte);
        if ((x - kEveryByte) & ~x & (0x80 * kEveryByte))
            return true;
    }
    for (; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80 && b <= 0x9F)
            return true;
    }
    return false;
}

bool isAsciiText(QStringView text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        std::uint64_t w;
        std::memcpy(&w, text.data() + i, 8);
        if (w & 0xFF80FF80FF80FF80ULL)
            return false;
    }
    for (; i < n; ++i) {
        if (text[i].unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QChar cp1252ToChar(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHighControls[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

bool charToCp1252(QChar ch, unsigned char *byte)
{
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        *byte = static_cast<unsigned char>(u);
        return true;
    }
    // U+0080..U+009F are representable only where the table keeps them (the undefined bytes);
    // everything else above 0x7F is looked up in the table.
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == u) {
            *byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

QByteArray toCp1252(QStringView text, bool *ok)
{
    // Plain ASCII, the usual case, goes through Qt's own conversion.
    if (isAsciiText(text)) {
        if (ok)
            *ok = true;
        return text.toLatin1();
    }
    QByteArray out;
    out.reserve(text.size());
    bool allMapped = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        unsigned char byte = 0;
        if (charToCp1252(ch, &byte)) {
            out.append(static_cast<char>(byte));
            continue;
        }
        allMapped = false;
        out.append('?');
        // A surrogate pair is one character: one substitute, not two.
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    if (ok)
        *ok = allMapped;
    return out;
}

QString fromCp1252(QByteArrayView bytes)
{
    // Outside 0x80..0x9F the code page is Latin-1: convert through Qt, then mend those bytes.
    QString out = QString::fromLatin1(bytes.data(), bytes.size());
    if (!hasHighControlByte(bytes))
        return out;
    QChar *dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80 && b <= 0x9F)
            dst[i] = cp1252ToChar(b);
    }
    return out;
}

} // namespace vorlac
