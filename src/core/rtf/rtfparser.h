#pragma once

#include "rtf/rtfcontent.h"

#include <QByteArray>
#include <optional>

namespace vorlac
{

// More groups open at once than this make a file unreadable.
inline constexpr int kRtfMaxDepth = 256;

// The text and formats of RTF bytes; nullopt when the bytes do not start with "{\rtf", nest
// groups deeper than kRtfMaxDepth, end with a group still open, or hold more paragraphs or runs
// than the limits above. Everything else is tolerated:
// unknown words are ignored, numbers clamped, missing fonts and colours fall back to defaults.
std::optional<RtfContent> parseRtf(const QByteArray &bytes);

} // namespace vorlac
