#pragma once
#include <QByteArray>
#include <QTextDocument>
namespace vorlac {
inline constexpr qint64 kRtfMaxBytes = 16 * 1024 * 1024;
bool readRtf(const QByteArray &bytes, QTextDocument &document);
QByteArray writeRtf(const QTextDocument &document);
}
