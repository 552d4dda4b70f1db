#include "exercises/rtf.h"
namespace vorlac {
bool readRtf(const QByteArray &bytes, QTextDocument &document) { if (!bytes.startsWith("{\\rtf")) return false; document.setPlainText(QString::fromLatin1(bytes)); return true; }
QByteArray writeRtf(const QTextDocument &document) { return "{\\rtf1 " + document.toPlainText().toLatin1() + "}"; }
}
