#pragma once

#include <QString>

namespace vorlac
{

// The line break inside the program's texts (hints, messages, the introduction): CR LF.
inline const QString kCrLf = QStringLiteral("\r\n");

} // namespace vorlac
