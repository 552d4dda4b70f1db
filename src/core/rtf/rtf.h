#pragma once

#include <QByteArray>
#include <QtGlobal>

class QTextDocument;

namespace vorlac
{

// Statements and pupils' texts are RTF files; larger ones are refused unread.
inline constexpr qint64 kRtfMaxBytes = 16 * 1024 * 1024;
// A text document pays a few microseconds for each paragraph and each change of format, whatever
// their length: past these counts a file at the size limit would take seconds to show. No
// statement comes near them (the longest shipped one has about a hundred paragraphs).
inline constexpr qsizetype kRtfMaxParagraphs = 50000;
inline constexpr qsizetype kRtfMaxRuns = 150000;

// Reads RTF bytes into document. On success the document is cleared and holds the text with its
// formats; on any failure (not RTF, malformed, too deep, too large) returns false and the document
// is left exactly as it was.
bool readRtf(const QByteArray &bytes, QTextDocument &document);

// The document as RTF. Deterministic: writing the same document twice gives the same bytes;
// reading what it writes gives back the same text and formats.
QByteArray writeRtf(const QTextDocument &document);

// Whether readRtf would take these bytes: within the size, depth, paragraph and run limits. What
// the program writes is checked with it first, so that it never writes what it then refuses.
bool rtfReadsBack(const QByteArray &bytes);

} // namespace vorlac
