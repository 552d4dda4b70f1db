#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace vorlac
{

// Windows-1252, the single-byte code page of the program's record files. Qt 6 ships no codec
// for it, so the mapping is a table of our own.

// Encodes text one byte per character. A character the code page cannot hold (one code point,
// even outside the BMP) becomes '?' and clears *ok; *ok is set to true otherwise.
QByteArray toCp1252(QStringView text, bool *ok = nullptr);

// Decodes bytes one character each. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the C1 control code points of the same number, so decoding never
// fails and toCp1252(fromCp1252(b)) == b for every b.
QString fromCp1252(QByteArrayView bytes);

// The one character for a byte, and the byte for a character (false if not representable).
QChar cp1252ToChar(unsigned char byte);
bool charToCp1252(QChar ch, unsigned char *byte);

} // namespace vorlac
