#pragma once

#include <QByteArray>
#include <QtGlobal>

class QTextDocument;

namespace vorlac
{

// Statements and pupils' texts are RTF files; larger ones are refused unread.
inline constexpr qint64 kRtfMaxBytes = 16 * 1024 * 1024;

// Reads RTF bytes into document. On success the document is cleared and holds the text with its
// formats; on any failure (not RTF, malformed, too deep, too large) returns false and the document
// is left exactly as it was.
bool readRtf(const QByteArray &bytes, QTextDocument &document);

// The document as RTF. Deterministic: writing the same document twice gives the same bytes;
// reading what it writes gives back the same text and formats.
QByteArray writeRtf(const QTextDocument &document);

} // namespace vorlac
