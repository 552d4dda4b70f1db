#pragma once

#include <QByteArray>
#include <QString>

namespace vorlac {

// The one way the program replaces a file: the bytes go to a temporary file beside it, are
// flushed and synced to the disk, and only then renamed over the target. Any failure (full disk,
// read-only folder, a target that is not a regular file) returns false and leaves the old file
// byte for byte as it was. The caller shows its own message.
bool writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace vorlac
