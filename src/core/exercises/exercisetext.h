#pragma once

#include <QString>

class QTextDocument;

namespace vorlac
{

enum class TextFileStatus {
    Read,      // the document now holds the file's text
    Missing,   // no file of that name
    Unreadable // not a regular file, too large, cannot be read, or not readable RTF
};

// Reads the RTF file at path into document. Only regular files of at most kRtfMaxBytes are read,
// so a FIFO, a device or a huge file never blocks or exhausts the program. On anything but Read
// the document is left exactly as it was.
TextFileStatus readRtfFile(const QString &path, QTextDocument &document);

// Writes document as RTF through the atomic writer: the old file survives any failure.
bool writeRtfFile(const QString &path, const QTextDocument &document);

} // namespace vorlac
