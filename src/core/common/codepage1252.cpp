#include "common/codepage1252.h"

#include <array>
#include <cstdint>

namespace vorlac {

namespace {

// Bytes 0x80..0x9F; the rest of the code page coincides with Latin-1. The undefined bytes keep
// their own number as C1 controls.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

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
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = cp1252ToChar(static_cast<unsigned char>(bytes[i]));
    return out;
}

} // namespace vorlac
