#include "exercises/exercisetext.h"

#include "common/atomicwrite.h"
#include "common/boundedread.h"
#include "rtf/rtf.h"

#include <QFile>
#include <QFileInfo>

namespace vorlac
{

TextFileStatus readRtfFile(const QString &path, QTextDocument &document)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return TextFileStatus::Missing;
    if (!info.isFile() || info.size() > kRtfMaxBytes)
        return TextFileStatus::Unreadable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return TextFileStatus::Unreadable;
    // One byte more than allowed tells a file that grew since it was measured.
    const QByteArray bytes = readAtMost(file, kRtfMaxBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kRtfMaxBytes)
        return TextFileStatus::Unreadable;
    return readRtf(bytes, document) ? TextFileStatus::Read : TextFileStatus::Unreadable;
}

bool writeRtfFile(const QString &path, const QTextDocument &document)
{
    // What would be refused on reading is not written: the old file stays.
    const QByteArray rtf = writeRtf(document);
    return rtfReadsBack(rtf) && writeFileAtomically(path, rtf);
}

} // namespace vorlac
